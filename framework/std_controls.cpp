// Push button, edit, label and panel (see std_controls.h).
#include "framework/std_controls.h"

#include <algorithm>

#include "framework/edit_selection.h"
#include "framework/forms.h"

const TEnumInfo AlignmentEnum{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumInfo BevelCutEnum{"TBevelCut", {"bvNone", "bvLowered", "bvRaised", "bvSpace"}};

namespace {

// Whether `key` is the accelerator of `caption` (the character after a
// single '&', ASCII case ignored).
bool IsAccel(WPARAM key, const std::string& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        unsigned char c = static_cast<unsigned char>(caption[i + 1]);
        return c < 0x80 && key < 0x80 && std::toupper(c) == std::toupper(static_cast<int>(key));
    }
    return false;
}

}  // namespace

// ---- TButton ----------------------------------------------------------------------------

using PButton = TPropBuilder<TButton>;
IMPLEMENT_CLASS(TButton,
    PButton::Bool("Cancel", &TButton::Cancel, &TButton::SetCancel),
    PButton::String("Caption", &TButton::Caption, &TButton::SetCaption),
    PButton::Bool("Default", &TButton::Default, &TButton::SetDefault),
    PButton::Object("Font", &TButton::Font, &TButton::SetFont),
    PButton::Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult),
    PButton::Bool("ParentFont", &TButton::ParentFont, &TButton::SetParentFont))

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csSetCaption | csDoubleClicks;
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
}

void TButton::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "BUTTON");
    p.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetButtonStyle(bool isDefault)
{
    FActive = isDefault;
    if (!FHandle) return;
    bool shown = (GetWindowLongA(FHandle, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
    if (shown != isDefault) ::SendMessageA(FHandle, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetDefault(bool value)
{
    if (value == FDefault) return;
    FDefault = value;
    // Which button Enter presses depends on where the focus is.
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    if (!As<TButton>(focused)) SetButtonStyle(value);
}

void TButton::Click()
{
    if (FModalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED) Click();
        return;
    case CM_DIALOGKEY:
        if (((m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel)) && CanFocus()) {
            Click();
            m.Result = 1;
        }
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(m.WParam, Caption()) && CanFocus()) {
            Click();
            m.Result = 1;
        }
        return;
    case CM_FOCUSCHANGED: {
        // The focused button is the one Enter presses; elsewhere the default one.
        auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
        if (As<TButton>(focused))
            SetButtonStyle(focused == this);
        else
            SetButtonStyle(FDefault);
        return;
    }
    case WM_GETDLGCODE:
        TWinControl::WndProc(m);
        m.Result |= FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TEdit -----------------------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomEdit)

using PEdit = TPropBuilder<TEdit>;
IMPLEMENT_CLASS(TEdit,
    PEdit::Integer("Color", &TEdit::Color, &TEdit::SetColor),
    PEdit::Object("Font", &TEdit::Font, &TEdit::SetFont),
    PEdit::Integer("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength),
    PEdit::Bool("ParentColor", &TEdit::ParentColor, &TEdit::SetParentColor),
    PEdit::Bool("ParentFont", &TEdit::ParentFont, &TEdit::SetParentFont),
    PEdit::Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly),
    PEdit::String("Text", &TEdit::Text, &TEdit::SetText))

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    FWidth = 121;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "EDIT");
    p.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (FReadOnly) p.Style |= ES_READONLY;
    if (FPasswordChar) p.Style |= ES_PASSWORD;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::SetMaxLength(int value)
{
    FMaxLength = std::max(value, 0);
    if (FHandle) ::SendMessageA(FHandle, EM_LIMITTEXT, FMaxLength, 0);
}

void TCustomEdit::SetReadOnly(bool value)
{
    FReadOnly = value;
    if (FHandle) ::SendMessageA(FHandle, EM_SETREADONLY, value, 0);
}

void TCustomEdit::SetPasswordChar(char value)
{
    if (value == FPasswordChar) return;
    FPasswordChar = value;
    if (FHandle) {
        ::SendMessageA(FHandle, EM_SETPASSWORDCHAR, static_cast<unsigned char>(value), 0);
        Invalidate();
    }
}

int TCustomEdit::SelStart() { return EditSelStart(Handle()); }
void TCustomEdit::SetSelStart(int value) { EditSetSel(Handle(), value, value); }
int TCustomEdit::SelLength() { return EditSelLength(Handle()); }
void TCustomEdit::SetSelLength(int value)
{
    const int start = SelStart();
    EditSetSel(Handle(), start, start + value);
}
void TCustomEdit::SelectAll() { EditSetSel(Handle(), 0, -1); }

void TCustomEdit::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE) Change();
        return;
    case CM_TEXTCHANGED:
        // Without a window there is no EN_CHANGE to announce the new text.
        if (!FHandle) Change();
        break;
    }
    TWinControl::WndProc(m);
    if (m.Msg == WM_CREATE || (m.Msg == WM_SETFONT && FMaxLength))
        if (FHandle && FMaxLength) ::SendMessageA(FHandle, EM_LIMITTEXT, FMaxLength, 0);
}

// ---- TLabel -----------------------------------------------------------------------------------

using PLabel = TPropBuilder<TLabel>;
IMPLEMENT_CLASS(TLabel,
    PLabel::Enum("Alignment", AlignmentEnum, &TLabel::Alignment, &TLabel::SetAlignment),
    PLabel::Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize),
    PLabel::String("Caption", &TLabel::Caption, &TLabel::SetCaption),
    PLabel::Integer("Color", &TLabel::Color, &TLabel::SetColor),
    PLabel::Object("Font", &TLabel::Font, &TLabel::SetFont),
    PLabel::Bool("ParentColor", &TLabel::ParentColor, &TLabel::SetParentColor),
    PLabel::Bool("ParentFont", &TLabel::ParentFont, &TLabel::SetParentFont),
    PLabel::Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar),
    PLabel::Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent),
    PLabel::Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap))

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner)
{
    FControlStyle |= csOpaque;
    FParentColor = true;
    FWidth = 65;
    FHeight = 17;
}

void TLabel::SetAlignment(TAlignment value)
{
    if (value == FAlignment) return;
    FAlignment = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value)
{
    if (value == FAutoSize) return;
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetTransparent(bool value)
{
    if (value == FTransparent) return;
    FTransparent = value;
    if (value)
        FControlStyle &= ~csOpaque;
    else
        FControlStyle |= csOpaque;
    Invalidate();
}

void TLabel::SetWordWrap(bool value)
{
    if (value == FWordWrap) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value)
{
    if (value == FShowAccelChar) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

UINT TLabel::TextFlags() const
{
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    UINT flags = DT_EXPANDTABS | alignments[FAlignment];
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    return flags;
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize || HasState(csLoading)) return;
    TWindowDC screen = TWindowDC::Client(nullptr);
    TSelectObject font(screen, FFont->Handle());
    std::string text = FText.empty() ? std::string(" ") : FText;
    RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
    DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
    int left = FLeft;
    // A right-aligned label grows to the left, a centred one both ways.
    if (!FWordWrap && FAlignment == taRightJustify) left += FWidth - r.right;
    if (!FWordWrap && FAlignment == taCenter) left += (FWidth - r.right) / 2;
    SetBounds(left, FTop, r.right, r.bottom);
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::Paint()
{
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    RECT r = ClientRect();
    if (!FTransparent) {
        canvas->Brush()->SetColor(FColor);
        canvas->FillRect(r);
    }
    TSelectObject font(dc, FFont->Handle());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (FEnabled) {
        SetTextColor(dc, ColorToRGB(FFont->Color()));
        DrawTextA(dc, FText.c_str(), static_cast<int>(FText.size()), &r, TextFlags());
    } else {
        // The engraved look of disabled text.
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextA(dc, FText.c_str(), static_cast<int>(FText.size()), &shifted, TextFlags());
        SetTextColor(dc, ColorToRGB(clBtnShadow));
        DrawTextA(dc, FText.c_str(), static_cast<int>(FText.size()), &r, TextFlags());
    }
    SetBkMode(dc, oldMode);
}

void TLabel::WndProc(TMessage& m)
{
    TGraphicControl::WndProc(m);
    if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) AdjustBounds();
}

// ---- TPanel -------------------------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomPanel)

using PPanel = TPropBuilder<TPanel>;
IMPLEMENT_CLASS(TPanel,
    PPanel::Enum("Alignment", AlignmentEnum, &TPanel::Alignment, &TPanel::SetAlignment),
    PPanel::Enum("BevelInner", BevelCutEnum, &TPanel::BevelInner, &TPanel::SetBevelInner),
    PPanel::Enum("BevelOuter", BevelCutEnum, &TPanel::BevelOuter, &TPanel::SetBevelOuter),
    PPanel::Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth),
    PPanel::Integer("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth),
    PPanel::String("Caption", &TPanel::Caption, &TPanel::SetCaption),
    PPanel::Integer("Color", &TPanel::Color, &TPanel::SetColor),
    PPanel::Object("Font", &TPanel::Font, &TPanel::SetFont),
    PPanel::Bool("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground),
    PPanel::Bool("ParentColor", &TPanel::ParentColor, &TPanel::SetParentColor),
    PPanel::Bool("ParentFont", &TPanel::ParentFont, &TPanel::SetParentFont))

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
    FWidth = 185;
    FHeight = 41;
}

void TCustomPanel::Changed()
{
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value)
{
    FBevelInner = value;
    Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut value)
{
    FBevelOuter = value;
    Changed();
}

void TCustomPanel::SetBevelWidth(int value)
{
    FBevelWidth = std::max(value, 1);
    Changed();
}

void TCustomPanel::SetBorderWidth(int value)
{
    FBorderWidth = std::max(value, 0);
    Changed();
}

void TCustomPanel::AdjustClientRect(RECT& rect) const
{
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    InflateRect(&rect, -inset, -inset);
}

void TCustomPanel::Paint()
{
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    RECT r = ClientRect();
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(r);
    // Each bevel is a ring of BevelWidth lines: light above and left for a
    // raised cut, dark for a lowered one.
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone) return;
        COLORREF topLeft = ColorToRGB(cut == bvLowered ? clBtnShadow : clBtnHighlight);
        COLORREF bottomRight = ColorToRGB(cut == bvLowered ? clBtnHighlight : clBtnShadow);
        if (cut == bvSpace) topLeft = bottomRight = ColorToRGB(FColor);
        for (int i = 0; i < FBevelWidth; ++i) {
            TGdiPen light(CreatePen(PS_SOLID, 1, topLeft));
            TGdiPen dark(CreatePen(PS_SOLID, 1, bottomRight));
            {
                TSelectObject pen(dc, light);
                MoveToEx(dc, r.left, r.bottom - 1, nullptr);
                LineTo(dc, r.left, r.top);
                LineTo(dc, r.right - 1, r.top);
            }
            {
                TSelectObject pen(dc, dark);
                LineTo(dc, r.right - 1, r.bottom - 1);
                LineTo(dc, r.left - 1, r.bottom - 1);
            }
            InflateRect(&r, -1, -1);
        }
    };
    bevel(FBevelOuter);
    InflateRect(&r, -FBorderWidth, -FBorderWidth);
    bevel(FBevelInner);
    std::string caption = FText;
    if (!caption.empty()) {
        static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
        TSelectObject font(dc, FFont->Handle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(FFont->Color()));
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                  alignments[FAlignment] | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    }
}

void TCustomPanel::WndProc(TMessage& m)
{
    TCustomControl::WndProc(m);
    if (m.Msg == CM_TEXTCHANGED) Invalidate();
}
