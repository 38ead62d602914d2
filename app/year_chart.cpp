// The picture of a year (see year_chart.h).
#include "app/year_chart.h"

#include <algorithm>
#include <cstring>

#include "app/ledger_files.h"
#include "framework/data/ado_connection.h"
#include "framework/data/data_source.h"
#include "framework/data/sqlite_statement.h"
#include "framework/forms.h"
#include "framework/gdi_handles.h"
#include "skin/data/skin_component.h"

namespace ledger {

namespace {

#define CHART_U8(text) reinterpret_cast<const char*>(u8##text)

// The text between the first and the last byte above a blank (what Trim keeps).
void TrimSpan(const char*& text, size_t& size)
{
    while (size && static_cast<unsigned char>(*text) <= ' ') ++text, --size;
    while (size && static_cast<unsigned char>(text[size - 1]) <= ' ') --size;
}

bool SpanIs(const char* text, size_t size, const char* word)
{
    return std::strlen(word) == size && std::memcmp(text, word, size) == 0;
}

COLORREF Plain(TSkinColour colour) { return ColorToRGB(static_cast<TColor>(colour)); }

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    TGdiBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush);
}

void Frame(HDC dc, const RECT& rect, COLORREF colour)
{
    TGdiBrush brush(CreateSolidBrush(colour));
    FrameRect(dc, &rect, brush);
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour)
{
    TGdiPen pen(CreatePen(PS_SOLID, 1, colour));
    TSelectObject selected(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

SIZE TextSize(HDC dc, const std::string& text)
{
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void Text(HDC dc, int x, int y, const std::string& text)
{
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// A bar: the value's height from the base line; the income bar solid, the
// expenditure bar light inside the same edge, so the two read apart in any
// skin.
void Bar(HDC dc, const RECT& bar, bool income, const TChartColours& colours)
{
    if (bar.bottom <= bar.top) return;
    Fill(dc, bar, income ? colours.Bar : colours.LightBar);
    Frame(dc, bar, colours.Bar);
}


}  // namespace

long long TMonthSums::TotalIncome() const
{
    long long total = 0;
    for (long long value : Income) total += value;
    return total;
}

long long TMonthSums::TotalExpenditure() const
{
    long long total = 0;
    for (long long value : Expenditure) total += value;
    return total;
}

TDateOrder ShortDateOrder()
{
    char format[80] = {};
    TDateOrder order;
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, sizeof format)) return order;
    const char* text = format;
    const char* y = std::strpbrk(text, "yY");
    const char* m = std::strchr(text, 'M');
    const char* d = std::strpbrk(text, "dD");
    if (!y || !m || !d) return order;
    order.Year = (y > m) + (y > d);
    order.Month = (m > y) + (m > d);
    order.Day = (d > y) + (d > m);
    return order;
}

bool DateYearMonth(const char* text, size_t size, const TDateOrder& order, int& year, int& month)
{
    int runs[3] = {};
    size_t lengths[3] = {};
    int count = 0;
    for (size_t i = 0; i < size;) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        if (count == 3) return false;
        long long value = 0;
        size_t start = i;
        while (i < size && text[i] >= '0' && text[i] <= '9' && i - start < 6) value = value * 10 + (text[i++] - '0');
        if (i < size && text[i] >= '0' && text[i] <= '9') return false;  // a run too long for a date
        runs[count] = static_cast<int>(value);
        lengths[count++] = i - start;
    }
    if (count != 3) return false;
    const bool yearFirst = lengths[0] == 4;
    year = runs[yearFirst ? 0 : order.Year];
    month = runs[yearFirst ? 1 : order.Month];
    if (lengths[yearFirst ? 0 : order.Year] <= 2) year += 2000;
    return month >= 1 && month <= 12 && year > 0;
}

TLedgerYears SumLedgerByMonth(sqlite3* db)
{
    // The rows of the list's full select, in its order; of its columns only
    // the three the sums read.
    db::TStatement select;
    select.Prepare(db, CHART_U8("select 编辑时间, 支出或收入, 金额 from data order by 编号 asc"));
    sqlite3_stmt* stmt = select.Handle();
    const int dateColumn = 0, directionColumn = 1, amountColumn = 2;
    const char* const expenditure = CHART_U8("支出");
    const char* const income = CHART_U8("收入");
    const TDateOrder order = ShortDateOrder();

    TLedgerYears result;
    int lastYear = 0;
    TMonthSums* sums = nullptr;
    while (select.Step()) {
        const char* amount = reinterpret_cast<const char*>(sqlite3_column_text(stmt, amountColumn));
        size_t amountSize = amount ? static_cast<size_t>(sqlite3_column_bytes(stmt, amountColumn)) : 0;
        TrimSpan(amount, amountSize);
        if (amountSize == 0) continue;
        const char* direction = reinterpret_cast<const char*>(sqlite3_column_text(stmt, directionColumn));
        size_t directionSize = direction ? static_cast<size_t>(sqlite3_column_bytes(stmt, directionColumn)) : 0;
        TrimSpan(direction, directionSize);
        const bool isIncome = SpanIs(direction, directionSize, income);
        if (!isIncome && !SpanIs(direction, directionSize, expenditure)) continue;
        int value = 0;
        if (!TryParseAmount(std::string(amount, amountSize), value)) {
            ++result.LeftOut;
            continue;
        }
        const char* date = reinterpret_cast<const char*>(sqlite3_column_text(stmt, dateColumn));
        int year = 0, month = 0;
        if (!date || !DateYearMonth(date, static_cast<size_t>(sqlite3_column_bytes(stmt, dateColumn)), order, year,
                                    month)) {
            ++result.Undated;
            continue;
        }
        if (!sums || year != lastYear) {
            sums = &result.Years[year];
            lastYear = year;
        }
        (isIncome ? sums->Income : sums->Expenditure)[month - 1] += value;
    }
    return result;
}

TChartColours ChartColours(const TSkinData* skin)
{
    if (skin && skin->Active() && !skin->NoSkin()) {
        const TSkinModel& model = skin->Model();
        return TChartColours{
            Plain(model.Colours[scButtonFace]),  Plain(model.Colours[scWindowText]),
            Plain(model.Colours[scButtonShadow]), Plain(model.Colours[scButtonHilight]),
            Plain(model.Colours[scHilight]),      Plain(model.Colours[scHilightText]),
        };
    }
    return TChartColours{GetSysColor(COLOR_BTNFACE),   GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNSHADOW),
                         GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT),  GetSysColor(COLOR_HIGHLIGHTTEXT)};
}

TChartLayout ChartLayout(const RECT& bounds, HDC dc, int dpi)
{
    auto px = [dpi](int design) { return MulDiv(design, dpi, 96); };
    const int pad = px(6), scaleGap = px(4);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int line = metrics.tmHeight > 0 ? metrics.tmHeight : 12;
    const int scaleWidth = TextSize(dc, "0000000").cx;
    TChartLayout layout;
    // Legend on top; month numbers and the totals beneath.
    layout.Plot = RECT{bounds.left + pad + scaleWidth + scaleGap, bounds.top + pad + line + px(4), bounds.right - pad,
                       bounds.bottom - pad - 2 * line - px(6)};
    const int width = std::max<int>(0, layout.Plot.right - layout.Plot.left);
    layout.MonthWidth = std::max(1, width / 12);
    layout.Plot.right = layout.Plot.left + 12 * layout.MonthWidth;
    layout.BarWidth = std::max(1, (layout.MonthWidth - px(4)) / 2);
    return layout;
}

RECT BarRect(const TChartLayout& layout, int month, bool income, long long value, long long top)
{
    const int plotHeight = layout.Plot.bottom - layout.Plot.top;
    const int left = layout.Plot.left + month * layout.MonthWidth +
                     (layout.MonthWidth - 2 * layout.BarWidth) / 2 + (income ? 0 : layout.BarWidth);
    int height = 0;
    if (value > 0 && top > 0)
        height = static_cast<int>((static_cast<double>(std::min(value, top)) * plotHeight) / static_cast<double>(top) +
                                  0.5);
    return RECT{left, layout.Plot.bottom - height, left + layout.BarWidth, layout.Plot.bottom};
}

long long ScaleTop(const TMonthSums& sums)
{
    long long largest = 0;
    for (int m = 0; m < 12; ++m) largest = std::max({largest, sums.Income[m], sums.Expenditure[m]});
    if (largest <= 0) return 0;
    for (long long power = 1;; power *= 10)
        for (long long step : {1, 2, 5})
            if (step * power >= largest) return step * power;
}

void PaintYearChart(HDC dc, const RECT& bounds, int year, const TMonthSums& sums, const TChartColours& colours,
                    int dpi)
{
    auto px = [dpi](int design) { return MulDiv(design, dpi, 96); };
    const int pad = px(6), scaleGap = px(4);
    TSaveDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colours.Text);
    Fill(dc, bounds, colours.Face);
    // A sunken edge in the skin's shadow and light.
    Line(dc, bounds.left, bounds.bottom - 1, bounds.left, bounds.top, colours.Shadow);
    Line(dc, bounds.left, bounds.top, bounds.right - 1, bounds.top, colours.Shadow);
    Line(dc, bounds.right - 1, bounds.top, bounds.right - 1, bounds.bottom - 1, colours.Light);
    Line(dc, bounds.right - 1, bounds.bottom - 1, bounds.left - 1, bounds.bottom - 1, colours.Light);

    const TChartLayout layout = ChartLayout(bounds, dc, dpi);
    const RECT& plot = layout.Plot;
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int line = metrics.tmHeight > 0 ? metrics.tmHeight : 12;

    // Legend: the year, then a swatch of each bar.
    int x = plot.left;
    const int legendY = bounds.top + pad;
    const std::string title = IntToStr(year) + "年各月收支(元)";
    Text(dc, x, legendY, title);
    x = plot.right;
    for (bool income : {false, true}) {
        const std::string label = income ? "收入" : "支出";
        x -= TextSize(dc, label).cx;
        Text(dc, x, legendY, label);
        x -= px(14);
        Bar(dc, RECT{x, legendY + 1, x + px(10), legendY + line - 1}, income, colours);
        x -= px(10);
    }

    // Scale: the base line, the top value and a middle line.
    const long long top = ScaleTop(sums);
    Line(dc, plot.left, plot.bottom, plot.right, plot.bottom, colours.Shadow);
    Line(dc, plot.left - 1, plot.top, plot.left - 1, plot.bottom + 1, colours.Shadow);
    auto scaleLabel = [&](long long value, int y) {
        const std::string text = IntToStr(value);
        Text(dc, plot.left - scaleGap - TextSize(dc, text).cx, y - line / 2, text);
    };
    scaleLabel(0, plot.bottom);
    if (top > 0) {
        scaleLabel(top, plot.top);
        Line(dc, plot.left - px(3), plot.top, plot.left, plot.top, colours.Shadow);
        const int middle = (plot.top + plot.bottom) / 2;
        for (int dot = plot.left; dot < plot.right; dot += px(3)) SetPixel(dc, dot, middle, colours.Shadow);
    }

    // The bars and the month numbers.
    for (int m = 0; m < 12; ++m) {
        Bar(dc, BarRect(layout, m, true, sums.Income[m], top), true, colours);
        Bar(dc, BarRect(layout, m, false, sums.Expenditure[m], top), false, colours);
        const std::string label = IntToStr(m + 1);
        Text(dc, plot.left + m * layout.MonthWidth + (layout.MonthWidth - TextSize(dc, label).cx) / 2,
             plot.bottom + px(3), label);
    }

    // The year's totals beneath, a third of the width each.
    const long long income = sums.TotalIncome(), expenditure = sums.TotalExpenditure();
    const std::string totals[] = {"全年收入 " + IntToStr(income) + "元", "支出 " + IntToStr(expenditure) + "元",
                                  "结余 " + IntToStr(income - expenditure) + "元"};
    const int third = (bounds.right - bounds.left - 2 * pad) / 3;
    for (int i = 0; i < 3; ++i) Text(dc, bounds.left + pad + i * third, plot.bottom + px(3) + line + px(3), totals[i]);
}

}  // namespace ledger

// ---- TYearChart ----------------------------------------------------------------

class TYearChart::TLink : public TDataLink {
public:
    explicit TLink(TYearChart* chart) : FChart(chart) {}

protected:
    void ActiveChanged() override { FChart->MarkStale(); }
    void DataSetChanged() override { FChart->MarkStale(); }
    // Moving in the list changes nothing the chart shows.
    void DataSetScrolled(int) override {}
    void RecordChanged(TField*) override {}

private:
    TYearChart* FChart;
};

TYearChart::TYearChart(TComponent* owner) : TGraphicControl(owner), FLink(std::make_unique<TLink>(this))
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    FYear = today.wYear;
}

TYearChart::~TYearChart() = default;

void TYearChart::SetDataSource(TDataSource* source) { FLink->SetDataSource(source); }

void TYearChart::SetYear(int year)
{
    if (year == FYear) return;
    FYear = year;
    Invalidate();
}

void TYearChart::MarkStale()
{
    FStale = true;
    Invalidate();
}

const ledger::TLedgerYears& TYearChart::Sums()
{
    if (!FStale) return FSums;
    TADOQuery* list = FLink->DataSet();
    TADOConnection* connection = list ? list->Connection() : nullptr;
    if (!connection) throw EDatabaseError("TYearChart: no connection");
    connection->Open();
    FSums = ledger::SumLedgerByMonth(connection->Handle());
    FStale = false;
    if (OnSummed) OnSummed(this);
    return FSums;
}

void TYearChart::Paint()
{
    ledger::TMonthSums sums;
    try {
        const ledger::TLedgerYears& years = Sums();
        const auto found = years.Years.find(FYear);
        if (found != years.Years.end()) sums = found->second;
    } catch (...) {
        // A ledger that cannot be read shows an empty year; the list says why.
    }
    const RECT bounds{0, 0, Width(), Height()};
    // Composed off screen, copied once.
    HDC target = Canvas()->Handle();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = std::max(1, Width());
    info.bmiHeader.biHeight = -std::max(1, Height());
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TMemoryDC memory(nullptr);
    TGdiBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        TSelectObject selectedBitmap(memory, bitmap);
        TSelectObject selectedFont(memory, Font()->Handle());
        ledger::PaintYearChart(memory, bounds, FYear, sums, ledger::ChartColours(FSkinData), ControlPixelsPerInch(this));
        BitBlt(target, 0, 0, Width(), Height(), memory, 0, 0, SRCCOPY);
    }
}
