// Geometry of the skinned bars: hit-testing, thumb placement from scroll
// information and from a control's properties, dragging, the drop-down list's
// drag positions, frames by state, progress fill widths and up-down frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/scroll_geometry.h"

using namespace skin;

TEST(ScrollGeometry, HitTestWalksTheBarFromArrowToArrow)
{
    const TBarAxis bar{200, 17, TThumbExtent{60, 90}};
    struct Case { int p; TScrollZone zone; };
    const std::vector<Case> cases{{0, szFirstArrow},   {16, szFirstArrow}, {17, szTrackBefore}, {59, szTrackBefore},
                                  {60, szThumb},       {89, szThumb},      {90, szTrackAfter},  {182, szTrackAfter},
                                  {183, szSecondArrow}, {199, szSecondArrow}};
    for (const Case& c : cases) EXPECT_EQ(ScrollHitTest(bar, c.p), c.zone) << "at " << c.p;
}

TEST(ScrollGeometry, ControlBarThumbIsProportionalAndNeverShorterThanEight)
{
    // 200 pixels, arrows of 17: a track of 166 pixels.
    TThumbExtent top = ControlBarThumb(200, 17, 0, 99, 10, 0);
    EXPECT_EQ(top.Start, 17);
    EXPECT_EQ(top.Length(), 15);  // 166 * 9 / 99
    TThumbExtent end = ControlBarThumb(200, 17, 0, 99, 10, 90);
    EXPECT_EQ(end.Start, 168);
    EXPECT_EQ(end.End, 183);      // ends at the second arrow
    // A tiny page: 8 pixels, placed on a track shortened by them.
    TThumbExtent tiny = ControlBarThumb(200, 17, 0, 9999, 2, 9999);
    EXPECT_EQ(tiny.Length(), 8);
    EXPECT_EQ(tiny.Start, 158 + 17);
    // No page: an arrow-sized thumb moving over length - 3 arrows.
    TThumbExtent noPage = ControlBarThumb(200, 17, 10, 20, 0, 20);
    EXPECT_EQ(noPage.Start, 149 + 17);
    EXPECT_EQ(noPage.Length(), 17);
    // An empty range does not divide by zero.
    EXPECT_EQ(ControlBarThumb(200, 17, 5, 5, 0, 5).Start, 17);

    TThumbExtent fromProperties = ControlPropertiesThumb(200, 17, 0, 99, 10, 45);
    EXPECT_EQ(fromProperties.Start, 75 + 17);  // 166 * 45 / 99 = 75.45
    EXPECT_EQ(fromProperties.Length(), 15);
    EXPECT_EQ(ControlPropertiesThumb(200, 17, 0, 99, 10, 0).Start, 17);
}

TEST(ScrollGeometry, DraggedThumbStaysBetweenTheArrows)
{
    const TThumbExtent thumb{40, 70};
    EXPECT_EQ(DraggedThumb(thumb, 40, 25, 200, 17).Start, 65);
    EXPECT_EQ(DraggedThumb(thumb, 40, -100, 200, 17).Start, 17);
    TThumbExtent last = DraggedThumb(thumb, 40, 500, 200, 17);
    EXPECT_EQ(last.End, 183);
    EXPECT_EQ(last.Length(), 30);
}

TEST(ScrollGeometry, ArrowsThicknessFramesAndGrip)
{
    EXPECT_EQ(ArrowButtonLength(200, 17), 17);
    EXPECT_EQ(ArrowButtonLength(30, 17), 15);  // a short bar: two half-length arrows
    EXPECT_EQ(BarThickness(16, 17), 16);
    EXPECT_EQ(BarThickness(23, 17), 17);

    struct FrameCase { bool vertical, second; TScrollZone hot; bool pressed; int frame; };
    const std::vector<FrameCase> arrows{
        {false, false, szNone, false, 1},       {false, false, szFirstArrow, true, 2},
        {false, false, szFirstArrow, false, 4}, {false, true, szFirstArrow, true, 5},
        {false, true, szSecondArrow, true, 6},  {false, true, szSecondArrow, false, 8},
        {true, false, szNone, false, 9},        {true, false, szFirstArrow, true, 10},
        {true, false, szFirstArrow, false, 12}, {true, true, szThumb, true, 13},
        {true, true, szSecondArrow, true, 14},  {true, true, szSecondArrow, false, 16}};
    for (const FrameCase& c : arrows)
        EXPECT_EQ(ArrowFrame(c.vertical, c.second, c.hot, c.pressed), c.frame)
            << c.vertical << c.second << c.hot << c.pressed;
    EXPECT_EQ(GripFrame(false, szNone, true), 17);
    EXPECT_EQ(GripFrame(false, szThumb, true), 18);
    EXPECT_EQ(GripFrame(false, szThumb, false), 19);
    EXPECT_EQ(GripFrame(true, static_cast<TScrollZone>(8), false), 20);
    EXPECT_EQ(GripFrame(true, szThumb, true), 21);
    EXPECT_EQ(GripFrame(true, szThumb, false), 22);
    EXPECT_EQ(ThumbFrame(szTrackAfter, true), 1);
    EXPECT_EQ(ThumbFrame(szThumb, true), 2);
    EXPECT_EQ(ThumbFrame(szThumb, false), 3);

    TThumbExtent grip;
    ASSERT_TRUE(GripExtent(TThumbExtent{20, 60}, 16, 200, grip));
    EXPECT_EQ(grip.Start, 32);
    EXPECT_EQ(grip.End, 48);
    EXPECT_TRUE(GripExtent(TThumbExtent{20, 35}, 16, 200, grip));    // 15 + 2 > 16
    EXPECT_FALSE(GripExtent(TThumbExtent{20, 34}, 16, 200, grip));   // shorter than the grip minus one
    EXPECT_FALSE(GripExtent(TThumbExtent{180, 220}, 16, 200, grip)); // beyond the bar
}

TEST(ScrollGeometry, ListDragStopsAtTheEndsOfTheRange)
{
    // Track 100 pixels, thumb 20, range 0..99 with a page of 20.
    int n = 0;
    EXPECT_EQ(ListDragPosition(n, 100, 20, 0, 99, 20), 0);
    n = -30;
    EXPECT_EQ(ListDragPosition(n, 100, 20, 0, 99, 20), 0);
    EXPECT_EQ(n, 0);
    n = 40;
    EXPECT_EQ(ListDragPosition(n, 100, 20, 0, 99, 20), 40);  // 40 * 79 / 80 = 39.5
    n = 500;
    EXPECT_EQ(ListDragPosition(n, 100, 20, 0, 99, 20), 80);  // max - page + 1
    EXPECT_EQ(n, 81);
    // Without a page the thumb's end stops at the track's end and the position at max.
    n = 500;
    EXPECT_EQ(ListDragPosition(n, 100, 20, 0, 50, 0), 40);
    EXPECT_EQ(n, 80);
    n = 100;
    EXPECT_EQ(ListDragPosition(n, 100, 0, 0, 50, 0), 50);
}

TEST(ScrollGeometry, ProgressFillAndUpDownFrames)
{
    EXPECT_EQ(ProgressFillWidth(100, 50, 0, 200), 25);
    EXPECT_EQ(ProgressFillWidth(100, 0, 0, 200), 0);
    EXPECT_EQ(ProgressFillWidth(100, 50, 0, 0), 0);
    EXPECT_EQ(ProgressFillWidth(100, 100, 0, 100), 100);
    EXPECT_EQ(ProgressFillWidth(100, 60, 20, 100), 50);
    EXPECT_EQ(ProgressFillWidth(100, 5, 5, 5), 0);  // an empty range fills nothing
    EXPECT_EQ(ChunkFillWidth(80, 30, 120), 20);
    EXPECT_EQ(ChunkFillWidth(80, 30, 0), 0);

    EXPECT_EQ(UpDownFrame(udaUp, udsNormal), 1);
    EXPECT_EQ(UpDownFrame(udaUp, udsHot), 4);
    EXPECT_EQ(UpDownFrame(udaDown, udsPressed), 6);
    EXPECT_EQ(UpDownFrame(udaLeft, udsDisabled), 3);
    EXPECT_EQ(UpDownFrame(udaRight, udsNormal), 5);
    EXPECT_EQ(UpDownHalfState(false, true, true, true), udsDisabled);
    EXPECT_EQ(UpDownHalfState(true, false, true, true), udsNormal);
    EXPECT_EQ(UpDownHalfState(true, true, true, true), udsPressed);
    EXPECT_EQ(UpDownHalfState(true, true, false, true), udsHot);

    const TChannelPieces pieces = ChannelPieces(10, 100, 3, 4);
    EXPECT_EQ(pieces.MiddleStart, 13);
    EXPECT_EQ(pieces.MiddleLength, 93);
    EXPECT_EQ(pieces.LastStart, 106);
}
