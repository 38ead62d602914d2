// The skin files the build puts beside the program (build/skins/): each
// loads, and between them the two drawn skins use every optional object and
// key of the skin model the stored skin does without. Also the memory budget
// that loading a skin keeps to.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/data/bmp_file.h"
#include "skin/data/lzh_codec.h"
#include "skin/data/skin_model.h"
#include "skin/data/skin_reader.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes SkinFileBytes(const std::string& name)
{
    std::string path = std::string(RAVELBOOK_SKINS_DIR) + "/" + name;
    if (path[0] == '/') path = "Z:" + path;
    std::ifstream file(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct TLoaded {
    TSkinReader Reader;
    TSkinModel Model;
};

void Load(const std::string& name, TLoaded& loaded)
{
    const TBytes bytes = SkinFileBytes(name);
    ASSERT_FALSE(bytes.empty()) << name;
    ASSERT_TRUE(loaded.Reader.Load(bytes)) << name << ": " << loaded.Reader.LastError();
    ASSERT_TRUE(loaded.Reader.Complete()) << name;
    BuildSkinModelFromReader(loaded.Model, loaded.Reader);
    ASSERT_FALSE(loaded.Reader.OverBudget()) << name;
}

const TSkinSection OPTIONAL_SECTIONS[] = {
    ssProgressChunk,      ssTabPane,           ssUpDownHorz,         ssUpDownVert,
    ssTrackbarThumbHorz,  ssTrackbarThumbVert, ssTrackbarThumbLeft,  ssTrackbarThumbRight,
    ssTrackbarThumbUp,    ssTrackbarThumbDown,
};

TEST(SkinFiles, StoredSkinFileIsTheStoredSkinAndLacksTheOptionalSections)
{
    TLoaded loaded;
    Load("ravelbook.skn", loaded);
    EXPECT_EQ(loaded.Model.SkinName, "Ravelbook");
    for (TSkinSection section : OPTIONAL_SECTIONS) EXPECT_EQ(loaded.Model.Object(section), nullptr) << SkinSectionName(section);
    // The built-in track images stand in.
    ASSERT_NE(loaded.Model.Object(ssTrack), nullptr);
    EXPECT_EQ(loaded.Model.Object(ssTrack)->Bitmap.Width(), 16);
    EXPECT_EQ(loaded.Model.Object(ssTrack)->Bitmap.Height(), 4);
}

TEST(SkinFiles, DrawnSkinsCarryEveryOptionalObjectAndKey)
{
    TLoaded paper, dusk;
    Load("paper.skn", paper);
    Load("dusk.skn", dusk);
    EXPECT_EQ(paper.Model.SkinName, "Paper");
    EXPECT_EQ(dusk.Model.SkinName, "Dusk");

    for (TLoaded* loaded : {&paper, &dusk}) {
        const TSkinModel& m = loaded->Model;
        for (TSkinSection section : OPTIONAL_SECTIONS) {
            const TDataSkinObject* o = m.Object(section);
            ASSERT_NE(o, nullptr) << m.SkinName << " " << SkinSectionName(section);
            EXPECT_FALSE(o->Bitmap.Empty()) << SkinSectionName(section);
        }
        for (TSkinSection section : {ssUpDownHorz, ssUpDownVert}) {
            const auto* upDown = static_cast<const TDataSkinBorder*>(m.Object(section));
            EXPECT_EQ(upDown->Frame, 8);
            EXPECT_EQ(upDown->Bitmap2.Width() % 8, 0) << "the glyph strip holds the same 8 frames";
            EXPECT_FALSE(upDown->Bitmap2.Empty());
        }
        for (int thumb = ssTrackbarThumbHorz; thumb <= ssTrackbarThumbDown; ++thumb)
            EXPECT_EQ(m.Object(static_cast<TSkinSection>(thumb))->Bitmap.Width() % 5, 0);
        // The skin's own channels replace the built-in ones.
        EXPECT_EQ(m.Object(ssTrack)->Bitmap.Width(), 16);
        EXPECT_EQ(m.Object(ssTrack)->Bitmap.Height(), 5);
        EXPECT_EQ(m.Object(ssTrackVert)->Bitmap.Width(), 5);
        EXPECT_LE(m.Object(ssTabPane)->TopHeight, 4);
        EXPECT_EQ(m.Object(ssProgress)->Style, 1) << "the chunk style draws Progress.Chunk";
        EXPECT_EQ(m.Object(ssTabs)->Style, 1) << "the tabs draw Tab.Pane";
        ASSERT_NE(m.Object(ssMenuBar), nullptr);
        EXPECT_NE(m.Title->TextAlignment, 0);
        EXPECT_EQ(m.NumberedColours.size(), 4u);
        int customGiven = 0;
        for (TSkinColour c : m.CustomColours) customGiven += c != SKIN_WHITE;
        EXPECT_EQ(customGiven, SKIN_CUSTOM_COLOUR_COUNT);
        EXPECT_TRUE(m.Buttons->HasNormalColour2 && m.Buttons->HasMouseOverColour2 && m.Buttons->HasPressedColour2);
    }

    // Round corners: every paper border is cut with the colour key, and its
    // top-left corner pixel is the key; dusk keeps square borders.
    for (int side = 0; side < SKIN_BORDER_COUNT; ++side) {
        EXPECT_EQ(paper.Model.Borders[side]->Trans, 1);
        EXPECT_EQ(dusk.Model.Borders[side]->Trans, 0);
    }
    EXPECT_EQ(paper.Model.Borders[sbLeft]->Bitmap.Colour(0, 0), SKIN_MAGENTA);
    EXPECT_EQ(paper.Model.Borders[sbTop]->Bitmap.Colour(0, 0), SKIN_MAGENTA);
    // Tiled and stretched borders both occur.
    EXPECT_EQ(paper.Model.Borders[sbTop]->Tile, 1);
    EXPECT_EQ(dusk.Model.Borders[sbTop]->Tile, 0);
    // Caption text alignments other than left, and a title backdrop.
    EXPECT_EQ(paper.Model.Title->TextAlignment, 1);
    EXPECT_EQ(dusk.Model.Title->TextAlignment, 2);
    EXPECT_FALSE(paper.Model.Title->Bitmap.Empty());
    EXPECT_GT(paper.Model.Title->TXTBackleft, 0);

    // Caption buttons on both sides, and a help button every window shows.
    bool left = false, right = false, alwaysHelp = false;
    for (const auto& b : dusk.Model.CaptionButtons) {
        if (b->Action >= 7 && b->Action <= 9) continue;
        left |= b->Align == 0 && !b->Bitmap.Empty();
        right |= b->Align == 1 && !b->Bitmap.Empty();
        alwaysHelp |= b->Action == 4 && b->Visibility == 0 && b->Visibility1 == 0;
    }
    EXPECT_TRUE(left && right && alwaysHelp);
}

// A run-length coded BMP that claims `side` x `side` pixels in a few bytes.
TBytes RleBomb(int side)
{
    TBytes bmp = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&](std::uint16_t v) {
        bmp.push_back(static_cast<std::uint8_t>(v));
        bmp.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put32(0);
    put32(0);
    put32(14 + 40 + 8);
    put32(40);
    put32(static_cast<std::uint32_t>(side));
    put32(static_cast<std::uint32_t>(side));
    put16(1);
    put16(8);
    put32(1);  // BI_RLE8
    put32(0);
    put32(0);
    put32(0);
    put32(2);
    put32(0);
    put32(0x0000FF);  // palette
    put32(0x00FF00);
    bmp.insert(bmp.end(), {0, 1});  // end of bitmap
    return bmp;
}

TEST(SkinFiles, LoadingKeepsToTheMemoryBudget)
{
    TBmpImage small;
    small.Width = small.Height = 8;
    small.Pixels.assign(64, 0x336699);
    const std::string ini = "[Personality]\r\nTop=big.bmp\r\nLeft=small.bmp\r\n[Progress]\r\nBitmap=small.bmp\r\n";
    const TBytes packed = PackSkinContainer({{"skin.ini", TBytes(ini.begin(), ini.end())},
                                            {"big.bmp", RleBomb(4096)},
                                            {"small.bmp", WriteBmp24(small)}});
    ASSERT_LT(RleBomb(4096).size(), 100u);

    TSkinReader reader;
    TSkinBudget budget;
    budget.MaxImagePixels = 1920u * 1200u;
    reader.SetBudget(budget);
    ASSERT_TRUE(reader.Load(packed));
    TSkinModel model;
    BuildSkinModelFromReader(model, reader);
    EXPECT_TRUE(reader.OverBudget()) << "a 4096 x 4096 image is larger than the screen can use";
    EXPECT_TRUE(model.Borders[sbTop]->Bitmap.Empty());
    EXPECT_EQ(model.Borders[sbLeft]->Bitmap.Width(), 8);
    // small.bmp, named twice, was decoded once and counted each time it was handed out.
    EXPECT_EQ(reader.PixelsHandedOut(), 128u);

    // The total: many images within the per-image limit still cannot
    // together pass MaxTotalPixels.
    budget = TSkinBudget();
    budget.MaxTotalPixels = 100;
    reader.SetBudget(budget);
    ASSERT_TRUE(reader.Load(packed));
    TBmpImage image;
    EXPECT_TRUE(reader.DecodeBitmap("small.bmp", image));
    EXPECT_FALSE(reader.DecodeBitmap("small.bmp", image));
    EXPECT_TRUE(reader.OverBudget());
    EXPECT_EQ(reader.BitmapsDecoded(), 1);

    // A container that would decode to more than MaxContainerBytes is
    // refused before it is decoded.
    budget = TSkinBudget();
    budget.MaxContainerBytes = 100;
    reader.SetBudget(budget);
    EXPECT_FALSE(reader.Load(packed));
    EXPECT_EQ(reader.LastResult(), TSkinLoadResult::OverBudget);
    EXPECT_EQ(reader.LastError(), SKIN_MSG_OVER_BUDGET);
}

TEST(SkinFiles, ACutFileIsNotComplete)
{
    TBytes bytes = SkinFileBytes("dusk.skn");
    ASSERT_GT(bytes.size(), 1000u);
    bytes.resize(bytes.size() / 2);
    TSkinReader reader;
    if (reader.Load(bytes)) EXPECT_FALSE(reader.Complete());
}

}  // namespace
