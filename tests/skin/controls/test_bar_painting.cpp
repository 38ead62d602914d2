// The bar painters draw the skin's frames where the geometry puts them: a
// scroll bar through its states, a short and a disabled bar, a progress bar
// at 0, 25 and 100 % both ways, an up-down's halves, and a track bar's
// built-in channel and plain thumb. Every frame of the test skin is one solid
// colour, so each pixel read back names the frame drawn there.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "skin/controls/range_painting.h"
#include "skin/controls/scroll_painting.h"
#include "skin/data/skin_draw.h"
#include "tests/skin/controls/bar_skin_support.h"

using namespace bartest;
using namespace skin;

namespace {

// A white canvas to paint on and read back.
struct TCanvasDC {
    TCanvasDC(int width, int height) : Bitmap(MakeDibSection(width, height, 32)), DC()
    {
        Old = SelectObject(DC, Bitmap);
        RECT all{0, 0, width, height};
        FillRect(DC, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~TCanvasDC() { SelectObject(DC, Old); }
    COLORREF At(int x, int y) const { return GetPixel(DC, x, y); }
    TGdiBitmap Bitmap;
    TMemoryDC DC;
    HGDIOBJ Old;
};

class BarPainting : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadSkin(Skin, BarSkin())); }

    // A vertical bar 200 long, thumb at 60..90, in a 17-wide picture.
    TScrollBarLook VerticalBar() const
    {
        TScrollBarLook look;
        look.Vertical = true;
        look.BitmapSize = SIZE{17, 200};
        look.Bar = RECT{0, 0, 16, 200};
        look.ArrowSize = 17;
        look.ArrowLength = 17;
        look.Thumb = TThumbExtent{60, 90};
        look.Limit = 200;
        return look;
    }

    COLORREF PictureAt(const TScrollBarLook& look, int x, int y)
    {
        TGdiBitmap picture = ComposeScrollBar(Skin, look);
        EXPECT_FALSE(picture.IsNull());
        TMemoryDC dc;
        TSelectObject selected(dc, picture);
        return GetPixel(dc, x, y);
    }

    TSkinData Skin{nullptr};
};

}  // namespace

TEST_F(BarPainting, ScrollBarShowsEachPartsFrameForItsState)
{
    TScrollBarLook look = VerticalBar();
    struct Probe { int y; COLORREF colour; };
    const Probe normal[] = {{5, Ref(ScrollFrame(9))},  {195, Ref(ScrollFrame(13))}, {40, Ref(TrackFrame(1))},
                            {62, Ref(ThumbFrame(1))},  {75, Ref(ScrollFrame(20))},  {150, Ref(TrackFrame(1))}};
    for (const Probe& p : normal) EXPECT_EQ(PictureAt(look, 8, p.y), p.colour) << "normal, y " << p.y;
    // Beyond the bar's thickness the face colour stays.
    EXPECT_EQ(PictureAt(look, 16, 100), Ref(FACE));

    look.Hot = szSecondArrow;
    look.Pressed = true;
    EXPECT_EQ(PictureAt(look, 8, 195), Ref(ScrollFrame(14)));
    EXPECT_EQ(PictureAt(look, 8, 5), Ref(ScrollFrame(9)));
    look.Pressed = false;
    EXPECT_EQ(PictureAt(look, 8, 195), Ref(ScrollFrame(16)));
    look.Hot = szFirstArrow;
    EXPECT_EQ(PictureAt(look, 8, 5), Ref(ScrollFrame(12)));
    look.Hot = szThumb;
    EXPECT_EQ(PictureAt(look, 8, 62), Ref(ThumbFrame(3)));
    EXPECT_EQ(PictureAt(look, 8, 75), Ref(ScrollFrame(22)));
    look.Pressed = true;
    EXPECT_EQ(PictureAt(look, 8, 62), Ref(ThumbFrame(2)));
    EXPECT_EQ(PictureAt(look, 8, 75), Ref(ScrollFrame(21)));

    // A thumb shorter than the grip shows no grip.
    look = VerticalBar();
    look.Thumb = TThumbExtent{60, 73};
    EXPECT_EQ(PictureAt(look, 8, 66), Ref(ThumbFrame(1)));

    // Disabled: the track's frame 3 and no thumb.
    look = VerticalBar();
    look.Enabled = false;
    EXPECT_EQ(PictureAt(look, 8, 62), Ref(TrackFrame(3)));
    EXPECT_EQ(PictureAt(look, 8, 75), Ref(TrackFrame(3)));

    // A bar shorter than two arrows: two half-length arrows, no track.
    look = VerticalBar();
    look.BitmapSize = SIZE{17, 30};
    look.Bar = RECT{0, 0, 16, 30};
    look.ArrowLength = ArrowButtonLength(30, 17);
    look.Limit = 30;
    look.Thumb = TThumbExtent{17, 17};
    EXPECT_EQ(PictureAt(look, 8, 14), Ref(ScrollFrame(9)));
    EXPECT_EQ(PictureAt(look, 8, 15), Ref(ScrollFrame(13)));

    // Horizontal: left arrow frame 1, right arrow 5, grip 17.
    TScrollBarLook horizontal;
    horizontal.Vertical = false;
    horizontal.BitmapSize = SIZE{200, 17};
    horizontal.Bar = RECT{0, 0, 200, 16};
    horizontal.ArrowSize = horizontal.ArrowLength = 17;
    horizontal.Thumb = TThumbExtent{100, 140};
    horizontal.Limit = 200;
    EXPECT_EQ(PictureAt(horizontal, 5, 8), Ref(ScrollFrame(1)));
    EXPECT_EQ(PictureAt(horizontal, 190, 8), Ref(ScrollFrame(5)));
    EXPECT_EQ(PictureAt(horizontal, 120, 8), Ref(ScrollFrame(17)));
    EXPECT_EQ(PictureAt(horizontal, 101, 8), Ref(ThumbFrame(1)));
    EXPECT_EQ(PictureAt(horizontal, 50, 8), Ref(TrackFrame(1)));
}

TEST_F(BarPainting, ProgressFillsItsShareOfTheBarBothWays)
{
    struct Case { int position, high; bool vertical; int filledX, filledY, emptyX, emptyY; };
    const Case cases[] = {
        {50, 200, false, 20, 5, 30, 5},   // 25 of 100 pixels
        {100, 100, false, 99, 5, -1, -1},
        {50, 200, true, 5, 90, 5, 60},    // vertical: from the bottom up
    };
    for (const Case& c : cases) {
        TCanvasDC canvas(100, 100);
        const RECT rect = c.vertical ? RECT{0, 0, 10, 100} : RECT{0, 0, 100, 10};
        ASSERT_TRUE(PaintProgress(canvas.DC, rect, Skin, TProgressLook{c.position, 0, c.high, c.vertical}));
        EXPECT_EQ(canvas.At(c.filledX, c.filledY), Ref(ProgressFrame(2))) << c.position << " " << c.vertical;
        if (c.emptyX >= 0) {
            EXPECT_EQ(canvas.At(c.emptyX, c.emptyY), Ref(ProgressFrame(1)));
        }
    }
    // At 0, and with a high limit of 0, only the empty frame shows.
    for (TProgressLook look : {TProgressLook{0, 0, 100, false}, TProgressLook{50, 0, 0, false}}) {
        TCanvasDC canvas(100, 10);
        PaintProgress(canvas.DC, RECT{0, 0, 100, 10}, Skin, look);
        EXPECT_EQ(canvas.At(0, 5), Ref(ProgressFrame(1)));
        EXPECT_EQ(canvas.At(99, 5), Ref(ProgressFrame(1)));
    }
    TSkinData bare(nullptr);
    TCanvasDC canvas(100, 10);
    EXPECT_FALSE(PaintProgress(canvas.DC, RECT{0, 0, 100, 10}, bare, TProgressLook{}));
}

TEST_F(BarPainting, UpDownHalvesTrackTheCursorAndTheSkinsAbsence)
{
    const RECT rect{0, 0, 17, 34};
    struct Case { TUpDownLook look; int topFrame, bottomFrame; };
    const Case cases[] = {
        {TUpDownLook{false, true, false, false, POINT{-1, -1}}, 1, 5},
        {TUpDownLook{false, true, false, true, POINT{8, 4}}, 2, 5},     // pressed on the upper half
        {TUpDownLook{false, true, true, false, POINT{8, 30}}, 1, 8},    // hot over the lower half
        {TUpDownLook{false, false, true, true, POINT{8, 4}}, 3, 7},     // disabled
    };
    for (const Case& c : cases) {
        TCanvasDC canvas(17, 34);
        PaintUpDown(canvas.DC, rect, Skin, c.look);
        EXPECT_EQ(canvas.At(8, 8), Ref(UpDownFrameColour(c.topFrame)));
        EXPECT_EQ(canvas.At(8, 25), Ref(UpDownFrameColour(c.bottomFrame)));
    }
    // No "UpDown.Horz": plain halves framed in the dark shadow, face inside.
    TCanvasDC canvas(34, 17);
    PaintUpDown(canvas.DC, RECT{0, 0, 34, 17}, Skin, TUpDownLook{true, true, false, false, POINT{-1, -1}});
    EXPECT_EQ(canvas.At(0, 0), RGB(64, 64, 64));
    EXPECT_EQ(canvas.At(2, 2), Ref(FACE));
}

TEST_F(BarPainting, TrackBarUsesTheBuiltInChannelAndAnOutlinedThumb)
{
    TCanvasDC canvas(120, 40);
    ASSERT_TRUE(PaintTrackChannel(canvas.DC, RECT{10, 10, 110, 14}, Skin, false));
    EXPECT_EQ(canvas.At(10, 10), RGB(192, 192, 192));  // the left piece
    EXPECT_EQ(canvas.At(50, 10), RGB(128, 128, 128));  // the middle, stretched
    EXPECT_EQ(canvas.At(50, 11), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(50, 15), RGB(255, 255, 255));  // nothing below the channel

    // Without thumb images both orientations get the outline.
    for (bool vertical : {false, true}) {
        PaintTrackThumb(canvas.DC, RECT{40, 20, 51, 38}, Skin, vertical);
        EXPECT_EQ(canvas.At(40, 20), RGB(167, 167, 167));
        EXPECT_EQ(canvas.At(50, 37), RGB(167, 167, 167));
        EXPECT_EQ(canvas.At(45, 28), RGB(255, 255, 255));
    }
}
