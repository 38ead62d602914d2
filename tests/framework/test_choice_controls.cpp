// Tab controls, Ctrl+Tab between pages, the caption layout of check boxes
// and radio buttons, owner-drawn and extended combo boxes and the date
// picker's drop-down, driven in-process.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/application.h"
#include "framework/combo_box.h"
#include "framework/combo_box_ex.h"
#include "framework/ext_controls.h"
#include "framework/page_control.h"
#include "framework/std_controls.h"
#include "framework/tab_control.h"

namespace {

class TChoiceForm : public TForm {
    DECLARE_CLASS_INLINE(TChoiceForm, TForm)
public:
    explicit TChoiceForm(TComponent* owner) : TForm(owner)
    {
        SetBounds(30, 30, 640, 420);
        Tabs = new TTabControl(this);
        Tabs->SetParent(this);
        Tabs->SetBounds(0, 0, 300, 120);
        Tabs->Tabs()->Add("收入");
        Tabs->Tabs()->Add("支出");
        Tabs->Tabs()->Add("全部");
        Pages = new TPageControl(this);
        Pages->SetParent(this);
        Pages->SetBounds(0, 130, 300, 200);
        for (const char* caption : {"添加", "编辑"}) {
            auto* sheet = new TTabSheet(this);
            sheet->SetPageControl(Pages);
            sheet->SetCaption(caption);
            Sheets.push_back(sheet);
        }
        Edit = new TEdit(this);
        Edit->SetParent(Sheets[0]);
        Edit->SetBounds(10, 10, 100, 21);
        Check = new TCheckBox(this);
        Check->SetParent(this);
        Check->SetBounds(320, 10, 150, 34);
        Check->SetCaption("一个很长的说明文字会折到第二行");
        Owned = new TComboBox(this);
        Owned->SetParent(this);
        Owned->SetBounds(320, 60, 150, 21);
        Ex = new TComboBoxEx(this);
        Ex->SetParent(this);
        Ex->SetBounds(320, 100, 150, 120);
        Picker = new TDateTimePicker(this);
        Picker->SetParent(this);
        Picker->SetBounds(320, 140, 150, 21);
        FinishCreation();
    }
    TTabControl* Tabs;
    TPageControl* Pages;
    std::vector<TTabSheet*> Sheets;
    TEdit* Edit;
    TCheckBox* Check;
    TComboBox* Owned;
    TComboBoxEx* Ex;
    TDateTimePicker* Picker;
};

// Holds Ctrl (and Shift) down in this thread's key state while it lives.
class TKeysDown {
public:
    explicit TKeysDown(bool shift)
    {
        GetKeyboardState(FSaved);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
        if (shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
        SetKeyboardState(keys);
    }
    ~TKeysDown() { SetKeyboardState(FSaved); }

private:
    BYTE FSaved[256];
};

TEST(TabControl, TabsIndexAndTheUsersChoice)
{
    TChoiceForm form(nullptr);
    form.Show();
    HWND strip = form.Tabs->Handle();
    EXPECT_EQ(SendMessageA(strip, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(form.Tabs->TabIndex(), 0);
    form.Tabs->SetTabIndex(2);
    EXPECT_EQ(SendMessageA(strip, TCM_GETCURSEL, 0, 0), 2);
    int changes = 0;
    bool allow = true;
    form.Tabs->OnChange = [&](TObject*) { ++changes; };
    form.Tabs->OnChanging = [&](TObject*, bool& ok) { ok = allow; };
    // A click on the first tab is the user's choice.
    RECT first = form.Tabs->TabRect(0);
    LPARAM at = MAKELPARAM((first.left + first.right) / 2, (first.top + first.bottom) / 2);
    SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(strip, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(form.Tabs->TabIndex(), 0);
    EXPECT_EQ(changes, 1);
    // Code changes run nothing; the strip follows the captions and a
    // recreated window keeps tabs and choice.
    form.Tabs->Tabs()->Delete(2);
    form.Tabs->SetTabIndex(1);
    form.Tabs->SetTabPosition(tpBottom);
    EXPECT_EQ(SendMessageA(form.Tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(form.Tabs->TabIndex(), 1);
    EXPECT_TRUE(GetWindowLongA(form.Tabs->Handle(), GWL_STYLE) & TCS_BOTTOM);
    EXPECT_EQ(changes, 1);
    // Ctrl+Tab with the focus on the strip moves on, wrapping round, unless
    // OnChanging refuses.
    form.Tabs->SetFocus();
    {
        TKeysDown ctrl(false);
        form.Tabs->Perform(CN_KEYDOWN, VK_TAB, 0);
        EXPECT_EQ(form.Tabs->TabIndex(), 0);
        allow = false;
        form.Tabs->Perform(CN_KEYDOWN, VK_TAB, 0);
        EXPECT_EQ(form.Tabs->TabIndex(), 0);
    }
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(form.Tabs->ClassName(), "TTabControl");
    EXPECT_TRUE(FindPropInfo(form.Tabs, "Tabs"));
}

TEST(PageControl, CtrlTabFromInsideAPageTurnsThePagesBothWays)
{
    TChoiceForm form(nullptr);
    form.Show();
    int changes = 0;
    form.Pages->OnChange = [&](TObject*) { ++changes; };
    form.Edit->SetFocus();
    {
        TKeysDown ctrl(false);
        EXPECT_TRUE(form.Edit->Perform(CN_KEYDOWN, VK_TAB, 0));
    }
    EXPECT_EQ(form.Pages->ActivePage(), form.Sheets[1]);
    EXPECT_EQ(changes, 1);
    {
        TKeysDown ctrlShift(true);
        form.Pages->Perform(CN_KEYDOWN, VK_TAB, 0);
    }
    EXPECT_EQ(form.Pages->ActivePage(), form.Sheets[0]);
    // Without Ctrl, Tab only moves the focus.
    form.Edit->SetFocus();
    form.Edit->Perform(CN_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(form.Pages->ActivePage(), form.Sheets[0]);
    EXPECT_EQ(changes, 2);
}

TEST(CheckAndRadio, AlignmentAndWordWrapSetTheButtonStyleAndSurviveRecreation)
{
    TChoiceForm form(nullptr);
    form.Show();
    form.Check->SetChecked(true);
    EXPECT_FALSE(GetWindowLongA(form.Check->Handle(), GWL_STYLE) & (BS_LEFTTEXT | BS_MULTILINE));
    form.Check->SetAlignment(taLeftJustify);
    form.Check->SetWordWrap(true);
    LONG style = GetWindowLongA(form.Check->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & BS_LEFTTEXT);
    EXPECT_TRUE(style & BS_MULTILINE);
    EXPECT_TRUE(form.Check->Checked());
    EXPECT_EQ(GetEnumProp(*form.Check, "Alignment"), "taLeftJustify");
    auto* radio = new TRadioButton(&form);
    radio->SetParent(&form);
    SetEnumProp(*radio, "Alignment", "taLeftJustify");
    EXPECT_TRUE(GetWindowLongA(radio->Handle(), GWL_STYLE) & BS_LEFTTEXT);
}

TEST(ComboBox, OwnerDrawnStylesDrawTheirItemsAndAskForHeights)
{
    TChoiceForm form(nullptr);
    form.Show();
    for (const char* item : {"国际域名", "网站建设", "软件开发"}) form.Owned->Items()->Add(item);
    int measured = 0;
    form.Owned->OnMeasureItem = [&](TCustomComboBox*, int, int& height) {
        ++measured;
        height = 24;
    };
    SetEnumProp(*form.Owned, "Style", "csOwnerDrawVariable");
    LONG style = GetWindowLongA(form.Owned->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & CBS_OWNERDRAWVARIABLE);
    EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
    EXPECT_TRUE(form.Owned->ListOnly());
    EXPECT_EQ(form.Owned->Items()->Count(), 3);
    EXPECT_GT(measured, 0);
    EXPECT_EQ(SendMessageA(form.Owned->Handle(), CB_GETITEMHEIGHT, 1, 0), 24);
    // Choosing shows the item, drawn by the program.
    std::vector<int> drawn;
    form.Owned->OnDrawItem = [&](TCustomComboBox*, int index, const RECT&, UINT, TCanvas*) { drawn.push_back(index); };
    form.Owned->SetText("网站建设");
    EXPECT_EQ(form.Owned->ItemIndex(), 1);
    RedrawWindow(form.Owned->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), 1);
}

TEST(ComboBoxEx, ItemsChoiceAndTheInnerComboBox)
{
    TChoiceForm form(nullptr);
    form.Show();
    for (const char* item : {"支出", "收入"}) form.Ex->Items()->Add(item);
    HWND inner = form.Ex->ComboHandle();
    ASSERT_TRUE(inner);
    EXPECT_TRUE(IsChild(form.Ex->Handle(), inner));
    EXPECT_EQ(SendMessageA(form.Ex->Handle(), CB_GETCOUNT, 0, 0), 2);
    int changes = 0;
    form.Ex->OnChange = [&](TObject*) { ++changes; };
    form.Ex->SetItemIndex(1);
    EXPECT_EQ(form.Ex->ItemIndex(), 1);
    EXPECT_EQ(changes, 0);
    form.Ex->SetStyle(csExDropDownList);
    EXPECT_EQ(form.Ex->ItemIndex(), 1);
    EXPECT_EQ(SendMessageA(form.Ex->Handle(), CB_GETCOUNT, 0, 0), 2);
    char klass[32] = {};
    GetClassNameA(form.Ex->Handle(), klass, sizeof klass);
    EXPECT_STREQ(klass, "TComboBoxEx");
}

TEST(DateTimePicker, TheDropDownButtonOpensAndClosesTheCalendar)
{
    TChoiceForm form(nullptr);
    form.Show();
    int opened = 0, closed = 0;
    form.Picker->OnDropDown = [&](TObject*) { ++opened; };
    form.Picker->OnCloseUp = [&](TObject*) { ++closed; };
    HWND picker = form.Picker->Handle();
    RECT r;
    GetClientRect(picker, &r);
    LPARAM button = MAKELPARAM(r.right - 5, r.bottom / 2);
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, button);
    SendMessageA(picker, WM_LBUTTONUP, 0, button);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(form.Picker->DroppedDown());
    HWND calendar = reinterpret_cast<HWND>(SendMessageA(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_TRUE(calendar);
    EXPECT_TRUE(IsWindowVisible(calendar));
    // A second click on the button closes it again.
    SendMessageA(picker, WM_LBUTTONDOWN, MK_LBUTTON, button);
    SendMessageA(picker, WM_LBUTTONUP, 0, button);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(form.Picker->DroppedDown());
}

}  // namespace
