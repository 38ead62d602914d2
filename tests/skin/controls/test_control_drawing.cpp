// The control skinners' painters and rules, without hooking any control:
// check and radio frames and layout, tab geometry through the quarter turns,
// tab rows and tab windows, the combo box's frame in its states and the
// sunken borders. Pixels are read back from memory canvases; test skins are
// solid-colour frames so every expected pixel is known.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <utility>

#include "../data/skin_draw_support.h"
#include "../data/skin_model_support.h"
#include "skin/controls/check_drawing.h"
#include "skin/controls/edit_drawing.h"
#include "skin/controls/tab_drawing.h"

using namespace skin;
using drawtest::TCanvas;
using skintest::Px;

namespace {

constexpr COLORREF BACK = RGB(1, 2, 3);
const std::vector<std::uint32_t> FRAME_COLOURS = {Px(200, 0, 0), Px(0, 200, 0), Px(0, 0, 200), Px(200, 200, 0),
                                                  Px(0, 200, 200)};
constexpr COLORREF FrameColour(int frame)
{
    constexpr COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0), RGB(0, 200, 200)};
    return colours[frame - 1];
}

// A model built from a test skin with the given extra sections.
struct TTestModel {
    TSkinModel Model;
    explicit TTestModel(const std::string& sections, std::vector<std::pair<std::string, TBmpImage>> images)
    {
        skintest::TTestSkin skin;
        skin.Ini = "[TitlebarSkin]\nSkinName=test\n[Colours]\nButtonFace=10 20 30\nButtonShadow=90 91 92\n" + sections;
        skin.Images = std::move(images);
        EXPECT_TRUE(skintest::BuildModel(Model, skin));
    }
};

TEST(CheckDrawing, FramesFollowEveryStateAndTheOldLayouts)
{
    struct Case {
        const char* what;
        TCheckBoxFacts facts;
        int frames;
        int expected;
    };
    auto facts = [](bool checked, bool grey, bool disabled) {
        TCheckBoxFacts f;
        f.Checked = checked;
        f.Indeterminate = grey;
        f.Disabled = disabled;
        return f;
    };
    TCheckBoxFacts stateSaysUnchecked = facts(true, false, false);
    stateSaysUnchecked.FrameworkControl = stateSaysUnchecked.HasState = true;
    stateSaysUnchecked.State = "cbunchecked";
    TCheckBoxFacts stateSaysGrayed = facts(false, false, true);
    stateSaysGrayed.FrameworkControl = stateSaysGrayed.HasState = true;
    stateSaysGrayed.State = "cbgrayed";
    TCheckBoxFacts checkedProperty = facts(false, false, false);
    checkedProperty.FrameworkControl = checkedProperty.HasChecked = true;
    checkedProperty.CheckedText = "true";
    TCheckBoxFacts bound = stateSaysUnchecked;
    bound.DataAware = true;
    bound.Remembered = 3;
    const Case cases[] = {
        {"unchecked", facts(false, false, false), 5, 1},
        {"checked", facts(true, false, false), 5, 2},
        {"unchecked disabled", facts(false, false, true), 5, 3},
        {"checked disabled", facts(true, false, true), 5, 4},
        {"grayed", facts(false, true, false), 5, 4},
        {"grayed disabled", facts(false, true, true), 5, 4},
        {"State wins over the window", stateSaysUnchecked, 5, 1},
        {"grayed State, disabled", stateSaysGrayed, 5, 4},
        {"Checked property", checkedProperty, 5, 2},
        {"bound box shows the last BM_SETCHECK", bound, 5, 4},
        {"12 frames checked", facts(true, false, false), 12, 5},
        {"12 frames unchecked disabled", facts(false, false, true), 12, 4},
        {"12 frames checked disabled", facts(true, false, true), 12, 8},
        {"12 frames grayed", facts(false, true, false), 12, 9},
        {"12 frames grayed disabled", facts(false, true, true), 12, 12},
        {"short strip never overruns", facts(true, false, true), 2, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckBoxFrameIndex(c.facts, c.frames), c.expected) << c.what;

    EXPECT_EQ(RadioButtonFrameIndex(false, false, "", false, 5), 1);
    EXPECT_EQ(RadioButtonFrameIndex(true, false, "", false, 5), 2);
    EXPECT_EQ(RadioButtonFrameIndex(true, true, "false", false, 5), 1);
    EXPECT_EQ(RadioButtonFrameIndex(false, true, "true", true, 5), 4);
    EXPECT_EQ(RadioButtonFrameIndex(true, false, "", false, 8), 5);
    EXPECT_EQ(RadioButtonFrameIndex(true, false, "", true, 8), 8);
    EXPECT_EQ(RadioButtonFrameIndex(false, false, "", true, 8), 4);
}

TEST(CheckDrawing, BoxSideAndCaptionPlaceAndTheFrameDrawn)
{
    RECT r{0, 0, 100, 21};
    TCheckLayout plain = CheckLayout(r, 13, 13, false, false, false);
    EXPECT_EQ(plain.Box.left, 0);
    EXPECT_EQ(plain.Box.top, 4);
    EXPECT_EQ(plain.Text.left, 15);
    EXPECT_EQ(plain.Format, static_cast<UINT>(DT_LEFT));
    TCheckLayout left = CheckLayout(r, 13, 13, true, false, false);
    EXPECT_EQ(left.Box.right, 100);
    EXPECT_EQ(left.Text.right, 85);
    EXPECT_EQ(left.Format, static_cast<UINT>(DT_LEFT)) << "the caption stays left-aligned";
    TCheckLayout radio = CheckLayout(r, 13, 13, true, true, true);
    EXPECT_EQ(radio.Box.right, 99);
    EXPECT_EQ(radio.Format, static_cast<UINT>(DT_RIGHT | DT_RTLREADING));
    EXPECT_EQ(CheckLayout(r, 13, 13, false, true, false).Format, static_cast<UINT>(DT_RTLREADING));

    // Frame 4 of five solid frames with a magenta corner: stretched, magenta left out.
    TGdiBitmap strip = drawtest::MakeSource(65, 13, [](int x, int y) {
        return x % 13 == 0 && y == 0 ? RGB(255, 0, 255) : FrameColour(x / 13 + 1);
    });
    TCanvas canvas(40, 40, BACK);
    DrawCheckFrame(canvas.DC(), RECT{10, 10, 36, 36}, strip, 4, 5);
    EXPECT_EQ(canvas.Pixel(20, 20), FrameColour(4));
    EXPECT_EQ(canvas.Pixel(10, 10), BACK);
    EXPECT_EQ(canvas.Pixel(9, 20), BACK);
}

// Marks `rect` of a fresh buffer, turns it as the strip would be turned and
// answers the marked pixels' bounds.
RECT TurnedMark(SIZE size, const RECT& rect, TTabOrientation orientation)
{
    TPixels buffer;
    buffer.Width = size.cx;
    buffer.Height = size.cy;
    buffer.Data.assign(static_cast<size_t>(size.cx) * size.cy, 0);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) buffer.At(x, y) = 1;
    TPixels turned = orientation == toLeft ? RotatedLeftPixels(buffer) : RotatedRightPixels(buffer);
    RECT bounds{turned.Width, turned.Height, -1, -1};
    for (int y = 0; y < turned.Height; ++y)
        for (int x = 0; x < turned.Width; ++x)
            if (turned.At(x, y)) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    return bounds;
}

TEST(TabDrawing, GeometryOfTheFourSidesAndTabsLandWhereTheControlHasThem)
{
    EXPECT_EQ(TabOrientationOf(0), toTop);
    EXPECT_EQ(TabOrientationOf(TCS_BOTTOM), toBottom);
    EXPECT_EQ(TabOrientationOf(TCS_VERTICAL), toLeft);
    EXPECT_EQ(TabOrientationOf(TCS_VERTICAL | TCS_RIGHT), toRight);

    const RECT whole{0, 0, 300, 200};
    RECT page = TabPageRect(RECT{4, 26, 296, 196}, toTop);
    EXPECT_EQ(page.top, 23);
    EXPECT_EQ(page.left, 0);
    RECT strip = TabStripRect(whole, page, toTop);
    EXPECT_EQ(strip.bottom, 23);
    EXPECT_EQ(TabBufferRect(RECT{2, 2, 60, 22}, whole, strip, page, toTop).top, 3) << "one pixel onto the page";

    RECT bottomPage = TabPageRect(RECT{4, 4, 296, 174}, toBottom);
    EXPECT_EQ(bottomPage.bottom, 177);
    RECT bottomStrip = TabStripRect(whole, bottomPage, toBottom);
    EXPECT_EQ(bottomStrip.top, 177);
    EXPECT_EQ(TabBufferRect(RECT{2, 178, 60, 198}, whole, bottomStrip, bottomPage, toBottom).top, 0);

    // Left and right tabs drawn horizontally and turned land exactly on the
    // control's tab rectangles (strip coordinates).
    for (TTabOrientation side : {toLeft, toRight}) {
        RECT sidePage = TabPageRect(side == toLeft ? RECT{28, 4, 296, 196} : RECT{4, 4, 272, 196}, side);
        RECT sideStrip = TabStripRect(whole, sidePage, side);
        SIZE size = TabBufferSize(sideStrip, side);
        EXPECT_EQ(size.cx, sideStrip.bottom - sideStrip.top);
        EXPECT_EQ(size.cy, sideStrip.right - sideStrip.left);
        for (RECT item : {RECT{sideStrip.left + 2, 2, sideStrip.right - 1, 40}, RECT{sideStrip.left + 2, 40, sideStrip.right - 3, 95}}) {
            RECT inBuffer = TabBufferRect(item, whole, sideStrip, sidePage, side);
            RECT landed = TurnedMark(size, inBuffer, side);
            OffsetRect(&landed, sideStrip.left, sideStrip.top);
            EXPECT_TRUE(EqualRect(&landed, &item))
                << (side == toLeft ? "left" : "right") << " tab at " << item.top << " landed at " << landed.left << ","
                << landed.top << "-" << landed.right << "," << landed.bottom;
        }
    }
}

TEST(TabDrawing, ImagesTurnWithTheTabsAndARowShowsSelectedAndHotFrames)
{
    // Tab frames: the top row of each frame white, the rest the frame's colour.
    TBmpImage tabs = skintest::SolidFrames(10, 8, FRAME_COLOURS);
    for (int x = 0; x < tabs.Width; ++x) tabs.Pixels[static_cast<size_t>(x)] = Px(255, 255, 255);
    TTestModel test("[Tabs]\nImage=tabs.bmp\nBorder=page.bmp\nNormalColour2=0 0 0\nMouseOverColour2=0 0 0\n",
                    {{"tabs.bmp", tabs}, {"page.bmp", skintest::Solid(48, 30, Px(7, 8, 9))}});
    TTabImages images;
    images.Prepare(test.Model, toBottom);
    TPixels tab;
    ASSERT_TRUE(ReadPixels(images.Tab, tab));
    EXPECT_EQ(tab.At(0, 7) & 0xFFFFFF, 0xFFFFFFu) << "bottom tabs: the image upside down";
    EXPECT_EQ(images.PageMargins.bottom, 5);
    images.Prepare(test.Model, toLeft);
    TPixels page;
    ASSERT_TRUE(ReadPixels(images.Page, page));
    EXPECT_EQ(page.Width, 30);
    EXPECT_EQ(page.Height, 48);
    EXPECT_EQ(images.PageMargins.left, 5);
    images.Prepare(test.Model, toRight);
    EXPECT_EQ(images.PageMargins.right, 5);

    images.Prepare(test.Model, toTop);
    TTabLook look = TTabLook::Of(*test.Model.Object(ssTabs), images.Tab);
    look.HotFrame = 3;
    std::vector<TTabItem> items(3);
    for (int i = 0; i < 3; ++i) items[i].Rect = RECT{i * 30, 0, i * 30 + 28, 20};
    TCanvas canvas(100, 20, BACK);
    DrawTabRow(canvas.DC(), items, 1, 2, look, nullptr, true, false);
    EXPECT_EQ(canvas.Pixel(10, 10), FrameColour(1));
    EXPECT_EQ(canvas.Pixel(40, 10), FrameColour(2));
    EXPECT_EQ(canvas.Pixel(70, 10), FrameColour(3));
    EXPECT_EQ(canvas.Pixel(95, 10), BACK);

    // A caption is written into its tab, centred.
    items[0].Text = L"收支";
    canvas.Fill(BACK);
    DrawTabRow(canvas.DC(), items, 1, -1, look, nullptr, true, false);
    int dark = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 28; ++x) dark += canvas.Pixel(x, y) == RGB(0, 0, 0);
    EXPECT_GT(dark, 10);
    EXPECT_EQ(canvas.Pixel(2, 10), FrameColour(1)) << "the text is centred, not at the edge";
}

TEST(TabDrawing, ACaptionThatInksPastItsMeasuredWidthIsNotCut)
{
    // Some glyphs ink a column past the width the text measures at (Wine's
    // Tahoma: "4" at -17, the size of 150 %). One such caption is found by
    // drawing candidates unclipped; drawn as a tab's text, roomy or just as
    // wide as its tab, all its pixels must be there.
    HFONT font = CreateFontW(-17, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    ASSERT_TRUE(font);
    auto changed = [](const TCanvas& canvas, int& right) {
        int count = 0;
        right = -1;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                if (canvas.Pixel(x, y) != BACK) {
                    ++count;
                    right = std::max(right, x);
                }
        return count;
    };
    std::wstring caption;
    int freePixels = 0, measuredWidth = 0;
    for (const wchar_t* candidate : {L"Tab 4", L"Category", L"fff", L"Wy", L"44", L"Tab 7", L"Any"}) {
        TCanvas free(160, 30, BACK);
        HGDIOBJ old = SelectObject(free.DC(), font);
        RECT measured{0, 0, 160, 30};
        DrawTextW(free.DC(), candidate, -1, &measured, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
        RECT at{20, 4, 160, 30};
        SetBkMode(free.DC(), TRANSPARENT);
        SetTextColor(free.DC(), RGB(0, 0, 0));
        DrawTextW(free.DC(), candidate, -1, &at, DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
        SelectObject(free.DC(), old);
        int right = 0;
        const int pixels = changed(free, right);
        if (right >= 20 + (measured.right - measured.left)) {
            caption = candidate;
            freePixels = pixels;
            measuredWidth = measured.right - measured.left;
            break;
        }
    }
    ASSERT_FALSE(caption.empty()) << "no candidate inks past its measured width in this font";
    for (int room : {40, 6}) {
        SCOPED_TRACE(room);
        TCanvas canvas(measuredWidth + room, 30, BACK);
        HGDIOBJ old = SelectObject(canvas.DC(), font);
        DrawTabText(canvas.DC(), RECT{0, 0, measuredWidth + room, 30}, nullptr, -1, caption, DT_CENTER, RGB(0, 0, 0),
                    true, false);
        SelectObject(canvas.DC(), old);
        int right = 0;
        EXPECT_EQ(changed(canvas, right), freePixels) << "\"" << std::string(caption.begin(), caption.end())
                                                      << "\" lost pixels in its tab";
    }
    DeleteObject(font);
}

TEST(TabDrawing, ReadsTheTabsOfATabWindowInBothCharacterSets)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(tabs);
    const char* captions[] = {"收支管理", "辅助工具", "关于"};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<char*>(captions[i]);
        item.iImage = i == 1 ? 4 : -1;
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    for (bool unicode : {false, true}) {
        std::vector<TTabItem> items = ReadTabItems(tabs, unicode);
        ASSERT_EQ(items.size(), 3u);
        EXPECT_EQ(items[0].Text, L"收支管理");
        EXPECT_EQ(items[2].Text, L"关于");
        EXPECT_EQ(items[1].Image, 4);
        EXPECT_LT(items[0].Rect.right, items[1].Rect.right);
        EXPECT_GT(items[0].Rect.bottom, items[0].Rect.top);
    }
    DestroyWindow(tabs);
}

TEST(EditDrawing, BordersAndTheComboButtonInEveryStateAndSide)
{
    TCanvas canvas(120, 24, BACK);
    DrawEditBorder(canvas.DC(), RECT{0, 0, 120, 24}, RGB(90, 91, 92));
    EXPECT_EQ(canvas.Pixel(0, 10), RGB(90, 91, 92));
    EXPECT_EQ(canvas.Pixel(1, 10), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(2, 10), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(3, 10), BACK);
    canvas.Fill(BACK);
    DrawPickerBorder(canvas.DC(), RECT{0, 0, 120, 24}, RGB(90, 91, 92));
    EXPECT_EQ(canvas.Pixel(60, 23), RGB(90, 91, 92));
    EXPECT_EQ(canvas.Pixel(60, 22), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(60, 21), BACK);

    struct Case {
        TComboFacts facts;
        int frame;
    };
    auto facts = [](bool pressed, bool focused, bool hot, bool enabled) {
        TComboFacts f;
        f.Pressed = pressed;
        f.Focused = focused;
        f.Hot = hot;
        f.Enabled = enabled;
        return f;
    };
    const Case states[] = {{facts(false, false, false, true), 1}, {facts(true, true, true, true), 2},
                           {facts(false, true, false, true), 4}, {facts(false, false, true, true), 4},
                           {facts(true, false, true, false), 3}};
    for (const Case& c : states) EXPECT_EQ(ComboStateFrame(c.facts), c.frame);
    EXPECT_EQ(ComboFlatStateFrame(facts(false, false, true, false)), 4) << "flat look: hot beats disabled";
    EXPECT_EQ(ComboFlatStateFrame(facts(false, false, false, false)), 3);

    // The button image alone (no sunken edge): its state frame fills the
    // button area, the text area is the control's.
    // Four frames: normal, pressed, disabled, hot.
    const std::vector<std::uint32_t> four(FRAME_COLOURS.begin(), FRAME_COLOURS.begin() + 4);
    TTestModel test("[ComboButton]\nImage=button.bmp\n", {{"button.bmp", skintest::SolidFrames(16, 18, four)}});
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    RECT r{0, 0, 120, 24};
    for (const Case& c : states) {
        canvas.Fill(BACK);
        RECT button = DrawComboFrame(canvas.DC(), r, c.facts, test.Model, RECT{});
        EXPECT_EQ(button.left, 120 - arrow - 2);
        EXPECT_EQ(canvas.Pixel(118, 12), FrameColour(c.frame));
        EXPECT_EQ(canvas.Pixel(40, 12), BACK);
    }
    TComboFacts left = facts(false, false, false, true);
    left.LeftScrollBar = true;
    canvas.Fill(BACK);
    RECT button = DrawComboFrame(canvas.DC(), r, left, test.Model, RECT{});
    EXPECT_EQ(button.left, 0);
    EXPECT_EQ(canvas.Pixel(2, 12), FrameColour(1)) << "the button at the left, in its normal frame";
    EXPECT_EQ(canvas.Pixel(118, 12), BACK);

    // Without the object nothing is drawn and the old button rectangle stays.
    TTestModel bare("", {});
    canvas.Fill(BACK);
    RECT kept = DrawComboFrame(canvas.DC(), r, left, bare.Model, RECT{1, 2, 3, 4});
    EXPECT_EQ(kept.right, 3);
    EXPECT_EQ(canvas.Pixel(118, 12), BACK);
}

TEST(EditDrawing, TheStoredSkinsComboCompositeAndTheExtendedComboLook)
{
    TSkinReader reader;
    skintest::TBytes stored = skintest::StoredSkinBytes();
    ASSERT_GT(stored.size(), 4u);
    ASSERT_TRUE(reader.Load(skintest::TBytes(stored.begin() + 4, stored.end())));
    TSkinModel model;
    BuildSkinModelFromReader(model, reader);
    ASSERT_TRUE(model.Object(ssComboButton));
    ASSERT_EQ(model.Object(ssComboButton)->Style, 2);
    // Every state draws something different in the button area and leaves
    // the text area alone.
    std::set<std::pair<COLORREF, COLORREF>> looks;
    TCanvas canvas(120, 22, BACK);
    for (int frame = 1; frame <= 4; ++frame) {
        TComboFacts facts;
        facts.Pressed = frame == 2;
        facts.Enabled = frame != 3;
        facts.Hot = frame == 4;
        canvas.Fill(BACK);
        DrawComboFrame(canvas.DC(), RECT{0, 0, 120, 22}, facts, model, RECT{});
        looks.insert({canvas.Pixel(112, 4), canvas.Pixel(112, 17)});
        EXPECT_EQ(canvas.Pixel(40, 11), BACK) << "frame " << frame;
        EXPECT_NE(canvas.Pixel(0, 11), BACK) << "frame " << frame;
    }
    EXPECT_EQ(looks.size(), 4u);

    canvas.Fill(BACK);
    DrawComboExFrame(canvas.DC(), RECT{0, 0, 120, 22}, RECT{100, 2, 118, 20}, false, TComboFacts{}, model);
    EXPECT_EQ(canvas.Pixel(0, 11), RGB(167, 167, 167));
    EXPECT_EQ(canvas.Pixel(1, 11), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(50, 11), BACK);
    EXPECT_NE(canvas.Pixel(109, 11), BACK);
}

}  // namespace
