// The ledger's windows with every control skinned: pictures of the main
// window's three tabs and of the entry editor's two tabs with a combo box
// dropped down, each control carrying the skinner it should, and typing,
// choosing and the remark limits working as in the plain program.
#include "tests/app/skinned_ledger_fixture.h"
#include "tests/app/window_capture.h"

#include "skin/controls/check_skinner.h"
#include "skin/controls/control_discovery.h"
#include "skin/controls/edit_skinner.h"
#include "skin/controls/tab_skinner.h"
#include "skin/form/form_skinner.h"

namespace {

TWinSkinForm* SkinnerOf(HWND window)
{
    TSkinManage* manager = SkinManager();
    return manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
}

template <class T>
T* SkinnerOfControl(TForm* form, const TControl* control)
{
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    if (!skinner) return nullptr;
    for (TSkinControl* s : skinner->ControlSkinners())
        if (s->Serves(nullptr, control)) return dynamic_cast<T*>(s);
    return nullptr;
}

// The screen's pixels under `window` (its popups included).
TCapture CaptureScreenArea(HWND window, int extraHeight)
{
    RECT r{};
    GetWindowRect(window, &r);
    TCapture capture;
    capture.Width = r.right - r.left;
    capture.Height = r.bottom - r.top + extraHeight;
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(capture.Width, capture.Height, 32, &bits);
    if (bitmap.IsNull()) return capture;
    HDC screen = GetDC(nullptr);
    {
        TMemoryDC memory(screen);
        TSelectObject selected(memory, bitmap);
        BitBlt(memory, 0, 0, capture.Width, capture.Height, screen, r.left, r.top, SRCCOPY);
        GdiFlush();
        const auto* data = static_cast<const std::uint32_t*>(bits);
        capture.Pixels.assign(data, data + static_cast<size_t>(capture.Width) * capture.Height);
    }
    ReleaseDC(nullptr, screen);
    return capture;
}

class SkinnedLedgerControlsTest : public SkinnedLedgerFixture {
protected:
    SkinnedLedgerControlsTest() { RegisterControlSkinning(); }

    void ShowSkinned(TForm* form)
    {
        const HWND window = form->Handle();
        SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] {
            const TWinSkinForm* skinner = SkinnerOf(window);
            return skinner && skinner->SkinState() == fssSkinned;
        }));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application->ProcessMessages();
    }

    void Save(HWND window, const std::string& name)
    {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(SaveBmp(CaptureWindow(window), ScreenshotFolder() + name + ".bmp"));
    }
};

TEST_F(SkinnedLedgerControlsTest, EveryControlOfTheLedgerIsSkinnedAndWorksAsBefore)
{
    WriteCategories({"工资", "住房", "日常", "网站建设"});
    StartSkinned({
        {"工资", "工资", "2026/12/1", "收入", "5000", "十二月的工资"},
        {"房租", "住房", "2026/12/2", "支出", "1500", "第一行\r\n第二行"},
    });
    if (HasFatalFailure()) return;
    Form1->Show();
    ShowSkinned(Form1);
    if (HasFatalFailure()) return;

    // The main window: its page control drawn as buttons, its pages, search
    // boxes and backup name box.
    EXPECT_TRUE(SkinnerOfControl<TSkinTabBtn>(Form1, Form1->PageControl1));
    EXPECT_TRUE(SkinnerOfControl<TSkinTabSheet>(Form1, Form1->TabSheet1));
    EXPECT_TRUE(SkinnerOfControl<TSkinComBox>(Form1, Form1->ComboBoxsearch));
    EXPECT_TRUE(SkinnerOfControl<TSkinComBox>(Form1, Form1->ComboBoxsearchclass));
    EXPECT_TRUE(SkinnerOfControl<TSkinEdit>(Form1, Form1->EditDATABAKNAME));
    const char* names[] = {"skinned_main_window_ledger", "skinned_main_window_tools", "skinned_main_window_about"};
    TTabSheet* sheets[] = {Form1->TabSheet1, Form1->TabSheet3, Form1->TabSheet2};
    for (int i = 0; i < 3; ++i) {
        RECT tab = Form1->PageControl1->TabRect(i);
        LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        SendMessageA(Form1->PageControl1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(Form1->PageControl1->Handle(), WM_LBUTTONUP, 0, at);
        EXPECT_EQ(Form1->PageControl1->ActivePage(), sheets[i]);
        Save(Form1->Handle(), names[i]);
    }
    // Typing a keyword in the skinned search box, Chinese included.
    HWND search = Form1->ComboBoxsearch->EditHandle();
    ASSERT_TRUE(search);
    SetWindowTextA(search, "");
    for (unsigned char c : std::string("工资")) SendMessageA(search, WM_CHAR, c, 1);
    EXPECT_EQ(Form1->ComboBoxsearch->Text(), "工资");

    // The entry editor's add tab with a combo box dropped down.
    Form1->ButtonaddnewinfoClick(nullptr);
    ShowSkinned(Form2);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(SkinnerOfControl<TSkinTab>(Form2, Form2->PageControl1));
    EXPECT_TRUE(SkinnerOfControl<TSkinComBox>(Form2, Form2->ComboBoxxiangmuleibie));
    EXPECT_TRUE(SkinnerOfControl<TSkinDateTime>(Form2, Form2->DateTimePickeredit));
    Form2->ComboBoxxiangmuleibie->SetDroppedDown(true);
    Application->ProcessMessages();
    EXPECT_TRUE(Form2->ComboBoxxiangmuleibie->DroppedDown());
    TCapture dropped = CaptureScreenArea(Form2->Handle(), 120);
    EXPECT_TRUE(SaveBmp(dropped, ScreenshotFolder() + "skinned_entry_editor_dropped_down.bmp"));
    Form2->ComboBoxxiangmuleibie->SetDroppedDown(false);
    // The remark box still stops at 500 bytes.
    HWND remark = Form2->Memobeizhu->Handle();
    SetWindowTextA(remark, "");
    for (int i = 0; i < 260; ++i)
        for (unsigned char c : std::string("备")) SendMessageA(remark, WM_CHAR, c, 1);
    EXPECT_EQ(Form2->Memobeizhu->Text().size(), 500u);
    // Tab moves on to the next control as without the skin.
    Form2->ComboBoxxiangmu->SetFocus();
    HWND before = GetFocus();
    EXPECT_TRUE(Form2->ComboBoxxiangmu->Perform(CN_KEYDOWN, VK_TAB, 0));
    EXPECT_NE(GetFocus(), before);
    Form2->Hide();

    // The edit tab, bound to the first entry; its remark stops at 225 bytes.
    DoubleClickGrid(0);
    ShowSkinned(Form2);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(SkinnerOfControl<TSkinEdit>(Form2, Form2->DBEdit_xiangmuedit));
    EXPECT_TRUE(SkinnerOfControl<TSkinComBox>(Form2, Form2->DBComboBoxclass));
    Save(Form2->Handle(), "skinned_entry_editor_edit_controls");
    HWND bound = Form2->DBMemoxiangmubeizhuedit->Handle();
    SetWindowTextA(bound, "");
    for (int i = 0; i < 300; ++i) SendMessageA(bound, WM_CHAR, 'x', 1);
    EXPECT_EQ(Form2->DBMemoxiangmubeizhuedit->Text().size(), 225u);
    Form2->Button1Click(nullptr);
}

}  // namespace
