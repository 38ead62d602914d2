// The skin model: the main window's stored skin object by object and field
// by field, and the build's rules on small skins written here: tile and
// frame rules, check/radio and caption-button frame counts, colour tables
// and colour text, the combo box composite and arrow (pixel by pixel), the
// built-in track images and the toolbar gradient.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/display_scale.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_model.h"
#include "skin_model_support.h"

namespace {

using namespace skintest;

// The loaded model is the 96-pixel design: the arrow width at 96.
int ArrowButtonWidth() { return UnscaleFromDpi(GetSystemMetrics(SM_CXHSCROLL), SystemDpi()) + 2; }

// ---- the stored skin ---------------------------------------------------------------

class StoredSkinModel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const TBytes stored = StoredSkinBytes();
        if (!IsFramedSkinStream(stored.data(), stored.size())) return;
        TSkinReader reader;
        if (!reader.Load(stored.data() + 4, stored.size() - 4)) return;
        FModel = new TSkinModel;
        BuildSkinModelFromReader(*FModel, reader);
    }
    static void TearDownTestSuite() {
        delete FModel;
        FModel = nullptr;
    }
    void SetUp() override { ASSERT_NE(FModel, nullptr) << "cannot read " << RAVELBOOK_SKIN_BIN; }

    static TSkinModel* FModel;
};
TSkinModel* StoredSkinModel::FModel = nullptr;

struct TObjectRow {
    const char* Name;
    int Width, Height, Frame;
    int Left, Top, Right, Bottom;
    int Tile, Trans;
};

TEST_F(StoredSkinModel, ObjectsMatchTheSkinTable) {
    const int b = ArrowButtonWidth();
    const TObjectRow rows[] = {
        {"Top", 205, 50, 2, 40, 0, 70, 0, 0, 1},
        {"Bottom", 246, 16, 2, 15, 0, 55, 0, 0, 1},
        {"Left", 4, 250, 2, 0, 25, 0, 8, 0, 0},
        {"Right", 4, 250, 2, 0, 25, 0, 8, 1, 0},
        {"Personality", 150, 38, 2, 2, 0, 2, 0, 1, 0},
        {"Buttons", 90, 23, 5, 3, 3, 3, 3, 0, 0},
        {"Progress", 36, 19, 2, 2, 2, 1, 2, 0, 0},
        {"GroupBoxEdge", 44, 20, 2, 3, 9, 3, 2, 1, 0},
        {"GroupBox", 25, 13, 1, 3, 3, 3, 3, 0, 0},
        {"Tabs", 90, 19, 5, 3, 4, 4, 1, 0, 0},
        {"StatusBarEdges", 66, 18, 3, 2, 8, 0, 9, 1, 0},
        {"ToolBars", 100, 23, 5, 2, 11, 2, 11, 0, 0},
        {"ComboButton", 200, 21, 4, 2, 2, b + 2, 2, 0, 0},
        {"SunkEdge", 200, 21, 4, b + 2, 2, 2, 2, 0, 0},
        {"ExtraImages", 80, 16, 5, 0, 0, 0, 0, 0, 1},
        {"Headerbar", 90, 18, 5, 0, 8, 2, 8, 1, 0},
        {"MenuItem", 150, 23, 5, 10, 4, 2, 6, 0, 1},
        {"MenuBackground", 18, 18, 1, 2, 8, 2, 8, 1, 0},
        {"Scrollbar", 368, 16, 23, 2, 2, 2, 2, 0, 1},
        {"HorzScroll", 68, 17, 4, 0, 2, 0, 2, 1, 0},
        {"VertScroll", 68, 17, 4, 2, 0, 2, 0, 1, 0},
        {"HorzScrollThumb", 66, 15, 3, 2, 2, 2, 2, 1, 1},
        {"VertScrollThumb", 45, 22, 3, 2, 2, 2, 2, 1, 1},
        {"Track", 16, 4, 1, 3, 3, 3, 3, 0, 0},
        {"TRACKVERT", 4, 16, 1, 3, 3, 3, 3, 0, 0},
    };
    for (const TObjectRow& r : rows) {
        SCOPED_TRACE(r.Name);
        const TDataSkinObject* o = FModel->FindObject(r.Name);
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->Bitmap.Width(), r.Width);
        EXPECT_EQ(o->Bitmap.Height(), r.Height);
        EXPECT_EQ(o->Frame, r.Frame);
        EXPECT_EQ(o->LeftWidth, r.Left);
        EXPECT_EQ(o->TopHeight, r.Top);
        EXPECT_EQ(o->RightWidth, r.Right);
        EXPECT_EQ(o->BottomHeight, r.Bottom);
        EXPECT_EQ(o->Tile, r.Tile);
        EXPECT_EQ(o->Trans, r.Trans);
    }
    for (const char* absent : {"Progress.Chunk", "Tab.Pane", "UpDown.Horz", "UpDown.Vert", "Trackbar.ThumbHorz",
                               "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight", "Trackbar.ThumbUp",
                               "Trackbar.ThumbDown"})
        EXPECT_EQ(FModel->FindObject(absent), nullptr) << absent;
}

TEST_F(StoredSkinModel, SubclassFieldsMatchTheSkinTable) {
    EXPECT_EQ(FModel->SkinName, "Ravelbook");

    const TDataSkinTitle& title = *FModel->Title;
    EXPECT_TRUE(title.Bitmap.Empty());
    EXPECT_EQ(title.Frame, 2);
    EXPECT_EQ((std::vector<int>{title.LeftWidth, title.TopHeight, title.RightWidth, title.BottomHeight}),
              (std::vector<int>{36, -1, 75, 0}));
    EXPECT_EQ(title.TextAlignment, 0);
    EXPECT_EQ(title.FontHeight, 12);
    EXPECT_EQ(title.ActiveTextColour, SkinRgb(0, 0, 0));
    EXPECT_EQ(title.InactiveTextColour, SkinRgb(128, 128, 128));

    const TDataSkinButton& buttons = *FModel->Buttons;
    EXPECT_EQ(buttons.CheckBitmap.Width(), 65);
    EXPECT_EQ(buttons.CheckBitmap.Height(), 13);
    EXPECT_EQ(buttons.RadioBitmap.Width(), 65);
    EXPECT_EQ(buttons.RadioBitmap.Height(), 13);
    EXPECT_EQ(buttons.CheckButtonFrame, 5);
    EXPECT_EQ(buttons.RadioButtonFrame, 5);

    const auto& label = static_cast<const TDataSkinBoxLabel&>(*FModel->Object(ssGroupBox));
    EXPECT_EQ(label.BackgroundAlignment, 1);
    EXPECT_EQ(label.BackgroundLeftShift, -3);
    EXPECT_EQ(label.BackgroundRightShift, -3);

    const auto& tabs = static_cast<const TDataSkinBorder&>(*FModel->Object(ssTabs));
    EXPECT_EQ(tabs.Bitmap2.Width(), 48);
    EXPECT_EQ(tabs.Bitmap2.Height(), 48);
    EXPECT_EQ(tabs.NormalColour, 0);
    EXPECT_EQ(tabs.MouseOverColour, 0);
    EXPECT_EQ(tabs.PressedColour, 0);
    EXPECT_EQ(tabs.NormalColour2, SkinRgb(0, 0, 0));

    const auto& combo = static_cast<const TDataSkinBorder&>(*FModel->Object(ssComboButton));
    EXPECT_EQ(combo.Style, 2);
    EXPECT_EQ(combo.Bitmap2.Width(), 64);   // the image as read, mirrored
    EXPECT_EQ(combo.Bitmap2.Height(), 18);
}

TEST_F(StoredSkinModel, CaptionButtonsMatchTheSkinTable) {
    struct TRow {
        int Action, Visibility, Visibility1, Width, Height, Frame, Align, X, Y;
    };
    const TRow rows[] = {
        {0, 0, 0, 66, 11, 6, 1, 19, 7},
        {1, 0, 6, 66, 11, 6, 1, 30, 7},
        {2, 0, 8, 66, 11, 6, 1, 42, 7},
        {-1, 0, 10, 78, 13, 6, 1, 69, 6},
        {3, 0, 0, 0, 0, 6, 0, 7, 4},
        {7, 100, 100, 60, 14, 4, 100, 57, 0},
        {8, 100, 100, 60, 14, 4, 100, 38, 0},
        {9, 100, 100, 60, 14, 4, 100, 19, 0},
    };
    ASSERT_EQ(FModel->CaptionButtons.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const TDataSkinSysButton& b = *FModel->CaptionButtons[i];
        const TRow& r = rows[i];
        EXPECT_EQ(b.Action, r.Action);
        EXPECT_EQ(b.Visibility, r.Visibility);
        EXPECT_EQ(b.Visibility1, r.Visibility1);
        EXPECT_EQ(b.Bitmap.Width(), r.Width);
        EXPECT_EQ(b.Bitmap.Height(), r.Height);
        EXPECT_EQ(b.Frame, r.Frame);
        EXPECT_EQ(b.Align, r.Align);
        EXPECT_EQ(b.Xcoord, r.X);
        EXPECT_EQ(b.Ycoord, r.Y);
    }
}

TEST_F(StoredSkinModel, ColoursMatchTheSkinTable) {
    const TSkinColour black = SkinRgb(0, 0, 0), white = SkinRgb(255, 255, 255), face = SkinRgb(229, 229, 229);
    const struct {
        int Index;
        TSkinColour Colour;
    } given[] = {
        {scWindowText, black},        {scButtonText, black},          {scMenuBarText, black},
        {scMenuText, black},          {scTitleTextActive, white},     {scTitleTextNoActive, white},
        {scHilightText, white},       {scButtonFace, face},           {scButtonHilight, face},
        {scMenubar, face},            {scMenu, face},                 {scButtonlight, SkinRgb(240, 238, 236)},
        {scButtonShadow, SkinRgb(167, 167, 167)}, {scButtonDkShadow, SkinRgb(64, 64, 64)},
        {scHilight, SkinRgb(102, 102, 102)},      {scScrollbar, SkinRgb(216, 208, 200)},
    };
    for (const auto& g : given) {
        SCOPED_TRACE(SkinColourKey(g.Index));
        EXPECT_EQ(FModel->Colours[g.Index], g.Colour);
        EXPECT_TRUE(FModel->ColourGiven[g.Index]);
    }
    for (int unread : {9, 10}) {
        EXPECT_EQ(FModel->Colours[unread], 0u);
        EXPECT_FALSE(FModel->ColourGiven[unread]);
    }
    EXPECT_EQ(FModel->NumberedColours, (std::vector<TSkinColour>{black, white}));
    for (TSkinColour c : FModel->CustomColours) EXPECT_EQ(c, white);

    // Entry 17 comes from the caption border, a third into its first frame.
    const TDataSkinBorder& top = *FModel->Border(sbTop);
    EXPECT_EQ(FModel->Colours[scTopSample], top.Bitmap.Colour(205 / 3, 25 / 3));
}

// ---- the build's rules on small skins ---------------------------------------------------

TEST(SkinModelRules, TileAndFrameKeysFollowTheSectionRules) {
    TTestSkin skin;
    skin.Ini =
        "[MenuItem]\r\nImage=m.bmp\r\nTile=2\r\nFrame=9\r\n"
        "[Progress]\r\nBitmap=p.bmp\r\nTile=2\r\nFrame=9\r\n"
        "[Tabs]\r\nImage=t.bmp\r\nFrame=3\r\n"
        "[Scrollbar]\r\nImage=s.bmp\r\nFrame=4\r\n"
        "[Headerbar]\r\nImage=h.bmp\r\n"
        "[Progress.Chunk]\r\nImage=c.bmp\r\nFrame=7\r\n"
        "[Tab.Pane]\r\nImage=tp.bmp\r\nLeftWidth=9\r\nTopHeight=3\r\nRightWidth=5\r\nBottomHeight=4\r\n"
        "[HorzScrollThumb]\r\nImage=th.bmp\r\nFrameCount=2\r\n"
        "[UpDown.Horz]\r\nImage=u.bmp\r\nGlyphImage=g.bmp\r\n"
        "[GroupBox]\r\nImage=gb.bmp\r\nFrame=6\r\n";
    for (const char* name : {"m.bmp", "p.bmp", "t.bmp", "s.bmp", "h.bmp", "c.bmp", "tp.bmp", "th.bmp", "u.bmp",
                             "gb.bmp"})
        skin.Images.push_back({name, Solid(8, 8, Px(1, 2, 3))});
    skin.Images.push_back({"g.bmp", Solid(5, 3, Px(1, 2, 3))});
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));

    const struct {
        TSkinSection Section;
        int Tile, Frame;
    } cases[] = {
        {ssMenuItem, 0, 5},         // a Tile of 2 is "stretch"; the frame count is fixed
        {ssProgress, 1, 2},         // ... but "tile" in Progress; no style: 2 frames
        {ssTabs, 0, 5},
        {ssScrollbar, 0, 23},
        {ssHeaderbar, 0, 5},        // no Frame key: 5
        {ssProgressChunk, 0, 7},    // as read
        {ssHorzScrollThumb, 0, 2},  // FrameCount
        {ssUpDownHorz, 0, 8},
        {ssGroupBox, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SkinSectionName(c.Section));
        ASSERT_NE(model.Object(c.Section), nullptr);
        EXPECT_EQ(model.Object(c.Section)->Tile, c.Tile);
        EXPECT_EQ(model.Object(c.Section)->Frame, c.Frame);
    }
    const TDataSkinObject& pane = *model.Object(ssTabPane);
    EXPECT_EQ((std::vector<int>{pane.LeftWidth, pane.TopHeight, pane.RightWidth, pane.BottomHeight}),
              (std::vector<int>{4, 3, 4, 4}));
    EXPECT_EQ(static_cast<const TDataSkinBorder&>(*model.Object(ssUpDownHorz)).Bitmap2.Width(), 5);
}

TEST(SkinModelRules, ProgressWithAStyleHasOneFrame) {
    TTestSkin skin{"[Progress]\r\nBitmap=p.bmp\r\nStyle=1\r\n", {{"p.bmp", Solid(8, 8, 0)}}};
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));
    EXPECT_EQ(model.Object(ssProgress)->Frame, 1);
}

TEST(SkinModelRules, SectionsExistOnlyWithAnImageKey) {
    TTestSkin skin{"[MenuItem]\r\nLeftWidth=3\r\n[Headerbar]\r\nImage=missing.bmp\r\n[Scrollbar]\r\nImage=s.BMP\r\n",
                   {{"s.BMP", Solid(4, 4, 0)}}};
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));
    EXPECT_EQ(model.Object(ssMenuItem), nullptr);
    ASSERT_NE(model.Object(ssHeaderbar), nullptr);   // named but not in the container: empty image
    EXPECT_TRUE(model.Object(ssHeaderbar)->Bitmap.Empty());
    ASSERT_NE(model.Object(ssScrollbar), nullptr);   // ".BMP" is not ".bmp": nothing loads
    EXPECT_TRUE(model.Object(ssScrollbar)->Bitmap.Empty());
}

TEST(SkinModelRules, CheckAndRadioFramesComeFromTheImageSize) {
    const struct {
        int Width, Height;
        const char* FrameKey;
        int Expected;
    } cases[] = {
        {52, 13, "", 4},
        {32, 16, "", 4},       // 2 by width, but at least 4
        {65, 13, "", 5},
        {96, 16, "", 6},       // 16 pixels high: 16 per frame
        {52, 13, "RadioButtonFrame=7\r\nCheckButtonFrame=7\r\n", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height) + " " + c.FrameKey);
        TTestSkin skin{std::string("[Buttons]\r\nBitmap=b.bmp\r\nRadioButton=r.bmp\r\nCheckButton=c.bmp\r\n") + c.FrameKey,
                       {{"b.bmp", Solid(10, 10, 0)}, {"r.bmp", Solid(c.Width, c.Height, 0)},
                        {"c.bmp", Solid(c.Width, c.Height, 0)}}};
        TSkinModel model;
        ASSERT_TRUE(BuildModel(model, skin));
        EXPECT_EQ(model.Buttons->RadioButtonFrame, c.Expected);
        EXPECT_EQ(model.Buttons->CheckButtonFrame, c.Expected);
        EXPECT_EQ(model.Buttons->Frame, 5);
    }
}

TEST(SkinModelRules, CaptionButtonsAreChosenAndFramedByTheirKeys) {
    TTestSkin skin;
    skin.Ini =
        "[Buttons]\r\nBitmap=x.bmp\r\n"                                       // the push buttons, not a caption button
        "[Button.Radio]\r\nAction=0\r\n[BUTTON]\r\nAction=0\r\n"
        "[ButtonNarrow]\r\nAction=0\r\nButtonImage=n.bmp\r\n"                 // 45 x 15: 3 frames
        "[ButtonWide]\r\nAction=2\r\nButtonImage=w.bmp\r\n"                   // 60 x 15: 6 frames
        "[ButtonHelpHidden]\r\nAction=-1\r\nButtonImage=n.bmp\r\n"            // dropped: Visibility not 0
        "[ButtonHelp]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=n.bmp\r\n"  // kept, 6 frames
        "[ButtonMax]\r\nAction=1\r\nVisibility=2\r\nXcoord=30\r\nYcoord=5\r\nframe=2\r\nButtonImage=n.bmp\r\n"
        "[ButtonRestore]\r\nAction=4\r\nXcoord=99\r\nYcoord=99\r\n"
        "[ButtonIcon]\r\nAction=3\r\nButtonImage=n.bmp\r\n"
        "[MDICONTROLS]\r\nImage=mdi.bmp\r\n";
    skin.Images = {{"x.bmp", Solid(5, 5, 0)}, {"n.bmp", Solid(45, 15, 0)}, {"w.bmp", Solid(60, 15, 0)},
                   {"mdi.bmp", Solid(120, 10, 0)}};
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));

    const struct {
        const char* Name;
        int Action, Frame, Width, X, Y, Visibility1, CombineOp;
    } expected[] = {
        {"BUTTONNARROW", 0, 3, 45, 0, 0, 0, -1},
        {"BUTTONWIDE", 2, 6, 60, 0, 0, 0, -1},
        {"BUTTONHELP", -1, 6, 45, 0, 0, -1, -1},
        {"BUTTONMAX", 1, 2, 45, 30, 5, 0, -1},
        {"BUTTONRESTORE", 4, 6, 0, 30, 5, 0, -1},   // takes the maximize button's place
        {"BUTTONICON", 3, 3, 0, 0, 0, 0, -1},       // image cleared: draws the window icon
        {"MDICONTROLS", 7, 4, 40, 42, 0, 100, -1},  // a = 10: 4a wide, x = (a + 4) * 3
        {"MDICONTROLS", 8, 4, 40, 28, 0, 100, -1},
        {"MDICONTROLS", 9, 4, 40, 14, 0, 100, -1},
    };
    ASSERT_EQ(model.CaptionButtons.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].Name);
        const TDataSkinSysButton& b = *model.CaptionButtons[i];
        EXPECT_EQ(b.Name, expected[i].Name);
        EXPECT_EQ(b.Action, expected[i].Action);
        EXPECT_EQ(b.Frame, expected[i].Frame);
        EXPECT_EQ(b.Bitmap.Width(), expected[i].Width);
        EXPECT_EQ(b.Xcoord, expected[i].X);
        EXPECT_EQ(b.Ycoord, expected[i].Y);
        EXPECT_EQ(b.Visibility1, expected[i].Visibility1);
        EXPECT_EQ(b.CombineOp, expected[i].CombineOp);
    }
}

TEST(SkinModelRules, MdiButtonsAreCutFromTheirStrip) {
    // Twelve 5-pixel frames of different colours: button i gets frames 4i .. 4i + 3.
    std::vector<std::uint32_t> colours;
    for (int f = 0; f < 12; ++f) colours.push_back(Px(10 * f, 0, 0));
    TTestSkin skin{"[MDICONTROLS]\r\nImage=mdi.bmp\r\n", {{"mdi.bmp", SolidFrames(5, 7, colours)}}};
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));
    ASSERT_EQ(model.CaptionButtons.size(), 3u);
    for (int i = 0; i < 3; ++i)
        for (int f = 0; f < 4; ++f)
            EXPECT_EQ(model.CaptionButtons[i]->Bitmap.Colour(5 * f + 2, 3), PxToColour(colours[4 * i + f]))
                << "button " << i << " frame " << f;
}

TEST(SkinModelRules, ColourTablesReadTheirSections) {
    TTestSkin skin;
    skin.Ini =
        "[Colours]\r\nButtonFace=10 20 30\r\nButtonText=200\r\nHilight=12 34\r\nMenu=1 2 3 4\r\nMenuText=\r\n"
        "WindowText=  216 208 200  \r\nSomethingElse=9 9 9\r\n"
        "[Colour7]\r\ncolor=1 1 1\r\n[COLOURS]\r\ncolor=5 5 5\r\n[colour_x]\r\n\r\n[Colour2]\r\ncolor=3 3 3\r\n"
        "[Customcolors]\r\nColor0=7 8 9\r\nColor9=1 2 3\r\n";
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));

    const struct {
        int Index;
        TSkinColour Colour;
        bool Given;
    } cases[] = {
        {scButtonFace, SkinRgb(10, 20, 30), true},
        {scButtonText, 0, true},                             // a lone number: black
        {scHilight, SkinRgb(12, 0, 0), true},                // two numbers: red only
        {scMenu, SkinRgb(1, 2, 3), true},                    // a fourth number is ignored
        {scMenuText, SkinSystemColour(COLOR_MENUTEXT), false},  // empty: the default
        {scWindowText, SkinRgb(216, 208, 200), true},
        {scMenubar, SkinRgb(10, 20, 30), false},             // absent: the face colour
        {scButtonlight, SkinSystemColour(COLOR_BTNHIGHLIGHT), false},
        {scTitleTextNoActive, SkinSystemColour(COLOR_INACTIVECAPTIONTEXT), false},
        {scScrollbar, SkinSystemColour(COLOR_SCROLLBAR), false},
        {scTopSample, SkinRgb(10, 20, 30), false},           // no caption border: the face colour
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index);
        EXPECT_EQ(model.Colours[c.Index], c.Colour);
        EXPECT_EQ(model.ColourGiven[c.Index], c.Given);
    }
    // Colour7, colour_x (no key: the window-text default) and Colour2 in file
    // order; the "Colours" section (in any case) is not one of them.
    EXPECT_EQ(model.NumberedColours,
              (std::vector<TSkinColour>{SkinRgb(1, 1, 1), SkinSystemColour(COLOR_WINDOWTEXT), SkinRgb(3, 3, 3)}));
    EXPECT_EQ(model.CustomColours[0], SkinRgb(7, 8, 9));
    EXPECT_EQ(model.CustomColours[9], SkinRgb(1, 2, 3));
    EXPECT_EQ(model.CustomColours[5], SKIN_WHITE);
}

TEST(SkinModelRules, ASkinWithoutTrackUsesTheBuiltInImages) {
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, TTestSkin{"[TitlebarSkin]\r\nSkinName=bare\r\n", {}}));
    const TSkinColour S = SkinRgb(0xC0, 0xC0, 0xC0), G = SkinRgb(0x80, 0x80, 0x80), H = SKIN_WHITE;
    const struct {
        TSkinSection Section;
        std::vector<std::vector<TSkinColour>> Rows;
    } cases[] = {
        {ssTrack,
         {{S, S, G, G, G, G, G, G, G, G, G, G, G, G, H, H},
          {S, S, H, H, H, H, H, H, H, H, H, H, H, H, H, H},
          {G, S, H, H, H, H, H, H, H, H, H, H, H, H, H, H},
          {S, S, H, H, H, H, H, H, H, H, H, H, H, H, H, H}}},
        {ssTrackVert, {{S, S, G, S}, {S, S, S, S}, {G, H, H, H}, {G, H, H, H}, {G, H, H, H}, {G, H, H, H},
                       {G, H, H, H}, {G, H, H, H}, {G, H, H, H}, {G, H, H, H}, {G, H, H, H}, {G, H, H, H},
                       {G, H, H, H}, {G, H, H, H}, {H, H, H, H}, {H, H, H, H}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SkinSectionName(c.Section));
        const TDataSkinObject* track = model.Object(c.Section);
        ASSERT_NE(track, nullptr);
        EXPECT_EQ(track->Frame, 1);
        EXPECT_EQ(track->Tile, 0);
        EXPECT_EQ((std::vector<int>{track->LeftWidth, track->TopHeight, track->RightWidth, track->BottomHeight}),
                  (std::vector<int>{3, 3, 3, 3}));
        ASSERT_EQ(track->Bitmap.Height(), static_cast<int>(c.Rows.size()));
        ASSERT_EQ(track->Bitmap.Width(), static_cast<int>(c.Rows[0].size()));
        for (int y = 0; y < track->Bitmap.Height(); ++y)
            for (int x = 0; x < track->Bitmap.Width(); ++x)
                EXPECT_EQ(track->Bitmap.Colour(x, y), c.Rows[y][x]) << x << "," << y;
    }
    // A skin's own track replaces the built-in one and keeps its frame count.
    TSkinModel own;
    ASSERT_TRUE(BuildModel(own, TTestSkin{"[Track]\r\nImage=t.bmp\r\n", {{"t.bmp", Solid(30, 5, 0)}}}));
    EXPECT_EQ(own.Object(ssTrack)->Bitmap.Width(), 30);
    EXPECT_EQ(own.Object(ssTrack)->Frame, 0);
}

// ---- the combo box composite -------------------------------------------------------------

// Four solid frames each for the edge (5 x 21) and the button (16 x 18); the
// arrow glyphs are 6 x 6 squares.
const std::vector<std::uint32_t> EDGE = {Px(200, 0, 0), Px(0, 200, 0), Px(0, 0, 200), Px(200, 200, 0)};
const std::vector<std::uint32_t> BUTTON = {Px(10, 20, 30), Px(40, 50, 60), Px(70, 80, 90), Px(100, 110, 120)};
const std::vector<std::uint32_t> GLYPH = {Px(1, 1, 1), Px(2, 2, 2), Px(3, 3, 3), Px(4, 4, 4), Px(5, 5, 5)};

TTestSkin ComboSkin(bool withSunkEdge, bool withGlyphs) {
    TTestSkin skin;
    skin.Ini = "[Colours]\r\nButtonFace=11 22 33\r\n[ComboButton]\r\nImage=button.bmp\r\n"
               "LeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n";
    skin.Images.push_back({"button.bmp", SolidFrames(16, 18, BUTTON)});
    if (withSunkEdge) {
        skin.Ini += "[SunkEdge]\r\nImage=edge.bmp\r\nLeftWidth=2\r\nTopHeight=3\r\nRightWidth=2\r\nBottomHeight=1\r\n";
        skin.Images.push_back({"edge.bmp", SolidFrames(5, 21, EDGE)});
    }
    if (withGlyphs) {
        skin.Ini += "[ExtraImages]\r\nImage=glyphs.bmp\r\nTrans=1\r\n";
        skin.Images.push_back({"glyphs.bmp", SolidFrames(6, 6, GLYPH)});
    }
    return skin;
}

TEST(SkinModelCombo, CompositeStripHoldsEdgeButtonGlyphAndAnEmptyEditArea) {
    for (bool glyphs : {false, true}) {
        SCOPED_TRACE(glyphs ? "with glyphs" : "without glyphs");
        TSkinModel model;
        ASSERT_TRUE(BuildModel(model, ComboSkin(true, glyphs)));
        const int b = ArrowButtonWidth();
        const auto& button = static_cast<const TDataSkinBorder&>(*model.Object(ssComboButton));
        const TDataSkinObject& edge = *model.Object(ssSunkEdge);
        ASSERT_EQ(button.Bitmap.Width(), 200);
        ASSERT_EQ(button.Bitmap.Height(), 21);

        // What each pixel of cell k must hold.
        const auto expected = [&](int k, int x, int y) {
            if (x >= 50 - b) {
                const int cx = 50 - b + (b - 6) / 2, cy = (21 - 6) / 2;   // the centred glyph
                if (glyphs && x >= cx && x < cx + 6 && y >= cy && y < cy + 6) return PxToColour(GLYPH[k]);
                return PxToColour(BUTTON[k]);
            }
            if (x >= 2 && x < 49 - b && y >= 2 && y < 18) return SKIN_MAGENTA;
            return PxToColour(EDGE[k]);
        };
        int wrong = 0;
        for (int k = 0; k < 4; ++k)
            for (int y = 0; y < 21; ++y)
                for (int x = 0; x < 50; ++x) {
                    const TSkinColour want = expected(k, x, y);
                    if (button.Bitmap.Colour(50 * k + x, y) != want && wrong++ < 5)
                        ADD_FAILURE() << "strip cell " << k << " at " << x << "," << y;
                    if (edge.Bitmap.Colour(199 - 50 * k - x, y) != want && wrong++ < 5)
                        ADD_FAILURE() << "mirrored strip cell " << k << " at " << x << "," << y;
                }
        EXPECT_EQ(wrong, 0);

        EXPECT_EQ(button.Style, 2);
        EXPECT_EQ((std::vector<int>{button.LeftWidth, button.TopHeight, button.RightWidth, button.BottomHeight}),
                  (std::vector<int>{2, 3, b + 2, 1}));
        EXPECT_EQ((std::vector<int>{edge.LeftWidth, edge.TopHeight, edge.RightWidth, edge.BottomHeight}),
                  (std::vector<int>{b + 2, 3, 2, 1}));
        // The button image as read, mirrored, stays as the second image.
        EXPECT_EQ(button.Bitmap2.Width(), 64);
        EXPECT_EQ(button.Bitmap2.Colour(0, 0), PxToColour(BUTTON[3]));

        // The arrow: 17 x 17 cells cut from the right end of each strip cell.
        const TDataSkinObject& arrow = *model.Object(ssComboxArrow);
        ASSERT_EQ(arrow.Bitmap.Width(), 68);
        ASSERT_EQ(arrow.Bitmap.Height(), 17);
        EXPECT_EQ(arrow.Frame, 4);
        for (int i = 0; i < 4; ++i)
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 17; ++x)
                    if (arrow.Bitmap.Colour(17 * i + x, y) != button.Bitmap.Colour(50 * (i + 1) - 19 + x, 2 + y) &&
                        wrong++ < 5)
                        ADD_FAILURE() << "arrow cell " << i << " at " << x << "," << y;
        EXPECT_EQ(wrong, 0);
    }
}

TEST(SkinModelCombo, ArrowWithoutAnEdgeIsTheButtonOnTheFaceColour) {
    TTestSkin skin = ComboSkin(false, false);
    skin.Images[0].second.Pixels[0] = Px(255, 0, 255);   // a transparent pixel at the top left
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));
    const TDataSkinObject& arrow = *model.Object(ssComboxArrow);
    ASSERT_EQ(arrow.Bitmap.Width(), 64);
    EXPECT_EQ(arrow.Frame, 4);
    EXPECT_EQ(arrow.Bitmap.Colour(0, 0), SkinRgb(11, 22, 33));
    EXPECT_EQ(arrow.Bitmap.Colour(1, 0), PxToColour(BUTTON[0]));
    // The button keeps its own image: no composite without an edge.
    EXPECT_EQ(model.Object(ssComboButton)->Bitmap.Width(), 64);
    EXPECT_EQ(model.Object(ssComboButton)->Style, 0);
}

TEST(SkinModelCombo, EdgeWithoutButtonLeavesTheArrowEmpty) {
    TTestSkin skin{"[SunkEdge]\r\nImage=edge.bmp\r\n", {{"edge.bmp", SolidFrames(5, 21, EDGE)}}};
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, skin));
    ASSERT_NE(model.Object(ssComboxArrow), nullptr);
    EXPECT_TRUE(model.Object(ssComboxArrow)->Bitmap.Empty());
    EXPECT_EQ(model.Object(ssSunkEdge)->Bitmap.Width(), 20);
}

// ---- sampled colour and toolbar --------------------------------------------------------------

TEST(SkinModelToolbar, GradientRunsFromTheLightFaceToTheCaptionTone) {
    // A dark caption (saturation 200), a light grey one (0) and a colourful one.
    const struct {
        std::uint32_t Caption;
    } cases[] = {{Px(60, 60, 60)}, {Px(200, 200, 200)}, {Px(250, 40, 40)}};
    for (const auto& c : cases) {
        TTestSkin skin;
        skin.Ini = "[Colours]\r\nButtonFace=229 229 229\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n";
        TBmpImage top = Solid(30, 12, Px(0, 0, 0));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 30; ++x) top.Pixels[static_cast<std::size_t>(y) * 30 + x] = c.Caption;
        skin.Images.push_back({"top.bmp", top});
        TSkinModel model;
        ASSERT_TRUE(BuildModel(model, skin));
        const TSkinColour sample = PxToColour(c.Caption);
        EXPECT_EQ(model.Colours[scTopSample], sample);

        const int saturation = skin::Saturation(sample);
        const TSkinColour to = saturation > 110
                                   ? skin::BlendColours(sample, SKIN_WHITE, (5625 - 25 * saturation) / 140 + 50)
                                   : skin::BlendColours(0x808080, sample, 150);
        const TSkinColour from = skin::BlendColours(SkinRgb(229, 229, 229), SKIN_WHITE, 150);
        const TDataSkinObject& toolbar = *model.Object(ssToolbar);
        ASSERT_EQ(toolbar.Bitmap.Width(), 10);
        ASSERT_EQ(toolbar.Bitmap.Height(), 40);
        EXPECT_EQ(toolbar.Frame, 1);
        const std::vector<COLORREF> lines = skin::GradientColours(40, from, to);
        EXPECT_EQ(toolbar.Bitmap.Colour(0, 0), lines.front());
        EXPECT_EQ(toolbar.Bitmap.Colour(9, 20), lines[20]);
        EXPECT_EQ(toolbar.Bitmap.Colour(9, 39), lines.back());
        EXPECT_NE(lines.front(), lines.back());
    }
}

TEST(SkinModelRebuild, ASecondBuildReplacesSectionsAndRefillsTheBorders) {
    TSkinModel model;
    ASSERT_TRUE(BuildModel(model, TTestSkin{"[MenuItem]\r\nImage=m.bmp\r\n[Personality]\r\nTop=t.bmp\r\nTopTrans=0\r\n",
                                            {{"m.bmp", Solid(5, 5, 0)}, {"t.bmp", Solid(9, 9, 0)}}}));
    const TDataSkinBorder* top = model.Border(sbTop);
    ASSERT_NE(model.Object(ssMenuItem), nullptr);
    ASSERT_TRUE(BuildModel(model, TTestSkin{"[TitlebarSkin]\r\nSkinName=second\r\n", {}}));
    EXPECT_EQ(model.SkinName, "second");
    EXPECT_EQ(model.Object(ssMenuItem), nullptr);
    EXPECT_EQ(model.Border(sbTop), top);          // the same object, refilled
    EXPECT_TRUE(top->Bitmap.Empty());
    EXPECT_EQ(top->Trans, 1);                     // back to its default
    EXPECT_EQ(top->Frame, 1);
}

}  // namespace
