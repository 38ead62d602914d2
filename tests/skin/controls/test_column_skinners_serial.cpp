// The column-header, list-view and media-player skinners on real windows:
// the header's hot and pressed sections follow the mouse, clicks and divider
// drags still reach the header and its owner, the list view scrolls under
// its skinned header, the media player's overlay shows the buttons' states
// and hands presses to the player, and switching the skin off gives every
// control back pixel for pixel.
#include "control_skin_support.h"

#include <commctrl.h>

#include <set>

#include "framework/header_control.h"
#include "framework/list_view.h"
#include "framework/media_player.h"
#include "framework/page_control.h"
#include "../../framework/report_fixture.h"
#include "skin/controls/header_painting.h"
#include "skin/controls/header_skinner.h"
#include "skin/controls/list_view_skinner.h"
#include "skin/controls/media_player_skinner.h"
#include "skin/controls/text_colours.h"
#include "skin/data/frame_draw.h"

namespace {

using namespace controltest;

struct TColumnsForm {
    THeaderControl* Header = nullptr;
    TListView* List = nullptr;
    TMediaPlayer* Player = nullptr;
    std::vector<int> Clicked;
    std::vector<int> Columns;

    void Build(TForm* form)
    {
        Header = new THeaderControl(form);
        Header->SetName("Header");
        Header->SetParent(form);
        Header->SetHeight(22);
        const char* texts[] = {"项目名称", "金额", "备注"};
        for (const char* text : texts) {
            THeaderSection* section = Header->Sections()->Add();
            section->SetText(text);
            section->SetWidth(110);
        }
        Header->OnSectionClick = [this](THeaderControl*, THeaderSection* s) { Clicked.push_back(s->Index()); };
        List = new TListView(form);
        List->SetName("List");
        List->SetParent(form);
        List->SetBounds(10, 40, 360, 200);
        List->SetRowSelect(true);
        FillReport(List, 500, 100);
        List->OnColumnClick = [this](TObject*, TListColumn* c) { Columns.push_back(c->Index()); };
        Player = new TMediaPlayer(form);
        Player->SetName("Player");
        Player->SetParent(form);
        Player->SetBounds(10, 250, 270, 30);
        Player->SetAutoEnable(false);
        Player->SetEnabledButtons(MPButton(btPlay) | MPButton(btPause) | MPButton(btStop));
    }
};

// Pixel (x, y) of frame `frame` of the skin's "Headerbar" fitted to a box.
COLORREF HeaderFramePixel(TSkinData* skin, int frame, int width, int height, int x, int y)
{
    const TDataSkinObject* bar = ScaledSkin(skin).Object(ssHeaderbar);
    TGdiBitmap built = skin::BuildFrameBitmap(RECT{0, 0, width, height}, bar->Bitmap.Handle(), SkinMargins(*bar),
                                              frame, bar->Frame, bar->Tile != 0, false);
    TMemoryDC dc(nullptr);
    TSelectObject selected(dc, built);
    return GetPixel(dc, x, y) & 0xFFFFFF;
}

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

class ColumnSkinnerTest : public ControlSkinTest {};

TEST_F(ColumnSkinnerTest, HeaderSectionsFollowTheMouseAndKeepWorking)
{
    TColumnsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); });
    TWinSkinForm* formSkinner = SkinnerOf(form->Handle());
    auto* skinner = dynamic_cast<TSkinHeader*>(SkinnerFor(formSkinner, f.Header));
    ASSERT_NE(skinner, nullptr);
    HWND header = f.Header->Handle();
    const int height = f.Header->Height();
    auto sectionPixel = [&](int section) {
        RECT r{};
        SendMessageA(header, HDM_GETITEMRECT, section, reinterpret_cast<LPARAM>(&r));
        return ReadWindow(header).At(r.right - 6, 1);
    };
    auto framePixel = [&](int frame) { return Rgb(HeaderFramePixel(FSkin, frame, 110, height, 104, 1)); };
    EXPECT_EQ(sectionPixel(0), framePixel(skin::hfNormal));

    // Moving over the second section makes it hot, the next one takes over
    // at once, leaving the header clears it.
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(150, 8));
    EXPECT_EQ(skinner->HotSection(), 1);
    EXPECT_EQ(sectionPixel(1), framePixel(skin::hfHot));
    EXPECT_EQ(sectionPixel(0), framePixel(skin::hfNormal));
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(250, 8));
    EXPECT_EQ(skinner->HotSection(), 2);
    EXPECT_EQ(sectionPixel(1), framePixel(skin::hfNormal));
    SendMessageA(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(skinner->HotSection(), -1);
    EXPECT_EQ(sectionPixel(2), framePixel(skin::hfNormal));

    // A press shows the pressed frame; the release clicks as before.
    SendMessageA(header, WM_MOUSEMOVE, 0, MAKELPARAM(40, 8));
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 8));
    EXPECT_EQ(skinner->PressedSection(), 0);
    EXPECT_EQ(sectionPixel(0), framePixel(skin::hfPressed));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(40, 8));
    EXPECT_EQ(skinner->PressedSection(), -1);
    EXPECT_EQ(f.Clicked, std::vector<int>{0});

    // Dragging the first divider resizes the section, and the skinned
    // header follows: the second section's frame starts at the new edge.
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 8));
    for (int x = 115; x <= 140; x += 5) SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 8));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(140, 8));
    EXPECT_EQ(f.Header->Sections()->Items(0)->Width(), 140);
    EXPECT_EQ(f.Clicked.size(), 1u);
    SendMessageA(header, WM_MOUSELEAVE, 0, 0);
    const TPixelsOf after = ReadWindow(header);
    EXPECT_EQ(after.At(134, 1), Rgb(HeaderFramePixel(FSkin, skin::hfNormal, 140, height, 134, 1)));
    EXPECT_EQ(after.At(245, 1), Rgb(HeaderFramePixel(FSkin, skin::hfNormal, 110, height, 105, 1)));
}

TEST_F(ColumnSkinnerTest, ListViewScrollsUnderItsSkinnedHeader)
{
    TColumnsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); });
    TWinSkinForm* formSkinner = SkinnerOf(form->Handle());
    ASSERT_NE(dynamic_cast<TSkinListView*>(SkinnerFor(formSkinner, f.List)), nullptr);
    HWND header = f.List->HeaderWindow();
    auto* headerSkinner = dynamic_cast<TSkinHeader*>(SkinnerFor(formSkinner, nullptr, header));
    ASSERT_NE(headerSkinner, nullptr);
    RECT first{};
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const int height = first.bottom - first.top;
    const std::uint32_t normal = Rgb(HeaderFramePixel(FSkin, skin::hfNormal, 100, height, 94, 1));
    EXPECT_EQ(ReadWindow(header).At(94, 1), normal);

    RECT headerBefore;
    GetWindowRect(header, &headerBefore);
    for (int line = 0; line < 30; ++line) SendMessageA(f.List->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_NE(f.List->TopItem(), nullptr);
    EXPECT_EQ(f.List->TopItem()->Index(), 30);
    RECT headerAfter;
    GetWindowRect(header, &headerAfter);
    EXPECT_TRUE(EqualRect(&headerBefore, &headerAfter));
    EXPECT_EQ(ReadWindow(header).At(94, 1), normal) << "the header stays skinned while the rows scroll";

    // The column header still reports its clicks to the list view.
    SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 6));
    SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(150, 6));
    EXPECT_EQ(f.Columns, std::vector<int>{1});

    // Made anew, the list view gets a list-view skinner again: its scroll
    // bars are covered and its new header is skinned.
    const HWND oldWindow = f.List->Handle();
    f.List->Perform(CM_RECREATEWND, 0, 0);
    ASSERT_NE(f.List->Handle(), oldWindow);
    auto reskinned = [&] {
        auto* s = dynamic_cast<TSkinListView*>(SkinnerFor(formSkinner, f.List));
        return s && s->Window() == f.List->Handle() && s->HeaderSkinner() ? s : nullptr;
    };
    PumpUntil([&] { return reskinned() != nullptr; });
    TSkinListView* again = reskinned();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->HeaderSkinner()->Window(), f.List->HeaderWindow());
    ASSERT_NE(again->VertOverlay(), nullptr);
    for (int line = 0; line < 5; ++line) SendMessageA(f.List->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_TRUE(again->VertOverlay()->Shown());
    EXPECT_EQ(ReadWindow(f.List->HeaderWindow()).At(94, 1), normal) << "the new header is skinned";
}

TEST_F(ColumnSkinnerTest, MediaPlayerOverlayShowsStatesAndHandsOverPresses)
{
    TColumnsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); });
    TWinSkinForm* formSkinner = SkinnerOf(form->Handle());
    auto* skinner = dynamic_cast<TSkinMP*>(SkinnerFor(formSkinner, f.Player));
    ASSERT_NE(skinner, nullptr);
    TWMediaPlayer* overlay = skinner->Overlay();
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->BoundsRect().left, f.Player->Left());
    EXPECT_EQ(overlay->Width(), f.Player->Width());
    EXPECT_TRUE(IsWindowVisible(overlay->Handle()));
    EXPECT_EQ(GetWindow(overlay->Handle(), GW_HWNDNEXT), f.Player->Handle()) << "directly above the player";

    std::vector<TMPBtnType> clicked;
    f.Player->OnClick = [&](TObject*, TMPBtnType b, bool& doDefault) {
        clicked.push_back(b);
        doDefault = false;
    };
    // Nine buttons 30 wide: play at 0, pause at 30, stop at 60; the frames
    // of the skin's "Buttons" strip by state (no pictures in this program).
    const int w = 30, h = 30;
    auto cellBorder = [&](int x) {
        TPixelsOf all = ReadWindow(overlay->Handle());
        return all.At(x + 1, h / 2);
    };
    const TPixelsOf normal = ExpectedButtonFrame(FSkin, w, h, 1);
    const TPixelsOf disabled = ExpectedButtonFrame(FSkin, w, h, 3);
    const TPixelsOf pressed = ExpectedButtonFrame(FSkin, w, h, 2);
    EXPECT_EQ(cellBorder(0), normal.At(1, h / 2));
    EXPECT_EQ(cellBorder(90), disabled.At(1, h / 2)) << "next is not enabled";

    HWND window = overlay->Handle();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_EQ(overlay->PressedButton(), btPlay);
    EXPECT_EQ(cellBorder(0), pressed.At(1, h / 2));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    EXPECT_EQ(clicked, std::vector<TMPBtnType>{btPlay});
    // Pressing play and releasing over stop does not reach the player.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(75, 15));
    EXPECT_EQ(clicked.size(), 1u);

    // Three visible buttons share the overlay in thirds.
    f.Player->SetVisibleButtons(MPButton(btPlay) | MPButton(btPause) | MPButton(btStop));
    UpdateWindow(f.Player->Handle());
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 15));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 15));
    EXPECT_EQ(clicked.back(), btStop);

    // The overlay follows the player.
    f.Player->SetBounds(30, 260, 300, 30);
    EXPECT_EQ(overlay->Left(), 30);
    EXPECT_EQ(overlay->Width(), 300);
    f.Player->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(window));
    f.Player->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(window));
}

// A player on a page not shown gets its panel when the page first shows
// (none is made before), above the player and painted from the skin.
TEST_F(ColumnSkinnerTest, MediaPlayerOffScreenGetsItsPanelWhenItFirstShows)
{
    TPageControl* pages = nullptr;
    TMediaPlayer* player = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
        pages = new TPageControl(f);
        pages->SetParent(f);
        pages->SetBounds(10, 10, 400, 200);
        TTabSheet* sheets[2] = {new TTabSheet(f), new TTabSheet(f)};
        for (TTabSheet* sheet : sheets) sheet->SetPageControl(pages);
        player = new TMediaPlayer(f);
        player->SetParent(sheets[1]);
        player->SetBounds(10, 10, 270, 30);
        player->SetAutoEnable(false);
        player->SetEnabledButtons(MPButton(btPlay));
        pages->SetActivePageIndex(0);
    });
    Pump(30);
    auto* skinner = dynamic_cast<TSkinMP*>(SkinnerFor(SkinnerOf(form->Handle()), player));
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->Overlay(), nullptr);
    EXPECT_FALSE(skinner->Overlay()->HandleAllocated());
    pages->SetActivePageIndex(1);
    Pump(50);
    TWMediaPlayer* panel = skinner->Overlay();
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(panel->Handle()));
    EXPECT_EQ(GetWindow(panel->Handle(), GW_HWNDNEXT), player->Handle()) << "directly above the player";
    EXPECT_EQ(panel->Width(), player->Width());
    const int w = 30, h = 30;
    EXPECT_EQ(ReadWindow(panel->Handle()).At(1, h / 2), ExpectedButtonFrame(FSkin, w, h, 1).At(1, h / 2));
    EXPECT_EQ(ReadWindow(panel->Handle()).At(w + 1, h / 2), ExpectedButtonFrame(FSkin, w, h, 3).At(1, h / 2));
}

// The buttons show their glyphs in every state: the built-in pictures (this
// program carries none) in the skin's button text colour, legible on the
// face when enabled, faint when disabled, one pixel down and right while
// pressed; every other pixel of the cell is the state's frame.
TEST_F(ColumnSkinnerTest, MediaPlayerGlyphsShowInEveryState)
{
    TColumnsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); });
    auto* skinner = dynamic_cast<TSkinMP*>(SkinnerFor(SkinnerOf(form->Handle()), f.Player));
    ASSERT_NE(skinner, nullptr);
    HWND window = skinner->Overlay()->Handle();
    const int w = 30, h = 30;
    // Cell `cell` against frame `frame`: the pixels that differ, their one
    // colour, and whether (x, y) of the cell is among them.
    struct TGlyphSeen {
        int Pixels = 0;
        std::set<std::uint32_t> Colours;
        bool At = false;
    };
    auto glyph = [&](int cell, int frame, int x, int y) {
        const TPixelsOf all = ReadWindow(window);
        const TPixelsOf expected = ExpectedButtonFrame(FSkin, w, h, frame);
        TGlyphSeen seen;
        for (int yy = 0; yy < h; ++yy)
            for (int xx = 0; xx < w; ++xx)
                if (all.At(cell * w + xx, yy) != expected.At(xx, yy)) {
                    ++seen.Pixels;
                    seen.Colours.insert(all.At(cell * w + xx, yy));
                    if (xx == x && yy == y) seen.At = true;
                }
        return seen;
    };
    const COLORREF face = SkinColourRgb(FSkin, scButtonFace);
    auto contrast = [&](std::uint32_t rgb) {
        return ContrastRatio(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF), face);
    };
    // Play's shape has 36 pixels; the middle of its widest row lies at
    // (7 + 2 + 3, 8 + 1 + 5) of its cell, the picture centred in 30 x 30.
    const TGlyphSeen normal = glyph(0, 1, 12, 14);
    EXPECT_EQ(normal.Pixels, 36);
    ASSERT_EQ(normal.Colours.size(), 1u);
    EXPECT_TRUE(normal.At);
    EXPECT_GE(contrast(*normal.Colours.begin()), LEGIBLE_CONTRAST);

    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    ASSERT_EQ(skinner->Overlay()->HotButton(), btPlay);
    const TGlyphSeen hot = glyph(0, 4, 12, 14);
    EXPECT_EQ(hot.Pixels, 36);
    EXPECT_EQ(hot.Colours, normal.Colours);

    f.Player->OnClick = [](TObject*, TMPBtnType, bool& doDefault) { doDefault = false; };
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    const TGlyphSeen pressed = glyph(0, 2, 13, 15);
    EXPECT_EQ(pressed.Pixels, 36);
    EXPECT_TRUE(pressed.At) << "one pixel down and right";
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);

    // Next (the fourth button) is disabled: its 58-pixel shape, faint.
    const TGlyphSeen disabled = glyph(3, 3, 7 + 2 + 1, 8 + 1 + 5);
    EXPECT_EQ(disabled.Pixels, 58);
    ASSERT_EQ(disabled.Colours.size(), 1u);
    EXPECT_TRUE(disabled.At);
    EXPECT_LT(contrast(*disabled.Colours.begin()), contrast(*normal.Colours.begin()));
    EXPECT_GT(contrast(*disabled.Colours.begin()), 1.2) << "still visible";

    // A coloured button without a coloured picture keeps its shape.
    f.Player->SetColoredButtons(MPButton(btPause));
    EXPECT_EQ(glyph(1, 1, 7 + 2 + 3, 8 + 1 + 5).Pixels, 66);
}

TEST_F(ColumnSkinnerTest, SkinOffGivesTheControlsBackPixelForPixel)
{
    TColumnsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); }, false);
    ASSERT_EQ(SkinnerOf(form->Handle()), nullptr);
    const TPixelsOf plainLook = ReadWindow(form->Handle());
    const LONG_PTR headerProc = GetWindowLongPtrA(f.List->HeaderWindow(), GWLP_WNDPROC);
    const int live = TSkinControl::LiveCount();
    int children = 0;
    for (HWND c = GetWindow(form->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;

    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    EXPECT_GE(TSkinControl::LiveCount(), live + 4) << "header, list view, its header, media player";
    EXPECT_FALSE(ReadWindow(form->Handle()) == plainLook);

    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_EQ(TSkinControl::LiveCount(), live);
    EXPECT_EQ(GetWindowLongPtrA(f.List->HeaderWindow(), GWLP_WNDPROC), headerProc);
    int after = 0;
    for (HWND c = GetWindow(form->Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++after;
    EXPECT_EQ(after, children) << "no overlay left behind";
    EXPECT_TRUE(ReadWindow(form->Handle()) == plainLook);
}

}  // namespace
