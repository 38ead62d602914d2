// The system menu of a skinned window and the caption's other mouse paths:
// the menu opened by a right click on the caption or a click on the
// caption's icon lists the window's own system menu, and a command chosen
// from it reaches the window (minimize minimizes; close asks the form, which
// may refuse); a message box whose caption is wider than the box is widened
// to show it, its controls kept centred; a double click on the caption of a
// window with a maximize box maximizes and restores it. Menus and boxes are
// driven from a thread timer, which runs inside their modal loops. Serial:
// the windows are activated on the display.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "form_skin_support.h"
#include "framework/menus.h"
#include "skin/form/nc_objects.h"
#include "tests/thread_windows.h"

namespace {

using namespace formtest;

// The texts of a menu's items, "-" for a separator. An owner-drawn item
// (the skinned system menu's) shows its framework item's caption.
std::vector<std::string> MenuTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_TYPE | MIIM_DATA;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        std::string caption = text;
        if ((info.fType & MFT_OWNERDRAW) && info.dwItemData)
            caption = reinterpret_cast<const TMenuItem*>(info.dwItemData)->Caption();
        texts.push_back((info.fType & MFT_SEPARATOR) || caption.empty() ? std::string("-") : caption);
    }
    return texts;
}

// What the menu timer met and what it should choose.
struct TMenuVisit {
    std::string Choose;                // the item text to choose; empty: close the menu
    std::vector<std::string> Texts;    // the items of the open menu
    int Opened = 0;
} Visit;

// Reads the open popup menu and chooses Visit.Choose with the keyboard (the
// menu loop skips only separators), or closes it.
void CALLBACK DriveMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menuWindow = nullptr;
    menuWindow = testwin::VisibleThreadWindow(testwin::MENU_WINDOW_CLASS);
    if (!menuWindow) return;
    KillTimer(nullptr, id);
    ++Visit.Opened;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
    Visit.Texts = MenuTexts(menu);
    int presses = 0;
    bool found = false;
    for (const std::string& text : Visit.Texts) {
        if (text == "-") continue;
        ++presses;
        if (text == Visit.Choose) {
            found = true;
            break;
        }
    }
    if (!found) {
        EndMenu();
        return;
    }
    for (int i = 0; i < presses; ++i) PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
}

// The text of a command's item in a menu.
std::string CommandText(HMENU menu, UINT command)
{
    char text[128] = {};
    GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
    return text;
}

class SystemMenuTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        Visit = TMenuVisit{};
        Form = Keep(MakeSkinnedForm(Skin));
        Form->Show();
        Window = Form->Handle();
        SetForegroundWindow(Window);
        ASSERT_TRUE(PumpUntil([&] {
            TWinSkinForm* skinner = SkinnerOf(Window);
            return skinner && skinner->SkinState() == fssSkinned;
        }));
        GetWindowRect(Window, &Bounds);
    }
    // A screen point of the caption (window coordinates x, y).
    LPARAM At(int x, int y) const { return MAKELPARAM(Bounds.left + x, Bounds.top + y); }

    TSkinData* Skin = nullptr;
    TForm* Form = nullptr;
    HWND Window = nullptr;
    RECT Bounds{};
};

TEST_F(SystemMenuTest, RightClickOnCaptionListsTheSystemMenuAndMinimizes)
{
    HMENU system = GetSystemMenu(Window, FALSE);
    ASSERT_TRUE(system);
    Visit.Choose = CommandText(system, SC_MINIMIZE);
    ASSERT_FALSE(Visit.Choose.empty());
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveMenu);
    SendMessageA(Window, WM_NCRBUTTONDOWN, HTCAPTION, At(200, 10));
    KillTimer(nullptr, timer);
    EXPECT_EQ(Visit.Opened, 1);
    EXPECT_EQ(Visit.Texts, MenuTexts(system)) << "the popup lists the window's system menu, in its order";
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(Window) != FALSE; })) << "minimize did not reach the window";

    ShowWindow(Window, SW_RESTORE);
    Pump(50);
    EXPECT_FALSE(IsIconic(Window));
    EXPECT_EQ(SkinnerOf(Window)->WindowState(), fwsNormal);
}

TEST_F(SystemMenuTest, IconClickOpensTheMenuAndCloseAsksTheForm)
{
    // The icon button sits at the caption's left; a click there opens the
    // menu, where "close" is chosen; the form refuses to close.
    int asked = 0;
    Form->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = false;
    };
    const TWinSysButton* icon = nullptr;
    for (const TWinSysButton* button : SkinnerOf(Window)->Buttons())
        if (button->Visible && button->IsIconButton()) icon = button;
    ASSERT_TRUE(icon) << "the skin's caption has an icon button";
    const int x = (icon->Rect.left + icon->Rect.right) / 2, y = (icon->Rect.top + icon->Rect.bottom) / 2;
    EXPECT_EQ(SendMessageA(Window, WM_NCHITTEST, 0, At(x, y)), HTCAPTION) << "a caption button answers as caption";

    Visit.Choose = CommandText(GetSystemMenu(Window, FALSE), SC_CLOSE);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveMenu);
    SendMessageA(Window, WM_NCMOUSEMOVE, HTSYSMENU, At(x, y));
    SendMessageA(Window, WM_NCLBUTTONDOWN, HTSYSMENU, At(x, y));
    SendMessageA(Window, WM_NCLBUTTONUP, HTSYSMENU, At(x, y));
    KillTimer(nullptr, timer);
    EXPECT_EQ(Visit.Opened, 1);
    EXPECT_TRUE(PumpUntil([&] { return asked > 0; })) << "close did not reach the form";
    Pump(50);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(IsWindowVisible(Window)) << "the form refused to close";
}

TEST_F(SystemMenuTest, DoubleClickOnCaptionMaximizesAndRestores)
{
    EXPECT_FALSE(IsZoomed(Window));
    SendMessageA(Window, WM_NCLBUTTONDBLCLK, HTCAPTION, At(200, 10));
    EXPECT_TRUE(PumpUntil([&] { return IsZoomed(Window) != FALSE; })) << "not maximized";
    EXPECT_EQ(SkinnerOf(Window)->WindowState(), fwsMaximized);

    RECT maximized{};
    GetWindowRect(Window, &maximized);
    SendMessageA(Window, WM_NCLBUTTONDBLCLK, HTCAPTION,
                 MAKELPARAM(maximized.left + 200, maximized.top + SkinnerOf(Window)->BorderTop() / 2));
    EXPECT_TRUE(PumpUntil([&] { return !IsZoomed(Window); })) << "not restored";
    RECT restored{};
    GetWindowRect(Window, &restored);
    EXPECT_TRUE(EqualRect(&restored, &Bounds));
    EXPECT_EQ(SkinnerOf(Window)->WindowState(), fwsNormal);
}

// ---- a message box with a long caption ------------------------------------

struct TBoxVisit {
    bool Skinned = false;
    RECT Window{}, Client{}, Button{};
    int Minimum = 0;
    int Ticks = 0;
} BoxVisit;

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = nullptr;
    box = testwin::VisibleThreadWindow(testwin::MESSAGE_BOX_CLASS);
    if (!box) return;
    TWinSkinForm* skinner = SkinnerOf(box);
    if ((!skinner || skinner->SkinState() != fssSkinned) && ++BoxVisit.Ticks < 40) return;
    KillTimer(nullptr, id);
    BoxVisit.Skinned = skinner && skinner->SkinState() == fssSkinned;
    GetWindowRect(box, &BoxVisit.Window);
    GetClientRect(box, &BoxVisit.Client);
    HWND ok = GetDlgItem(box, IDOK);
    GetWindowRect(ok, &BoxVisit.Button);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&BoxVisit.Button), 2);
    if (skinner) {
        // The caption in the caption font must fit between the title's margins.
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
        char text[256] = {};
        GetWindowTextA(box, text, sizeof text);
        HDC dc = GetDC(box);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE extent{};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        DeleteObject(font);
        const TDataSkinTitle* title = skinner->SkinData()->Title();
        BoxVisit.Minimum = (title ? title->LeftWidth + title->RightWidth : 0) + extent.cx;
    }
    SendMessageA(ok, BM_CLICK, 0, 0);
}

TEST_F(SystemMenuTest, MessageBoxIsWidenedToShowItsCaption)
{
    const std::string caption(60, 'W');
    BoxVisit = TBoxVisit{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtBox);
    MessageBoxA(Window, "OK?", caption.c_str(), MB_OK);
    KillTimer(nullptr, timer);
    ASSERT_TRUE(BoxVisit.Skinned);
    const int width = BoxVisit.Window.right - BoxVisit.Window.left;
    EXPECT_GE(width, BoxVisit.Minimum) << "the caption does not fit";
    // The controls moved right with the widening: the button stays centred.
    const int buttonCentre = (BoxVisit.Button.left + BoxVisit.Button.right) / 2;
    EXPECT_NEAR(buttonCentre, BoxVisit.Client.right / 2, 12);
}

}  // namespace
