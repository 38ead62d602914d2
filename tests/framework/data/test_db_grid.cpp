// The data grid over real ledger files: columns and their widths by position,
// the current row following the query and the query following the grid
// (clicks, keys, scroll requests), what is painted, and a result of 100,000
// rows.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "framework/application.h"
#include "framework/data/ado_connection.h"
#include "framework/data/db_grid.h"
#include "tests/framework/data/store_test_folder.h"

namespace {

class GridTest : public ::testing::Test {
protected:
    void Fill(int rows)
    {
        MakeLedgerFile(FFolder.File(L"data.mdb"));
        // Rows "item1".."itemN"; the category tells the row's number as well.
        RawQuery(FFolder.File(L"data.mdb"),
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + IntToStr(rows) +
                     ") INSERT INTO data (" + U8(u8"项目名称, 项目类别, 编辑时间, 支出或收入, 金额, 项目备注") +
                     ") SELECT 'item' || i, 'cat' || i, '2026/12/8', '" + U8(u8"支出") + "', i, 'remark' FROM n");
        FConnection.SetConnectionStringW(L"Data Source=" + FFolder.File(L"data.mdb"));
        FQuery.SetConnection(&FConnection);
        FSource.SetDataSet(&FQuery);
    }
    void Open(const std::string& sql = "select * from data order by 编号 asc")
    {
        FQuery.Close();
        FQuery.SQL().Clear();
        FQuery.SQL().Add(sql);
        FQuery.Open();
    }
    TDBGrid* MakeGrid(int width = 600, int height = 300)
    {
        FForm = std::make_unique<TForm>(nullptr);
        FForm->SetBounds(0, 0, width + 40, height + 60);
        auto* grid = new TDBGrid(FForm.get());
        grid->SetParent(FForm.get());
        grid->SetBounds(5, 5, width, height);
        grid->SetDataSource(&FSource);
        grid->Handle();
        return grid;
    }
    // The grid painted into a bitmap of its client size.
    std::unique_ptr<TBitmap> Picture(TDBGrid* grid)
    {
        RECT client = grid->ClientRect();
        auto bitmap = std::make_unique<TBitmap>(client.right, client.bottom, pf32bit);
        grid->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()), PRF_CLIENT);
        return bitmap;
    }
    static void Click(TDBGrid* grid, POINT p)
    {
        grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    static POINT CellCentre(TDBGrid* grid, int row, int column)
    {
        RECT r = grid->CellRect(row, column);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    TTempFolder FFolder;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
    TDataSource FSource{nullptr};
    std::unique_ptr<TForm> FForm;
};

TEST_F(GridTest, ColumnsAreTheResultColumnsSizedByPosition)
{
    Fill(3);
    TDBGrid* grid = MakeGrid();
    EXPECT_EQ(grid->Columns().Count(), 0) << "closed query, no columns";
    EXPECT_THROW(grid->Columns(0), EListError);

    Open();
    ASSERT_EQ(grid->Columns().Count(), 7);
    const char* titles[] = {"编号", "项目名称", "项目类别", "编辑时间", "支出或收入", "金额", "项目备注"};
    const int widths[] = {50, 100, 60, 70, 65, 65, 300};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(grid->Columns(i)->Title(), titles[i]);
        grid->Columns(i)->SetWidth(widths[i]);
    }
    // Each column starts after the indicator and the columns (and lines) before it.
    int left = grid->IndicatorWidth() + 1;
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(grid->Columns(i)->Width(), widths[i]);
        EXPECT_EQ(grid->CellRect(0, i).left, left) << "column " << i;
        left += widths[i] + 1;
    }

    // Sizing a column that the result does not have is an index error.
    struct Case {
        const char* sql;
        int missing;
    } cases[] = {{"select * from data", 7}, {"select 编号, 项目名称, 项目类别, 编辑时间, 支出或收入, 金额 from data", 6},
                 {"select 项目名称 from data", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        Open(c.sql);
        try {
            grid->Columns(c.missing)->SetWidth(300);
            ADD_FAILURE() << "no error";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + IntToStr(c.missing) + ")");
        }
    }
    FQuery.Close();
    EXPECT_EQ(grid->Columns().Count(), 0);
}

TEST_F(GridTest, CurrentRowFollowsTheQueryAndClicksMoveTheQuery)
{
    Fill(60);
    TDBGrid* grid = MakeGrid();
    Open();
    int visible = grid->VisibleRowCount();
    ASSERT_GT(visible, 3);
    ASSERT_LT(visible, 60);

    // The query moves: the grid scrolls just enough to show the current row.
    struct Move {
        int recNo;
        int top;
    } moves[] = {{40, 40 - visible}, {60, 60 - visible}, {30, 29}, {1, 0}};
    for (const Move& m : moves) {
        FQuery.SetRecNo(m.recNo);
        EXPECT_EQ(grid->TopRow(), m.top) << "record " << m.recNo;
        SCROLLINFO info{sizeof info, SIF_ALL};
        GetScrollInfo(grid->Handle(), SB_VERT, &info);
        EXPECT_EQ(info.nPos, m.top);
        EXPECT_EQ(info.nMax, 59);
        EXPECT_EQ(static_cast<int>(info.nPage), visible);
    }

    // A click on a data cell selects its record and column, then reports the
    // column; the clicked cell's text is the current row's value there.
    FQuery.SetRecNo(20);
    int top = grid->TopRow();
    std::vector<std::string> clicked;
    grid->OnCellClick = [&](TColumn* column) { clicked.push_back(column->Field()->AsString()); };
    struct ClickCase {
        int row, column;
    } clicks[] = {{top + 2, 2}, {top, 1}, {top + visible - 1, 5}};
    for (const ClickCase& c : clicks) {
        Click(grid, CellCentre(grid, c.row, c.column));
        EXPECT_EQ(FQuery.RecNo(), c.row + 1);
        EXPECT_EQ(grid->SelectedIndex(), c.column);
        ASSERT_NE(grid->SelectedField(), nullptr);
        EXPECT_EQ(grid->SelectedField()->FieldName(), grid->Columns(c.column)->FieldName());
        EXPECT_EQ(grid->TopRow(), top) << "a visible row does not scroll";
    }
    std::string expected[] = {"cat" + IntToStr(top + 3), "item" + IntToStr(top + 1), IntToStr(top + visible)};
    ASSERT_EQ(clicked.size(), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(clicked[i], expected[i]);

    // Below the last row and on the title row nothing is selected.
    Open("select * from data where 编号 <= 2");
    clicked.clear();
    FQuery.SetRecNo(2);
    Click(grid, CellCentre(grid, 5, 1));
    Click(grid, POINT{grid->CellRect(0, 1).left + 5, 3});
    EXPECT_EQ(FQuery.RecNo(), 2);
    EXPECT_TRUE(clicked.empty());

    // A double click selects the row first: the handler sees the new row.
    int seenRecNo = 0;
    grid->OnDblClick = [&](TObject*) { seenRecNo = FQuery.RecNo(); };
    POINT p = CellCentre(grid, 0, 1);
    grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    grid->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(seenRecNo, 1);
}

TEST_F(GridTest, ScrollRequestsAndKeysMoveTheCurrentRow)
{
    Fill(200);
    TDBGrid* grid = MakeGrid();
    Open();
    int page = grid->VisibleRowCount();
    ASSERT_GT(page, 3);

    // Vertical scroll requests, as the scroll bar and the mouse-wheel hook send them.
    struct ScrollCase {
        WPARAM request;
        int startRecNo;
        int recNo;
    } scrolls[] = {
        {SB_PAGEDOWN, 50, 50 + page},
        {SB_PAGEUP, 50, 50 - page},
        {SB_PAGEUP, 2, 1},
        {SB_PAGEDOWN, 199, 200},
        {SB_LINEDOWN, 50, 51},
        {SB_LINEUP, 50, 49},
        {SB_LINEUP, 1, 1},
        {SB_TOP, 120, 1},
        {SB_BOTTOM, 3, 200},
    };
    for (const ScrollCase& s : scrolls) {
        SCOPED_TRACE(testing::Message() << "request " << s.request << " from " << s.startRecNo);
        FQuery.SetRecNo(s.startRecNo);
        int screenRow = FQuery.RecNo() - 1 - grid->TopRow();
        SendMessageA(grid->Handle(), WM_VSCROLL, s.request, 0);
        EXPECT_EQ(FQuery.RecNo(), s.recNo);
        int current = FQuery.RecNo() - 1;
        EXPECT_GE(current, grid->TopRow());
        EXPECT_LT(current, grid->TopRow() + page);
        bool wholePage = s.recNo == s.startRecNo + (s.request == SB_PAGEDOWN ? page : -page);
        if ((s.request == SB_PAGEDOWN || s.request == SB_PAGEUP) && wholePage) {
            EXPECT_EQ(current - grid->TopRow(), screenRow) << "a page keeps the row's place on screen";
        }
    }

    // Dragging the thumb scrolls the view; the current row stays on screen.
    FQuery.SetRecNo(1);
    SendMessageA(grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100), 0);
    EXPECT_EQ(grid->TopRow(), 100);
    EXPECT_EQ(FQuery.RecNo(), 101);
    SendMessageA(grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 190), 0);
    EXPECT_EQ(grid->TopRow(), 200 - page) << "no scrolling past the last page";

    // Keys: rows up and down, pages, the first and last row with Ctrl, columns.
    struct KeyCase {
        WORD key;
        bool ctrl;
        int startRecNo, startColumn;
        int recNo, column;
    } keys[] = {
        {VK_DOWN, false, 10, 0, 11, 0},      {VK_UP, false, 10, 0, 9, 0},
        {VK_NEXT, false, 10, 0, 10 + page, 0}, {VK_PRIOR, false, 100, 0, 100 - page, 0},
        {VK_HOME, true, 100, 3, 1, 3},       {VK_END, true, 100, 3, 200, 3},
        {VK_RIGHT, false, 5, 3, 5, 4},       {VK_LEFT, false, 5, 3, 5, 2},
        {VK_LEFT, false, 5, 0, 5, 0},        {VK_RIGHT, false, 5, 6, 5, 6},
        {VK_HOME, false, 5, 4, 5, 0},        {VK_END, false, 5, 1, 5, 6},
    };
    for (const KeyCase& k : keys) {
        SCOPED_TRACE(testing::Message() << "key " << k.key << (k.ctrl ? " with Ctrl" : ""));
        FQuery.SetRecNo(k.startRecNo);
        grid->SetSelectedIndex(k.startColumn);
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_CONTROL] = k.ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        SendMessageA(grid->Handle(), WM_KEYDOWN, k.key, 1);
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
        EXPECT_EQ(FQuery.RecNo(), k.recNo);
        EXPECT_EQ(grid->SelectedIndex(), k.column);
    }
    EXPECT_EQ(SendMessageA(grid->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS)
        << "arrows are the grid's, not the dialog's";
}

TEST_F(GridTest, DeletingRowsKeepsTheViewInsideTheResult)
{
    Fill(40);
    TDBGrid* grid = MakeGrid();
    Open();
    int page = grid->VisibleRowCount();
    FQuery.Last();
    for (int i = 0; i < 40 - page / 2; ++i)
        FQuery.Delete();
    int left = page / 2;
    EXPECT_EQ(FQuery.RecordCount(), left);
    EXPECT_EQ(grid->TopRow(), 0);
    EXPECT_EQ(FQuery.RecNo(), left);
    auto picture = Picture(grid);
    EXPECT_LE(grid->LastPaintRowCount(), left);
}

TEST_F(GridTest, PaintsTitleRowIndicatorAndBackground)
{
    Fill(10);
    TDBGrid* grid = MakeGrid(500, 300);
    Open();
    for (int i = 0; i < 7; ++i)
        grid->Columns(i)->SetWidth(50);
    const COLORREF face = ColorToRGB(clBtnFace), window = ColorToRGB(clWindow), black = RGB(0, 0, 0);

    auto triangleAt = [&](TBitmap& picture, int row) {
        RECT cell = grid->CellRect(row, 0);
        int midY = (cell.top + cell.bottom) / 2;
        return static_cast<COLORREF>(picture.Canvas()->Pixel(4, midY));
    };
    FQuery.SetRecNo(3);
    auto picture = Picture(grid);
    RECT title{0, 0, grid->IndicatorWidth(), grid->TitleHeight()};
    EXPECT_EQ(static_cast<COLORREF>(picture->Canvas()->Pixel(title.right / 2, title.bottom / 2)), face)
        << "the indicator's title cell";
    RECT firstTitle = grid->CellRect(0, 0);
    EXPECT_EQ(static_cast<COLORREF>(picture->Canvas()->Pixel(firstTitle.right - 3, grid->TitleHeight() / 2)), face)
        << "the title cell right of its text";
    EXPECT_EQ(triangleAt(*picture, 2), black) << "the triangle on the current row";
    EXPECT_EQ(triangleAt(*picture, 1), face) << "no triangle on another row";
    RECT client = grid->ClientRect();
    EXPECT_EQ(static_cast<COLORREF>(picture->Canvas()->Pixel(client.right - 3, client.bottom - 3)), window)
        << "the area right of the columns and below the rows";
    EXPECT_EQ(grid->LastPaintRowCount(), 10);

    // The triangle follows the query; the colour property colours the cells.
    FQuery.SetRecNo(6);
    grid->SetColor(clYellow);
    picture = Picture(grid);
    EXPECT_EQ(triangleAt(*picture, 5), black);
    EXPECT_EQ(triangleAt(*picture, 2), face);
    RECT cell = grid->CellRect(8, 6);
    EXPECT_EQ(static_cast<COLORREF>(picture->Canvas()->Pixel(cell.right - 2, cell.bottom - 2)), ColorToRGB(clYellow));

    // On a dark fixed colour (a dark skin's face) the titles and the
    // triangle turn light, so they still show.
    const COLORREF dark = RGB(40, 44, 52), white = RGB(255, 255, 255);
    grid->SetFixedColor(static_cast<TColor>(dark));
    picture = Picture(grid);
    EXPECT_EQ(triangleAt(*picture, 5), white);
    RECT titleCell = grid->CellRect(0, 0);
    int lightInTitle = 0;
    for (int x = titleCell.left + 1; x < titleCell.right - 1; ++x)
        for (int y = 2; y < grid->TitleHeight() - 2; ++y)
            if (const COLORREF c = static_cast<COLORREF>(picture->Canvas()->Pixel(x, y));
                GetRValue(c) > 180 && GetGValue(c) > 180 && GetBValue(c) > 180)  // smoothed text: near white
                ++lightInTitle;
    EXPECT_GT(lightInTitle, 5) << "the first title's text in white";
}

TEST_F(GridTest, HundredThousandRowsOpenAndScrollWithoutObjectsPerRow)
{
    Fill(100000);
    TDBGrid* grid = MakeGrid();
    DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    Open();
    ASSERT_EQ(FQuery.RecordCount(), 100000);
    int page = grid->VisibleRowCount();

    Picture(grid);
    EXPECT_LE(grid->LastPaintRowCount(), page + 1);
    for (int i = 0; i < 100; ++i)
        SendMessageA(grid->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(FQuery.RecNo(), 1 + 100 * page);
    FQuery.Last();
    EXPECT_EQ(grid->TopRow(), 100000 - page);
    auto picture = Picture(grid);
    EXPECT_LE(grid->LastPaintRowCount(), page + 1);
    RECT last = grid->CellRect(99999, 0);
    EXPECT_EQ(static_cast<COLORREF>(picture->Canvas()->Pixel(4, (last.top + last.bottom) / 2)), RGB(0, 0, 0))
        << "the last row is on screen and current";

    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(grid->Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nMax, 99999);
    EXPECT_EQ(info.nPos, 100000 - page);

    // No window and no GDI or USER object came with the rows.
    EXPECT_EQ(GetWindow(grid->Handle(), GW_CHILD), nullptr);
    picture.reset();
    if (gdiBefore) {
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 10);
    }
    if (userBefore) {
        EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 10);
    }
}

}  // namespace
