// Control discovery and the push-button skinners on real windows: which
// controls get which skinner, each look of a button read back from the
// screen against the skin's frames, hot tracking and clicking through the
// skinner, and giving a form back exactly as it was.
#include "control_skin_support.h"

#include <algorithm>
#include <map>

#include "framework/buttons.h"
#include "framework/group_box.h"
#include "framework/image_list.h"
#include "framework/status_bar.h"
#include "skin/controls/button_skinner.h"
#include "skin/controls/skinner_kinds.h"

namespace {

using namespace controltest;

struct TButtonsForm {
    TButton* Plain = nullptr;
    TButton* Default = nullptr;
    TButton* Disabled = nullptr;
    TButton* Plain2 = nullptr;
    TButton* Untouched = nullptr;  // Tag = DisableTag
    TBitBtn* Bit = nullptr;
    TSpeedButton* Speed = nullptr;
    TEdit* Edit = nullptr;
    TGroupBox* Group = nullptr;
    TPanel* Panel = nullptr;
    TStatusBar* Bar = nullptr;
    int Clicks = 0;

    void Build(TForm* form)
    {
        auto button = [&](const char* name, const char* caption, int x, int y) {
            auto* b = new TButton(form);
            b->SetName(name);
            b->SetParent(form);
            b->SetBounds(x, y, 90, 28);
            b->SetCaption(caption);
            b->OnClick = [this](TObject*) { ++Clicks; };
            return b;
        };
        Plain = button("Plain", "Plain", 10, 10);
        Default = button("Default", "Default", 110, 10);
        Default->SetDefault(true);
        Disabled = button("Disabled", "Disabled", 210, 10);
        Disabled->SetEnabled(false);
        Plain2 = button("Plain2", "Second", 310, 10);
        Untouched = button("Untouched", "Plain look", 410, 10);
        Untouched->SetTag(SKIN_DATA_DEFAULT_DISABLE_TAG);
        Bit = new TBitBtn(form);
        Bit->SetName("Bit");
        Bit->SetParent(form);
        Bit->SetBounds(10, 50, 100, 30);
        Bit->SetCaption("Glyph");
        Edit = new TEdit(form);
        Edit->SetName("Edit");
        Edit->SetParent(form);
        Edit->SetBounds(120, 50, 100, 22);
        Group = new TGroupBox(form);
        Group->SetName("Group");
        Group->SetParent(form);
        Group->SetBounds(10, 90, 200, 100);
        Group->SetCaption("Group");
        Speed = new TSpeedButton(form);
        Speed->SetName("Speed");
        Speed->SetParent(Group);
        Speed->SetBounds(10, 30, 80, 26);
        Speed->SetCaption("Speed");
        Speed->OnClick = [this](TObject*) { ++Clicks; };
        Panel = new TPanel(form);
        Panel->SetName("Panel");
        Panel->SetParent(form);
        Panel->SetBounds(220, 90, 200, 100);
        Bar = new TStatusBar(form);
        Bar->SetName("Bar");
        Bar->SetParent(form);
        Bar->Panels()->Add()->SetText("one");
    }
};

class ButtonSkinnerTest : public ControlSkinTest {};

TEST_F(ButtonSkinnerTest, DiscoveryGivesEachKnownControlItsSkinnerOnce) {
    TButtonsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); });
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    ASSERT_NE(skinner, nullptr);

    auto classOf = [&](const TControl* control) {
        TSkinControl* s = SkinnerFor(skinner, control);
        return s ? s->ClassName() : std::string("none");
    };
    EXPECT_EQ(classOf(f.Plain), "TSkinButton");
    EXPECT_EQ(classOf(f.Default), "TSkinButton");
    EXPECT_EQ(classOf(f.Bit), "TSkinBitButton");
    EXPECT_EQ(classOf(f.Speed), "TSkinSpeedButton");
    EXPECT_EQ(classOf(f.Group), "TSkinGroupBox");
    EXPECT_EQ(classOf(f.Panel), "TSkinBox");
    EXPECT_EQ(classOf(f.Bar), "TSkinStatusBar");
    // An edit gets the edit skinner; a control tagged with DisableTag stays
    // as it is.
    EXPECT_EQ(classOf(f.Edit), "TSkinEdit");
    EXPECT_EQ(classOf(f.Untouched), "none");
    EXPECT_EQ(SendMessageA(f.Plain->Handle(), SKM_QUERYSKIN, 0, 0), 1);
    EXPECT_EQ(SendMessageA(f.Untouched->Handle(), SKM_QUERYSKIN, 0, 0), 0);

    // A second walk skins nothing twice.
    const size_t count = skinner->ControlSkinners().size();
    skinner->SkinChildControls();
    EXPECT_EQ(skinner->ControlSkinners().size(), count);

    // A control destroyed while skinned takes its skinner with it.
    const int live = TSkinControl::LiveCount();
    delete f.Plain2;
    EXPECT_EQ(TSkinControl::LiveCount(), live - 1);
    EXPECT_EQ(skinner->ControlSkinners().size(), count - 1);
}

TEST_F(ButtonSkinnerTest, EachLookIsTheSkinFrameOfItsState) {
    // The form is laid out at the display's scale, as the program's forms
    // are: the buttons, their captions and the skin's borders all grow with
    // it, so the border band that no caption or focus rectangle reaches is
    // 3 pixels at 96 and as many more as the scale makes it.
    TButtonsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); }, true, true);
    const int w = f.Plain->Width(), h = f.Plain->Height();
    ASSERT_EQ(w, ScaleToDpi(90, WindowDpi(form->Handle())));
    const int margin = ScaleToDpi(3, WindowDpi(form->Handle()));
    // The skin's five frames must be told apart for this test to mean anything.
    EXPECT_FALSE(BorderMatches(ExpectedButtonFrame(FSkin, w, h, 1), ExpectedButtonFrame(FSkin, w, h, 4), margin));
    EXPECT_FALSE(BorderMatches(ExpectedButtonFrame(FSkin, w, h, 1), ExpectedButtonFrame(FSkin, w, h, 2), margin));

    auto expectLook = [&](TWinControl* control, int frame, const char* what) {
        int wrong = 0;
        EXPECT_TRUE(BorderMatches(ReadWindow(control->Handle()), ExpectedButtonFrame(FSkin, w, h, frame), margin, &wrong))
            << what << ": " << wrong << " pixels differ from frame " << frame;
    };
    SetFocus(f.Bit->Handle());
    Pump(30);
    expectLook(f.Plain, 1, "normal");
    expectLook(f.Default, 5, "default");
    expectLook(f.Disabled, 3, "disabled");

    // Hot: the pointer moves over the button. (The leave notice it asks for
    // is posted at once, the real pointer being elsewhere: no pumping here.)
    SendMessageA(f.Plain->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    TSkinControl* plain = SkinnerFor(SkinnerOf(form->Handle()), f.Plain);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->MouseState() & msHot, msHot);
    expectLook(f.Plain, 4, "hot");

    // Pressed: the left button goes down; the control's own handling never
    // sees it, the release clicks.
    SendMessageA(f.Plain->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(plain->MouseState() & msPressed, msPressed);
    expectLook(f.Plain, 2, "pressed");
    SendMessageA(f.Plain->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(f.Clicks, 1);

    // Focused (the press gave it the focus), after the pointer left.
    SendMessageA(f.Plain->Handle(), WM_MOUSELEAVE, 0, 0);
    Pump(20);
    EXPECT_EQ(plain->MouseState(), 0);
    EXPECT_EQ(GetFocus(), f.Plain->Handle());
    expectLook(f.Plain, 5, "focused");

    // A press that leaves the button before the release does not click.
    SendMessageA(f.Plain2->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(f.Plain2->Handle(), WM_MOUSELEAVE, 0, 0);
    SendMessageA(f.Plain2->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(f.Clicks, 1);

    // Switched off by SKM_ENABLESKIN the button looks plain; back on, skinned
    // (focused: the press gave it the focus).
    EXPECT_EQ(GetFocus(), f.Plain2->Handle());
    SendMessageA(f.Plain2->Handle(), SKM_ENABLESKIN, 0, 0);
    EXPECT_FALSE(BorderMatches(ReadWindow(f.Plain2->Handle()), ExpectedButtonFrame(FSkin, w, h, 5), margin));
    SendMessageA(f.Plain2->Handle(), SKM_ENABLESKIN, 1, 0);
    expectLook(f.Plain2, 5, "switched back on");
    // Off and on again once the focus has gone elsewhere: the normal frame.
    SetFocus(f.Bit->Handle());
    Pump(20);
    SendMessageA(f.Plain2->Handle(), SKM_ENABLESKIN, 0, 0);
    EXPECT_FALSE(BorderMatches(ReadWindow(f.Plain2->Handle()), ExpectedButtonFrame(FSkin, w, h, 1), margin));
    SendMessageA(f.Plain2->Handle(), SKM_ENABLESKIN, 1, 0);
    expectLook(f.Plain2, 1, "switched back on without the focus");
}

TEST_F(ButtonSkinnerTest, SkinOffGivesTheFormBackPixelForPixel) {
    TButtonsForm f;
    TForm* form = SkinnedForm([&](TForm* target) { f.Build(target); }, false);
    ASSERT_EQ(SkinnerOf(form->Handle()), nullptr);
    struct TState {
        LONG_PTR Proc;
        LONG Style;
        TColor Colour;
    };
    auto stateOf = [](TWinControl* c) {
        return TState{GetWindowLongPtrA(c->Handle(), GWLP_WNDPROC), GetWindowLongA(c->Handle(), GWL_STYLE), c->Color()};
    };
    std::vector<TWinControl*> controls{f.Plain, f.Bit, f.Group, f.Panel, f.Bar, f.Edit};
    std::vector<TState> before;
    for (TWinControl* c : controls) before.push_back(stateOf(c));
    const TPixelsOf plainLook = ReadWindow(form->Handle());
    const int live = TSkinControl::LiveCount();

    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    EXPECT_GT(TSkinControl::LiveCount(), live);
    EXPECT_FALSE(SamePixels(ReadWindow(form->Handle()), plainLook));

    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_EQ(TSkinControl::LiveCount(), live);
    for (size_t i = 0; i < controls.size(); ++i) {
        const TState after = stateOf(controls[i]);
        EXPECT_EQ(after.Proc, before[i].Proc) << controls[i]->Name();
        EXPECT_EQ(after.Style, before[i].Style) << controls[i]->Name();
        EXPECT_EQ(after.Colour, before[i].Colour) << controls[i]->Name();
    }
    EXPECT_TRUE(SamePixels(ReadWindow(form->Handle()), plainLook));

    // The buttons still work.
    SendMessageA(f.Plain->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(f.Clicks, 1);
}

// A bitmap button of another library that takes its glyph from an image
// list: Images, ImageIndex and DisabledIndex.
class TImageBitBtn : public TBitBtn {
    DECLARE_CLASS(TImageBitBtn, TBitBtn)
public:
    explicit TImageBitBtn(TComponent* owner) : TBitBtn(owner) {}
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value) { FImages = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value) { FImageIndex = value; }
    int DisabledIndex() const { return FDisabledIndex; }
    void SetDisabledIndex(int value) { FDisabledIndex = value; }

private:
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDisabledIndex = -1;
};

using PImageBitBtn = TPropBuilder<TImageBitBtn>;
IMPLEMENT_CLASS(TImageBitBtn, PImageBitBtn::Object("Images", &TImageBitBtn::Images, &TImageBitBtn::SetImages),
                PImageBitBtn::Integer("ImageIndex", &TImageBitBtn::ImageIndex, &TImageBitBtn::SetImageIndex),
                PImageBitBtn::Integer("DisabledIndex", &TImageBitBtn::DisabledIndex, &TImageBitBtn::SetDisabledIndex))

TEST_F(ButtonSkinnerTest, BitmapButtonTakesItsGlyphFromItsImageList) {
    TImageList* images = nullptr;
    TImageBitBtn* button = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
        images = new TImageList(f, 16, 16);
        // Three solid pictures: red, green, blue.
        TBitmap strip;
        strip.SetSize(48, 16);
        const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
        for (int i = 0; i < 3; ++i) {
            RECT cell{16 * i, 0, 16 * i + 16, 16};
            TGdiBrush brush(CreateSolidBrush(colours[i]));
            FillRect(strip.Canvas()->Handle(), &cell, brush);
        }
        images->AddMasked(&strip, clFuchsia);
        button = new TImageBitBtn(f);
        button->SetParent(f);
        button->SetBounds(10, 10, 80, 40);
        button->SetImages(images);
        button->SetImageIndex(0);
        button->SetDisabledIndex(2);
    });
    ASSERT_EQ(images->Count(), 3);
    ASSERT_EQ(SkinnerFor(SkinnerOf(form->Handle()), button)->ClassName(), "TSkinBitButton");
    // The picture is drawn at the display's scale: counts are of its 16 x 16
    // pixels at 96 and as many more as the scale makes the picture.
    const int side = ScaleToDpi(16, WindowDpi(button->Handle()));
    auto share = [&](int of256) { return side * side * of256 / 256; };
    auto count = [&](std::uint32_t colour) {
        const TPixelsOf px = ReadWindow(button->Handle());
        int n = 0;
        for (std::uint32_t p : px.Pixels) n += (p & 0xFFFFFF) == colour;
        return n;
    };
    EXPECT_GE(count(0xFF0000), share(200)) << "enabled: ImageIndex";
    EXPECT_EQ(count(0x0000FF), 0);
    button->SetEnabled(false);
    EXPECT_GE(count(0x0000FF), share(200)) << "disabled: DisabledIndex";
    EXPECT_EQ(count(0xFF0000), 0);
    button->SetDisabledIndex(-1);
    button->Invalidate();
    // Disabled without DisabledIndex: ImageIndex in the list's disabled
    // (blended) look, reddish but not the picture itself.
    EXPECT_LT(count(0xFF0000), share(200));
    const TPixelsOf px = ReadWindow(button->Handle());
    int reddish = 0;
    for (std::uint32_t p : px.Pixels) {
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        reddish += r > g + 40 && r > b + 40;
    }
    EXPECT_GE(reddish, share(100));
    EXPECT_EQ(count(0x0000FF), 0);
}

// A 16 x 16 glyph of one colour whose bottom row is its transparent colour
// (the glyph's bottom-left pixel).
void SetSolidGlyph(TBitmap* glyph, COLORREF colour)
{
    glyph->SetSize(16, 16);
    HDC dc = glyph->Canvas()->Handle();
    RECT all{0, 0, 16, 16}, bottom{0, 15, 16, 16};
    TGdiBrush fill(CreateSolidBrush(colour)), key(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc, &all, fill);
    FillRect(dc, &bottom, key);
}

int CountColour(const TPixelsOf& px, std::uint32_t colour)
{
    int n = 0;
    for (std::uint32_t p : px.Pixels) n += (p & 0xFFFFFF) == colour;
    return n;
}

TEST_F(ButtonSkinnerTest, GlyphsSpacingAndTheMenuArrowFollowTheWindowsScale) {
    // The form is told it moved to monitors of 192 and 144 pixels an inch
    // (and back to 96): a bitmap button's and a menu button's glyph are drawn
    // as large as the scale makes everything else, in every state, and the
    // menu button's drop-down arrow keeps its gap to the caption.
    TBitBtn* bit = nullptr;
    TMenuButton* menu = nullptr;
    TMenuButton* bare = nullptr;
    TButton* other = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
        bit = new TBitBtn(f);
        bit->SetParent(f);
        bit->SetBounds(10, 10, 110, 32);
        bit->SetCaption("Glyph");
        SetSolidGlyph(bit->Glyph(), RGB(255, 0, 0));
        menu = new TMenuButton(f);
        menu->SetParent(f);
        menu->SetBounds(10, 50, 130, 32);
        menu->SetCaption("Choose");
        SetSolidGlyph(menu->Glyph(), RGB(0, 160, 0));
        bare = new TMenuButton(f);
        bare->SetParent(f);
        bare->SetBounds(10, 90, 110, 28);
        bare->SetCaption("Choose");
        bare->Font()->SetColor(static_cast<TColor>(RGB(0, 0, 200)));
        other = new TButton(f);
        other->SetParent(f);
        other->SetBounds(200, 10, 90, 28);
        other->SetCaption("Other");
    }, true, true);
    SetFocus(other->Handle());
    Pump(20);
    for (UINT dpi : {192u, 144u, 96u}) {
        SCOPED_TRACE(dpi);
        RECT place{};
        GetWindowRect(form->Handle(), &place);
        SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
        Pump(60);
        ASSERT_EQ(bit->Width(), ScaleToDpi(110, dpi)) << "the form scaled its controls";
        // The glyph's 16 x 15 coloured pixels at the scale (an interpolated
        // scale may blend the row next to the transparent one).
        const int full = ScaleToDpi(16, dpi) * ScaleToDpi(15, dpi);
        const int least = ScaleToDpi(16, dpi) * (ScaleToDpi(15, dpi) - 1);
        auto expectGlyph = [&](TWinControl* c, std::uint32_t colour, const char* what) {
            const int n = CountColour(ReadWindow(c->Handle()), colour);
            EXPECT_GE(n, least) << what;
            EXPECT_LE(n, full) << what;
        };
        expectGlyph(bit, 0xFF0000, "bitmap button, normal");
        expectGlyph(menu, 0x00A000, "menu button, normal");
        SendMessageA(bit->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        expectGlyph(bit, 0xFF0000, "bitmap button, hot");
        SendMessageA(bit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        expectGlyph(bit, 0xFF0000, "bitmap button, pressed (and focused)");
        SendMessageA(bit->Handle(), WM_MOUSELEAVE, 0, 0);
        SendMessageA(bit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        SetFocus(other->Handle());
        Pump(20);
        // Disabled: the embossed glyph, none of its colour left, its
        // shadow as large as the glyph at the scale.
        bit->SetEnabled(false);
        Pump(20);
        const TPixelsOf disabled = ReadWindow(bit->Handle());
        EXPECT_EQ(CountColour(disabled, 0xFF0000), 0);
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
        const std::uint32_t shadowPixel = (GetRValue(shadow) << 16) | (GetGValue(shadow) << 8) | GetBValue(shadow);
        EXPECT_GE(CountColour(disabled, shadowPixel), least) << "disabled";
        bit->SetEnabled(true);
        Pump(20);

        // The menu button without a glyph: the columns where anything is
        // drawn over the frame, in the arrow's rows, are the caption's and
        // then, after a gap, the arrow's.
        const int w = bare->Width(), h = bare->Height();
        const TPixelsOf shown = ReadWindow(bare->Handle());
        const TPixelsOf frame = ExpectedButtonFrame(FSkin, w, h, 1, dpi);
        ASSERT_EQ(shown.Width, frame.Width);
        std::vector<bool> ink(static_cast<size_t>(w), false);
        const int arrowTop = (h - ScaleToDpi(3, dpi)) / 2 - ScaleToDpi(1, dpi);
        for (int y = arrowTop; y <= arrowTop + ScaleToDpi(3, dpi); ++y)
            for (int x = ScaleToDpi(4, dpi); x < w - ScaleToDpi(4, dpi); ++x)
                if (shown.At(x, y) != frame.At(x, y)) ink[static_cast<size_t>(x)] = true;
        int arrowRight = w - 1;
        while (arrowRight > 0 && !ink[static_cast<size_t>(arrowRight)]) --arrowRight;
        int arrowLeft = arrowRight;
        while (arrowLeft > 0 && ink[static_cast<size_t>(arrowLeft - 1)]) --arrowLeft;
        int textRight = arrowLeft - 1;
        while (textRight > 0 && !ink[static_cast<size_t>(textRight)]) --textRight;
        ASSERT_GT(textRight, 0) << "caption and arrow found";
        EXPECT_GE(arrowRight - arrowLeft + 1, ScaleToDpi(6, dpi)) << "the arrow's width";
        EXPECT_GE(arrowLeft - textRight - 1, ScaleToDpi(4, dpi)) << "the gap between caption and arrow";
        // The arrow in the caption's colour (the button's font's), the one
        // its strokes show most.
        std::map<std::uint32_t, int> inkColours;
        for (int y = 0; y < h; ++y)
            for (int x = ScaleToDpi(4, dpi); x <= textRight; ++x)
                if (shown.At(x, y) != frame.At(x, y)) ++inkColours[shown.At(x, y) & 0xFFFFFF];
        ASSERT_FALSE(inkColours.empty());
        const auto caption = std::max_element(inkColours.begin(), inkColours.end(),
                                              [](const auto& a, const auto& b) { return a.second < b.second; });
        EXPECT_EQ(caption->first, 0x0000C8u) << "the caption in its font's colour";
        EXPECT_EQ(shown.At((arrowLeft + arrowRight) / 2, arrowTop + ScaleToDpi(1, dpi)) & 0xFFFFFF, caption->first)
            << "the arrow in the caption's colour";
    }
}

}  // namespace
