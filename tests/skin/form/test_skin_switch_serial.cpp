// Switching skins at run time (SkinFile) over open skinned windows: a
// switch and back gives the same pixels, a file that cannot be used keeps
// the skin that is there, a hundred switches leave the engine's objects and
// the controls as they were, and the round-cornered skin shapes the window
// to exactly its opaque border pixels.
#include "form_skin_support.h"

#include <string>
#include <vector>

#include "framework/display_scale.h"
#include "framework/ext_controls.h"
#include "framework/std_controls.h"
#include "skin/data/lzh_codec.h"
#include "skin/data/skin_reader.h"
#include "skin/form/thunk.h"

using namespace formtest;

namespace {

std::string SkinPath(const char* name)
{
    std::string path = std::string(RAVELBOOK_SKINS_DIR) + "/" + name;
    if (path[0] == '/') path = "Z:" + path;
    return path;
}

std::vector<std::uint32_t> Capture(HWND window, int& width, int& height)
{
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r{};
    GetWindowRect(window, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    std::vector<std::uint32_t> pixels;
    HDC dc = GetWindowDC(window);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return pixels;
}

class SkinSwitch : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        Form = Keep(MakeSkinnedForm(Skin));
        Skin->OnSkinChanged = [this](TObject*) { ++Passes; };
        Button = new TButton(Form);
        Button->SetParent(Form);
        Button->SetBounds(20, 20, 90, 26);
        Button->SetCaption("Press");
        Button->OnClick = [this](TObject*) { ++Clicks; };
        Edit = new TEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(20, 60, 160, 22);
        Form->Show();
        SetForegroundWindow(Form->Handle());
        ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(Form->Handle()) != nullptr; }));
        Pump(400);  // the first pass and the first paints
    }

    // Switches to `name` and runs the manager's pass at once, as its timer would.
    void SwitchTo(const char* name)
    {
        Skin->SetSkinFile(SkinPath(name));
        if (SkinManager()) SkinManager()->RunPass();
        Pump(30);
    }

    TSkinData* Skin = nullptr;
    TForm* Form = nullptr;
    TButton* Button = nullptr;
    TEdit* Edit = nullptr;
    int Passes = 0;
    int Clicks = 0;
};

TEST_F(SkinSwitch, SwitchingAwayAndBackGivesTheSameWindow)
{
    const HWND window = Form->Handle();
    int w0, h0, w1, h1, w2, h2;
    const auto first = Capture(window, w0, h0);
    SwitchTo("paper.skn");
    EXPECT_EQ(Skin->Model().SkinName, "Paper");
    const auto paper = Capture(window, w1, h1);
    EXPECT_TRUE(w1 != w0 || h1 != h0 || paper != first) << "the paper skin changes the window";
    SwitchTo("dusk.skn");
    SwitchTo("ravelbook.skn");
    EXPECT_EQ(Skin->Model().SkinName, "Ravelbook");
    const auto again = Capture(window, w2, h2);
    ASSERT_EQ(w2, w0);
    ASSERT_EQ(h2, h0);
    int differing = 0;
    for (std::size_t i = 0; i < first.size(); ++i) differing += first[i] != again[i];
    EXPECT_EQ(differing, 0);
}

TEST_F(SkinSwitch, AFileThatCannotBeUsedKeepsTheSkin)
{
    const HWND window = Form->Handle();
    SwitchTo("dusk.skn");
    int w0, h0, w1, h1;
    const auto before = Capture(window, w0, h0);

    // A file cut in half, one of an unknown version, one whose image is a
    // 64-byte BMP claiming 4096 x 4096 pixels, and one that is not there.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string cut = std::string(temp) + "skin_switch_cut.skn";
    const std::string old = std::string(temp) + "skin_switch_old.skn";
    const std::string bomb = std::string(temp) + "skin_switch_bomb.skn";
    {
        TMemoryStream s;
        s.LoadFromFile(SkinPath("paper.skn"));
        s.SetSize(s.Size() / 2);
        s.SaveToFile(cut);
        std::vector<std::uint8_t> plain = BuildSkinContainer({{"skin.ini", {'x'}}});
        plain[0] = 0x10;  // version 10000 + ...: unknown
        const auto packed = LzhPackWithSize(plain.data(), plain.size());
        TMemoryStream o;
        o.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
        o.SaveToFile(old);
        std::vector<std::uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0,
                                         0, 16, 0, 0, 0, 16, 0, 0, 1, 0, 8, 0, 1, 0, 0, 0};
        bmp.resize(46, 0);
        bmp.insert(bmp.end(), {2, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 1});
        const std::string ini = "[Personality]\r\nTop=top.bmp\r\n";
        const auto packedBomb =
            PackSkinContainer({{"skin.ini", std::vector<std::uint8_t>(ini.begin(), ini.end())}, {"top.bmp", bmp}});
        TMemoryStream b;
        b.WriteBuffer(packedBomb.data(), static_cast<int64_t>(packedBomb.size()));
        b.SaveToFile(bomb);
    }
    const struct {
        std::string Path;
        const char* Says;
    } cases[] = {
        {cut, "cannot be used"},
        {old, "Older Skin File"},
        {bomb, "more memory"},
        {SkinPath("no_such_skin.skn"), "not found"},
    };
    std::string boxText;
    int boxes = 0;
    Application->SetMessageBoxHandler([&](const std::string& text, const std::string&, UINT) {
        boxText = text;
        ++boxes;
        return IDOK;
    });
    for (const auto& c : cases) {
        boxes = 0;
        boxText.clear();
        Skin->SetSkinFile(c.Path);
        EXPECT_EQ(boxes, 1) << c.Path;
        EXPECT_NE(boxText.find(c.Says), std::string::npos) << boxText;
        EXPECT_FALSE(Skin->NoSkin());
        EXPECT_EQ(Skin->Model().SkinName, "Dusk");
        if (SkinManager()) SkinManager()->RunPass();
        Pump(30);
        const auto after = Capture(window, w1, h1);
        EXPECT_TRUE(w1 == w0 && h1 == h0 && after == before) << c.Path;
    }
    Application->SetMessageBoxHandler(nullptr);
    DeleteFileA(cut.c_str());
    DeleteFileA(old.c_str());
    DeleteFileA(bomb.c_str());
}

TEST_F(SkinSwitch, AHundredSwitchesLeaveTheEngineAndTheControlsAsTheyWere)
{
    auto* second = Keep(MakePlainForm("Second"));
    auto* check = new TCheckBox(second);
    check->SetParent(second);
    check->SetBounds(10, 10, 120, 20);
    check->SetCaption("Check");
    second->Show();
    ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(second->Handle()) != nullptr; }));
    SetForegroundWindow(Form->Handle());
    Pump(100);

    SwitchTo("paper.skn");
    SwitchTo("dusk.skn");
    // (GetGuiResources answers 0 under Wine: the engine's own objects are counted.)
    const int thunks = TWndProcThunk::LiveCount();
    const auto* first = SkinnerOf(Form->Handle());
    const auto* other = SkinnerOf(second->Handle());
    for (int i = 0; i < 100; ++i) SwitchTo(i % 2 ? "dusk.skn" : "paper.skn");
    EXPECT_EQ(Skin->Model().SkinName, "Dusk");
    EXPECT_EQ(SkinnerOf(Form->Handle()), first) << "the windows keep their skinners";
    EXPECT_EQ(SkinnerOf(second->Handle()), other);
    EXPECT_EQ(TWndProcThunk::LiveCount(), thunks);

    // The controls still work.
    SendMessageA(Button->Handle(), BM_CLICK, 0, 0);
    Pump(20);
    EXPECT_EQ(Clicks, 1);
    SetWindowTextA(Edit->Handle(), "after");
    EXPECT_EQ(Edit->Text(), "after");
    SendMessageA(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(check->Checked());
}

// The paper skin cuts its corners round with magenta pixels in all four
// borders; the window's region must hold exactly the opaque ones. The
// corners lie in the borders' fixed ends, so each window pixel there is one
// image pixel.
TEST_F(SkinSwitch, RoundCornersShapeTheWindowToTheOpaqueBorderPixels)
{
    SwitchTo("paper.skn");
    const HWND window = Form->Handle();
    RECT r{};
    GetWindowRect(window, &r);
    const int W = r.right - r.left, H = r.bottom - r.top;
    // The borders as the window draws them: at its scale.
    const TSkinModel& model = Skin->ModelFor(WindowDpi(window));
    const TSkinImage& left = model.Border(sbLeft)->Bitmap;
    const TSkinImage& right = model.Border(sbRight)->Bitmap;
    const TSkinImage& top = model.Border(sbTop)->Bitmap;
    const TSkinImage& bottom = model.Border(sbBottom)->Bitmap;
    const int BL = left.Width() / 2, BR = right.Width() / 2;
    const int BT = top.Height() / 2, BB = bottom.Height() / 2;

    // The image pixel that lies at window pixel (x, y) of a corner block.
    auto opaque = [&](int x, int y) {
        TSkinColour c = 0;
        if (x < BL) c = left.Colour(x, y < BT ? y : left.Height() - (H - y));
        else if (x >= W - BR) c = right.Colour(x - (W - BR), y < BT ? y : right.Height() - (H - y));
        else if (y < BT) c = top.Colour(x < W / 2 ? x - BL : top.Width() - (W - BR - x), y);
        else c = bottom.Colour(x < W / 2 ? x - BL : bottom.Width() - (W - BR - x), y - (H - BB));
        return c != SKIN_MAGENTA;
    };
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(window, region), COMPLEXREGION);
    int checked = 0, cut = 0;
    for (int cy : {0, 1}) {
        for (int cx : {0, 1}) {
            for (int j = 0; j < 10; ++j) {
                for (int i = 0; i < BL + 10; ++i) {
                    const int x = cx ? W - 1 - i : i;
                    const int y = cy ? H - 1 - j : j;
                    const bool expected = opaque(x, y);
                    EXPECT_EQ(PtInRegion(region, x, y) != 0, expected) << x << "," << y;
                    ++checked;
                    cut += !expected;
                }
            }
        }
    }
    EXPECT_GT(cut, 4 * 6) << "each corner is cut round";
    EXPECT_TRUE(PtInRegion(region, W / 2, 0) && PtInRegion(region, 0, H / 2) && PtInRegion(region, W / 2, H - 1));
    DeleteObject(region);

    // Back to square corners: dusk has no transparent border.
    SwitchTo("dusk.skn");
    region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(window, region) != ERROR) {
        GetWindowRect(window, &r);
        EXPECT_TRUE(PtInRegion(region, 0, 0));
        EXPECT_TRUE(PtInRegion(region, r.right - r.left - 1, r.bottom - r.top - 1));
    }
    DeleteObject(region);
}

}  // namespace
