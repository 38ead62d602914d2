// Caption buttons as pure geometry: which buttons show and are usable for a
// window's state, where they go, which frame of their strip is drawn, and
// what each point of a skinned frame is to the mouse.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/form/nc_geometry.h"

namespace {

using namespace skin;

std::unique_ptr<TDataSkinSysButton> Button(int action, int visibility, int visibility1, int align = 1, int x = 0,
                                           int y = 0) {
    auto made = std::make_unique<TDataSkinSysButton>("BUTTON");
    TDataSkinSysButton& b = *made;
    b.Action = action;
    b.Visibility = visibility;
    b.Visibility1 = visibility1;
    b.Align = align;
    b.Xcoord = x;
    b.Ycoord = y;
    return made;
}

// A window with every box, active and normal.
TCaptionWindowState Full() {
    TCaptionWindowState s;
    s.MaximizeBox = s.MinimizeBox = s.SystemMenu = true;
    return s;
}

TEST(CaptionButtonStatus, VisibilityRulesFollowTheWindowState) {
    TCaptionWindowState maximized = Full();
    maximized.Maximized = true;
    TCaptionWindowState inactive = Full();
    inactive.Active = false;
    TCaptionWindowState noBoxes;
    noBoxes.SystemMenu = true;
    TCaptionWindowState help = noBoxes;
    help.HelpButton = true;
    TCaptionWindowState helpWithBoxes = Full();
    helpWithBoxes.HelpButton = true;
    TCaptionWindowState dialogFrame = Full();
    dialogFrame.DialogBorder = true;
    TCaptionWindowState dialogClass = dialogFrame;
    dialogClass.DialogClass = true;
    TCaptionWindowState boxesNoMenu = Full();
    boxesNoMenu.SystemMenu = false;

    const struct {
        const char* Name;
        int Visibility, Visibility1;
        TCaptionWindowState State;
        bool Visible;
    } cases[] = {
        {"always", 0, 0, Full(), true},
        {"maximized only, normal", 1, 0, Full(), false},
        {"maximized only, maximized", 1, 0, maximized, true},
        {"not maximized, maximized", 2, 0, maximized, false},
        {"active only, inactive", 3, 0, inactive, false},
        {"inactive only, inactive", 4, 0, inactive, true},
        {"V6 needs system menu and a box", 6, 0, boxesNoMenu, false},
        {"V6 with menu and boxes", 6, 0, Full(), true},
        {"W6 needs only a box", 0, 6, boxesNoMenu, true},
        {"W8 without boxes", 0, 8, noBoxes, false},
        {"no maximize box", 7, 0, noBoxes, true},
        {"no minimize box, has one", 9, 0, Full(), false},
        {"V10 help without boxes", 10, 0, help, true},
        {"V10 help with boxes", 10, 0, helpWithBoxes, false},
        {"W10 help with boxes", 0, 10, helpWithBoxes, true},
        {"W10 without help", 0, 10, Full(), false},
        {"V200 dialog frame, not dialog class", 0, 200, dialogFrame, true},
        {"W200 on a dialog class", 0, 200, dialogClass, false},
        {"W200 on a sizeable window", 0, 200, Full(), false},
        {"201..999 always", 500, 999, noBoxes, true},
        {"-1 never", -1, 0, Full(), false},
        {"W -1 never", 0, -1, Full(), false},
        {"unknown value never", 5, 0, Full(), false},
        {"100 without maximized MDI child", 100, 100, Full(), false},
    };
    for (const auto& c : cases) {
        const auto b = Button(99, c.Visibility, c.Visibility1);
        EXPECT_EQ(CaptionButtonStatus(*b, c.State, nullptr).Visible, c.Visible) << c.Name;
    }
}

TEST(CaptionButtonStatus, ApplicationDecidesButtonsFrom1000To2000) {
    std::vector<std::pair<int, int>> asked;
    int answer = 0;
    const TAskButtonVisible ask = [&](int visibility, int action) -> LRESULT {
        asked.emplace_back(visibility, action);
        return answer;
    };
    const auto b = Button(40, 1500, 0);
    EXPECT_FALSE(CaptionButtonStatus(*b, Full(), ask).Visible);
    answer = 1;
    EXPECT_TRUE(CaptionButtonStatus(*b, Full(), ask).Visible);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0], std::make_pair(1500, 40));
    // Visibility1 in that range does not ask and always holds.
    asked.clear();
    EXPECT_TRUE(CaptionButtonStatus(*Button(40, 0, 1500), Full(), ask).Visible);
    EXPECT_TRUE(asked.empty());
}

TEST(CaptionButtonStatus, ActionsNeedTheirBoxes) {
    TCaptionWindowState noMax = Full();
    noMax.MaximizeBox = false;
    TCaptionWindowState noMenu = Full();
    noMenu.SystemMenu = false;
    TCaptionWindowState dialog = Full();
    dialog.DialogBorder = true;
    const struct {
        const char* Name;
        int Action;
        TCaptionWindowState State;
        bool Visible, Enabled;
    } cases[] = {
        {"close with system menu", 0, Full(), true, true},
        {"close without system menu", 0, noMenu, false, true},
        {"maximize without maximize box", 1, noMax, true, false},
        {"maximize without system menu", 1, noMenu, true, false},
        {"minimize with boxes", 2, Full(), true, true},
        {"minimize without system menu", 2, noMenu, true, false},
        {"icon on a dialog frame", 3, dialog, false, true},
        {"icon 11 on a dialog frame", 11, dialog, false, true},
        {"icon 12 on a normal frame", 12, Full(), true, true},
        {"help on a dialog frame", 4, dialog, true, true},
    };
    for (const auto& c : cases) {
        const TButtonStatus s = CaptionButtonStatus(*Button(c.Action, 0, 0), c.State, nullptr);
        EXPECT_EQ(s.Visible, c.Visible) << c.Name;
        EXPECT_EQ(s.Enabled, c.Enabled) << c.Name;
    }
}

TEST(CaptionButtonLayout, AlignPlacesTheButton) {
    TButtonLayoutInput in;
    in.WindowWidth = 300;
    in.CaptionArea = RECT{40, 3, 120, 20};
    in.BorderTop = 25;
    in.BorderRight = 4;
    in.MenuHeight = 19;
    in.MenuBarLeftMargin = 2;
    const struct {
        int Align;
        RECT Expected;
    } cases[] = {
        {0, {19, 7, 30, 18}},
        {1, {281, 7, 292, 18}},
        {2, {10, 7, 21, 18}},      // left of the text: 40 - 11 - 19
        {8, {10, 7, 21, 18}},
        {3, {139, 7, 150, 18}},    // right of the text: 120 + 19
        {9, {139, 7, 150, 18}},
        {100, {275, 29, 286, 40}}, // on the menu bar: 300 - 19 - 4 - 2, 25 + (19 - 11) / 2
    };
    for (const auto& c : cases) {
        RECT r{};
        ASSERT_TRUE(LayoutCaptionButton(*Button(0, 0, 0, c.Align, 19, 7), 11, 11, in, r)) << c.Align;
        EXPECT_TRUE(EqualRect(&r, &c.Expected)) << "Align " << c.Align << ": " << r.left << "," << r.top << ","
                                                << r.right << "," << r.bottom;
    }
    RECT untouched{1, 2, 3, 4};
    EXPECT_FALSE(LayoutCaptionButton(*Button(0, 0, 0, 5, 19, 7), 11, 11, in, untouched));
    EXPECT_EQ(untouched.left, 1);
    EXPECT_EQ(untouched.bottom, 4);
}

TEST(CaptionButtonFrames, StatesMapToFrames) {
    const struct {
        const char* Name;
        TNCState State;
        int Frames;
        bool Enabled, MenuRow;
        int Frame;
    } cases[] = {
        {"normal", ncsNormal, 6, true, false, 1},
        {"pressed", ncsPressed, 6, true, false, 2},
        {"hot", ncsHot, 6, true, false, 3},
        {"disabled with a disabled frame", ncsHot, 6, false, false, 4},
        {"disabled without one", ncsPressed, 3, false, false, 1},
        {"menu-bar row hot", ncsHot, 4, true, true, 4},
        {"menu-bar row pressed", ncsPressed, 4, true, true, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ButtonStateFrame(c.State, c.Frames, c.Enabled, c.MenuRow), c.Frame) << c.Name;

    EXPECT_EQ(CaptionStripFrame(6, true, true), 1);
    EXPECT_EQ(CaptionStripFrame(6, false, true), 4);
    EXPECT_EQ(CaptionStripFrame(6, true, false), 4);
    EXPECT_EQ(CaptionStripFrame(3, false, false), 1);
}

// A 300 x 200 window framed 4 / 25 / 4 / 8 with the stored skin's close,
// maximize, minimize and icon buttons.
TFrameHitGeometry Window(bool sizeable, int menuHeight = 0) {
    TFrameHitGeometry g;
    g.Width = 300;
    g.Height = 200;
    g.Frame = TFrameSizes{4, 25, 4, 8};
    g.MenuHeight = menuHeight;
    g.Sizeable = sizeable;
    g.TopGrip = 4;
    g.CornerSize = 16;
    g.Buttons = {
        {RECT{281, 7, 292, 18}, 0, true},   // close
        {RECT{270, 7, 281, 18}, 1, true},   // maximize
        {RECT{258, 7, 269, 18}, 2, true},   // minimize
        {RECT{200, 6, 213, 19}, -1, true},  // help image without an action
        {RECT{7, 4, 23, 20}, 3, true},      // window icon
        {RECT{150, 7, 161, 18}, 1, false},  // hidden
    };
    return g;
}

TEST(FrameHitTest, PointsOfASizeableWindow) {
    const TFrameHitGeometry g = Window(true, 19);
    const struct {
        POINT Point;
        int Code;
    } cases[] = {
        {{-1, 50}, HTNOWHERE},
        {{300, 50}, HTNOWHERE},
        {{150, 100}, HTCLIENT},
        {{4, 44}, HTCLIENT},          // first client pixel below the menu band
        {{286, 12}, HTCLOSE},
        {{270, 12}, HTMAXBUTTON},
        {{268, 17}, HTMINBUTTON},
        {{10, 10}, HTSYSMENU},
        {{205, 10}, HTCAPTION},       // an image without an action is caption
        {{155, 10}, HTCAPTION},       // hidden button
        {{100, 24}, HTCAPTION},
        {{100, 25}, HTMENU},
        {{100, 43}, HTMENU},
        {{100, 0}, HTTOP},
        {{100, 3}, HTTOP},
        {{100, 4}, HTCAPTION},
        {{0, 0}, HTTOPLEFT},
        {{299, 2}, HTTOPRIGHT},
        {{0, 100}, HTLEFT},
        {{3, 10}, HTTOPLEFT},
        {{299, 100}, HTRIGHT},
        {{100, 192}, HTBOTTOM},
        {{100, 199}, HTBOTTOM},
        {{0, 199}, HTBOTTOMLEFT},
        {{299, 195}, HTBOTTOMRIGHT},
        {{296, 190}, HTBOTTOMRIGHT},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameHitTest(g, c.Point), c.Code) << c.Point.x << "," << c.Point.y;
}

TEST(FrameHitTest, FixedFramesHaveNoSizingZones) {
    const TFrameHitGeometry g = Window(false);
    const struct {
        POINT Point;
        int Code;
    } cases[] = {
        {{100, 0}, HTCAPTION},
        {{0, 0}, HTCAPTION},
        {{0, 100}, HTBORDER},
        {{299, 100}, HTBORDER},
        {{100, 195}, HTBORDER},
        {{100, 25}, HTCLIENT},        // no menu band
        {{286, 12}, HTCLOSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameHitTest(g, c.Point), c.Code) << c.Point.x << "," << c.Point.y;
}

TEST(FrameHitTest, SystemKeepsClientPartsAndDeclinedPoints) {
    const struct {
        int System, Frame, Answer;
    } cases[] = {
        {HTVSCROLL, HTCLIENT, HTVSCROLL},
        {HTHSCROLL, HTCLIENT, HTHSCROLL},
        {HTGROWBOX, HTCLIENT, HTGROWBOX},
        {HTTRANSPARENT, HTCLIENT, HTTRANSPARENT},
        {HTERROR, HTCAPTION, HTERROR},
        {HTCAPTION, HTCLOSE, HTCLOSE},
        {HTNOWHERE, HTCAPTION, HTCAPTION},
        {HTBOTTOM, HTBORDER, HTBORDER},
        {HTCLIENT, HTCLIENT, HTCLIENT},
    };
    for (const auto& c : cases) EXPECT_EQ(CombineHitTest(c.System, c.Frame), c.Answer) << c.System;
}

TEST(FrameHitTest, FirstVisibleActionButtonWins) {
    std::vector<TButtonHit> buttons = {
        {RECT{0, 0, 10, 10}, -1, true},
        {RECT{0, 0, 10, 10}, 2, false},
        {RECT{0, 0, 10, 10}, 1, true},
        {RECT{0, 0, 10, 10}, 0, true},
    };
    EXPECT_EQ(ButtonIndexAt(buttons, POINT{5, 5}), 2);
    EXPECT_EQ(ButtonIndexAt(buttons, POINT{10, 5}), -1);  // right edge is outside
    EXPECT_EQ(ButtonIndexAt({}, POINT{5, 5}), -1);
}

}  // namespace
