// The tools tab in each of the skins the program ships: its groups skinned,
// the chart drawn in the skin's colours with bars as tall as the sums say,
// captured into the build's screenshots folder (skins/<skin>_tools.bmp) for
// people to look at. Serial: the window is shown.
#include "tests/app/ledger_windows_fixture.h"
#include "tests/app/window_capture.h"

#include <fstream>
#include <iterator>

#include "app/backup.h"
#include "app/command_line.h"
#include "app/year_chart.h"
#include "framework/streams.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"

namespace {

bool IsSkinned(HWND window)
{
    TSkinManage* manager = SkinManager();
    TFormSkinnerLink* skinner = manager ? manager->FindFormSkinner(window) : nullptr;
    return skinner && skinner->SkinnerState() == fssSkinned;
}

class ToolsTabScreensTest : public LedgerWindowsTest {};

TEST_F(ToolsTabScreensTest, ToolsTabInEachSkin)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    const std::string year = IntToStr(today.wYear);
    MakeLedger({
        {"工资", "工资", year + "/1/5", "收入", "5000", ""},
        {"房租", "住房", year + "/1/6", "支出", "1500", ""},
        {"奖金", "工资", year + "/3/1", "收入", "2500", ""},
        {"旅行", "日常", year + "/3/9", "支出", "3800", ""},
        {"菜市场", "日常", year + "/6/3", "支出", "860", ""},
        {"年终奖", "工资", year + "/12/1", "收入", "8000", ""},
    });
    ASSERT_TRUE(ledger::BackupDatabase("2026/12/8_BAK_"));
    CreateWindows();
    std::string path = RAVELBOOK_SKIN_BIN;
    if (path[0] == '/') path = "Z:" + path;
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    Form1->SkinData1->ReadSkinStream(stream);
    Form1->SkinData1->SetActive(true);
    Form1->Show();
    Form1->PageControl1->SetActivePage(Form1->TabSheet3);
    Form1->PageControl1Change(nullptr);
    ASSERT_EQ(Form1->ListViewbackups->Items()->Count(), 1);
    Form1->ListViewbackups->SetItemIndex(0);

    std::string skins = RAVELBOOK_SKINS_DIR;
    if (skins[0] == '/') skins = "Z:" + skins;
    const std::string folder = ScreenshotFolder() + "skins/";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* skin : {"ravelbook", "paper", "dusk"}) {
        SCOPED_TRACE(skin);
        Form1->SkinData1->SetSkinFile(ResolveSkinFile(skin, skins.substr(0, skins.size() - 5)));
        ASSERT_TRUE(PumpUntil([&] { return SkinManager() && !SkinManager()->ActingSkinData; }, 3000));
        const HWND window = Form1->Handle();
        SetForegroundWindow(window);
        ASSERT_TRUE(PumpUntil([&] { return IsSkinned(window); }));
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Application->ProcessMessages();
        const TCapture shot = CaptureWindow(window);
        EXPECT_TRUE(SaveBmp(shot, folder + skin + "_tools.bmp"));

        // Where the chart's client pixels are in the capture.
        TYearChart* chart = Form1->YearChart1;
        POINT origin{chart->Left(), chart->Top()};
        ClientToScreen(Form1->GroupBoxyear->Handle(), &origin);
        RECT frame;
        GetWindowRect(window, &frame);
        const int dx = origin.x - frame.left, dy = origin.y - frame.top;
        const ledger::TChartColours colours = ledger::ChartColours(Form1->SkinData1);
        // The chart wears the skin: face and bars in the skin's colours.
        EXPECT_EQ(colours.Bar, ColorToRGB(static_cast<TColor>(Form1->SkinData1->Model().Colours[scHilight])));
        auto at = [&](int x, int y) {
            const std::uint32_t p = shot.At(dx + x, dy + y);
            return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        };
        EXPECT_EQ(at(chart->Width() / 2, chart->Height() - 3), colours.Face);
        // The income bars of January and December, read on screen: the
        // December bar (8000) is the taller, in proportion.
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, chart->Font()->Handle());
        const ledger::TChartLayout layout = ledger::ChartLayout(RECT{0, 0, chart->Width(), chart->Height()}, dc,
                                                                 ControlPixelsPerInch(chart));
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        auto measured = [&](int month) {
            const RECT bar = ledger::BarRect(layout, month, true, 1, 1);
            int n = 0;
            for (int y = layout.Plot.bottom - 1; y >= layout.Plot.top - 1 && at((bar.left + bar.right) / 2, y) == colours.Bar; --y)
                ++n;
            return n;
        };
        const int plotHeight = layout.Plot.bottom - layout.Plot.top;
        EXPECT_NEAR(measured(11), plotHeight * 8000 / 10000, 1);
        EXPECT_NEAR(measured(0), plotHeight * 5000 / 10000, 1);
        EXPECT_EQ(measured(1), 0);
    }
}

}  // namespace
