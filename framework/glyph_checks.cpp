// Check boxes and radio buttons that paint their own glyphs (see
// glyph_checks.h).
#include "framework/glyph_checks.h"

#include <algorithm>
#include <vector>

#include "framework/display_scale.h"
#include "framework/forms.h"
#include "framework/gdi_handles.h"
#include "framework/messages.h"

namespace {

// The system's classic glyph is 13 pixels square.
constexpr int SYSTEM_GLYPH = 13;
// Room between the glyph and the caption.
constexpr int CAPTION_GAP = 4;

}  // namespace

using PGlyphCheck = TPropBuilder<TCustomGlyphCheck>;
IMPLEMENT_CLASS(TCustomGlyphCheck,
    PGlyphCheck::Bool("AllowGrayed", &TCustomGlyphCheck::AllowGrayed, &TCustomGlyphCheck::SetAllowGrayed),
    PGlyphCheck::String("Caption", &TCustomGlyphCheck::Caption, &TCustomGlyphCheck::SetCaption),
    PGlyphCheck::Bool("Checked", &TCustomGlyphCheck::Checked, &TCustomGlyphCheck::SetChecked),
    PGlyphCheck::Integer("Color", &TCustomGlyphCheck::Color, &TCustomGlyphCheck::SetColor),
    PGlyphCheck::Object("CustomGlyphs", &TCustomGlyphCheck::CustomGlyphs, &TCustomGlyphCheck::SetCustomGlyphs),
    PGlyphCheck::Object("Font", &TCustomGlyphCheck::Font, &TCustomGlyphCheck::SetFont),
    PGlyphCheck::Bool("ParentColor", &TCustomGlyphCheck::ParentColor, &TCustomGlyphCheck::SetParentColor),
    PGlyphCheck::Bool("ParentFont", &TCustomGlyphCheck::ParentFont, &TCustomGlyphCheck::SetParentFont),
    PGlyphCheck::Enum("State", CheckBoxStateEnum, &TCustomGlyphCheck::State, &TCustomGlyphCheck::SetState),
    PGlyphCheck::Integer("TransparentColor", &TCustomGlyphCheck::TransparentColor,
                         &TCustomGlyphCheck::SetTransparentColor),
    PGlyphCheck::Bool("UseCustomGlyphs", &TCustomGlyphCheck::UseCustomGlyphs,
                      &TCustomGlyphCheck::SetUseCustomGlyphs))

TCustomGlyphCheck::TCustomGlyphCheck(TComponent* owner, bool radio)
    : TCustomControl(owner), FRadio(radio), FCustomGlyphs(std::make_unique<TBitmap>())
{
    FControlStyle = csOpaque | csCaptureMouse | csClickEvents | csDoubleClicks;
    FWidth = 120;
    FHeight = 17;
    FTabStop = true;
    FCustomGlyphs->OnChange = [this](TObject*) { Invalidate(); };
}

TCustomGlyphCheck::~TCustomGlyphCheck() = default;

void TCustomGlyphCheck::SetState(TCheckBoxState value)
{
    if (FRadio && value == cbGrayed) value = cbUnchecked;
    if (value == FState) return;
    FState = value;
    if (FRadio && value == cbChecked) UncheckSiblings();
    Invalidate();
}

void TCustomGlyphCheck::SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }

void TCustomGlyphCheck::SetAllowGrayed(bool value) { FAllowGrayed = value; }

void TCustomGlyphCheck::SetCustomGlyphs(TBitmap* value)
{
    if (value)
        FCustomGlyphs->Assign(*value);
    else
        FCustomGlyphs->SetSize(0, 0);
    Invalidate();
}

void TCustomGlyphCheck::SetUseCustomGlyphs(bool value)
{
    if (value == FUseCustomGlyphs) return;
    FUseCustomGlyphs = value;
    Invalidate();
}

void TCustomGlyphCheck::SetTransparentColor(TColor value)
{
    FTransparentColor = value;
    Invalidate();
}

void TCustomGlyphCheck::UncheckSiblings()
{
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = As<TCustomGlyphCheck>(parent->Controls(i));
        if (sibling && sibling != this && sibling->Radio()) sibling->SetChecked(false);
    }
}

TBitmap* TCustomGlyphCheck::GlyphStrip() const
{
    return FUseCustomGlyphs && !FCustomGlyphs->Empty() ? FCustomGlyphs.get() : nullptr;
}

int TCustomGlyphCheck::GlyphFrameCount() const { return FRadio ? 6 : 9; }

int TCustomGlyphCheck::GlyphFrame() const
{
    // Rows of states (normal, pressed, disabled), a column per check state.
    const int columns = FRadio ? 2 : 3;
    const int row = !Enabled() ? 2 : FPressed ? 1 : 0;
    return row * columns + static_cast<int>(FState);
}

SIZE TCustomGlyphCheck::GlyphSize() const
{
    // The glyph is drawn at the form's scale; a picture's frames are
    // stretched to it (the picture itself is kept as it was given).
    const UINT dpi = static_cast<UINT>(ControlPixelsPerInch(this));
    TBitmap* strip = GlyphStrip();
    if (!strip) return SIZE{ScaleToDpi(SYSTEM_GLYPH, dpi), ScaleToDpi(SYSTEM_GLYPH, dpi)};
    return SIZE{ScaleToDpi(strip->Width() / std::max(GlyphFrameCount(), 1), dpi), ScaleToDpi(strip->Height(), dpi)};
}

RECT TCustomGlyphCheck::GlyphRect() const
{
    const SIZE size = GlyphSize();
    const int top = (Height() - size.cy) / 2;
    return RECT{0, top, size.cx, top + size.cy};
}

RECT TCustomGlyphCheck::CaptionRect() const
{
    return RECT{GlyphSize().cx + ScaleToDpi(CAPTION_GAP, static_cast<UINT>(ControlPixelsPerInch(this))), 0, Width(),
                Height()};
}

void TCustomGlyphCheck::Paint()
{
    HDC dc = Canvas()->Handle();
    const RECT client{0, 0, Width(), Height()};
    {
        TGdiBrush back(CreateSolidBrush(ColorToRGB(Color())));
        FillRect(dc, &client, back);
    }
    RECT glyph = GlyphRect();
    if (TBitmap* strip = GlyphStrip()) {
        const SIZE size = GlyphSize();
        const int frameWidth = strip->Width() / std::max(GlyphFrameCount(), 1);
        const int frame = std::clamp(GlyphFrame(), 0, GlyphFrameCount() - 1);
        TMemoryDC memory(dc);
        TSelectObject selected(memory, strip->Handle());
        TransparentBlt(dc, glyph.left, glyph.top, size.cx, size.cy, memory, frame * frameWidth, 0, frameWidth,
                       strip->Height(), ColorToRGB(StripTransparentColor()));
    } else {
        UINT state = FRadio ? DFCS_BUTTONRADIO : (FState == cbGrayed ? DFCS_BUTTON3STATE : DFCS_BUTTONCHECK);
        if (FState != cbUnchecked) state |= DFCS_CHECKED;
        if (FPressed) state |= DFCS_PUSHED;
        if (!Enabled()) state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &glyph, DFC_BUTTON, state);
    }
    const std::string caption = Caption();
    if (caption.empty()) return;
    RECT text = CaptionRect();
    TSelectObject font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    RECT measured = text;
    DrawTextA(dc, caption.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    text.top = (Height() - height) / 2;
    text.bottom = text.top + height;
    // Unclipped: a first letter that reaches left of where it starts ("Y"
    // in Tahoma at 200 %) inks into the gap after the glyph instead of
    // losing that column.
    DrawTextA(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    if (Focused()) {
        RECT focus{text.left - 1, text.top, std::min<LONG>(text.left + measured.right - measured.left + 1, Width()),
                   text.bottom};
        SetTextColor(dc, RGB(0, 0, 0));
        DrawFocusRect(dc, &focus);
    }
}

void TCustomGlyphCheck::Toggle()
{
    if (FRadio) {
        SetChecked(true);
    } else {
        switch (FState) {
        case cbUnchecked: SetState(cbChecked); break;
        case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
        case cbGrayed: SetState(cbUnchecked); break;
        }
    }
    Click();
}

void TCustomGlyphCheck::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    if (CanFocus()) SetFocus();
    FPressed = true;
    Invalidate();
}

void TCustomGlyphCheck::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !FPressed) return;
    FPressed = false;
    Invalidate();
    if (x >= 0 && y >= 0 && x < Width() && y < Height()) Toggle();
}

void TCustomGlyphCheck::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_BUTTON;
        return;
    case WM_KEYUP:
        if (m.WParam == VK_SPACE && Enabled()) {
            TCustomControl::WndProc(m);
            Toggle();
            return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        TCustomControl::WndProc(m);
        Invalidate();
        return;
    }
    TCustomControl::WndProc(m);
}

// ---- TcxCheckBox -----------------------------------------------------------------------

using PCxProperties = TPropBuilder<TcxCheckBoxProperties>;
IMPLEMENT_CLASS(TcxCheckBoxProperties,
    PCxProperties::Object("Glyph", &TcxCheckBoxProperties::Glyph, &TcxCheckBoxProperties::SetGlyph))

TcxCheckBoxProperties::TcxCheckBoxProperties() : FGlyph(std::make_unique<TBitmap>())
{
    FGlyph->OnChange = [this](TObject*) {
        if (OnChange) OnChange(this);
    };
}

TcxCheckBoxProperties::~TcxCheckBoxProperties() = default;

void TcxCheckBoxProperties::SetGlyph(TBitmap* value)
{
    if (value)
        FGlyph->Assign(*value);
    else
        FGlyph->SetSize(0, 0);
    if (OnChange) OnChange(this);
}

using PCxCheck = TPropBuilder<TcxCheckBox>;
IMPLEMENT_CLASS(TcxCheckBox,
    PCxCheck::Object("Properties", &TcxCheckBox::Properties, &TcxCheckBox::SetProperties))

TcxCheckBox::TcxCheckBox(TComponent* owner)
    : TCustomGlyphCheck(owner, false), FProperties(std::make_unique<TcxCheckBoxProperties>())
{
    FProperties->OnChange = [this](TObject*) { Invalidate(); };
}

TcxCheckBox::~TcxCheckBox() = default;

void TcxCheckBox::SetProperties(TcxCheckBoxProperties* value)
{
    if (value) FProperties->SetGlyph(value->Glyph());
}

TBitmap* TcxCheckBox::GlyphStrip() const
{
    TBitmap* glyph = FProperties->Glyph();
    return glyph->Empty() ? nullptr : glyph;
}

int TcxCheckBox::GlyphFrameCount() const { return 6; }

int TcxCheckBox::GlyphFrame() const { return (Enabled() ? 0 : 3) + static_cast<int>(State()); }

TColor TcxCheckBox::StripTransparentColor() const
{
    // The glyph's own transparent colour: its bottom-left pixel's unless set.
    const TColor colour = FProperties->Glyph()->TransparentColor();
    return colour == clNone ? clFuchsia : colour;
}
