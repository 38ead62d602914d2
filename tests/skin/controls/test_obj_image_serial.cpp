// Check boxes and radio buttons that draw their own glyphs, alone and in the
// groups the class-name table names, on a skinned form: each gets the glyph
// skinner of its kind, shows in every state (clear, checked, grayed,
// pressed, focused, disabled) the frame the skin's standard check box or
// radio button shows for that state, and is given back pixel-identical
// when the skin is switched off.
#include "control_skin_support.h"

#include "framework/glyph_checks.h"
#include "framework/glyph_groups.h"
#include "skin/controls/check_drawing.h"
#include "skin/controls/obj_image_skinner.h"

namespace {

using namespace controltest;

template <class T>
T* Put(TForm* form, TWinControl* parent, int x, int y, int w, int h, const char* caption)
{
    auto* control = new T(form);
    control->SetParent(parent);
    control->SetBounds(x, y, w, h);
    control->SetCaption(caption);
    return control;
}

// Frame `frame` of the skin's check or radio strip over the face colour, at
// the skin's size for `dpi`. The controls draw their glyphs at their form's
// scale: a form that keeps its 96-DPI layout shows the design size at every
// display scale.
TPixelsOf ExpectedGlyph(TSkinData* skin, bool radio, int frame, UINT dpi = 96)
{
    TDataSkinButton* buttons = skin->ModelFor(dpi).Buttons.get();
    const TSkinImage& strip = radio ? buttons->RadioBitmap : buttons->CheckBitmap;
    const int frames = radio ? buttons->RadioButtonFrame : buttons->CheckButtonFrame;
    TPixelsOf expected;
    expected.Width = strip.Width() / frames;
    expected.Height = strip.Height();
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(expected.Width, expected.Height, 32, &bits);
    TMemoryDC memory(nullptr);
    TSelectObject selected(memory, bitmap);
    RECT rect{0, 0, expected.Width, expected.Height};
    TGdiBrush face(CreateSolidBrush(SkinColourRgb(skin, scButtonFace)));
    FillRect(memory, &rect, face);
    skin::DrawCheckFrame(memory, rect, strip.Handle(), frame, frames);
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    expected.Pixels.assign(data, data + static_cast<size_t>(expected.Width) * expected.Height);
    return expected;
}

// The glyph as the control shows it now.
TPixelsOf ShownGlyph(TCustomGlyphCheck* control) { return WindowPart(control->Handle(), control->GlyphRect()); }

// What the standard check box and radio button skinners show for a state.
int CheckFrame(TSkinData* skin, TCheckBoxState state, bool disabled)
{
    skin::TCheckBoxFacts facts;
    facts.FrameworkControl = true;
    facts.HasState = true;
    facts.State = state == cbChecked ? "cbchecked" : state == cbGrayed ? "cbgrayed" : "cbunchecked";
    facts.Disabled = disabled;
    return skin::CheckBoxFrameIndex(facts, ScaledSkin(skin).Buttons.get()->CheckButtonFrame);
}

int RadioFrame(TSkinData* skin, bool checked, bool disabled)
{
    return skin::RadioButtonFrameIndex(checked, true, checked ? "true" : "false", disabled,
                                       ScaledSkin(skin).Buttons.get()->RadioButtonFrame);
}

class ObjImageSkinTest : public ControlSkinTest {};

TEST_F(ObjImageSkinTest, SelfDrawnGlyphsShowTheSkinsFramesInEveryStateAndAreGivenBack)
{
    TRzCheckBox* check = nullptr;
    TRzRadioButton* radio = nullptr;
    TRzRadioButton* other = nullptr;
    TcxCheckBox* property = nullptr;
    TRzCheckGroup* checks = nullptr;
    TRzRadioGroup* radios = nullptr;
    TForm* form = SkinnedForm(
        [&](TForm* f) {
            check = Put<TRzCheckBox>(f, f, 10, 10, 150, 20, "收入");
            check->SetAllowGrayed(true);
            radio = Put<TRzRadioButton>(f, f, 10, 40, 150, 20, "每月");
            other = Put<TRzRadioButton>(f, f, 10, 64, 150, 20, "每年");
            property = Put<TcxCheckBox>(f, f, 10, 90, 150, 20, "备注");
            checks = Put<TRzCheckGroup>(f, f, 200, 10, 140, 100, "分类");
            for (const char* item : {"A", "B"}) checks->Items()->Add(item);
            radios = Put<TRzRadioGroup>(f, f, 200, 120, 140, 100, "周期");
            for (const char* item : {"A", "B"}) radios->Items()->Add(item);
            radios->SetItemIndex(1);
        },
        false);
    TCustomGlyphCheck* all[] = {check, radio, other, property, checks->Button(0), checks->Button(1),
                                radios->Button(0), radios->Button(1)};
    SetFocus(nullptr);
    std::vector<TPixelsOf> plain;
    for (TCustomGlyphCheck* c : all) plain.push_back(ReadWindow(c->Handle()));
    const TColor colour = check->Color(), fontColour = check->Font()->Color();

    FSkin->SetActive(true);
    ASSERT_TRUE(WaitSkinned(form));
    TWinSkinForm* formSkinner = SkinnerOf(form->Handle());
    // Each one has the glyph skinner of its kind: alone by its class name,
    // in a group through the group's keyword.
    const int kinds[] = {1, 2, 2, 3, 1, 1, 2, 2};
    for (size_t i = 0; i < std::size(all); ++i) {
        auto* skinner = dynamic_cast<TSkinObjImage*>(SkinnerFor(formSkinner, all[i]));
        ASSERT_NE(skinner, nullptr) << i;
        EXPECT_EQ(skinner->Mode(), kinds[i]) << i;
        EXPECT_EQ(SendMessageA(all[i]->Handle(), SKM_QUERYSKIN, 0, 0), 1) << i;
    }
    EXPECT_TRUE(SkinnerFor(formSkinner, checks) && SkinnerFor(formSkinner, radios));

    const TPixelsOf clear = ExpectedGlyph(FSkin, false, CheckFrame(FSkin, cbUnchecked, false));
    ASSERT_NE(clear, ExpectedGlyph(FSkin, false, CheckFrame(FSkin, cbChecked, false)))
        << "the skin's clear and checked frames differ";
    // The check box through its states.
    struct TCheckStep {
        TCheckBoxState State;
        bool Enabled;
        const char* Name;
    } steps[] = {{cbUnchecked, true, "clear"},      {cbChecked, true, "checked"},
                 {cbGrayed, true, "grayed"},        {cbUnchecked, false, "clear, disabled"},
                 {cbChecked, false, "checked, disabled"}};
    for (TCustomGlyphCheck* c : {static_cast<TCustomGlyphCheck*>(check), static_cast<TCustomGlyphCheck*>(property)})
        for (const TCheckStep& step : steps) {
            c->SetState(step.State);
            c->SetEnabled(step.Enabled);
            EXPECT_EQ(ShownGlyph(c), ExpectedGlyph(FSkin, false, CheckFrame(FSkin, step.State, !step.Enabled)))
                << c->ClassName() << " " << step.Name;
        }
    check->SetEnabled(true);
    check->SetState(cbUnchecked);
    // Pressed and then focused: the clear frame while the button is down; a
    // release over it checks the box.
    SendMessageA(check->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 8));
    EXPECT_TRUE(check->Pressed());
    EXPECT_EQ(ShownGlyph(check), clear) << "pressed";
    SendMessageA(check->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 8));
    EXPECT_TRUE(check->Focused());
    EXPECT_EQ(check->State(), cbChecked);
    EXPECT_EQ(ShownGlyph(check), ExpectedGlyph(FSkin, false, CheckFrame(FSkin, cbChecked, false))) << "focused";

    // The radio buttons: checking one clears the other; pressed, disabled.
    radio->SetChecked(true);
    EXPECT_EQ(ShownGlyph(radio), ExpectedGlyph(FSkin, true, RadioFrame(FSkin, true, false))) << "checked";
    EXPECT_EQ(ShownGlyph(other), ExpectedGlyph(FSkin, true, RadioFrame(FSkin, false, false))) << "clear";
    SendMessageA(other->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 8));
    EXPECT_EQ(ShownGlyph(other), ExpectedGlyph(FSkin, true, RadioFrame(FSkin, false, false))) << "pressed";
    SendMessageA(other->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 8));
    EXPECT_TRUE(other->Checked());
    EXPECT_FALSE(radio->Checked());
    radio->SetEnabled(false);
    EXPECT_EQ(ShownGlyph(radio), ExpectedGlyph(FSkin, true, RadioFrame(FSkin, false, true))) << "clear, disabled";
    other->SetEnabled(false);
    EXPECT_EQ(ShownGlyph(other), ExpectedGlyph(FSkin, true, RadioFrame(FSkin, true, true))) << "checked, disabled";
    // The groups' buttons.
    EXPECT_EQ(ShownGlyph(radios->Button(1)), ExpectedGlyph(FSkin, true, RadioFrame(FSkin, true, false)));
    EXPECT_EQ(ShownGlyph(checks->Button(0)), clear);

    // Given back as they were.
    radio->SetEnabled(true);
    other->SetEnabled(true);
    other->SetChecked(false);
    check->SetState(cbUnchecked);
    property->SetState(cbUnchecked);
    property->SetEnabled(true);
    SetFocus(nullptr);
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_EQ(check->Color(), colour);
    EXPECT_EQ(check->Font()->Color(), fontColour);
    EXPECT_FALSE(check->UseCustomGlyphs());
    EXPECT_TRUE(property->Properties()->Glyph()->Empty());
    for (size_t i = 0; i < std::size(all); ++i) EXPECT_TRUE(SamePixels(ReadWindow(all[i]->Handle()), plain[i])) << i;
}

TEST_F(ObjImageSkinTest, GlyphsOfAScaledFormAreTheSkinsAtTheFormsScale)
{
    // A form told it moved to a monitor of 192 pixels an inch lays its
    // controls out at twice the size: the glyphs are the skin's frames at
    // that scale (twice the design), once, not enlarged again.
    TRzCheckBox* check = nullptr;
    TRzRadioButton* radio = nullptr;
    TForm* form = SkinnedForm(
        [&](TForm* f) {
            check = Put<TRzCheckBox>(f, f, 10, 10, 150, 20, "收入");
            radio = Put<TRzRadioButton>(f, f, 10, 40, 150, 20, "每月");
        },
        true, true);
    RECT place{};
    GetWindowRect(form->Handle(), &place);
    SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&place));
    Pump(60);
    check->SetState(cbChecked);
    radio->SetChecked(true);
    const TDataSkinButton* design = FSkin->Model().Buttons.get();
    EXPECT_EQ(check->GlyphRect().right - check->GlyphRect().left,
              2 * (design->CheckBitmap.Width() / design->CheckButtonFrame));
    EXPECT_EQ(ShownGlyph(check), ExpectedGlyph(FSkin, false, CheckFrame(FSkin, cbChecked, false), 192));
    EXPECT_EQ(ShownGlyph(radio), ExpectedGlyph(FSkin, true, RadioFrame(FSkin, true, false), 192));
}

}  // namespace
