// The program's windows made over a ledger in a temporary program folder, as
// start-up makes them: the main window, then the entry editor, the delete
// confirmation and the category editor, each once. Message boxes are recorded
// and answered as in MainFormTest.
#pragma once

#include <string>
#include <vector>

#include "app/category_editor.h"
#include "app/delete_confirm.h"
#include "app/entry_editor.h"
#include "tests/app/main_form_fixture.h"

class LedgerWindowsTest : public MainFormTest {
protected:
    ~LedgerWindowsTest() override
    {
        // The bound controls let go of the main window's data source first.
        delete Form4;
        delete Form3;
        delete Form2;
    }

    void CreateWindows()
    {
        CreateMainForm();
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);
    }
    // Ends the run and starts the program again over the same folder.
    void RestartWindows()
    {
        delete Form4;
        delete Form3;
        delete Form2;
        delete Form1;
        Application->SetMainForm(nullptr);
        CreateWindows();
    }
    // A ledger with `entries` and every window over it.
    void StartWith(const std::vector<TEntry>& entries)
    {
        MakeLedger(entries);
        CreateWindows();
    }

    std::wstring CategoryPath() const { return FFolder.File(L"XMLB.txt"); }

    // Handles waiting messages (timers included) until `done` holds or
    // `timeoutMs` passed; returns whether it holds.
    template <class Done>
    bool PumpUntil(Done done, DWORD timeoutMs = 2000)
    {
        const DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > timeoutMs) return false;
            Application->ProcessMessages();
            Sleep(5);
        }
        return true;
    }

    static void Click(TButton* button) { SendMessageA(button->Handle(), BM_CLICK, 0, 0); }

    // Double-clicks the grid's row `row` (0-based, on screen), or below the
    // last row when `row` is -1.
    static void DoubleClickGrid(int row)
    {
        TDBGrid* grid = Form1->DBGrid1;
        RECT cell = grid->CellRect(row < 0 ? Form1->ADOQuery1->RecordCount() : row, 1);
        LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        HWND window = grid->Handle();
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(window, WM_LBUTTONUP, 0, at);
        SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(window, WM_LBUTTONUP, 0, at);
    }

    // Types `text` into an edit window as keystrokes after selecting what it
    // holds, as a user replacing the text does (8-bit characters only).
    static void TypeOver(HWND edit, const std::string& text)
    {
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, WM_CHAR, VK_BACK, 1);
        for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    // Chooses `index` in a combo box's list as the user does.
    static void Choose(TCustomComboBox* combo, int index)
    {
        SendMessageA(combo->Handle(), CB_SETCURSEL, index, 0);
        SendMessageA(GetParent(combo->Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->Handle()), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo->Handle()));
    }

    // Every row of table data (UTF-8 columns joined by "|", converted back to
    // the program's text), oldest first.
    std::vector<std::string> StoredRows() const
    {
        std::vector<std::string> rows;
        for (const std::string& row :
             RawQuery(DatabasePath(), AnsiToUtf8("select 项目名称||'|'||项目类别||'|'||编辑时间||'|'||支出或收入||'|'||"
                                                 "金额||'|'||项目备注 from data order by 编号")))
            rows.push_back(Utf8ToAnsi(row));
        return rows;
    }
    // The item names of the rows the grid shows, in order.
    static std::vector<std::string> ListNames()
    {
        std::vector<std::string> names;
        TADOQuery* list = Form1->ADOQuery1;
        for (int row = 0; row < list->RecordCount(); ++row) names.push_back(list->DisplayText(row, 1));
        return names;
    }
};
