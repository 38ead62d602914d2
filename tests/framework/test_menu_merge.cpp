// A menu merged into a menu bar (an MDI child's menu in its frame's bar):
// its items take the place of the bar's items of the same group and go in
// group order among the others, the native bar follows changes of either
// menu, taking it out gives the bar back, and freeing the merged menu takes
// it out. The bidirectional mode a menu takes from its form.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/menus.h"

namespace {

std::vector<std::string> Texts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

TMenuItem* Add(TMenu* menu, const char* caption, int group)
{
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    item->SetGroupIndex(group);
    menu->Items()->Add(item);
    return item;
}

TEST(MenuMerge, GroupsReplaceAndInsertInOrderAndFollowChanges)
{
    TMainMenu frame(nullptr);
    Add(&frame, "File", 0);
    TMenuItem* edit = Add(&frame, "Edit", 2);
    Add(&frame, "Window", 9);
    auto* child = new TMainMenu(nullptr);
    Add(child, "Entries", 5);
    TMenuItem* childEdit = Add(child, "Change", 2);
    Add(child, "Tools", 0);   // replaces File: first of group 0 kept in order

    const HMENU bar = frame.Handle();
    EXPECT_EQ(Texts(bar), (std::vector<std::string>{"File", "Edit", "Window"}));
    frame.Merge(child);
    EXPECT_EQ(frame.Merged(), child);
    EXPECT_EQ(Texts(bar), (std::vector<std::string>{"Tools", "Change", "Entries", "Window"}));
    // Commands of the merged items are found through the bar.
    EXPECT_EQ(frame.FindBarItem(childEdit->Command()), childEdit);
    EXPECT_EQ(frame.FindBarItem(edit->Command()), edit);
    EXPECT_EQ(frame.FindBarItem(frame.Items()->Command()), nullptr);
    // A change of the merged menu shows in the bar.
    childEdit->SetCaption("Modify");
    EXPECT_EQ(Texts(bar), (std::vector<std::string>{"Tools", "Modify", "Entries", "Window"}));
    // Out again: the bar's own items.
    frame.Merge(nullptr);
    EXPECT_EQ(Texts(bar), (std::vector<std::string>{"File", "Edit", "Window"}));
    // Freeing a merged menu takes it out of the bar.
    frame.Merge(child);
    EXPECT_EQ(Texts(bar).size(), 4u);
    delete child;
    EXPECT_EQ(frame.Merged(), nullptr);
    EXPECT_EQ(Texts(bar), (std::vector<std::string>{"File", "Edit", "Window"}));
}

TEST(MenuBiDiMode, AMenuFollowsItsFormUnlessSetItself)
{
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    EXPECT_FALSE(menu->IsRightToLeft());
    form.SetBiDiMode(bdRightToLeft);
    EXPECT_TRUE(menu->IsRightToLeft());
    EXPECT_EQ(GetEnumProp(*menu, "BiDiMode"), "bdRightToLeft");
    menu->SetBiDiMode(bdLeftToRight);
    EXPECT_FALSE(menu->ParentBiDiMode());
    EXPECT_FALSE(menu->IsRightToLeft());
    menu->SetParentBiDiMode(true);
    EXPECT_TRUE(menu->IsRightToLeft());
    // The form's window reads right to left with its scroll bar on the left.
    form.SetBiDiMode(bdRightToLeftReadingOnly);
    form.HandleNeeded();
    const LONG exStyle = GetWindowLongA(form.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_RTLREADING);
    EXPECT_FALSE(exStyle & WS_EX_LEFTSCROLLBAR);
    form.SetBiDiMode(bdRightToLeft);
    const LONG after = GetWindowLongA(form.Handle(), GWL_EXSTYLE);
    EXPECT_TRUE((after & (WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT)) ==
                (WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT));
}

}  // namespace
