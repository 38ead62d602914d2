// The skin at other display scales: images resampled frame by frame and
// piece by piece along the margins (whole factors repeat pixels exactly,
// other factors keep the pieces apart and magenta exact), every placement
// size scaled, pictures a skin ships for a scale preferred, and the
// component's cache of scaled models.
#include <gtest/gtest.h>

#include <set>

#include "framework/display_scale.h"
#include "framework/streams.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_scale.h"
#include "skin_model_support.h"

namespace {

using namespace skintest;

constexpr std::uint32_t MAGENTA = Px(255, 0, 255);
constexpr std::uint32_t CORNER = Px(200, 0, 0);
constexpr std::uint32_t EDGE = Px(0, 0, 200);

// A w x h frame whose margin pieces are CORNER/EDGE and whose middle rows
// each have their own colour (row y: grey level 10 + 7y), with `frames`
// copies side by side that differ in their green channel.
TBmpImage SlicedFrames(int w, int h, int left, int top, int right, int bottom, int frames)
{
    TBmpImage image;
    image.Width = w * frames;
    image.Height = h;
    image.BitCount = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const int f = x / w, fx = x % w;
            const bool sideX = fx < left || fx >= w - right, sideY = y < top || y >= h - bottom;
            std::uint32_t p = sideX && sideY ? CORNER : sideX || sideY ? EDGE : Px(10 + 7 * y, 10 + 7 * y, 10 + 7 * y);
            image.Pixels.push_back(p | static_cast<std::uint32_t>(f * 40) << 8);
        }
    return image;
}

TSkinImageLayout LayoutOf(const TBmpImage& image, int frames, int l, int t, int r, int b, TSkinImage& holder)
{
    holder = TSkinImage(image);
    return TSkinImageLayout{"x", &holder, frames, false, l, t, r, b};
}

TEST(SkinScale, WholeFactorsRepeatEveryPixelAndScaleTheMargins)
{
    const TBmpImage source = SlicedFrames(10, 8, 3, 2, 2, 3, 3);
    TSkinImage holder;
    const TSkinImageLayout layout = LayoutOf(source, 3, 3, 2, 2, 3, holder);
    for (int dpi : {192, 288}) {
        const int k = dpi / 96;
        const TSkinImage scaled = ScaleSkinImage(layout, dpi);
        ASSERT_EQ(scaled.Width(), source.Width * k);
        ASSERT_EQ(scaled.Height(), source.Height * k);
        int wrong = 0;
        for (int y = 0; y < scaled.Height(); ++y)
            for (int x = 0; x < scaled.Width(); ++x) wrong += scaled.Image().Pixel(x, y) != source.Pixel(x / k, y / k);
        EXPECT_EQ(wrong, 0) << dpi;
    }
    EXPECT_EQ(SkinScaled(3, 144), 5);    // 4.5 rounds away from zero, as the program's scale does
    EXPECT_EQ(SkinScaled(-1, 144), -2);
    EXPECT_EQ(SkinScaled(7, 120), ScaleToDpi(7, 120));
    EXPECT_EQ(SkinScaled(-7, 168), ScaleToDpi(-7, 168));
}

TEST(SkinScale, OtherFactorsKeepEveryPieceApartSoStretchedEdgesHaveNoSeam)
{
    // Margins 3, 2, 2, 3 of a 13 x 9 frame, three frames.
    const TBmpImage source = SlicedFrames(13, 9, 3, 2, 2, 3, 3);
    TSkinImage holder;
    const TSkinImageLayout layout = LayoutOf(source, 3, 3, 2, 2, 3, holder);
    for (int dpi : {120, 144, 168}) {
        const TSkinImage scaled = ScaleSkinImage(layout, dpi);
        const int fw = SkinScaled(13, dpi), fh = SkinScaled(9, dpi);
        ASSERT_EQ(scaled.Width(), fw * 3) << dpi;
        ASSERT_EQ(scaled.Height(), fh) << dpi;
        const int l = SkinScaled(3, dpi), t = SkinScaled(2, dpi), r = SkinScaled(2, dpi), b = SkinScaled(3, dpi);
        for (int f = 0; f < 3; ++f) {
            const std::uint32_t green = static_cast<std::uint32_t>(f * 40) << 8;
            for (int y = 0; y < fh; ++y) {
                const bool sideY = y < t || y >= fh - b;
                // Every row of the middle is one colour from edge to edge.
                std::set<std::uint32_t> middle;
                for (int x = l; x < fw - r; ++x) middle.insert(scaled.Image().Pixel(f * fw + x, y));
                EXPECT_EQ(middle.size(), 1u) << dpi << " frame " << f << " row " << y;
                // The margin columns hold only the corner and edge colours:
                // nothing of the middle bled into them.
                for (int x : {0, l - 1, fw - r, fw - 1}) {
                    const std::uint32_t p = scaled.Image().Pixel(f * fw + x, y);
                    EXPECT_EQ(p, (sideY ? CORNER : EDGE) | green) << dpi << " " << f << " " << x << "," << y;
                }
                if (sideY) EXPECT_EQ(*middle.begin(), EDGE | green);
            }
            // The middle rows keep their order: darker above, lighter below.
            EXPECT_LT(scaled.Image().Pixel(f * fw + l, t) & 0xFF, scaled.Image().Pixel(f * fw + l, fh - b - 1) & 0xFF);
        }
    }
}

TEST(SkinScale, MagentaStaysExactAndNeverTintsItsNeighbours)
{
    // White and magenta stripes and a magenta disc: after resampling each
    // pixel is white or exactly magenta, never pink.
    TBmpImage source = Solid(23, 17, Px(255, 255, 255));
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x)
            if ((x / 3 + y / 2) % 2 || (x - 11) * (x - 11) + (y - 8) * (y - 8) < 20)
                source.Pixels[static_cast<std::size_t>(y * 23 + x)] = MAGENTA;
    TSkinImage holder;
    const TSkinImageLayout layout = LayoutOf(source, 1, 0, 0, 0, 0, holder);
    for (int dpi : {120, 144, 168, 240}) {
        const TSkinImage scaled = ScaleSkinImage(layout, dpi);
        int magenta = 0, white = 0, other = 0;
        for (std::uint32_t p : scaled.Image().Pixels) (p == MAGENTA ? magenta : p == Px(255, 255, 255) ? white : other)++;
        EXPECT_EQ(other, 0) << dpi;
        EXPECT_GT(magenta, 0) << dpi;
        EXPECT_GT(white, 0) << dpi;
    }
}

// A skin with one of everything the scale touches, and a shipped 192 picture
// of the caption button.
TTestSkin ScaledSkin(const TBmpImage& button192)
{
    TTestSkin skin;
    skin.Ini =
        "[Personality]\r\nTop=top.bmp\r\nTopTopHeight=5\r\nTopBotHeight=7\r\nTopFrame=2\r\n"
        "Left=side.bmp\r\nLeftFrame=2\r\nLeftTopHeight=6\r\nRight=side.bmp\r\nRightFrame=2\r\nBottom=top.bmp\r\n"
        "BottomFrame=2\r\nTextShift=36\r\nTextShiftVert=-1\r\nTextRightClip=75\r\n[Fonts]\r\nFontHeight=12\r\n"
        "[ButtonClose]\r\nAction=0\r\nAlign=1\r\nXcoord=19\r\nYcoord=7\r\nframe=6\r\nButtonImage=button.bmp\r\n"
        "ButtonImage.192=button192.bmp\r\nButtonImage.144=wrong.bmp\r\nButtonImage.abc=button.bmp\r\n"
        "ButtonImage.96=wrong.bmp\r\n"
        "[GroupBox]\r\nImage=box.bmp\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n"
        "BackgroundLeftShift=-3\r\nBackgroundRightShift=5\r\n";
    skin.Images = {{"top.bmp", Solid(60, 40, Px(200, 30, 30))},
                   {"side.bmp", SolidFrames(4, 40, {Px(0, 150, 0), Px(0, 90, 0)})},
                   {"button.bmp", SolidFrames(11, 11, {Px(40, 40, 40), Px(80, 80, 80), Px(120, 120, 120),
                                                       Px(160, 160, 160), Px(1, 2, 3), Px(4, 5, 6)})},
                   {"button192.bmp", button192},
                   {"wrong.bmp", Solid(5, 5, Px(9, 9, 9))},
                   {"box.bmp", Solid(25, 13, Px(1, 100, 1))}};
    return skin;
}

TEST(SkinScale, ShippedPicturesAreReadAndTheNearestLargerOneIsUsed)
{
    TQuickIni ini;
    const std::string text = ScaledSkin(TBmpImage()).Ini;
    ini.LoadFromBuffer(text.data(), text.size());
    const auto keys = SkinScaleVariantKeys(ini, "ButtonClose", "ButtonImage");
    ASSERT_EQ(keys.size(), 2u);   // 192 and 144; "abc" and 96 are not scales above 96
    EXPECT_EQ(keys[0], (std::pair<int, std::string>{192, "button192.bmp"}));
    EXPECT_EQ(keys[1], (std::pair<int, std::string>{144, "wrong.bmp"}));

    const TBmpImage shipped = SolidFrames(22, 22, {Px(0, 0, 255), Px(0, 0, 250), Px(0, 0, 245), Px(0, 0, 240),
                                                   Px(0, 0, 235), Px(0, 0, 230)});
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, ScaledSkin(shipped)));
    const TDataSkinSysButton& close = *model.CaptionButtons.at(0);
    ASSERT_EQ(close.Bitmap.Variants().size(), 2u);
    EXPECT_EQ(close.Bitmap.Variants()[0].Dpi, 144);

    // At 192 the shipped picture itself; at 144 and 120 the 144 picture is
    // of the wrong size, so the 192 one is scaled down; above 192 the 96
    // image is enlarged.
    const auto at = [&](int dpi) { return ScaleSkinModel(model, dpi); };
    EXPECT_EQ(at(192)->CaptionButtons[0]->Bitmap.Image().Pixels, shipped.Pixels);
    for (int dpi : {120, 144}) {
        const auto scaled = at(dpi);
        const TSkinImage& image = scaled->CaptionButtons[0]->Bitmap;
        ASSERT_EQ(image.Width(), 6 * SkinScaled(11, dpi)) << dpi;
        EXPECT_EQ(image.Colour(1, 1), PxToColour(Px(0, 0, 255))) << dpi;
        EXPECT_EQ(image.Colour(image.Width() - 2, 1), PxToColour(Px(0, 0, 230))) << dpi;
    }
    EXPECT_EQ(at(288)->CaptionButtons[0]->Bitmap.Colour(1, 1), PxToColour(Px(40, 40, 40)));
}

TEST(SkinScale, EveryPlacementSizeScalesWithTheImages)
{
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, ScaledSkin(Solid(1, 1, 0))));
    for (int dpi : {144, 192}) {
        const auto scaled = ScaleSkinModel(model, dpi);
        const TDataSkinBorder& top = *scaled->Borders[sbTop];
        EXPECT_EQ(top.Bitmap.Height(), 2 * SkinScaled(20, dpi)) << dpi;   // two stacked frames
        EXPECT_EQ(top.LeftWidth, SkinScaled(5, dpi));
        EXPECT_EQ(top.RightWidth, SkinScaled(7, dpi));
        EXPECT_EQ(scaled->Borders[sbLeft]->Bitmap.Width(), 2 * SkinScaled(4, dpi));
        EXPECT_EQ(scaled->Borders[sbLeft]->TopHeight, SkinScaled(6, dpi));
        EXPECT_EQ(scaled->Title->LeftWidth, SkinScaled(36, dpi));
        EXPECT_EQ(scaled->Title->TopHeight, SkinScaled(-1, dpi));
        EXPECT_EQ(scaled->Title->RightWidth, SkinScaled(75, dpi));
        EXPECT_EQ(scaled->Title->FontHeight, SkinScaled(12, dpi));
        const TDataSkinSysButton& close = *scaled->CaptionButtons.at(0);
        EXPECT_EQ(close.Xcoord, SkinScaled(19, dpi));
        EXPECT_EQ(close.Ycoord, SkinScaled(7, dpi));
        EXPECT_EQ(close.Action, 0);
        EXPECT_EQ(close.Frame, 6);
        const auto* box = dynamic_cast<const TDataSkinBoxLabel*>(scaled->Object(ssGroupBox));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->LeftWidth, SkinScaled(3, dpi));
        EXPECT_EQ(box->BackgroundLeftShift, SkinScaled(-3, dpi));
        EXPECT_EQ(box->BackgroundRightShift, SkinScaled(5, dpi));
        EXPECT_EQ(box->Bitmap.Width(), SkinScaled(25, dpi));
        EXPECT_EQ(scaled->Colours, model.Colours);
        // The three MDI buttons stay after the skin's own.
        EXPECT_EQ(scaled->CaptionButtons.size(), model.CaptionButtons.size());
    }
}

TEST(SkinScale, TheComponentKeepsOneModelPerScaleUntilTheSkinChanges)
{
    TSkinData data(nullptr);
    EXPECT_EQ(&data.ModelFor(192), &data.Model());   // no skin yet: nothing to scale
    TMemoryStream stream;
    const TBytes bytes = ScaledSkin(Solid(1, 1, 0)).Stored();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    data.ReadSkinStream(stream);
    ASSERT_FALSE(data.NoSkin());

    EXPECT_EQ(&data.ModelFor(96), &data.Model());
    const TSkinModel* at192 = &data.ModelFor(192);
    EXPECT_NE(at192, &data.Model());
    EXPECT_EQ(&data.ModelFor(192), at192);   // made once
    EXPECT_EQ(at192->Border(sbLeft)->Bitmap.Width(), 16);
    data.ModelFor(144);
    EXPECT_EQ(data.ScaledModelCount(), 2u);

    stream.SetPosition(0);
    data.ReadSkinStream(stream);             // a new skin: the scaled ones go
    EXPECT_EQ(data.ScaledModelCount(), 0u);
    EXPECT_EQ(data.ModelFor(192).Border(sbLeft)->Bitmap.Width(), 16);
    data.SkinPassDone();
}

}  // namespace
