// The data grid (see db_grid.h).
#include "framework/data/db_grid.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

// ---- the grid's link to its query ---------------------------------------------------

class TDBGrid::TGridDataLink : public TDataLink {
public:
    explicit TGridDataLink(TDBGrid* grid) : FGrid(grid) {}
    // Lets go of the data source without telling the grid, which is being
    // destroyed.
    void Detach()
    {
        FGrid = nullptr;
        SetDataSource(nullptr);
    }

protected:
    void ActiveChanged() override
    {
        if (FGrid) FGrid->LinkActive();
    }
    void DataSetChanged() override
    {
        if (FGrid) FGrid->LinkDataChanged();
    }
    void DataSetScrolled(int) override
    {
        if (FGrid) FGrid->LinkScrolled();
    }
    void RecordChanged(TField*) override
    {
        if (FGrid) FGrid->LinkRowChanged();
    }
    void EditingChanged() override
    {
        if (FGrid) FGrid->LinkRowChanged();
    }

private:
    TDBGrid* FGrid;
};

// ---- TColumn ------------------------------------------------------------------------

using PColumn = TPropBuilder<TColumn>;
IMPLEMENT_CLASS(TColumn,
    PColumn::String("FieldName", &TColumn::FieldName, nullptr),
    PColumn::String("Title", &TColumn::Title, &TColumn::SetTitle),
    PColumn::Integer("Width", &TColumn::Width, &TColumn::SetWidth))

TColumn::TColumn(TDBGrid* grid, int index, std::string fieldName)
    : FGrid(grid), FIndex(index), FFieldName(std::move(fieldName)), FTitle(FFieldName)
{
}

TField* TColumn::Field() const
{
    TADOQuery* dataSet = FGrid->DataSet();
    if (!dataSet || !dataSet->Active() || FIndex >= dataSet->FieldCount()) return nullptr;
    return &dataSet->Fields(FIndex);
}

void TColumn::SetTitle(const std::string& value)
{
    FTitle = value;
    FGrid->InvalidateGrid();
}

void TColumn::SetWidth(int value)
{
    value = std::max(value, 0);
    if (value == FWidth) return;
    FWidth = value;
    FGrid->LayoutChanged();
}

TColumn* TDBGridColumns::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FItems[index].get();
}

// ---- TDBGrid ------------------------------------------------------------------------

using PGrid = TPropBuilder<TDBGrid>;
IMPLEMENT_CLASS(TDBGrid,
    PGrid::Enum("BorderStyle", FormBorderStyleEnum, &TDBGrid::BorderStyle, &TDBGrid::SetBorderStyle),
    PGrid::Integer("Color", &TDBGrid::Color, &TDBGrid::SetColor),
    PGrid::Object("DataSource", &TDBGrid::DataSource, &TDBGrid::SetDataSource),
    PGrid::Integer("FixedColor", &TDBGrid::FixedColor, &TDBGrid::SetFixedColor),
    PGrid::Object("Font", &TDBGrid::Font, &TDBGrid::SetFont),
    PGrid::Bool("ParentColor", &TDBGrid::ParentColor, &TDBGrid::SetParentColor),
    PGrid::Bool("ParentFont", &TDBGrid::ParentFont, &TDBGrid::SetParentFont),
    PGrid::Bool("ReadOnly", &TDBGrid::ReadOnly, &TDBGrid::SetReadOnly),
    PGrid::Bool("TabStop", &TDBGrid::TabStop, &TDBGrid::SetTabStop))

TDBGrid::TDBGrid(TComponent* owner) : TCustomControl(owner), FDataLink(std::make_unique<TGridDataLink>(this))
{
    FControlStyle = csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks;
    FWidth = 320;
    FHeight = 120;
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
}

TDBGrid::~TDBGrid()
{
    FDataLink->Detach();
}

TDataSource* TDBGrid::DataSource() const { return FDataLink->DataSource(); }

void TDBGrid::SetDataSource(TDataSource* source)
{
    if (source == DataSource()) return;
    FDataLink->SetDataSource(source);  // reports ActiveChanged
}

TADOQuery* TDBGrid::DataSet() const
{
    return FDataLink->Active() ? FDataLink->DataSet() : nullptr;
}

void TDBGrid::SetBorderStyle(TFormBorderStyle value)
{
    value = value == bsNone ? bsNone : bsSingle;
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TDBGrid::SetFixedColor(TColor value)
{
    FFixedColor = value;
    InvalidateGrid();
}

void TDBGrid::SetSelectedIndex(int index)
{
    if (FColumns.Count() == 0) return;
    index = std::clamp(index, 0, FColumns.Count() - 1);
    FSelectedIndex = index;
    MakeColumnVisible(index);
    InvalidateGrid();
}

TField* TDBGrid::SelectedField() const
{
    int index = SelectedIndex();
    return index < 0 ? nullptr : FColumns.Items(index)->Field();
}

void TDBGrid::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style |= WS_VSCROLL | WS_HSCROLL;
    if (FBorderStyle != bsNone) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDBGrid::CreateWindowDone()
{
    TCustomControl::CreateWindowDone();
    FVerticalBar = FHorizontalBar = TBarState{};  // a new window has bars of its own
    FRepaintPending = false;
    MakeCurrentVisible();
    UpdateScrollBars();
}

// ---- geometry ------------------------------------------------------------------------

int TDBGrid::DefaultRowHeight() const
{
    if (FRowHeight) return FRowHeight;
    TWindowDC screen = TWindowDC::Client(nullptr);
    TEXTMETRICA metrics{};
    {
        TSelectObject font(screen, FFont->Handle());
        GetTextMetricsA(screen, &metrics);
    }
    FRowHeight = metrics.tmHeight + 4;
    return FRowHeight;
}

int TDBGrid::TitleHeight() const { return DefaultRowHeight(); }

int TDBGrid::VisibleRowCount() const
{
    int pitch = DefaultRowHeight() + 1;
    int dataHeight = ClientRect().bottom - (TitleHeight() + 1);
    return std::max(1, dataHeight / pitch);
}

int TDBGrid::RowCount() const
{
    TADOQuery* dataSet = DataSet();
    return dataSet ? dataSet->RecordCount() : 0;
}

int TDBGrid::CurrentRow() const
{
    TADOQuery* dataSet = DataSet();
    return dataSet ? dataSet->RecNo() - 1 : -1;
}

int TDBGrid::ColumnsWidth() const
{
    int width = 0;
    for (const auto& column : FColumns.FItems)
        width += column->Width() + 1;
    return width;
}

int TDBGrid::DataAreaWidth() const { return std::max(0, static_cast<int>(ClientRect().right) - (FIndicatorWidth + 1)); }

RECT TDBGrid::CellRect(int row, int column) const
{
    int pitch = DefaultRowHeight() + 1;
    int left = FIndicatorWidth + 1 - FScrollX;
    for (int i = 0; i < column && i < FColumns.Count(); ++i)
        left += FColumns.FItems[i]->Width() + 1;
    int width = column >= 0 && column < FColumns.Count() ? FColumns.FItems[column]->Width() : 0;
    int top = TitleHeight() + 1 + (row - FTopRow) * pitch;
    return RECT{left, top, left + width, top + pitch - 1};
}

bool TDBGrid::CellAt(int x, int y, int& row, int& column) const
{
    int title = TitleHeight() + 1;
    if (y < title || x < FIndicatorWidth + 1) return false;
    row = FTopRow + (y - title) / (DefaultRowHeight() + 1);
    int left = FIndicatorWidth + 1 - FScrollX;
    for (int i = 0; i < FColumns.Count(); ++i) {
        int right = left + FColumns.FItems[i]->Width() + 1;
        if (x >= left && x < right) {
            column = i;
            return true;
        }
        left = right;
    }
    return false;
}

// ---- following the query -------------------------------------------------------------

void TDBGrid::RebuildColumns()
{
    FColumns.FItems.clear();
    TADOQuery* dataSet = DataSet();
    if (!dataSet) return;
    TWindowDC screen = TWindowDC::Client(nullptr);
    TSelectObject font(screen, FFont->Handle());
    for (int i = 0; i < dataSet->FieldCount(); ++i) {
        auto column = std::make_unique<TColumn>(this, i, dataSet->Fields(i).FieldName());
        SIZE extent{};
        const std::string& title = column->Title();
        GetTextExtentPoint32A(screen, title.c_str(), static_cast<int>(title.size()), &extent);
        column->FWidth = std::max(64, static_cast<int>(extent.cx) + 8);
        FColumns.FItems.push_back(std::move(column));
    }
}

void TDBGrid::LinkActive()
{
    RebuildColumns();
    FSelectedIndex = std::clamp(FSelectedIndex, 0, std::max(0, FColumns.Count() - 1));
    FTopRow = 0;
    FScrollX = 0;
    MakeCurrentVisible();
    UpdateScrollBars();
    InvalidateGrid();
}

void TDBGrid::LinkDataChanged()
{
    // Rows may have come or gone (delete, refresh): keep the view inside them.
    MakeCurrentVisible();
    UpdateScrollBars();
    InvalidateGrid();
}

void TDBGrid::LinkScrolled()
{
    MakeCurrentVisible();
    UpdateScrollBars();
    InvalidateGrid();
}

void TDBGrid::LinkRowChanged() { InvalidateGrid(); }

void TDBGrid::LayoutChanged()
{
    MakeColumnVisible(FSelectedIndex);
    UpdateScrollBars();
    InvalidateGrid();
}

void TDBGrid::MakeCurrentVisible()
{
    int count = RowCount();
    int visible = VisibleRowCount();
    int current = CurrentRow();
    if (current >= 0) {
        if (current < FTopRow) FTopRow = current;
        if (current >= FTopRow + visible) FTopRow = current - visible + 1;
    }
    FTopRow = std::clamp(FTopRow, 0, std::max(0, count - visible));
}

void TDBGrid::MakeColumnVisible(int column)
{
    if (column < 0 || column >= FColumns.Count()) {
        FScrollX = 0;
        return;
    }
    int left = 0;
    for (int i = 0; i < column; ++i)
        left += FColumns.FItems[i]->Width() + 1;
    int right = left + FColumns.FItems[column]->Width() + 1;
    int area = DataAreaWidth();
    if (right - FScrollX > area) FScrollX = right - area;
    if (left < FScrollX) FScrollX = left;
    FScrollX = std::clamp(FScrollX, 0, std::max(0, ColumnsWidth() - area));
}

void TDBGrid::UpdateScrollBars()
{
    if (!FHandle || FUpdatingScrollBars) return;
    FUpdatingScrollBars = true;
    // Showing or hiding the horizontal bar changes the rows that fit, so go
    // round until the picture is stable. A bar is only told what changed,
    // without drawing it at once: a walk over every row moves the bar each
    // time, and the frame is drawn with the next paint.
    bool changed = false;
    for (int pass = 0; pass < 3; ++pass) {
        TBarState vertical{std::max(RowCount() - 1, 0), VisibleRowCount(), FTopRow};
        if (vertical != FVerticalBar) {
            SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, vertical.Max,
                            static_cast<UINT>(vertical.Page), vertical.Position, 0};
            SetScrollInfo(FHandle, SB_VERT, &info, FALSE);
            FVerticalBar = vertical;
            changed = true;
        }
        int total = ColumnsWidth();
        int area = DataAreaWidth();
        bool wantHorizontal = total > area && area > 0;
        if (!wantHorizontal) FScrollX = 0;
        TBarState horizontal{wantHorizontal ? total - 1 : 0, wantHorizontal ? area : 0, FScrollX};
        bool hadHorizontal = (GetWindowLongA(FHandle, GWL_STYLE) & WS_HSCROLL) != 0;
        if (horizontal != FHorizontalBar || hadHorizontal != wantHorizontal) {
            SCROLLINFO info{sizeof info, SIF_ALL, 0, horizontal.Max, static_cast<UINT>(horizontal.Page),
                            horizontal.Position, 0};
            SetScrollInfo(FHandle, SB_HORZ, &info, FALSE);
            FHorizontalBar = horizontal;
            changed = true;
        }
        if (hadHorizontal == wantHorizontal) break;
        MakeCurrentVisible();
    }
    FUpdatingScrollBars = false;
    if (changed) InvalidateGrid();
}

void TDBGrid::InvalidateGrid()
{
    // Once the window is invalid it stays so until it is painted: asking the
    // system again for every row of a walk over the whole result would cost
    // more than the walk.
    if (!FHandle || FRepaintPending) return;
    FRepaintPending = true;
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

// ---- moving ---------------------------------------------------------------------------

void TDBGrid::SelectRow(int row)
{
    TADOQuery* dataSet = DataSet();
    if (!dataSet || dataSet->IsEmpty()) return;
    dataSet->SetRecNo(std::clamp(row, 0, dataSet->RecordCount() - 1) + 1);
    MakeCurrentVisible();
    UpdateScrollBars();
}

void TDBGrid::MoveRows(int distance)
{
    TADOQuery* dataSet = DataSet();
    if (!dataSet || dataSet->IsEmpty()) return;
    int top = FTopRow;
    int moved = dataSet->MoveBy(distance);
    // A page keeps the current row where it was on screen: the view moves
    // with it, as far as there are rows.
    if (std::abs(distance) > 1) FTopRow = top + moved;
    MakeCurrentVisible();
    UpdateScrollBars();
    InvalidateGrid();
}

void TDBGrid::ScrollToRow(int top)
{
    int visible = VisibleRowCount();
    FTopRow = std::clamp(top, 0, std::max(0, RowCount() - visible));
    int current = CurrentRow();
    if (current >= 0 && (current < FTopRow || current >= FTopRow + visible))
        SelectRow(std::clamp(current, FTopRow, FTopRow + visible - 1));
    UpdateScrollBars();
    InvalidateGrid();
}

void TDBGrid::KeyDown(WORD key)
{
    TADOQuery* dataSet = DataSet();
    bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (key) {
    case VK_UP: MoveRows(-1); break;
    case VK_DOWN: MoveRows(1); break;
    case VK_PRIOR: MoveRows(-VisibleRowCount()); break;
    case VK_NEXT: MoveRows(VisibleRowCount()); break;
    case VK_HOME:
        if (ctrl) {
            if (dataSet) dataSet->First();
        } else {
            SetSelectedIndex(0);
        }
        break;
    case VK_END:
        if (ctrl) {
            if (dataSet) dataSet->Last();
        } else {
            SetSelectedIndex(FColumns.Count() - 1);
        }
        break;
    case VK_LEFT: SetSelectedIndex(FSelectedIndex - 1); break;
    case VK_RIGHT: SetSelectedIndex(FSelectedIndex + 1); break;
    }
}

void TDBGrid::VerticalScroll(WORD code)
{
    TADOQuery* dataSet = DataSet();
    switch (code) {
    case SB_LINEUP: MoveRows(-1); break;
    case SB_LINEDOWN: MoveRows(1); break;
    case SB_PAGEUP: MoveRows(-VisibleRowCount()); break;
    case SB_PAGEDOWN: MoveRows(VisibleRowCount()); break;
    case SB_TOP:
        if (dataSet) dataSet->First();
        break;
    case SB_BOTTOM:
        if (dataSet) dataSet->Last();
        break;
    }
}

void TDBGrid::HorizontalScroll(WORD code)
{
    int area = DataAreaWidth();
    int target = FScrollX;
    switch (code) {
    case SB_LINELEFT: target -= 16; break;
    case SB_LINERIGHT: target += 16; break;
    case SB_PAGELEFT: target -= area; break;
    case SB_PAGERIGHT: target += area; break;
    case SB_LEFT: target = 0; break;
    case SB_RIGHT: target = ColumnsWidth(); break;
    default: return;
    }
    FScrollX = std::clamp(target, 0, std::max(0, ColumnsWidth() - area));
    UpdateScrollBars();
    InvalidateGrid();
}

// The thumb position of a scroll message: the 16 bits of wParam, widened to
// the full 32-bit tracking position while the user drags (more than 65535
// rows).
static int ThumbPosition(HWND window, int bar, WPARAM wParam)
{
    int position = HIWORD(wParam);
    SCROLLINFO info{sizeof info, SIF_TRACKPOS};
    if (GetScrollInfo(window, bar, &info) && (info.nTrackPos & 0xFFFF) == position) position = info.nTrackPos;
    return position;
}

void TDBGrid::ClickAt(int x, int y, bool)
{
    FDownRow = FDownColumn = -1;
    int row = 0, column = 0;
    if (CellAt(x, y, row, column)) {
        if (row >= RowCount()) return;
        SelectRow(row);
        SetSelectedIndex(column);
        FDownRow = row;
        FDownColumn = column;
        return;
    }
    // The indicator column selects the row alone.
    if (x < FIndicatorWidth + 1 && y > TitleHeight()) {
        int indicatorRow = FTopRow + (y - TitleHeight() - 1) / (DefaultRowHeight() + 1);
        if (indicatorRow < RowCount()) SelectRow(indicatorRow);
    }
}

void TDBGrid::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_ERASEBKGND:
        m.Result = 1;  // Paint covers every pixel
        return;
    case WM_PAINT:
        FRepaintPending = false;  // whatever changes from here on needs another paint
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FHandle && CanFocus() && GetFocus() != FHandle) SetFocus();
        ClickAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam), m.Msg == WM_LBUTTONDBLCLK);
        break;  // on to the mouse events (OnDblClick, OnMouseDown)
    case WM_LBUTTONUP: {
        int row = 0, column = 0;
        bool sameCell = FDownRow >= 0 && CellAt(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam), row, column) &&
                        row == FDownRow && column == FDownColumn;
        FDownRow = FDownColumn = -1;
        TCustomControl::WndProc(m);
        if (sameCell && OnCellClick && column < FColumns.Count()) OnCellClick(FColumns.Items(column));
        return;
    }
    case WM_MOUSEWHEEL: {
        FWheelDelta += GET_WHEEL_DELTA_WPARAM(m.WParam);
        int notches = FWheelDelta / WHEEL_DELTA;
        FWheelDelta %= WHEEL_DELTA;
        if (notches) MoveRows(-notches);
        m.Result = 0;
        return;
    }
    case WM_KEYDOWN:
        TCustomControl::WndProc(m);  // OnKeyDown may take the key
        if (m.WParam) KeyDown(static_cast<WORD>(m.WParam));
        return;
    case WM_VSCROLL:
        if (LOWORD(m.WParam) == SB_THUMBTRACK || LOWORD(m.WParam) == SB_THUMBPOSITION)
            ScrollToRow(ThumbPosition(FHandle, SB_VERT, m.WParam));
        else
            VerticalScroll(LOWORD(m.WParam));
        m.Result = 0;
        return;
    case WM_HSCROLL:
        if (LOWORD(m.WParam) == SB_THUMBTRACK || LOWORD(m.WParam) == SB_THUMBPOSITION) {
            FScrollX = std::clamp(ThumbPosition(FHandle, SB_HORZ, m.WParam), 0,
                                  std::max(0, ColumnsWidth() - DataAreaWidth()));
            UpdateScrollBars();
            InvalidateGrid();
        } else {
            HorizontalScroll(LOWORD(m.WParam));
        }
        m.Result = 0;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateGrid();  // the selected cell is highlighted while focused
        break;
    case WM_SIZE:
        TCustomControl::WndProc(m);
        MakeCurrentVisible();
        MakeColumnVisible(FSelectedIndex);
        UpdateScrollBars();
        InvalidateGrid();
        return;
    }
    TCustomControl::WndProc(m);
    if (m.Msg == CM_FONTCHANGED || m.Msg == CM_PARENTFONTCHANGED) {
        FRowHeight = 0;
        MakeCurrentVisible();
        UpdateScrollBars();
    }
}

// ---- painting ---------------------------------------------------------------------------

namespace {

// Text of a cell on one line: line breaks and tabs become blanks. (Neither
// byte occurs inside a double-byte character of the ANSI code page.)
std::string CellText(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return text;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color)
{
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

// `ink`, or where it would hardly show on `back` (dark text on a dark fixed
// colour a skin has given the grid), white or black, whichever shows.
COLORREF ReadableOn(COLORREF ink, COLORREF back)
{
    auto luma = [](COLORREF c) { return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) / 1000; };
    const int inkLuma = luma(ink), backLuma = luma(back);
    if (std::abs(inkLuma - backLuma) >= 96) return ink;
    return backLuma < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

// The raised look of a fixed cell: light top and left, dark bottom and right.
void RaisedCell(HDC dc, const RECT& r, COLORREF face)
{
    FillSolid(dc, r, face);
    FillSolid(dc, RECT{r.left, r.top, r.right, r.top + 1}, ColorToRGB(clBtnHighlight));
    FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, ColorToRGB(clBtnHighlight));
    FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, ColorToRGB(clBtnShadow));
    FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, ColorToRGB(clBtnShadow));
}

// `text` on one line in `cell`, clipped to it; rows are 4 pixels taller than
// the font, so the text starts 2 pixels down.
void CellTextOut(HDC dc, const RECT& cell, const std::string& text)
{
    std::string line = CellText(text);
    ExtTextOutA(dc, cell.left + 2, cell.top + 2, ETO_CLIPPED, &cell, line.c_str(), static_cast<UINT>(line.size()),
                nullptr);
}

}  // namespace

void TDBGrid::Paint()
{
    HDC target = Canvas()->Handle();
    RECT client = ClientRect();
    if (client.right <= 0 || client.bottom <= 0) return;
    TMemoryDC memory(target);
    TGdiBitmap picture(CreateCompatibleBitmap(target, client.right, client.bottom));
    {
        TSelectObject bitmap(memory, picture);
        PaintGrid(memory, client);
        BitBlt(target, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    }
}

void TDBGrid::PaintGrid(HDC dc, const RECT& client)
{
    TSelectObject font(dc, FFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    FillSolid(dc, client, ColorToRGB(FColor));

    int rowHeight = DefaultRowHeight();
    int pitch = rowHeight + 1;
    int count = RowCount();
    int current = CurrentRow();
    // The last row on screen may be cut off by the bottom edge.
    int onScreen = (client.bottom - TitleHeight() - 1 + pitch - 1) / pitch;
    int last = std::min(count, FTopRow + onScreen);
    FLastPaintRows = 0;
    for (int row = FTopRow; row < last; ++row) {
        PaintRow(dc, row, TitleHeight() + 1 + (row - FTopRow) * pitch, row == current);
        ++FLastPaintRows;
    }
    PaintTitle(dc, 0);
}

void TDBGrid::PaintTitle(HDC dc, int rowTop)
{
    int height = TitleHeight();
    COLORREF face = ColorToRGB(FFixedColor);
    COLORREF line = ColorToRGB(cl3DDkShadow);
    SetTextColor(dc, ReadableOn(ColorToRGB(FFont->Color()), face));
    int left = FIndicatorWidth + 1 - FScrollX;
    for (const auto& column : FColumns.FItems) {
        RECT cell{left, rowTop, left + column->Width(), rowTop + height};
        if (cell.right > FIndicatorWidth) {
            RaisedCell(dc, cell, face);
            CellTextOut(dc, cell, column->Title());
            FillSolid(dc, RECT{cell.right, rowTop, cell.right + 1, rowTop + height + 1}, line);
            FillSolid(dc, RECT{cell.left, cell.bottom, cell.right, cell.bottom + 1}, line);
        }
        left += column->Width() + 1;
    }
    // The indicator's title cell goes on top of any column scrolled under it.
    RECT corner{0, rowTop, FIndicatorWidth, rowTop + height};
    RaisedCell(dc, corner, face);
    FillSolid(dc, RECT{FIndicatorWidth, rowTop, FIndicatorWidth + 1, rowTop + height + 1}, line);
    FillSolid(dc, RECT{0, corner.bottom, FIndicatorWidth, corner.bottom + 1}, line);
}

void TDBGrid::PaintRow(HDC dc, int row, int rowTop, bool current)
{
    TADOQuery* dataSet = DataSet();
    int height = DefaultRowHeight();
    COLORREF background = ColorToRGB(FColor);
    COLORREF text = ColorToRGB(FFont->Color());
    COLORREF gridLine = ColorToRGB(clSilver);
    bool focused = FHandle && GetFocus() == FHandle;

    int left = FIndicatorWidth + 1 - FScrollX;
    for (int i = 0; i < FColumns.Count(); ++i) {
        const TColumn& column = *FColumns.FItems[i];
        RECT cell{left, rowTop, left + column.Width(), rowTop + height};
        left += column.Width() + 1;
        if (cell.right <= FIndicatorWidth) continue;
        bool selected = current && focused && i == FSelectedIndex;
        FillSolid(dc, cell, selected ? ColorToRGB(clHighlight) : background);
        SetTextColor(dc, selected ? ColorToRGB(clHighlightText) : text);
        if (column.Index() < dataSet->FieldCount())
            CellTextOut(dc, cell, dataSet->DisplayText(row, column.Index()));
        FillSolid(dc, RECT{cell.right, rowTop, cell.right + 1, rowTop + height + 1}, gridLine);
        FillSolid(dc, RECT{cell.left, cell.bottom, cell.right, cell.bottom + 1}, gridLine);
    }
    RECT indicator{0, rowTop, FIndicatorWidth, rowTop + height};
    RaisedCell(dc, indicator, ColorToRGB(FFixedColor));
    COLORREF fixedLine = ColorToRGB(cl3DDkShadow);
    FillSolid(dc, RECT{FIndicatorWidth, rowTop, FIndicatorWidth + 1, rowTop + height + 1}, fixedLine);
    FillSolid(dc, RECT{0, indicator.bottom, FIndicatorWidth, indicator.bottom + 1}, fixedLine);
    if (current) PaintIndicator(dc, indicator, dataSet->State() == dsEdit);
}

void TDBGrid::PaintIndicator(HDC dc, const RECT& cell, bool editing)
{
    COLORREF ink = ReadableOn(ColorToRGB(clBlack), ColorToRGB(FFixedColor));
    int midY = (cell.top + cell.bottom) / 2;
    if (editing) {
        // An I-beam: the row is being edited.
        int x = (cell.left + cell.right) / 2;
        FillSolid(dc, RECT{x, midY - 4, x + 1, midY + 5}, ink);
        FillSolid(dc, RECT{x - 2, midY - 4, x + 3, midY - 3}, ink);
        FillSolid(dc, RECT{x - 2, midY + 4, x + 3, midY + 5}, ink);
        return;
    }
    // A triangle pointing right, four pixels wide.
    int x = cell.left + 3;
    for (int i = 0; i < 4; ++i)
        FillSolid(dc, RECT{x + i, midY - (3 - i), x + i + 1, midY + (4 - i)}, ink);
}

void TDBGrid::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0) return;
    TCustomControl::ChangeScale(multiplier, divisor);
    FIndicatorWidth = MulDiv(FIndicatorWidth, multiplier, divisor);
    for (int i = 0; i < FColumns.Count(); ++i) {
        TColumn* column = FColumns.Items(i);
        column->SetWidth(MulDiv(column->Width(), multiplier, divisor));
    }
    Invalidate();
}
