// Menus of the framework: the native menu written from the item tree and kept
// in step with every change, radio groups, shortcut texts, commands reaching
// their items through the form's window, a freed item leaving the command
// table, and owner-drawn items measured and drawn by their events.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/menus.h"

namespace {

struct TEntry {
    std::string Text;
    UINT Type = 0;
    UINT State = 0;
    UINT Id = 0;
    HMENU Sub = nullptr;
};

std::vector<TEntry> Entries(HMENU menu)
{
    std::vector<TEntry> entries;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        entries.push_back({text, info.fType, info.fState, info.wID, info.hSubMenu});
    }
    return entries;
}

TMenuItem* Item(TComponent* owner, TMenuItem* parent, const char* caption)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

TEST(Menus, TheNativeMenuFollowsTheItems)
{
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    TMenuItem* file = Item(&form, menu->Items(), "&File");
    TMenuItem* open = Item(&form, file, "&Open");
    open->SetShortCut(ShortCut('O', ssCtrl));
    Item(&form, file, "-");
    TMenuItem* hidden = Item(&form, file, "Hidden");
    hidden->SetVisible(false);
    TMenuItem* small = Item(&form, file, "Small");
    TMenuItem* large = Item(&form, file, "Large");
    for (TMenuItem* radio : {small, large}) {
        radio->SetRadioItem(true);
        radio->SetGroupIndex(2);
    }
    small->SetChecked(true);
    Item(&form, menu->Items(), "&About")->SetEnabled(false);

    std::vector<TEntry> bar = Entries(menu->Handle());
    ASSERT_EQ(bar.size(), 2u);
    EXPECT_EQ(bar[0].Text, "&File");
    EXPECT_EQ(bar[0].Sub, file->Handle());
    EXPECT_TRUE(bar[1].State & MFS_GRAYED);
    EXPECT_EQ(bar[1].Sub, nullptr);

    std::vector<TEntry> items = Entries(file->Handle());
    ASSERT_EQ(items.size(), 4u) << "the hidden item is not in the native menu";
    EXPECT_EQ(items[0].Text, "&Open\tCtrl+O");
    EXPECT_EQ(items[0].Id, open->Command());
    EXPECT_TRUE(items[1].Type & MFT_SEPARATOR);
    EXPECT_TRUE(items[2].Type & MFT_RADIOCHECK);
    EXPECT_TRUE(items[2].State & MFS_CHECKED);

    // Checking one radio item of a group unchecks the other; the native
    // menu shows it at once, as it shows a caption change.
    large->SetChecked(true);
    EXPECT_FALSE(small->Checked());
    items = Entries(file->Handle());
    EXPECT_FALSE(items[2].State & MFS_CHECKED);
    EXPECT_TRUE(items[3].State & MFS_CHECKED);
    hidden->SetVisible(true);
    open->SetCaption("&Open...");
    items = Entries(file->Handle());
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].Text, "&Open...\tCtrl+O");
    EXPECT_EQ(items[2].Text, "Hidden");

    // Owner-drawn menus are owner-drawn below the bar only.
    menu->SetOwnerDraw(true);
    EXPECT_FALSE(Entries(menu->Handle())[0].Type & MFT_OWNERDRAW);
    EXPECT_TRUE(Entries(file->Handle())[0].Type & MFT_OWNERDRAW);
    EXPECT_EQ(Entries(file->Handle())[0].Text, "&Open...\tCtrl+O") << "the text stays with an owner-drawn entry";

    // A freed item leaves its menu and the command table.
    const UINT command = hidden->Command();
    delete hidden;
    EXPECT_EQ(TMenuItem::FromCommand(command), nullptr);
    EXPECT_EQ(Entries(file->Handle()).size(), 4u);
}

TEST(Menus, CommandsShortcutsAndOwnerDrawReachTheItems)
{
    auto* form = CreateFormObject<TForm>(nullptr);
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(form, menu->Items(), "&File");
    TMenuItem* save = Item(form, file, "&Save");
    save->SetShortCut(ShortCut(VK_F2, 0));
    TMenuItem* off = Item(form, file, "Off");
    off->SetEnabled(false);
    int saves = 0, offs = 0;
    save->OnClick = [&](TObject*) { ++saves; };
    off->OnClick = [&](TObject*) { ++offs; };
    form->SetMenu(menu);
    HWND window = form->Handle();
    EXPECT_EQ(GetMenu(window), menu->Handle());

    SendMessageA(window, WM_COMMAND, save->Command(), 0);
    SendMessageA(window, WM_COMMAND, off->Command(), 0);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(offs, 0) << "a disabled item does not run";
    EXPECT_TRUE(menu->IsShortCut(ShortCut(VK_F2, 0)));
    EXPECT_FALSE(menu->IsShortCut(ShortCut(VK_F3, 0)));
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, ssShift | ssCtrl)), "Shift+Ctrl+Del");

    // Owner-drawn: the form's window asks the item to measure and draw.
    int measured = 0, drawn = 0;
    save->OnMeasureItem = [&](TObject*, TCanvas*, int& width, int& height) {
        ++measured;
        width = 123;
        height = 21;
    };
    save->OnDrawItem = [&](TObject*, TCanvas* canvas, const RECT& rect, bool selected) {
        ++drawn;
        EXPECT_TRUE(selected);
        EXPECT_EQ(rect.right, 50);
        EXPECT_NE(canvas->Handle(), nullptr);
    };
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = save->Command();
    EXPECT_EQ(SendMessageA(window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
    EXPECT_EQ(measure.itemWidth, 123u);
    EXPECT_EQ(measure.itemHeight, 21u);
    HDC dc = GetDC(window);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = save->Command();
    draw.itemState = ODS_SELECTED;
    draw.hDC = dc;
    draw.rcItem = RECT{0, 0, 50, 20};
    SendMessageA(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    ReleaseDC(window, dc);
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(drawn, 1);

    // The menu freed before the form: the window lets go of it first.
    delete menu;
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);
    delete form;
}

// An item's handler that fails is reported in the error box whichever window
// the command arrives at: the form's (main menu) or the popup menus' own.
TEST(Menus, AHandlersErrorReachesTheErrorBox)
{
    std::vector<std::string> boxes;
    Application->SetMessageBoxHandler([&](const std::string& text, const std::string&, UINT) {
        boxes.push_back(text);
        return IDOK;
    });
    auto* form = CreateFormObject<TForm>(nullptr);
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(form, menu->Items(), "&File");
    TMenuItem* save = Item(form, file, "&Save");
    save->OnClick = [](TObject*) { throw Exception("the ledger is locked"); };
    form->SetMenu(menu);
    auto* popup = new TPopupMenu(form);
    TMenuItem* copy = Item(form, popup->Items(), "&Copy");
    copy->OnClick = [](TObject*) { throw Exception("the clipboard is busy"); };

    SendMessageA(form->Handle(), WM_COMMAND, save->Command(), 0);
    EXPECT_EQ(SendMessageA(TPopupMenu::PopupWindow(), WM_COMMAND, copy->Command(), 0), 0);
    Application->SetMessageBoxHandler(nullptr);
    EXPECT_EQ(boxes, (std::vector<std::string>{"the ledger is locked", "the clipboard is busy"}));
    delete form;
}

}  // namespace
