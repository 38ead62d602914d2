// A ledger in a temporary program folder and the real main window made over
// it, as the program makes it at start-up, for the main window's tests.
//
// Entries are written straight into data.mdb with the engine (not through the
// program), so that any text, blanks and bad amounts included, can be put in
// place. Message boxes are recorded and answered with `Answer`.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ledger_files.h"
#include "app/main_form.h"
#include "app/unit_mokuai.h"
#include "framework/application.h"
#include "tests/framework/data/store_test_folder.h"

// One entry of table `data`; texts in the program's 8-bit code page.
struct TEntry {
    std::string Name;
    std::string Category;
    std::string Date;
    std::string Direction;
    std::string Amount;
    std::string Remark;
};

// Appends entries to the ledger at `path` with bound values.
inline void AddEntries(const std::wstring& path, const std::vector<TEntry>& entries)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open ledger");
    }
    sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, AnsiToUtf8("insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) "
                                      "values (?,?,?,?,?,?)").c_str(),
                       -1, &stmt, nullptr);
    for (const TEntry& e : entries) {
        const std::string values[] = {e.Name, e.Category, e.Date, e.Direction, e.Amount, e.Remark};
        for (int i = 0; i < 6; ++i) sqlite3_bind_text(stmt, i + 1, AnsiToUtf8(values[i]).c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// Entries with only a name, a direction and an amount.
inline TEntry Entry(const std::string& name, const std::string& direction, const std::string& amount)
{
    return TEntry{name, "工资", "2026/12/8", direction, amount, ""};
}

struct TBox {
    std::string Text;
    std::string Caption;
    UINT Flags;
};

class MainFormTest : public ::testing::Test {
protected:
    MainFormTest() : FFolder(L"主窗口 测试")
    {
        SetProgramFolder(FFolder.Path());
        Application->SetTitle("Ravelbook");
        Application->SetMessageBoxHandler([this](const std::string& text, const std::string& caption, UINT flags) {
            Boxes.push_back({text, caption, flags});
            return Answer;
        });
    }
    ~MainFormTest() override
    {
        delete Form1;
        Application->OnMessage = nullptr;
        Application->ProcessMessages();
        Application->ResetTerminated();
        Application->SetMessageBoxHandler(nullptr);
        SetProgramFolder(L"");
    }

    std::wstring DatabasePath() const { return FFolder.File(L"data.mdb"); }
    void MakeLedger(const std::vector<TEntry>& entries = {})
    {
        MakeLedgerFile(DatabasePath());
        AddEntries(DatabasePath(), entries);
    }
    void WriteCategories(const std::vector<std::string>& lines)
    {
        ledger::WriteLines(FFolder.File(L"XMLB.txt"), lines);
    }
    // Makes the main window as the program does (its creation step runs).
    TForm1* CreateMainForm()
    {
        Application->CreateForm(Form1);
        return Form1;
    }
    std::string Panel(int index) const { return Form1->PanelText(index); }
    // The texts of message boxes shown so far, forgotten afterwards.
    std::vector<std::string> TakeBoxTexts()
    {
        std::vector<std::string> texts;
        for (const TBox& box : Boxes) texts.push_back(box.Text);
        Boxes.clear();
        return texts;
    }

    TTempFolder FFolder;
    std::vector<TBox> Boxes;
    int Answer = IDOK;
};
