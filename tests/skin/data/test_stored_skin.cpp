// The skin packed into the main window: read back from the build's packed
// container with the container and ini readers, and held against what the
// program's skin model expects of it, section by section and key by key:
// image sizes and frame counts, margins and flags, caption and MDI buttons,
// colours. Also the looks that would show as faults on screen: a magenta
// pixel in an image drawn opaque, two states of a control that look the
// same, a seam where the caption meets the side borders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "skin/data/bmp_file.h"
#include "skin/data/colour_text.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"

namespace {

constexpr std::uint32_t MAGENTA = 0xFF00FF;  // as TBmpImage holds pixels: 0x00RRGGBB

std::uint32_t Rgb(int r, int g, int b) { return std::uint32_t(r) | std::uint32_t(g) << 8 | std::uint32_t(b) << 16; }

// The packed skin, loaded once for all tests.
class StoredSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string path = RAVELBOOK_SKIN_BIN;
        if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a build-machine path, seen through Wine
        std::ifstream file(path, std::ios::binary);
        FStream.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        FFramed = IsFramedSkinStream(FStream.data(), FStream.size());
        if (FFramed) FLoaded = FReader.Load(FStream.data() + 4, FStream.size() - 4);
        std::string text;
        if (FLoaded && FReader.GetDescription(text)) FIni.LoadFromBuffer(text.data(), text.size());
    }

    void SetUp() override { ASSERT_TRUE(FLoaded) << "cannot read " << RAVELBOOK_SKIN_BIN; }

    // The image a key of the description names, decoded; empty when absent.
    static TBmpImage Image(const std::string& section, const std::string& key) {
        TBmpImage image;
        std::vector<std::uint8_t> bytes;
        const std::string value = FIni.ReadString(section, key, "");
        if (FReader.GetBitmapFile(value, bytes)) ParseBmp(bytes.data(), bytes.size(), image);
        return image;
    }

    static std::vector<std::uint8_t> FStream;
    static bool FFramed;
    static bool FLoaded;
    static TSkinReader FReader;
    static TQuickIni FIni;
};

std::vector<std::uint8_t> StoredSkin::FStream;
bool StoredSkin::FFramed = false;
bool StoredSkin::FLoaded = false;
TSkinReader StoredSkin::FReader;
TQuickIni StoredSkin::FIni;

// A key with the default the skin model reads it with, and the value the
// stored skin must give it.
struct TKey {
    const char* Name;
    int Default;
    int Expected;
};

// One image of the stored skin. Frames lie side by side unless Stacked.
struct TImageCase {
    const char* Section;
    const char* ImageKey;
    int Width;
    int Height;
    int Frames;
    bool Stacked;
    std::vector<TKey> Keys;
};

std::vector<TKey> Margins(int left, int top, int right, int bottom) {
    return {{"LeftWidth", 0, left}, {"TopHeight", 0, top}, {"RightWidth", 0, right}, {"BottomHeight", 0, bottom}};
}

std::vector<TKey> Join(std::vector<TKey> a, const std::vector<TKey>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<TImageCase>& ImageCases() {
    static const std::vector<TImageCase> cases = {
        {"Personality", "Top", 205, 50, 2, true,
         {{"TopTopHeight", 0, 40}, {"TopBotHeight", 0, 70}, {"TopFrame", 1, 2}, {"TopStretch", 1, 0}, {"TopTrans", 1, 1}}},
        {"Personality", "Bottom", 246, 16, 2, true,
         {{"BottomTopHeight", 0, 15}, {"BottomBotHeight", 0, 55}, {"BottomFrame", 1, 2}, {"BottomStretch", 1, 0},
          {"BottomTrans", 1, 1}}},
        {"Personality", "Left", 4, 250, 2, false,
         {{"LeftTopHeight", 0, 25}, {"LeftBotHeight", 0, 8}, {"LeftFrame", 1, 2}, {"LeftStretch", 1, 0}, {"LeftTrans", 1, 0}}},
        {"Personality", "Right", 4, 250, 2, false,
         {{"RightTopHeight", 0, 25}, {"RightBotHeight", 0, 8}, {"RightFrame", 1, 2}, {"RightStretch", 1, 1},
          {"RightTrans", 1, 0}}},
        {"Personality", "menuBar", 150, 38, 2, true, {{"TileMenu", 1, 1}, {"TileLeftMenu", 1, 2}, {"TileRightMenu", 1, 2}}},
        {"Buttons", "Bitmap", 90, 23, 5, false, Join(Margins(3, 3, 3, 3), {{"Tile", 0, 0}, {"Trans", 0, 0}})},
        {"Buttons", "CheckButton", 65, 13, 5, false, {}},
        {"Buttons", "RadioButton", 65, 13, 5, false, {}},
        {"Progress", "Bitmap", 36, 19, 2, false, Join(Margins(2, 2, 1, 2), {{"Style", 0, 0}, {"Tile", 0, 0}, {"Trans", 0, 0}})},
        {"GroupBoxEdge", "Image", 44, 20, 2, false, Join(Margins(3, 9, 3, 2), {{"Tile", 0, 1}, {"Trans", 0, 0}})},
        {"GroupBox", "Image", 25, 13, 1, false,
         Join(Margins(3, 3, 3, 3), {{"Tile", 0, 0}, {"Trans", 0, 0}, {"BackgroundAlignment", 0, 1},
                                    {"BackgroundLeftShift", 0, -3}, {"BackgroundRightShift", 0, -3}})},
        {"Tabs", "Image", 90, 19, 5, false,
         Join(Margins(3, 4, 4, 1), {{"Tile", 0, 0}, {"Trans", 0, 0}, {"Style", 0, 0}, {"NormalColour", -1, 0},
                                    {"MouseOverColour", -1, 0}, {"PressedColour", -1, 0}})},
        {"Tabs", "Border", 48, 48, 1, false, {}},
        {"StatusBarEdges", "Image", 66, 18, 3, false, Join(Margins(2, 8, 0, 9), {{"Tile", 0, 1}, {"Trans", 0, 0}})},
        {"ToolBars", "Image", 100, 23, 5, false, Join(Margins(2, 11, 2, 11), {{"Tile", 0, 0}, {"Trans", 0, 0}})},
        {"ComboButton", "Image", 64, 18, 4, false, Join(Margins(2, 2, 2, 2), {{"Tile", 0, 0}, {"Trans", 0, 0}})},
        {"SunkEdge", "Image", 20, 21, 4, false, Join(Margins(2, 2, 2, 2), {{"Tile", 0, 0}, {"Trans", 0, 0}})},
        {"ExtraImages", "Image", 80, 16, 5, false, Join(Margins(0, 0, 0, 0), {{"Tile", 0, 0}, {"Trans", 0, 1}})},
        {"Headerbar", "Image", 90, 18, 5, false, Join(Margins(0, 8, 2, 8), {{"Tile", 0, 1}, {"Trans", 0, 0}})},
        {"MenuItem", "Image", 150, 23, 5, false, Join(Margins(10, 4, 2, 6), {{"Tile", 0, 0}, {"Trans", 0, 1}})},
        {"MenuBackground", "Image", 18, 18, 1, false, Join(Margins(2, 8, 2, 8), {{"Tile", 0, 1}, {"Trans", 0, 0}})},
        {"Scrollbar", "Image", 368, 16, 23, false, Join(Margins(2, 2, 2, 2), {{"Tile", 0, 0}, {"Trans", 0, 1}})},
        {"HorzScroll", "Image", 68, 17, 4, false, Join(Margins(0, 2, 0, 2), {{"Tile", 0, 1}, {"Trans", 0, 0}})},
        {"VertScroll", "Image", 68, 17, 4, false, Join(Margins(2, 0, 2, 0), {{"Tile", 0, 1}, {"Trans", 0, 0}})},
        {"HorzScrollThumb", "Image", 66, 15, 3, false,
         Join(Margins(2, 2, 2, 2), {{"Tile", 0, 1}, {"Trans", 0, 1}, {"FrameCount", 3, 3}})},
        {"VertScrollThumb", "Image", 45, 22, 3, false,
         Join(Margins(2, 2, 2, 2), {{"Tile", 0, 1}, {"Trans", 0, 1}, {"FrameCount", 3, 3}})},
        {"MDICONTROLS", "Image", 180, 14, 12, false, {}},
    };
    return cases;
}

TEST_F(StoredSkin, IsAFramedVersion70000ContainerWithOneDescription) {
    EXPECT_TRUE(FFramed);
    EXPECT_EQ(FReader.Header().Version, 70000);
    int descriptions = 0;
    for (int i = 0; i < FReader.Count(); ++i) {
        const std::string& name = FReader.Names()[static_cast<std::size_t>(i)];
        if (name.find(".ini") != std::string::npos) {
            ++descriptions;
            continue;
        }
        std::vector<std::uint8_t> bytes;
        TBmpImage image;
        std::string error;
        ASSERT_TRUE(FReader.GetFileByName(name, bytes)) << name;
        EXPECT_TRUE(ParseBmp(bytes.data(), bytes.size(), image, &error)) << name << ": " << error;
    }
    EXPECT_EQ(descriptions, 1);
    EXPECT_EQ(FIni.ReadString("TitlebarSkin", "SkinName", ""), "Ravelbook");
}

TEST_F(StoredSkin, EveryObjectHasItsImageSizeFramesAndKeys) {
    for (const TImageCase& c : ImageCases()) {
        SCOPED_TRACE(std::string("[") + c.Section + "] " + c.ImageKey);
        const TBmpImage image = Image(c.Section, c.ImageKey);
        EXPECT_EQ(image.Width, c.Width);
        EXPECT_EQ(image.Height, c.Height);
        EXPECT_EQ((c.Stacked ? image.Height : image.Width) % c.Frames, 0) << "frames of unequal size";
        for (const TKey& key : c.Keys)
            EXPECT_EQ(FIni.ReadInteger(c.Section, key.Name, key.Default), key.Expected) << key.Name;
    }
}

TEST_F(StoredSkin, TitleReadsLikeTheModelWantsIt) {
    const TKey keys[] = {{"TextShift", 0, 36},     {"TextShiftVert", 0, -1},  {"TextRightClip", 0, 75},
                         {"TextAlignment", 0, 0},  {"Textbackground", 0, 0},  {"TXTBackleft", 0, 0},
                         {"TXTBackRight", 0, 0},   {"ActiveTextR", -1, 0},    {"ActiveTextG", -1, 0},
                         {"ActiveTextB", -1, 0},   {"InActiveTextR", -1, 128}, {"InActiveTextG", -1, 128},
                         {"InActiveTextB", -1, 128}};
    for (const TKey& key : keys) EXPECT_EQ(FIni.ReadInteger("Personality", key.Name, key.Default), key.Expected) << key.Name;
    EXPECT_EQ(FIni.ReadInteger("Fonts", "FontHeight", 14), 12);
    EXPECT_EQ(FIni.ReadString("Personality", "TextBack", ""), "") << "the title has no backdrop image";
}

TEST_F(StoredSkin, FrameCountsDerivedFromImagesMatch) {
    // The check and radio strips: an explicit count, or width / 13 for
    // images under 16 rows; both must say 5.
    for (const char* key : {"CheckButton", "RadioButton"}) {
        const TBmpImage image = Image("Buttons", key);
        const int given = FIni.ReadInteger("Buttons", std::string(key) + "Frame", 0);
        EXPECT_EQ(given == 0 ? std::max(image.Width / (image.Height < 16 ? 13 : 16), 4) : given, 5) << key;
    }
    EXPECT_EQ(FIni.ReadInteger("Headerbar", "Frame", 0) == 0 ? 5 : FIni.ReadInteger("Headerbar", "Frame", 0), 5);
}

TEST_F(StoredSkin, SectionsTheStoredSkinLeavesOut) {
    const char* absent[] = {"Progress.Chunk",      "Tab.Pane",           "UpDown.Horz",       "UpDown.Vert",
                            "Trackbar.ThumbHorz",  "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
                            "Trackbar.ThumbUp",    "Trackbar.ThumbDown", "Track",             "TRACKVERT"};
    for (const char* section : absent) EXPECT_EQ(FIni.ReadString(section, "Image", ""), "") << section;
    EXPECT_EQ(FIni.SectionIndex("Customcolors"), -1) << "custom colours stay white";
}

TEST_F(StoredSkin, CaptionButtonsInOrder) {
    struct TButtonCase {
        int Action, Align, Xcoord, Ycoord, Visibility, Visibility1;
        int Width, Height, Frames;  // Width 0: no image
    };
    const TButtonCase expected[] = {
        {0, 1, 19, 7, 0, 0, 66, 11, 6},   {1, 1, 30, 7, 0, 6, 66, 11, 6}, {2, 1, 42, 7, 0, 8, 66, 11, 6},
        {-1, 1, 69, 6, 0, 10, 78, 13, 6}, {3, 0, 7, 4, 0, 0, 0, 0, 6},
    };

    // The sections the model turns into caption buttons, in file order.
    std::vector<std::string> sections;
    FIni.ReadSections(&sections);
    std::vector<std::string> buttons;
    for (const std::string& s : sections) {
        std::string upper = s;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
        if (upper.rfind("BUTTON", 0) != 0) continue;
        if (upper == "BUTTON" || upper == "BUTTONS" || upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX") continue;
        if (FIni.ReadInteger(s, "Action", 0) == -1 && FIni.ReadInteger(s, "Visibility", -1) != 0) continue;
        buttons.push_back(s);
    }
    ASSERT_EQ(buttons.size(), std::size(expected));

    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const std::string& s = buttons[i];
        const TButtonCase& e = expected[i];
        SCOPED_TRACE(s);
        const int action = FIni.ReadInteger(s, "Action", 0);
        EXPECT_EQ(action, e.Action);
        EXPECT_EQ(FIni.ReadInteger(s, "Align", 0), e.Align);
        EXPECT_EQ(FIni.ReadInteger(s, "Xcoord", 0), e.Xcoord);
        EXPECT_EQ(FIni.ReadInteger(s, "Ycoord", 0), e.Ycoord);
        EXPECT_EQ(FIni.ReadInteger(s, "Visibility", 0), e.Visibility);
        EXPECT_EQ(FIni.ReadInteger(s, "Visibility1", action == -1 ? -1 : 0), e.Visibility1);
        const TBmpImage image = Image(s, "ButtonImage");
        EXPECT_EQ(image.Width, e.Width);
        EXPECT_EQ(image.Height, e.Height);
        // Frame count as the model settles it: 0 becomes 6, an image decides
        // between 3 and 6 by its proportions, a negative action always 6.
        int frames = FIni.ReadInteger(s, "frame", 0);
        if (frames == 0) frames = 6;
        if (image.Width > 0) frames = (image.Width / double(image.Height) <= 3.8 && action >= 0) ? 3 : 6;
        EXPECT_EQ(frames, e.Frames);
    }

    // The three MDI buttons are cut from [MDICONTROLS] in strips of 4a.
    const TBmpImage mdi = Image("MDICONTROLS", "Image");
    const int a = mdi.Width / 12;
    EXPECT_EQ(a, 15);
    const int xcoords[] = {57, 38, 19};
    for (int i = 0; i < 3; ++i) EXPECT_EQ((a + 4) * (3 - i), xcoords[i]) << "MDI button " << i;
}

TEST_F(StoredSkin, ColoursAndColourTable) {
    const std::uint32_t black = Rgb(0, 0, 0), white = Rgb(255, 255, 255), face = Rgb(229, 229, 229);
    const struct {
        const char* Key;
        std::uint32_t Colour;
    } colours[] = {
        {"WindowText", black},           {"TitleTextActive", white},     {"TitleTextNoActive", white},
        {"ButtonFace", face},            {"ButtonText", black},          {"ButtonHilight", face},
        {"Buttonlight", Rgb(240, 238, 236)}, {"ButtonShadow", Rgb(167, 167, 167)}, {"ButtonDkShadow", Rgb(64, 64, 64)},
        {"HilightText", white},          {"Hilight", Rgb(102, 102, 102)}, {"Menubar", face},
        {"MenuBarText", black},          {"MenuText", black},            {"Menu", face},
        {"Scrollbar", Rgb(216, 208, 200)},
    };
    for (const auto& c : colours) {
        std::uint32_t value = 0x12345678;
        EXPECT_TRUE(ParseColourText(FIni.ReadString("Colours", c.Key, ""), value)) << c.Key << " is missing";
        EXPECT_EQ(value, c.Colour) << c.Key;
    }
    EXPECT_EQ(ColourTextToColour(FIni.ReadString("Tabs", "NormalColour2", ""), white), black);

    // The numbered table: sections named Colour..., "Colours" excepted.
    std::vector<std::string> sections;
    FIni.ReadSections(&sections);
    std::vector<std::uint32_t> table;
    for (const std::string& s : sections) {
        const std::string lower = SkinLowerCase(s);
        if (lower.rfind("colour", 0) == 0 && lower != "colours")
            table.push_back(ColourTextToColour(FIni.ReadString(s, "color", ""), 0xDEADBEEF));
    }
    EXPECT_EQ(table, (std::vector<std::uint32_t>{black, white}));
}

// Images the program draws without the colour key: a magenta pixel in them
// would show as magenta on screen.
TEST_F(StoredSkin, OpaqueImagesHoldNoKeyColour) {
    const std::pair<const char*, const char*> opaque[] = {
        {"Personality", "Left"},  {"Personality", "Right"},  {"Personality", "menuBar"}, {"Buttons", "Bitmap"},
        {"Tabs", "Image"},        {"Tabs", "Border"},        {"StatusBarEdges", "Image"}, {"ToolBars", "Image"},
        {"Headerbar", "Image"},   {"MenuBackground", "Image"}, {"HorzScroll", "Image"},  {"VertScroll", "Image"},
        {"SunkEdge", "Image"},    {"GroupBoxEdge", "Image"}, {"GroupBox", "Image"},
    };
    for (const auto& [section, key] : opaque) {
        const TBmpImage image = Image(section, key);
        ASSERT_GT(image.Width, 0) << section << " " << key;
        EXPECT_EQ(std::count(image.Pixels.begin(), image.Pixels.end(), MAGENTA), 0) << section << " " << key;
    }
    // The caption buttons and MDI buttons are drawn keyed: their corners must
    // let the caption or menu band through.
    for (const auto& [section, key, frames] : {std::tuple{"ButtonClose", "ButtonImage", 6},
                                               std::tuple{"ButtonMaximize", "ButtonImage", 6},
                                               std::tuple{"ButtonMinimize", "ButtonImage", 6},
                                               std::tuple{"ButtonHelp", "ButtonImage", 6},
                                               std::tuple{"MDICONTROLS", "Image", 12}}) {
        const TBmpImage image = Image(section, key);
        ASSERT_GT(image.Width, 0) << section;
        const int fw = image.Width / frames;
        for (int f = 0; f < frames; ++f) {
            EXPECT_EQ(image.Pixel(f * fw, 0), MAGENTA) << section << " frame " << f + 1;
            EXPECT_EQ(image.Pixel(f * fw + fw - 1, image.Height - 1), MAGENTA) << section << " frame " << f + 1;
        }
    }
}

// Every state of a control must look different from its other states.
TEST_F(StoredSkin, FramesOfAStripAllDiffer) {
    for (const TImageCase& c : ImageCases()) {
        if (c.Frames < 2) continue;
        SCOPED_TRACE(std::string("[") + c.Section + "] " + c.ImageKey);
        const TBmpImage image = Image(c.Section, c.ImageKey);
        ASSERT_GT(image.Width, 0);
        const int fw = c.Stacked ? image.Width : image.Width / c.Frames;
        const int fh = c.Stacked ? image.Height / c.Frames : image.Height;
        std::set<std::vector<std::uint32_t>> seen;
        for (int f = 0; f < c.Frames; ++f) {
            std::vector<std::uint32_t> pixels;
            for (int y = 0; y < fh; ++y)
                for (int x = 0; x < fw; ++x)
                    pixels.push_back(image.Pixel(c.Stacked ? x : f * fw + x, c.Stacked ? f * fh + y : y));
            EXPECT_TRUE(seen.insert(pixels).second) << "frame " << f + 1 << " repeats an earlier frame";
        }
    }
}

// Where two images meet on the window they must continue each other: the
// side borders' inner column beside the caption and beside the bottom
// border, for both the active and the inactive frame.
TEST_F(StoredSkin, SideBordersContinueCaptionAndBottom) {
    const TBmpImage top = Image("Personality", "Top");
    const TBmpImage bottom = Image("Personality", "Bottom");
    const TBmpImage left = Image("Personality", "Left");
    const TBmpImage right = Image("Personality", "Right");
    ASSERT_TRUE(top.Width > 0 && bottom.Width > 0 && left.Width == 4 && right.Width == 4);
    const int captionRows = top.Height / 2;
    const int bottomRows = bottom.Height / 2;
    for (int frame = 0; frame < 2; ++frame) {
        const int leftInner = frame * 2 + 1;
        const int rightInner = frame * 2;
        for (int y = 0; y < captionRows; ++y) {
            EXPECT_EQ(left.Pixel(leftInner, y), top.Pixel(0, frame * captionRows + y)) << "frame " << frame + 1 << " row " << y;
            EXPECT_EQ(right.Pixel(rightInner, y), top.Pixel(top.Width - 1, frame * captionRows + y))
                << "frame " << frame + 1 << " row " << y;
        }
        for (int y = 0; y < bottomRows; ++y) {
            const int sideRow = left.Height - bottomRows + y;
            EXPECT_EQ(left.Pixel(leftInner, sideRow), bottom.Pixel(0, frame * bottomRows + y)) << "row " << sideRow;
            EXPECT_EQ(right.Pixel(rightInner, sideRow), bottom.Pixel(bottom.Width - 1, frame * bottomRows + y))
                << "row " << sideRow;
        }
    }
}

}  // namespace
