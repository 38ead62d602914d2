// The data grid: a table view of a query's rows, bound through a data source.
//
// TDBGrid paints every cell itself (no window and no object per row), so a
// result of any size costs only the rows that are on screen: each paint reads
// the visible rows with TADOQuery::DisplayText, composes the picture in a
// memory bitmap and copies it to the window once.
//
// Layout, from the top left: a title row with the column names, a fixed
// indicator column whose cell on the current row shows a small triangle (an
// I-beam while the row is being edited), then one column per result column,
// separated by one-pixel grid lines. Columns are made from the query's fields
// each time it opens; their widths are then set by position
// (Columns(i)->SetWidth(w)).
//
// The grid and the query follow each other: moving the query's cursor scrolls
// the grid so that the current row is visible, and selecting a row in the grid
// (mouse, keyboard, scroll bar) moves the cursor. The vertical scroll bar is
// the window's own (WS_VSCROLL): its range is the rows, its page the rows that
// fit, its position the first visible row. The horizontal scroll bar appears
// when the columns are wider than the window; the indicator column stays put.
//
// Keys: Up/Down a row, PgUp/PgDn a page, Ctrl+Home/Ctrl+End the first and
// last row, Left/Right the previous and next column, Home/End the first and
// last column. The wheel moves a row per notch. WM_VSCROLL's line and page
// requests move the current row like the keys; dragging the thumb scrolls the
// view and keeps the current row on screen.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/data/data_source.h"
#include "framework/forms.h"

class TDBGrid;

// One column of a grid: the field it shows, its title and its width in
// pixels (without the grid line to its right).
class TColumn : public TPersistent {
    DECLARE_CLASS(TColumn, TPersistent)
public:
    TColumn(TDBGrid* grid, int index, std::string fieldName);

    TDBGrid* Grid() const { return FGrid; }
    int Index() const { return FIndex; }
    const std::string& FieldName() const { return FFieldName; }
    // The field of the grid's open query this column shows, or null.
    TField* Field() const;
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    int Width() const { return FWidth; }
    // Negative widths count as 0. The grid is laid out and painted again.
    void SetWidth(int value);

private:
    friend class TDBGrid;
    TDBGrid* FGrid;
    int FIndex;
    std::string FFieldName;
    std::string FTitle;
    int FWidth = 64;
};

// The columns of a grid, in display order.
class TDBGridColumns {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EListError "List index out of bounds (n)" for a missing column.
    TColumn* Items(int index) const;
    TColumn* operator[](int index) const { return Items(index); }

private:
    friend class TDBGrid;
    std::vector<std::unique_ptr<TColumn>> FItems;
};

using TDBGridClickEvent = std::function<void(TColumn* column)>;

class TDBGrid : public TCustomControl {
    DECLARE_CLASS(TDBGrid, TCustomControl)
public:
    explicit TDBGrid(TComponent* owner);
    ~TDBGrid() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    // The query shown, when the data source has one.
    TADOQuery* DataSet() const;

    // A read-only grid never puts the query into edit state.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    // bsNone or bsSingle (a sunken edge); other values count as bsSingle.
    void SetBorderStyle(TFormBorderStyle value);
    TColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor value);

    TDBGridColumns& Columns() { return FColumns; }
    // Column `index` (display order). Throws EListError
    // "List index out of bounds (index)" when there is no such column, for
    // instance when the query is closed or has fewer columns.
    TColumn* Columns(int index) const { return FColumns.Items(index); }

    // The selected column: the one Left/Right move through and a click picks.
    // -1 when there are no columns.
    int SelectedIndex() const { return FColumns.Count() ? FSelectedIndex : -1; }
    void SetSelectedIndex(int index);
    // The field of the selected column, or null.
    TField* SelectedField() const;

    // Geometry, in pixels and rows.
    int DefaultRowHeight() const;    // a data row without its grid line
    int TitleHeight() const;         // the title row without its grid line
    int IndicatorWidth() const { return FIndicatorWidth; }
    // Rows that fit entirely below the title row (at least 1).
    int VisibleRowCount() const;
    // The first row on screen (0-based), 0 for an empty or closed query.
    int TopRow() const { return FTopRow; }
    // The data row (0-based) and column index under a client point; false
    // when the point is not in a data cell. `row` may be past the last row.
    bool CellAt(int x, int y, int& row, int& column) const;
    // The client rectangle of the cell of data row `row`, column `column`
    // as it is now scrolled (may lie outside the window).
    RECT CellRect(int row, int column) const;
    // How many data rows the last paint read: never more than the rows on
    // screen, however many rows the query holds.
    int LastPaintRowCount() const { return FLastPaintRows; }

    void WndProc(TMessage& message) override;
    // The columns' widths and the indicator column scale with the grid (the
    // rows follow the font).
    void ChangeScale(int multiplier, int divisor) override;

    // A click in a data cell, after the row and the column were selected.
    TDBGridClickEvent OnCellClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void Paint() override;

private:
    class TGridDataLink;
    friend class TColumn;
    friend class TGridDataLink;

    static constexpr int INDICATOR_WIDTH = 11;  // at 96 pixels an inch
    int FIndicatorWidth = INDICATOR_WIDTH;      // at the grid's scale

    // What the link reports.
    void LinkActive();
    void LinkDataChanged();
    void LinkScrolled();
    void LinkRowChanged();

    void RebuildColumns();
    void LayoutChanged();
    int RowCount() const;
    int CurrentRow() const;
    // Moves the query's cursor to `row` (clamped) and keeps it on screen.
    void SelectRow(int row);
    void MoveRows(int distance);
    void ScrollToRow(int top);
    // Keeps the current row (and the selected column) on screen.
    void MakeCurrentVisible();
    void MakeColumnVisible(int column);
    int ColumnsWidth() const;
    int DataAreaWidth() const;
    void UpdateScrollBars();
    void InvalidateGrid();
    void KeyDown(WORD key);
    void VerticalScroll(WORD code);
    void HorizontalScroll(WORD code);
    void ClickAt(int x, int y, bool doubleClick);

    void PaintGrid(HDC dc, const RECT& client);
    void PaintTitle(HDC dc, int rowTop);
    void PaintRow(HDC dc, int row, int rowTop, bool current);
    void PaintIndicator(HDC dc, const RECT& cell, bool editing);

    std::unique_ptr<TGridDataLink> FDataLink;
    TDBGridColumns FColumns;
    bool FReadOnly = false;
    TFormBorderStyle FBorderStyle = bsSingle;
    TColor FFixedColor = clBtnFace;
    int FSelectedIndex = 0;
    int FTopRow = 0;
    int FScrollX = 0;
    int FLastPaintRows = 0;
    int FDownRow = -1;        // the data cell a left press went down on
    int FDownColumn = -1;
    bool FUpdatingScrollBars = false;
    bool FRepaintPending = false;  // the window was invalidated and not painted since
    int FWheelDelta = 0;
    mutable int FRowHeight = 0;  // measured from the font on first use

    // What a scroll bar was last told.
    struct TBarState {
        int Max = -1, Page = -1, Position = -1;
        bool operator!=(const TBarState& other) const
        {
            return Max != other.Max || Page != other.Page || Position != other.Position;
        }
    };
    TBarState FVerticalBar, FHorizontalBar;
};
