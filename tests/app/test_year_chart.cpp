// The picture of the year: dates read in the short date format, sums that
// keep the totals' rules, a chart that follows every change of the ledger,
// and bars whose heights follow the sums, read back from the pixels.
#include "app/year_chart.h"

#include "tests/app/ledger_windows_fixture.h"

#include "framework/display_scale.h"

using ::testing::ElementsAre;
using namespace ledger;

namespace {

TEST(YearChartDatesTest, YearAndMonthInTheShortDateOrder)
{
    const TDateOrder ymd{0, 1, 2}, dmy{2, 1, 0}, mdy{2, 0, 1};
    struct TCase {
        const char* text;
        TDateOrder order;
        bool ok;
        int year, month;
    };
    const TCase cases[] = {
        {"2026/12/8", ymd, true, 2026, 12},  {"2026-1-31", dmy, true, 2026, 1},  // four digits first: the year
        {"8/12/2026", dmy, true, 2026, 12},  {"12/8/2026", mdy, true, 2026, 12}, {"26/3/9", ymd, true, 2026, 3},
        {"2026年3月9日", ymd, true, 2026, 3}, {"2026/13/1", ymd, false, 0, 0},     {"2026/0/1", ymd, false, 0, 0},
        {"2026/12", ymd, false, 0, 0},       {"", ymd, false, 0, 0},             {"1/2/3/4", ymd, false, 0, 0},
        {"20261208", ymd, false, 0, 0},      {"2026/12/8 10:00", ymd, false, 0, 0},
    };
    for (const TCase& c : cases) {
        int year = 0, month = 0;
        EXPECT_EQ(DateYearMonth(c.text, std::strlen(c.text), c.order, year, month), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(std::make_pair(year, month), std::make_pair(c.year, c.month)) << c.text;
        }
    }
    // This machine's format gives what the clock writes.
    SYSTEMTIME day{2025, 7, 0, 4};
    const std::string text = DateToStr(day);
    int year = 0, month = 0;
    ASSERT_TRUE(DateYearMonth(text.data(), text.size(), ShortDateOrder(), year, month)) << text;
    EXPECT_EQ(std::make_pair(year, month), std::make_pair(2025, 7));
}

class YearChartTest : public LedgerWindowsTest {};

TEST_F(YearChartTest, SumsKeepTheTotalsRulesAndFollowEveryChange)
{
    StartWith({
        {"工资", "工资", "2026/1/5", "收入", "5000", ""},
        {"奖金", "工资", "2026/1/20", " 收入 ", " 800 ", ""},     // blanks: still income
        {"房租", "住房", "2026/1/2", "支出", "1500", ""},
        {"退款", "日常", "2026/3/2", "支出", "-20", ""},           // a negative amount lowers its total
        {"半价", "日常", "2026/3/3", "支出", "12.5", ""},          // left out, as the totals leave it
        {"借出", "日常", "2026/3/4", "借出", "100", ""},           // neither direction
        {"空", "日常", "2026/3/5", "支出", "  ", ""},              // no amount
        {"去年", "日常", "2025/12/31", "支出", "70", ""},
        {"年终", "工资", "2025/12/30", "收入", "900", ""},
    });
    ASSERT_EQ(Form1->AmountsLeftOutReported, 1);
    TakeBoxTexts();
    TYearChart* chart = Form1->YearChart1;
    const TLedgerYears& sums = chart->Sums();
    EXPECT_EQ(sums.LeftOut, Form1->AmountsLeftOutReported);
    EXPECT_EQ(sums.Undated, 0);
    ASSERT_EQ(sums.Years.size(), 2u);
    const TMonthSums& y2026 = sums.Years.at(2026);
    EXPECT_EQ(y2026.Income[0], 5800);
    EXPECT_EQ(y2026.Expenditure[0], 1500);
    EXPECT_EQ(y2026.Expenditure[2], -20);
    EXPECT_EQ(sums.Years.at(2025).Expenditure[11], 70);
    // Every year together is exactly what the status bar adds up.
    long long income = 0, expenditure = 0;
    for (const auto& [year, months] : sums.Years) {
        income += months.TotalIncome();
        expenditure += months.TotalExpenditure();
    }
    EXPECT_EQ(IntToStr(income), Form1->Edittjshouru->Text());
    EXPECT_EQ(IntToStr(expenditure), Form1->Edittjzhichu->Text());
    EXPECT_FALSE(chart->Stale());

    // Add: the entry editor's add tab.
    Form2->ShowAddTab();
    Form2->ComboBoxxiangmu->SetText("新书");
    Form2->ComboBoxxiangmuleibie->SetText("文化");
    Form2->ComboBoxzhichushouru->SetText("支出");
    Form2->ComboBoxjine->SetText("40");
    Click(Form2->Buttonaddinfo);
    EXPECT_TRUE(chart->Stale());
    const int thisYear = chart->Year();
    SYSTEMTIME today;
    GetLocalTime(&today);
    EXPECT_EQ(chart->Sums().Years.at(thisYear).Expenditure[today.wMonth - 1],
              (thisYear == 2026 && today.wMonth == 1 ? 1500 : thisYear == 2026 && today.wMonth == 3 ? -20 : 0) + 40);

    // Edit with a new name (saved at once, no reload): the amount changes.
    DoubleClickGrid(0);
    Form2->DBEdit_xiangmuedit->SetText("工资一月");
    Form2->DBComboBoxjine->SetText("6000");
    Click(Form2->Buttonedit);
    EXPECT_TRUE(chart->Stale());
    EXPECT_EQ(chart->Sums().Years.at(2026).Income[0], 6800);

    // Delete the current row (the first after the rename's save).
    Form1->ADOQuery1->First();
    Click(Form3->Buttondelyes);
    EXPECT_TRUE(chart->Stale());
    EXPECT_EQ(chart->Sums().Years.at(2026).Income[0], 800);

    // Moving in the list changes nothing.
    Form1->ADOQuery1->Last();
    EXPECT_FALSE(chart->Stale());

    // The year box offers the ledger's years and this one, newest first,
    // and choosing one shows it.
    Form1->ComboBoxyearDropDown(Form1->ComboBoxyear);
    std::vector<std::string> offered;
    for (int i = 0; i < Form1->ComboBoxyear->Items()->Count(); ++i) offered.push_back(Form1->ComboBoxyear->Items()->Get(i));
    std::vector<std::string> expected = {"2026", "2025"};
    if (thisYear > 2026) expected.insert(expected.begin(), IntToStr(thisYear));
    EXPECT_EQ(offered, expected);
    EXPECT_EQ(Form1->ComboBoxyear->Text(), IntToStr(thisYear));
    Choose(Form1->ComboBoxyear, static_cast<int>(expected.size()) - 1);
    EXPECT_EQ(chart->Year(), 2025);
}

// The chart drawn on a bitmap in marker colours: each bar's height, read
// from the pixels at its middle, is its value's share of the scale.
TEST(YearChartPaintTest, BarHeightsFollowTheSums)
{
    // 334 x 192 at 96 DPI; the stock font of the DC is the screen's, so the
    // chart is drawn at the screen's scale.
    const UINT dpi = SystemDpi();
    const int width = ScaleToDpi(334, dpi), height = ScaleToDpi(192, dpi);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    const TChartColours colours{RGB(255, 255, 255), RGB(0, 0, 0), RGB(128, 128, 128),
                                RGB(250, 250, 250), RGB(200, 0, 0),   RGB(255, 220, 0)};
    TMonthSums sums;
    const long long income[12] = {5000, 0, 1200, 4321, 10, 0, 7777, 0, 0, 2500, 3, 4999};
    const long long spent[12] = {1500, 800, -50, 4000, 0, 9000, 0, 1, 0, 2600, 0, 5000};
    for (int m = 0; m < 12; ++m) {
        sums.Income[m] = income[m];
        sums.Expenditure[m] = spent[m];
    }
    const RECT bounds{0, 0, width, height};
    PaintYearChart(dc, bounds, 2026, sums, colours, static_cast<int>(dpi));
    const TChartLayout layout = ChartLayout(bounds, dc, static_cast<int>(dpi));
    EXPECT_EQ(ScaleTop(sums), 10000);

    auto pixel = [&](int x, int y) {
        const std::uint32_t p = static_cast<const std::uint32_t*>(bits)[y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    const int plotHeight = layout.Plot.bottom - layout.Plot.top;
    ASSERT_GT(plotHeight, 100);
    for (int m = 0; m < 12; ++m) {
        for (bool isIncome : {true, false}) {
            SCOPED_TRACE(std::to_string(m) + (isIncome ? " income" : " expenditure"));
            const long long value = isIncome ? income[m] : spent[m];
            const RECT bar = BarRect(layout, m, isIncome, value, 10000);
            const int x = (bar.left + bar.right) / 2;
            int measured = 0;
            for (int y = layout.Plot.bottom - 1; y >= layout.Plot.top - 1; --y) {
                const COLORREF c = pixel(x, y);
                if (c != colours.Bar && c != colours.LightBar) break;
                ++measured;
            }
            const int expected = value > 0 ? static_cast<int>(value * plotHeight / 10000.0 + 0.5) : 0;
            EXPECT_NEAR(measured, expected, 1);
            // The income bar is solid, the expenditure bar light inside.
            if (expected > 3) {
                EXPECT_EQ(pixel(x, layout.Plot.bottom - 2), isIncome ? colours.Bar : colours.LightBar);
            }
        }
    }
    // The two bars of a month stand side by side inside it.
    const RECT in = BarRect(layout, 3, true, 1, 10000), out = BarRect(layout, 3, false, 1, 10000);
    EXPECT_EQ(in.right, out.left);
    EXPECT_GE(in.left, layout.Plot.left + 3 * layout.MonthWidth);
    EXPECT_LE(out.right, layout.Plot.left + 4 * layout.MonthWidth);

    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
