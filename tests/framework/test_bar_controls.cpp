// Tool bars and cool bars driven in-process: the buttons as the window holds
// them, clicks sent as mouse messages (push, check, grouped and disabled
// buttons), the states the drawing event is handed, a new window keeping
// what was checked; the bands of a cool bar with their colours, texts and
// controls placed inside them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "framework/application.h"
#include "framework/cool_bar.h"
#include "framework/forms.h"
#include "framework/std_controls.h"
#include "framework/tool_bar.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void ClickButton(TToolButton* button)
{
    const RECT r = button->BoundsRect();
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const HWND bar = button->ToolBar()->Handle();
    SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar, WM_LBUTTONUP, 0, at);
    Pump();
}

TEST(ToolBar, ButtonsClicksChecksGroupsAndANewWindowKeepTheirState)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 520, 200);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    std::map<TToolButton*, int> clicks;
    auto counted = [&](TToolButton* b) {
        b->OnClick = [&clicks, b](TObject*) { ++clicks[b]; };
        return b;
    };
    TToolButton* push = counted(bar->AddButton("收入"));
    TToolButton* check = counted(bar->AddButton("Check", tbsCheck));
    TToolButton* first = bar->AddButton("A", tbsCheck);
    TToolButton* second = bar->AddButton("B", tbsCheck);
    first->SetGrouped(true);
    second->SetGrouped(true);
    TToolButton* off = counted(bar->AddButton("Off"));
    off->SetEnabled(false);
    bar->AddButton("", tbsSeparator);
    TToolButton* drop = bar->AddButton("Drop", tbsDropDown);
    std::map<TToolButton*, TCustomDrawState> states;
    bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* b, TCustomDrawState state, unsigned&, bool&) {
        states[b] = state;
    };
    form.FinishCreation();
    form.Show();
    const HWND window = bar->Handle();

    // The window holds the buttons as the object has them.
    ASSERT_EQ(SendMessageA(window, TB_BUTTONCOUNT, 0, 0), 7);
    char text[32] = {};
    SendMessageA(window, TB_GETBUTTONTEXTA, push->Command(), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "收入");
    auto styleOf = [&](int index) {
        TBBUTTON item{};
        SendMessageA(window, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&item));
        return item.fsStyle & (BTNS_CHECK | BTNS_GROUP | BTNS_DROPDOWN | BTNS_SEP);
    };
    EXPECT_EQ(styleOf(1), BTNS_CHECK);
    EXPECT_EQ(styleOf(2), BTNS_CHECKGROUP);
    EXPECT_EQ(styleOf(5), BTNS_SEP);
    EXPECT_EQ(styleOf(6), BTNS_DROPDOWN);
    EXPECT_FALSE(SendMessageA(window, TB_ISBUTTONENABLED, off->Command(), 0));
    const RECT pushRect = push->BoundsRect();
    EXPECT_EQ(bar->ButtonAt(pushRect.left + 2, pushRect.top + 2), push);

    // Clicks: a push button runs OnClick, a disabled one does not, a check
    // button goes down and up, grouped ones release each other.
    ClickButton(push);
    ClickButton(off);
    EXPECT_EQ(clicks[push], 1);
    EXPECT_EQ(clicks[off], 0);
    ClickButton(check);
    EXPECT_TRUE(check->Down());
    EXPECT_EQ(clicks[check], 1);
    ClickButton(first);
    ClickButton(second);
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(second->Down());

    // The drawing event is handed each button but the separator, with the
    // button's state.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(states.size(), 6u);
    EXPECT_EQ(states[push] & (cdsDefault | cdsSelected | cdsDisabled), cdsDefault);
    EXPECT_EQ(states[check] & (cdsChecked | cdsSelected), cdsChecked | cdsSelected);
    EXPECT_TRUE(states[off] & cdsDisabled);
    EXPECT_TRUE(states.count(drop));

    // Flat follows; a new window keeps what was checked and enabled.
    bar->SetFlat(true);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_TRUE(SendMessageA(window, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
    bar->SetFlat(false);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_FALSE(SendMessageA(window, TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT);
    bar->RecreateWnd();
    ASSERT_EQ(SendMessageA(bar->Handle(), TB_BUTTONCOUNT, 0, 0), 7);
    EXPECT_TRUE(check->Down());
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    EXPECT_FALSE(SendMessageA(bar->Handle(), TB_ISBUTTONENABLED, off->Command(), 0));
    ClickButton(push);
    EXPECT_EQ(clicks[push], 2);
}

TEST(CoolBar, BandsInTheirColoursHoldTheirControls)
{
    TForm form(nullptr);
    form.SetBounds(40, 40, 520, 200);
    auto* cool = new TCoolBar(&form);
    cool->SetParent(&form);
    cool->SetBounds(0, 0, 500, 34);
    auto* edit = new TEdit(&form);
    edit->SetBounds(0, 0, 100, 22);
    TCoolBand* find = cool->Bands()->Add();
    find->SetText("Find");
    find->SetWidth(200);
    find->SetColor(RGB(200, 30, 30));
    find->SetControl(edit);
    TCoolBand* other = cool->Bands()->Add();
    other->SetColor(RGB(30, 30, 200));
    form.FinishCreation();
    form.Show();
    const HWND window = cool->Handle();

    ASSERT_EQ(SendMessageA(window, RB_GETBANDCOUNT, 0, 0), 2);
    auto infoOf = [&](int index) {
        static char text[32];
        REBARBANDINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_COLORS | RBBIM_CHILD | RBBIM_TEXT;
        info.lpText = text;
        info.cch = sizeof text;
        SendMessageA(window, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&info));
        return info;
    };
    REBARBANDINFOA info = infoOf(0);
    EXPECT_EQ(info.clrBack, RGB(200, 30, 30));
    EXPECT_EQ(info.hwndChild, edit->Handle());
    EXPECT_STREQ(info.lpText, "Find");
    EXPECT_EQ(infoOf(1).clrBack, RGB(30, 30, 200));
    // The edit lies inside its band.
    RECT band = cool->BandRect(0), placed{};
    GetWindowRect(edit->Handle(), &placed);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_GE(placed.left, band.left);
    EXPECT_LE(placed.right, band.right);
    EXPECT_GE(placed.top, band.top);
    EXPECT_LE(placed.bottom, band.bottom);

    // A colour set later reaches the window; a band deleted leaves it; the
    // edit freed leaves its band empty.
    other->SetColor(RGB(1, 2, 3));
    EXPECT_EQ(infoOf(1).clrBack, RGB(1, 2, 3));
    cool->Bands()->Delete(1);
    EXPECT_EQ(SendMessageA(window, RB_GETBANDCOUNT, 0, 0), 1);
    delete edit;
    EXPECT_EQ(find->Control(), nullptr);
    EXPECT_EQ(infoOf(0).hwndChild, nullptr);
}

}  // namespace
