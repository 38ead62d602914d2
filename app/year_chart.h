// The picture of a year on the tools tab: income and expenditure by month,
// two bars side by side for each month, the year's totals beneath, drawn
// with GDI in the colours of the skin the program wears.
//
// The sums follow the totals' rules exactly: the rows of the list's full
// select, a row counted when its trimmed amount is not empty and its
// trimmed direction is "支出" or "收入", and an amount that is not a signed
// 32-bit whole number left out (and counted as left out). The month comes
// from 编辑时间, read in the user's short date format; a row whose date
// cannot be read is in no month.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "framework/controls.h"

struct sqlite3;
class TDataSource;
class TSkinData;

namespace ledger {

// One year's sums, by month (index 0 is January).
struct TMonthSums {
    long long Income[12] = {};
    long long Expenditure[12] = {};
    long long TotalIncome() const;
    long long TotalExpenditure() const;
};

// Every year's sums of a ledger.
struct TLedgerYears {
    std::map<int, TMonthSums> Years;
    int LeftOut = 0;  // rows the totals also leave out: amounts not whole
    int Undated = 0;  // counted rows whose date gives no year and month
};

// Where the year, the month and the day stand in the user's short date
// format (0, 1 or 2 each).
struct TDateOrder {
    int Year = 0, Month = 1, Day = 2;
};
TDateOrder ShortDateOrder();
// The year and month of a date text: three runs of digits taken in `order`,
// a first run of four digits always being the year; a two-digit year is
// taken in 2000-2099. False when there are not three runs or the month is
// not 1 to 12.
bool DateYearMonth(const char* text, size_t size, const TDateOrder& order, int& year, int& month);

// Sums the whole ledger on `db` by year and month. Throws EDatabaseError.
TLedgerYears SumLedgerByMonth(sqlite3* db);

// The colours a chart is drawn in.
struct TChartColours {
    COLORREF Face, Text, Shadow, Light, Bar, LightBar;
};
// The skin's colours when `skin` has a skin loaded and active (face, window
// text, shadow, highlight and highlight text of its colour table), else the
// system's.
TChartColours ChartColours(const TSkinData* skin);

// Where the chart puts its parts inside `bounds`.
struct TChartLayout {
    RECT Plot;        // the bars stand on Plot.bottom; a full bar reaches Plot.top
    int MonthWidth;   // Plot is twelve months of this width from Plot.left
    int BarWidth;     // each of the two bars
};
// `dpi` is the scale the chart is laid out at: its margins and gaps are
// 96-DPI sizes scaled by it (the text is measured in the font of `dc`).
TChartLayout ChartLayout(const RECT& bounds, HDC dc, int dpi = 96);
// The income bar (`income`) or expenditure bar of month `month` (0-11) for
// a value of `value` on a scale whose top is `top` (bars of values at or
// below 0 have no height).
RECT BarRect(const TChartLayout& layout, int month, bool income, long long value, long long top);
// The scale top for a year's sums: the largest month value, rounded up to a
// round number (1, 2 or 5 times a power of ten); 0 when nothing is above 0.
long long ScaleTop(const TMonthSums& sums);

// Draws the chart of `year` on `dc` inside `bounds` with the font selected
// in `dc`: legend, scale, bars, month numbers and the year's totals.
void PaintYearChart(HDC dc, const RECT& bounds, int year, const TMonthSums& sums, const TChartColours& colours,
                    int dpi = 96);

}  // namespace ledger

// The chart control: a graphic control (painted by its parent, like a
// label) over the main window's list. It follows the ledger: whenever the
// list query is opened again or its rows change (add, edit, delete, restore,
// import all end so) the sums are marked stale, and they are summed again the
// next time the chart is painted, so a hidden chart costs nothing.
class TYearChart : public TGraphicControl {
    DECLARE_CLASS_INLINE(TYearChart, TGraphicControl)
public:
    explicit TYearChart(TComponent* owner);
    ~TYearChart() override;

    // The list whose changes the chart follows, and the connection it sums.
    void SetDataSource(TDataSource* source);
    // The skin whose colours the chart wears (none: system colours).
    void SetSkinData(TSkinData* skin) { FSkinData = skin; }

    int Year() const { return FYear; }
    void SetYear(int year);

    // The sums need summing again; repaints.
    void MarkStale();
    bool Stale() const { return FStale; }
    // The ledger's sums, summed first when stale. Throws what summing throws.
    const ledger::TLedgerYears& Sums();

    // Runs after the sums were summed again (the year list may have grown).
    TNotifyEvent OnSummed;

protected:
    void Paint() override;

private:
    class TLink;
    std::unique_ptr<TLink> FLink;
    TSkinData* FSkinData = nullptr;
    int FYear = 0;
    bool FStale = true;
    ledger::TLedgerYears FSums;
};
