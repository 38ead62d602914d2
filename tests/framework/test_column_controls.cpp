// Header controls and list views driven in-process: sections and columns as
// the windows report them, clicks and divider drags sent as mouse messages,
// the report view's rows, scrolling, selection, sorting and view styles.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/header_control.h"
#include "framework/list_view.h"
#include "report_fixture.h"

namespace {

class THeaderForm : public TForm {
    DECLARE_CLASS_INLINE(THeaderForm, TForm)
public:
    explicit THeaderForm(TComponent* owner) : TForm(owner)
    {
        // In the design's pixels at every display scale: these tests read
        // pixel positions (scaling has tests of its own).
        SetScaled(false);
        SetBounds(40, 40, 520, 360);
        Header = new THeaderControl(this);
        Header->SetParent(this);
        const char* texts[] = {"项目名称", "金额", "备注"};
        for (const char* text : texts) {
            THeaderSection* section = Header->Sections()->Add();
            section->SetText(text);
            section->SetWidth(100);
        }
        Header->Sections()->Items(1)->SetMinWidth(40);
        Header->Sections()->Items(1)->SetMaxWidth(150);
        Header->Sections()->Items(1)->SetAlignment(taRightJustify);
        Header->Sections()->Items(2)->SetAllowClick(false);
        List = new TListView(this);
        List->SetParent(this);
        List->SetBounds(0, 60, 400, 250);
        FillReport(List, 500, 110);
        FinishCreation();
    }
    THeaderControl* Header;
    TListView* List;
};

std::string HeaderText(HWND header, int index, int* format = nullptr)
{
    char text[64] = {};
    HDITEMA item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
    if (format) *format = item.fmt;
    return text;
}

RECT HeaderItemRect(HWND header, int index)
{
    RECT r{};
    SendMessageA(header, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

void Click(HWND window, int x, int y)
{
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Drags from (x, y) to (x + dx, y) with the left button down.
void Drag(HWND window, int x, int y, int dx)
{
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    for (int step = 1; step <= 4; ++step)
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx * step / 4, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y));
}

std::string ListText(HWND list, int item, int subItem)
{
    char text[64] = {};
    LVITEMA row{};
    row.iSubItem = subItem;
    row.pszText = text;
    row.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&row));
    return text;
}

TEST(HeaderControl, SectionsClicksAndDividerDragsGoThroughTheWindow)
{
    THeaderForm form(nullptr);
    form.Show();
    HWND header = form.Header->Handle();
    char name[32] = {};
    GetClassNameA(header, name, sizeof name);
    EXPECT_STREQ(name, "THeaderControl");
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
    int format = 0;
    EXPECT_EQ(HeaderText(header, 0), "项目名称");
    EXPECT_EQ(HeaderText(header, 1, &format), "金额");
    EXPECT_EQ(format & HDF_JUSTIFYMASK, HDF_RIGHT);
    EXPECT_EQ(form.Header->Align(), alTop);
    EXPECT_EQ(form.Header->Width(), form.ClientWidth());

    std::vector<int> clicked;
    std::vector<int> resized;
    form.Header->OnSectionClick = [&](THeaderControl*, THeaderSection* s) { clicked.push_back(s->Index()); };
    form.Header->OnSectionResize = [&](THeaderControl*, THeaderSection* s) { resized.push_back(s->Index()); };
    RECT second = HeaderItemRect(header, 1);
    Click(header, (second.left + second.right) / 2, 8);
    RECT third = HeaderItemRect(header, 2);
    Click(header, (third.left + third.right) / 2, 8);
    EXPECT_EQ(clicked, std::vector<int>{1}) << "the third section does not allow clicks";

    // Dragging the first divider 30 pixels right widens the first section
    // and moves the others along; the limits of the second one hold.
    RECT first = HeaderItemRect(header, 0);
    Drag(header, first.right, 8, 30);
    EXPECT_EQ(form.Header->Sections()->Items(0)->Width(), 130);
    EXPECT_EQ(HeaderItemRect(header, 1).left, 130);
    EXPECT_EQ(form.Header->Sections()->Items(1)->Left(), 130);
    EXPECT_FALSE(resized.empty());
    EXPECT_EQ(resized.back(), 0);
    EXPECT_EQ(clicked.size(), 1u) << "a divider drag is no click";

    second = HeaderItemRect(header, 1);
    Drag(header, second.right, 8, 200);
    EXPECT_EQ(form.Header->Sections()->Items(1)->Width(), 150);
    second = HeaderItemRect(header, 1);
    Drag(header, second.right, 8, -140);
    EXPECT_EQ(form.Header->Sections()->Items(1)->Width(), 40);

    // A new window (HotTrack is a window style) keeps what the user dragged.
    form.Header->SetHotTrack(true);
    header = form.Header->Handle();
    EXPECT_TRUE(GetWindowLongA(header, GWL_STYLE) & HDS_HOTTRACK);
    EXPECT_EQ(HeaderItemRect(header, 0).right, 130);
    EXPECT_EQ(form.Header->Sections()->Items(1)->Width(), 40);
    EXPECT_EQ(HeaderText(header, 2), "备注");
}

TEST(ListView, ReportViewRowsScrollingSelectionAndSorting)
{
    THeaderForm form(nullptr);
    form.Show();
    TListView* list = form.List;
    HWND window = list->Handle();
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "TListView");
    ASSERT_EQ(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0), 500);
    EXPECT_EQ(ListText(window, 42, 0), "条目 042");
    EXPECT_EQ(ListText(window, 42, 1), "420");
    EXPECT_EQ(ListText(window, 42, 2), "2026-12-08");

    HWND header = list->HeaderWindow();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(HeaderText(header, 1), "金额");
    RECT headerBefore;
    GetWindowRect(header, &headerBefore);

    // Scrolling moves the rows under a header that stays put.
    EXPECT_EQ(list->TopItem(), list->Items()->Item(0));
    RECT row = list->Items()->Item(0)->DisplayRect();
    list->Scroll(0, (row.bottom - row.top) * 20);
    ASSERT_NE(list->TopItem(), nullptr);
    EXPECT_EQ(list->TopItem()->Index(), 20);
    RECT headerAfter;
    GetWindowRect(header, &headerAfter);
    EXPECT_TRUE(EqualRect(&headerBefore, &headerAfter));
    EXPECT_GT(list->VisibleRowCount(), 5);

    // A click on a column's header reports that column; dragging its
    // divider resizes the column.
    std::vector<int> columns;
    list->OnColumnClick = [&](TObject*, TListColumn* c) { columns.push_back(c->Index()); };
    RECT amount = HeaderItemRect(header, 1);
    Click(header, (amount.left + amount.right) / 2, 6);
    EXPECT_EQ(columns, std::vector<int>{1});
    RECT firstColumn = HeaderItemRect(header, 0);
    Drag(header, firstColumn.right, 6, 25);
    EXPECT_EQ(list->Columns()->Items(0)->Width(), 135);

    // Selection from code and by a click.
    std::vector<std::pair<int, bool>> selections;
    list->OnSelectItem = [&](TObject*, TListItem* item, bool selected) {
        selections.emplace_back(item ? item->Index() : -1, selected);
    };
    list->SetItemIndex(25);
    EXPECT_EQ(list->ItemIndex(), 25);
    EXPECT_EQ(list->SelCount(), 1);
    ASSERT_FALSE(selections.empty());
    EXPECT_EQ(selections.back(), std::make_pair(25, true));
    RECT target = list->Items()->Item(27)->DisplayRect();
    Click(window, target.left + 20, (target.top + target.bottom) / 2);
    EXPECT_EQ(list->ItemIndex(), 27);
    EXPECT_EQ(list->GetItemAt(target.left + 20, (target.top + target.bottom) / 2), list->Items()->Item(27));

    // Sorting reorders the items and the window's rows alike.
    TListItem* last = list->Items()->Item(499);
    list->CustomSort([](TListItem* a, TListItem* b) { return -lstrcmpA(a->Caption().c_str(), b->Caption().c_str()); });
    EXPECT_EQ(list->Items()->Item(0), last);
    EXPECT_EQ(ListText(window, 0, 0), "条目 499");
    EXPECT_EQ(ListText(window, 499, 1), "0");
    list->AlphaSort();
    EXPECT_EQ(ListText(window, 0, 0), "条目 000");

    // Changing, inserting and deleting items keep window and list in step.
    list->Items()->Item(3)->SetCaption("改名");
    list->Items()->Item(3)->SubItems()->Put(0, "99");
    EXPECT_EQ(ListText(window, 3, 0), "改名");
    EXPECT_EQ(ListText(window, 3, 1), "99");
    list->Items()->Insert(1)->SetCaption("插入");
    list->Items()->Delete(0);
    EXPECT_EQ(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0), 500);
    EXPECT_EQ(ListText(window, 0, 0), "插入");
    EXPECT_EQ(list->Items()->Item(0)->Caption(), "插入");
}

TEST(ListView, ViewStylesAndANewWindowKeepTheItems)
{
    THeaderForm form(nullptr);
    form.Show();
    TListView* list = form.List;
    HWND window = list->Handle();
    struct {
        TViewStyle Style;
        DWORD Bits;
    } styles[] = {{vsIcon, LVS_ICON}, {vsSmallIcon, LVS_SMALLICON}, {vsList, LVS_LIST}, {vsReport, LVS_REPORT}};
    for (const auto& s : styles) {
        list->SetViewStyle(s.Style);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & LVS_TYPEMASK, s.Bits);
        EXPECT_EQ(GetPropValue(*list, "ViewStyle"), ViewStyleEnum.NameOf(s.Style));
    }
    list->Items()->Item(7)->SetSelected(true);
    list->SetShowColumnHeaders(false);  // a new window
    window = list->Handle();
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & LVS_NOCOLUMNHEADER);
    EXPECT_EQ(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0), 500);
    EXPECT_EQ(ListText(window, 7, 1), "70");
    EXPECT_EQ(list->ItemIndex(), 7);
    EXPECT_EQ(list->Columns()->Items(2)->Width(), 110);
    EXPECT_EQ(GetPropValue(*list, "BorderStyle"), "bsSingle");
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

}  // namespace
