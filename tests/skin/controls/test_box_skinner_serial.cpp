// The surface skinners on real windows: a status bar's panel edges are the
// skin's frames (the last one reaching the bar's end) with their texts, a
// group box's rounded edge and caption in skin colours, a panel on the
// skin's face colour that gets its own colour back, and a glyph button's
// glyph and embossed disabled glyph.
#include "control_skin_support.h"

#include "framework/buttons.h"
#include "framework/display_scale.h"
#include "framework/group_box.h"
#include "framework/status_bar.h"
#include "skin/data/frame_draw.h"
#include "skin/data/skin_model.h"

namespace {

using namespace controltest;

struct TBoxesForm {
    TStatusBar* Bar = nullptr;
    TGroupBox* Group = nullptr;
    TPanel* Panel = nullptr;
    TBitBtn* Glyph = nullptr;
    TBitBtn* GlyphOff = nullptr;

    void Build(TForm* form)
    {
        Group = new TGroupBox(form);
        Group->SetParent(form);
        Group->SetBounds(10, 10, 200, 120);
        Group->SetCaption("Caption");
        Panel = new TPanel(form);
        Panel->SetParent(form);
        Panel->SetBounds(220, 10, 200, 120);
        Panel->SetCaption("");
        Panel->SetColor(RGB(10, 200, 30));
        auto glyphButton = [&](int x) {
            auto* b = new TBitBtn(form);
            b->SetParent(form);
            b->SetBounds(x, 150, 100, 30);
            b->SetCaption("");
            TBitmap glyph;
            glyph.SetPixelFormat(pf24bit);
            glyph.SetSize(16, 16);
            RECT all{0, 0, 16, 16}, mark{4, 4, 12, 12};
            HDC dc = glyph.Canvas()->Handle();
            TGdiBrush olive(CreateSolidBrush(RGB(128, 128, 0))), red(CreateSolidBrush(RGB(250, 0, 0)));
            FillRect(dc, &all, olive);
            FillRect(dc, &mark, red);
            b->SetGlyph(&glyph);
            return b;
        };
        Glyph = glyphButton(10);
        GlyphOff = glyphButton(120);
        GlyphOff->SetEnabled(false);
        Bar = new TStatusBar(form);
        Bar->SetParent(form);
        const TStatusPanelBevel bevels[] = {pbLowered, pbRaised, pbNone};
        for (TStatusPanelBevel bevel : bevels) {
            TStatusPanel* panel = Bar->Panels()->Add();
            panel->SetWidth(100);
            panel->SetBevel(bevel);
            panel->SetText(bevel == pbNone ? "" : "Text");
        }
    }
};

class BoxSkinnerTest : public ControlSkinTest {};

TEST_F(BoxSkinnerTest, StatusBarPanelsAreTheSkinEdges) {
    TBoxesForm f;
    SkinnedForm([&](TForm* form) { f.Build(form); });
    const TDataSkinObject* edges = ScaledSkin(FSkin).Object(ssStatusBarEdges);
    ASSERT_TRUE(edges && !edges->Bitmap.Empty());
    const HWND bar = f.Bar->Handle();
    const TPixelsOf pixels = ReadWindow(bar);
    RECT client{};
    GetClientRect(bar, &client);
    const int bevelFrame[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        RECT r{};
        ASSERT_TRUE(SendMessageA(bar, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r)));
        r.right += 2;
        if (i == 2) r.right = client.right;
        const int w = r.right - r.left, h = r.bottom - r.top;
        TGdiBitmap frame = skin::BuildFrameBitmap(RECT{0, 0, w, h}, edges->Bitmap.Handle(), SkinMargins(*edges),
                                                  bevelFrame[i], 3, edges->Tile != 0, false);
        skin::TPixels expected;
        ASSERT_TRUE(skin::ReadPixels(frame, expected));
        int wrong = 0;
        // The edge band left, top and bottom, where no text is drawn (the
        // right end of the last panel holds the size grip).
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (x < 2 || y < 1 || y >= h - 1)
                    wrong += (expected.At(x, y) & 0xFFFFFF) != pixels.At(r.left + x, r.top + y);
        EXPECT_EQ(wrong, 0) << "panel " << i << " is not frame " << bevelFrame[i];
    }
    // The panels with text show it in the edges' text colour.
    RECT first{};
    SendMessageA(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
    const std::uint32_t text = Dib(ColourRgb(static_cast<TColor>(edges->NormalColour2)));
    int textPixels = 0;
    for (int y = first.top; y < first.bottom; ++y)
        for (int x = first.left + 2; x < first.right - 2; ++x) textPixels += pixels.At(x, y) == text;
    EXPECT_GT(textPixels, 5);
}

TEST_F(BoxSkinnerTest, GroupBoxPanelAndGlyphs) {
    TBoxesForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); });
    const std::uint32_t face = Dib(SkinColourRgb(FSkin, scButtonFace));
    const std::uint32_t shadow = Dib(SkinColourRgb(FSkin, scButtonShadow));

    // Group box: face inside, the rounded edge in ButtonShadow, the caption
    // in the top edge 8 pixels in, the edge blanked behind it.
    const TPixelsOf group = ReadWindow(f.Group->Handle());
    EXPECT_EQ(group.At(group.Width / 2, group.Height / 2), face);
    EXPECT_EQ(group.At(1, group.Height / 2), shadow);
    EXPECT_EQ(group.At(group.Width - 2, group.Height / 2), shadow);
    EXPECT_EQ(group.At(group.Width / 2, group.Height - 2), shadow);
    int captionInk = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 8; x < 60; ++x) captionInk += group.At(x, y) != face && group.At(x, y) != shadow;
    EXPECT_GT(captionInk, 5);

    // Panel: the face colour while skinned, its own colour after.
    EXPECT_EQ(ReadWindow(f.Panel->Handle()).At(100, 60), face);
    EXPECT_EQ(f.Panel->Color(), static_cast<TColor>(FSkin->FaceColour()));

    // Glyph buttons: the red mark of the glyph, and embossed (no red) when
    // the button is disabled.
    auto redPixels = [](const TPixelsOf& p) {
        int n = 0;
        for (std::uint32_t c : p.Pixels) n += (c & 0xFFFFFF) == 0xFA0000;
        return n;
    };
    // The 8 x 8 mark at the button's scale: whole at whole factors, its
    // outermost ring blended by the filter at others.
    const UINT dpi = WindowDpi(f.Glyph->Handle());
    const int side = ScaleToDpi(8, dpi);
    const int red = redPixels(ReadWindow(f.Glyph->Handle()));
    if (dpi % 96 == 0) {
        EXPECT_EQ(red, side * side);
    } else {
        EXPECT_GE(red, (side - 2) * (side - 2));
        EXPECT_LE(red, side * side);
    }
    const TPixelsOf off = ReadWindow(f.GlyphOff->Handle());
    EXPECT_EQ(redPixels(off), 0);
    const COLORREF grey = GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF;
    int embossed = 0;
    for (std::uint32_t c : off.Pixels) {
        const COLORREF rgb = RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
        embossed += rgb == grey;
    }
    EXPECT_GE(embossed, 64);

    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_EQ(f.Panel->Color(), static_cast<TColor>(RGB(10, 200, 30)));
    EXPECT_EQ(ReadWindow(f.Panel->Handle()).At(100, 60), static_cast<std::uint32_t>(0x0AC81E));
}

}  // namespace
