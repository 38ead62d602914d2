// Check box and radio button skinners (see check_skinner.h).
#include "skin/controls/check_skinner.h"

#include "skin/controls/check_drawing.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/controls/text_colours.h"
#include "skin/data/skin_model.h"

IMPLEMENT_CLASS(TSkinCheckBox)
IMPLEMENT_CLASS(TSkinRadioButton)

DEFINE_SKINNER(TSkinCheckBox, TSkinCheckBox)
DEFINE_SKINNER(TSkinRadioButton, TSkinRadioButton)

namespace {

// The Tag that asks a control to show its parent's background.
constexpr int TRANSPARENT_TAG = 5555;
// A private notice some check boxes send when their state is set from data.
constexpr UINT CM_CHECKSTATECHANGED = 0xB0D0;

bool PlatformDrawsFocusRects()
{
    // Systems of major version 6 show the keyboard focus their own way.
    return LOBYTE(LOWORD(GetVersion())) != 6;
}

}  // namespace

TSkinCheckBox::TSkinCheckBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinCheckBox::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    FRemembered = 0;
    FVariant = 0;
    TDataSkinButton* buttons = skinData ? skinData->Buttons() : nullptr;
    if (FControl && buttons && !(Radio() ? buttons->RadioBitmap : buttons->CheckBitmap).Empty()) FVariant = 1;
    FTransparent = FControl && (FControl->Tag() == TRANSPARENT_TAG || (skinData->Options() & SkinOption(xoTransparent)));
}

bool TSkinCheckBox::BeforeMessage(TMessage& message)
{
    if (!TSkinControl::BeforeMessage(message)) return false;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
        if (FVariant != 1) return true;
        PaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        if (FTransparent) {
            EraseMessage(message);
            return false;
        }
        // The skinner paints every pixel of the control.
        if (FVariant == 1) {
            message.Result = 1;
            return false;
        }
        return true;
    default:
        return true;
    }
}

void TSkinCheckBox::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case BM_SETCHECK:
        if (!Radio()) FRemembered = static_cast<int>(message.WParam) + 1;
        Repaint();
        break;
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case CM_EXIT:
    case CM_CHECKSTATECHANGED:
        // The button drew its own look for the change; the skin's replaces it.
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
    }
}

int TSkinCheckBox::FrameIndex(int frameCount) const
{
    skin::TCheckBoxFacts facts;
    LRESULT state = SendMessageW(FWindow, BM_GETSTATE, 0, 0);
    facts.Checked = (state & BST_CHECKED) != 0;
    facts.Indeterminate = (state & BST_INDETERMINATE) != 0;
    facts.Disabled = (GetWindowLongOf(FWindow, GWL_STYLE) & WS_DISABLED) != 0;
    if (FControl) {
        facts.FrameworkControl = true;
        facts.HasState = FindPropInfo(FControl, "State") != nullptr;
        facts.State = GetLowerPropByName(FControl, "State");
        facts.HasChecked = FindPropInfo(FControl, "Checked") != nullptr;
        facts.CheckedText = GetLowerPropByName(FControl, "Checked");
        facts.DataAware = FindPropInfo(FControl, "DataField") != nullptr;
        facts.HasDataBinding = FindPropInfo(FControl, "DataBinding") != nullptr;
        facts.Remembered = FRemembered;
    }
    return skin::CheckBoxFrameIndex(facts, frameCount);
}

int TSkinRadioButton::FrameIndex(int frameCount) const
{
    bool checked = SendMessageW(FWindow, BM_GETCHECK, 0, 0) == BST_CHECKED;
    bool hasChecked = FControl && FindPropInfo(FControl, "Checked");
    bool disabled = (GetWindowLongOf(FWindow, GWL_STYLE) & WS_DISABLED) != 0;
    return skin::RadioButtonFrameIndex(checked, hasChecked, hasChecked ? GetLowerPropByName(FControl, "Checked") : "",
                                       disabled, frameCount);
}

void TSkinCheckBox::Draw(HDC dc, const RECT& rect)
{
    TDataSkinButton* buttons = FSkinData ? Skin().Buttons.get() : nullptr;
    const TSkinImage* strip = buttons ? &(Radio() ? buttons->RadioBitmap : buttons->CheckBitmap) : nullptr;
    if (!strip || strip->Empty()) {
        FVariant = 0;
        return;
    }
    int frames = Radio() ? buttons->RadioButtonFrame : buttons->CheckButtonFrame;
    if (frames < 1) frames = 1;
    RefreshState();
    const bool leftText = (GetWindowLongOf(FWindow, GWL_STYLE) & BS_LEFTTEXT) != 0;
    const bool rightToLeft = (TextDirectionFlags(0) & DT_RTLREADING) != 0;
    skin::TCheckLayout layout =
        skin::CheckLayout(rect, strip->Width() / frames, strip->Height(), leftText, rightToLeft, Radio(), Px(2));
    const int frame = FrameIndex(frames);
    if (FVariant != 1) {
        // A bare window painted itself: only the box is the skin's.
        skin::DrawCheckFrame(dc, layout.Box, strip->Handle(), frame, frames);
        return;
    }
    HDC buffer = FBuffer.Prepare(dc, rect.right - rect.left, rect.bottom - rect.top);
    if (!buffer) return;
    if (FTransparent)
        PaintParentBackground(FControl, buffer);
    else
        FillFace(buffer, rect);
    skin::DrawCheckFrame(buffer, layout.Box, strip->Handle(), frame, frames);

    FCaption = GetTextPropByName(FControl, "Caption");
    auto* font = static_cast<TFont*>(GetObjectPropByName(FControl, "Font", &TFont::StaticClassInfo()));
    HFONT handle = font ? font->Handle() : reinterpret_cast<HFONT>(SendMessageW(FWindow, WM_GETFONT, 0, 0));
    if (!handle) handle = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    TSelectObject selectedFont(buffer, handle);
    // The caption sits on the face (or on the parent's surface): the skin's
    // text colour, legible there.
    const COLORREF colour =
        SkinCaptionColour(FSkinData, font ? font->Color() : clBtnText, SkinColourRgb(FSkinData, scButtonFace));
    const COLORREF oldText = SetTextColor(buffer, FEnabled ? colour : GetSysColor(COLOR_BTNSHADOW));
    const COLORREF oldBack = SetBkColor(buffer, SkinColourRgb(FSkinData, scButtonFace));
    const int oldMode = SetBkMode(buffer, TRANSPARENT);
    if (!FCaption.empty()) {
        const UINT format = layout.Format | DT_EXPANDTABS | DT_WORDBREAK;
        RECT text = layout.Text;
        RECT measured = text;
        DrawTextWide(buffer, FCaption, measured, format | DT_CALCRECT | DT_NOCLIP);
        OffsetRect(&text, 0, ((text.bottom - text.top) - (measured.bottom - measured.top)) / 2);
        if (FFocused && PlatformDrawsFocusRects()) FocusRectAroundText(buffer, FCaption, format, text);
        DrawTextWide(buffer, FCaption, text, format);
    }
    SetBkMode(buffer, oldMode);
    SetBkColor(buffer, oldBack);
    SetTextColor(buffer, oldText);
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, buffer, 0, 0, SRCCOPY);
}
