// Column headers painted from the stored skin's "Headerbar" strip: a real
// header control painted into a bitmap, its sections compared with the
// strip's frames, its texts, images and the strip right of the last section.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "../data/skin_model_support.h"
#include "framework/application.h"
#include "framework/header_control.h"
#include "framework/image_list.h"
#include "skin/controls/header_painting.h"
#include "skin/data/frame_draw.h"
#include "skin/data/skin_model.h"
#include "skin/data/skin_reader.h"

namespace {

using skin::THeaderPaintState;

class THeaderPaintForm : public TForm {
    DECLARE_CLASS_INLINE(THeaderPaintForm, TForm)
public:
    explicit THeaderPaintForm(TComponent* owner) : TForm(owner)
    {
        SetScaled(false);  // sections placed and read in these pixels at every scale
        SetBounds(30, 30, 460, 200);
        Images = new TImageList(this);
        TBitmap red(16, 16, pf24bit);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(RECT{0, 0, 16, 16});
        Images->AddMasked(&red, clFuchsia);
        Header = new THeaderControl(this);
        Header->SetParent(this);
        Header->SetHeight(24);
        Header->SetImages(Images);
        const char* texts[] = {"项目名称", "金额", "图"};
        for (const char* text : texts) {
            THeaderSection* section = Header->Sections()->Add();
            section->SetText(text);
            section->SetWidth(110);
        }
        Header->Sections()->Items(1)->SetAlignment(taRightJustify);
        FinishCreation();
    }
    TImageList* Images;
    THeaderControl* Header;
};

// A 32-bit picture of what PaintHeaderBar draws for the whole header.
struct TPainted {
    std::vector<COLORREF> Pixels;
    int Width = 0;
    COLORREF At(int x, int y) const { return Pixels[y * Width + x]; }
};

TPainted Paint(HWND header, const TDataSkinObject& bar, const THeaderPaintState& state, std::vector<RECT>& sections)
{
    RECT client;
    GetClientRect(header, &client);
    TPainted painted;
    painted.Width = client.right;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    skin::PaintHeaderBar(dc, client, header, bar, state, sections);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) painted.Pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return painted;
}

// Pixel (x, y) of frame `frame` of `bar` fitted to a `width` x `height` box.
COLORREF FramePixel(const TDataSkinObject& bar, int frame, int width, int height, int x, int y)
{
    TGdiBitmap built = skin::BuildFrameBitmap(RECT{0, 0, width, height}, bar.Bitmap.Handle(), SkinMargins(bar), frame,
                                              bar.Frame, bar.Tile != 0, false);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, built);
    COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

int CountColour(const TPainted& p, const RECT& box, int height, COLORREF colour)
{
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = box.left; x < box.right; ++x) count += p.At(x, y) == colour;
    return count;
}

// Pixels of the blue text colour, or of its smoothed edges over the grey face.
int CountBlueText(const TPainted& p, const RECT& box, int height)
{
    int count = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            COLORREF c = p.At(x, y);
            count += GetBValue(c) > GetRValue(c) + 60 && GetBValue(c) > GetGValue(c) + 60;
        }
    }
    return count;
}

class HeaderPainting : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The stored skin's bytes start with their count, as the component keeps them.
        const skintest::TBytes stored = skintest::StoredSkinBytes();
        ASSERT_GT(stored.size(), 4u);
        TSkinReader reader;
        ASSERT_TRUE(reader.Load(stored.data() + 4, stored.size() - 4));
        BuildSkinModelFromReader(FModel, reader);
        FBar = FModel.Object(ssHeaderbar);
        ASSERT_NE(FBar, nullptr);
        ASSERT_FALSE(FBar->Bitmap.Empty());
    }
    TSkinModel FModel;
    const TDataSkinObject* FBar = nullptr;
};

TEST_F(HeaderPainting, SectionsTakeTheirFramesTextsAndImages)
{
    THeaderPaintForm form(nullptr);
    form.Show();
    HWND header = form.Header->Handle();
    RECT client;
    GetClientRect(header, &client);
    const int height = client.bottom;

    THeaderPaintState state;
    state.HotSection = 1;
    state.TextColour = RGB(0, 0, 255);
    std::vector<RECT> sections;
    TPainted painted = Paint(header, *FBar, state, sections);

    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].left, 3);
    EXPECT_EQ(sections[0].right, 107);
    EXPECT_EQ(sections[1].left, 113);

    // A spot no text reaches: the top-right corner area of each section.
    EXPECT_EQ(painted.At(104, 1), FramePixel(*FBar, skin::hfNormal, 110, height, 104, 1));
    EXPECT_EQ(painted.At(214, 1), FramePixel(*FBar, skin::hfHot, 110, height, 104, 1));
    EXPECT_NE(FramePixel(*FBar, skin::hfNormal, 110, height, 104, 1),
              FramePixel(*FBar, skin::hfHot, 110, height, 104, 1))
        << "the skin's hot frame must differ for this test to mean anything";
    // Right of the last section: the normal frame over the rest of the bar.
    int rest = client.right - 330;
    ASSERT_GT(rest, 10);
    EXPECT_EQ(painted.At(335, 1), FramePixel(*FBar, skin::hfNormal, rest, height, 5, 1));

    // Texts in the text colour: the first at the left, the second (right
    // aligned) at the right of its section.
    RECT firstLeft{0, 0, 55, 0}, firstRight{60, 0, 110, 0};
    RECT secondLeft{110, 0, 160, 0}, secondRight{180, 0, 220, 0};
    EXPECT_GT(CountBlueText(painted, firstLeft, height), 5);
    EXPECT_EQ(CountBlueText(painted, firstRight, height), 0);
    EXPECT_EQ(CountBlueText(painted, secondLeft, height), 0);
    EXPECT_GT(CountBlueText(painted, secondRight, height), 5);

    // An image shows only when the section's format asks for one.
    RECT third{220, 0, 330, 0};
    EXPECT_EQ(CountColour(painted, third, height, RGB(255, 0, 0)), 0);
    HDITEMA item{};
    item.mask = HDI_IMAGE | HDI_FORMAT;
    item.iImage = 0;
    item.fmt = HDF_STRING | HDF_LEFT;
    SendMessageA(header, HDM_SETITEMA, 2, reinterpret_cast<LPARAM>(&item));
    painted = Paint(header, *FBar, state, sections);
    EXPECT_EQ(CountColour(painted, third, height, RGB(255, 0, 0)), 0) << "an image index without HDF_IMAGE";
    form.Header->Sections()->Items(2)->SetImageIndex(0);
    painted = Paint(header, *FBar, state, sections);
    EXPECT_EQ(CountColour(painted, third, height, RGB(255, 0, 0)), 16 * 16);

    // At 200 % the parts near the dividers that are no section for the mouse
    // are twice as wide, and the left-aligned text starts twice as far in.
    state.Dpi = 192;
    painted = Paint(header, *FBar, state, sections);
    EXPECT_EQ(sections[0].left, 6);
    EXPECT_EQ(sections[0].right, 104);
    EXPECT_EQ(sections[1].left, 116);
    int firstBlueColumn = -1;
    for (int x = 0; x < 55 && firstBlueColumn < 0; ++x) {
        RECT column{x, 0, x + 1, 0};
        if (CountBlueText(painted, column, height) > 0) firstBlueColumn = x;
    }
    EXPECT_GE(firstBlueColumn, 6) << "the text's inset from the section's left edge is scaled";
    state.Dpi = 96;

    // Pressed and disabled frames.
    state.PressedSection = 0;
    painted = Paint(header, *FBar, state, sections);
    EXPECT_EQ(painted.At(104, 1), FramePixel(*FBar, skin::hfPressed, 110, height, 104, 1));
    state.Enabled = false;
    painted = Paint(header, *FBar, state, sections);
    EXPECT_EQ(painted.At(214, 1), FramePixel(*FBar, skin::hfDisabled, 110, height, 104, 1));
}

TEST(HeaderTextLayout, StartsLikeTheSectionsAlignmentAndReachesTheRightInset)
{
    struct {
        int Width, Icon;
        SIZE Text;
        int Alignment;
        int IconX, TextLeft, TextRight;
    } cases[] = {
        {100, 0, {40, 12}, HDF_LEFT, 3, 3, 98},
        {100, 16, {40, 12}, HDF_LEFT, 3, 19, 98},
        {100, 16, {40, 12}, HDF_CENTER, 22, 38, 98},
        {100, 16, {40, 12}, HDF_RIGHT, 42, 58, 98},
        {50, 16, {60, 12}, HDF_RIGHT, 1, 17, 50},   // too wide: starts at 1, clipped at the edge
        {50, 0, {49, 12}, HDF_CENTER, 1, 1, 50},
    };
    for (const auto& c : cases) {
        skin::THeaderTextLayout layout = skin::LayoutHeaderText(c.Width, 20, c.Icon, c.Text, c.Alignment);
        EXPECT_EQ(layout.Icon.x, c.IconX);
        EXPECT_EQ(layout.Icon.y, (20 - c.Icon) / 2);
        EXPECT_EQ(layout.Text.left, c.TextLeft);
        EXPECT_EQ(layout.Text.right, c.TextRight);
        EXPECT_EQ(layout.Text.top, 4);
    }
    // The insets at the header's scale: 3 / 2 / 1 pixels at 96 are 5 / 3 / 2
    // at 144 and 6 / 4 / 2 at 192.
    struct {
        UINT Dpi;
        int Width, Icon;
        SIZE Text;
        int Alignment;
        int IconX, TextLeft;
    } scaled[] = {
        {144, 150, 0, {60, 18}, HDF_LEFT, 5, 5},     {144, 150, 24, {60, 18}, HDF_RIGHT, 63, 87},
        {144, 60, 24, {60, 18}, HDF_RIGHT, 2, 26},   {192, 200, 0, {80, 24}, HDF_LEFT, 6, 6},
        {192, 200, 32, {80, 24}, HDF_RIGHT, 84, 116}, {192, 60, 32, {80, 24}, HDF_RIGHT, 2, 34},
        {192, 200, 32, {80, 24}, HDF_CENTER, 44, 76},
    };
    for (const auto& c : scaled) {
        skin::THeaderTextLayout layout = skin::LayoutHeaderText(c.Width, 40, c.Icon, c.Text, c.Alignment, c.Dpi);
        EXPECT_EQ(layout.Icon.x, c.IconX) << c.Dpi << " DPI, width " << c.Width;
        EXPECT_EQ(layout.Text.left, c.TextLeft) << c.Dpi << " DPI, width " << c.Width;
        // Up to the right inset (2 pixels at 96), or cut at the edge.
        EXPECT_EQ(layout.Text.right, std::min<LONG>(std::max<LONG>(c.TextLeft + c.Text.cx, c.Width - c.Dpi / 48), c.Width));
    }
}

}  // namespace

TEST(HeaderSectionFrames, PressedAndDisabledLooksOnlyWhereTheStripHasThem)
{
    THeaderPaintState state;
    state.HotSection = 1;
    state.PressedSection = 2;
    struct TCase {
        int Frames;
        bool Enabled;
        int Section;
        int Frame;
    };
    const TCase cases[] = {
        {5, true, 0, skin::hfNormal},  {5, true, 1, skin::hfHot},     {5, true, 2, skin::hfPressed},
        {5, false, 1, skin::hfDisabled}, {5, true, -1, skin::hfNormal},
        {2, true, 1, skin::hfHot},     {2, true, 2, skin::hfHot},     {2, false, 0, skin::hfNormal},
        {3, true, 2, skin::hfPressed}, {3, false, 2, skin::hfNormal}, {1, true, 1, skin::hfNormal},
    };
    for (const TCase& c : cases) {
        state.Enabled = c.Enabled;
        EXPECT_EQ(skin::HeaderSectionFrame(c.Section, state, c.Frames), c.Frame)
            << c.Frames << " frames, section " << c.Section << (c.Enabled ? "" : ", disabled");
    }
}
