// The skin's look of edits, combo boxes and date-time pickers (see
// edit_drawing.h).
#include "skin/controls/edit_drawing.h"

#include "framework/gdi_handles.h"
#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_model_core.h"

namespace skin {

namespace {

void Frame(HDC dc, const RECT& rect, COLORREF colour)
{
    TGdiBrush brush(CreateSolidBrush(colour));
    FrameRect(dc, &rect, brush);
}

RECT Inset(const RECT& r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

int Frames(const TDataSkinObject& object) { return object.Frame > 0 ? object.Frame : 1; }

RECT MarginsOf(const TDataSkinObject& object)
{
    return RECT{object.LeftWidth, object.TopHeight, object.RightWidth, object.BottomHeight};
}

COLORREF Shadow(const TSkinModel& model) { return ResolveColour(model.Colours[scButtonShadow]); }

RECT DrawFlatCombo(HDC dc, const RECT& r, const TComboFacts& facts, const TDataSkinObject& button, COLORREF shadow)
{
    int frame = ComboFlatStateFrame(facts);
    int frameWidth = button.Bitmap.Width() / Frames(button);
    int frameHeight = button.Bitmap.Height();
    int thumb = GetSystemMetrics(SM_CYVTHUMB);
    // The control's own background brush, as the DC holds it.
    auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT inner = Inset(r, 1);
    FrameRect(dc, &inner, brush);
    inner = Inset(inner, 1);
    RECT strip = inner;
    if (facts.LeftScrollBar)
        strip.right = strip.left + thumb;
    else
        strip.left = strip.right - thumb;
    FillRect(dc, &strip, brush);
    Frame(dc, r, shadow);
    RECT buttonRect = inner;
    if (facts.LeftScrollBar)
        buttonRect.right = buttonRect.left + frameWidth;
    else
        buttonRect.left = buttonRect.right - frameWidth;
    if (frameHeight < thumb) buttonRect.bottom = buttonRect.top + frameHeight;
    DrawFrameStretched(dc, buttonRect, button.Bitmap.Handle(), frame, Frames(button), true);
    return buttonRect;
}

}  // namespace

void DrawEditBorder(HDC dc, const RECT& rect, COLORREF shadow)
{
    Frame(dc, rect, shadow);
    Frame(dc, Inset(rect, 1), RGB(255, 255, 255));
    Frame(dc, Inset(rect, 2), RGB(255, 255, 255));
}

void DrawPickerBorder(HDC dc, const RECT& rect, COLORREF shadow)
{
    Frame(dc, rect, shadow);
    Frame(dc, Inset(rect, 1), RGB(255, 255, 255));
}

void DrawPrintBorder(HDC dc, const RECT& rect, COLORREF shadow)
{
    auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT inner = Inset(rect, 1);
    FrameRect(dc, &inner, brush);
    Frame(dc, rect, shadow);
}

int ComboStateFrame(const TComboFacts& facts)
{
    if (!facts.Enabled) return 3;
    if (facts.Pressed) return 2;
    if (facts.Focused || facts.Hot) return 4;
    return 1;
}

int ComboFlatStateFrame(const TComboFacts& facts)
{
    if (facts.Pressed) return 2;
    if (facts.Focused || facts.Hot) return 4;
    return facts.Enabled ? 1 : 3;
}

TComboLayout ComboLayout(const RECT& r, int a, bool leftScrollBar)
{
    TComboLayout layout;
    if (leftScrollBar) {
        layout.TextArea = RECT{a + r.left + 4, r.top + 2, r.right - 2, r.bottom - 2};
        layout.Button = RECT{r.left, r.top, a + 2, r.bottom};
        layout.Glyph = RECT{2, r.top, a + 2, r.bottom};
    } else {
        layout.TextArea = RECT{r.left + 2, r.top + 2, r.right - a - 4, r.bottom - 2};
        layout.Button = RECT{r.right - a - 2, r.top, r.right, r.bottom};
        layout.Glyph = RECT{r.right - a - 2, r.top, r.right - 2, r.bottom};
    }
    return layout;
}

RECT DrawComboFrame(HDC dc, const RECT& r, const TComboFacts& facts, const TSkinModel& model, const RECT& previous)
{
    auto* button = dynamic_cast<TDataSkinBorder*>(model.Object(ssComboButton));
    if (!button || button->Bitmap.Empty()) return previous;
    if (button->Style == 1) return DrawFlatCombo(dc, r, facts, *button, Shadow(model));
    int frame = ComboStateFrame(facts);
    TDataSkinObject* sunk = model.Object(ssSunkEdge);
    if (button->Style == 2) {
        // One image holds frame and button; the mirrored one for a button at
        // the left, whose frames run the other way.
        const bool mirrored = facts.LeftScrollBar && sunk && !sunk->Bitmap.Empty();
        const TDataSkinObject& whole = mirrored ? *sunk : *button;
        DrawFrameBitmap(dc, r, whole.Bitmap.Handle(), MarginsOf(whole),
                        mirrored ? Frames(whole) + 1 - frame : frame, Frames(whole), true, whole.Tile != 0, false);
        return ComboLayout(r, GetSystemMetrics(SM_CXHSCROLL), facts.LeftScrollBar).Button;
    }
    TComboLayout layout = ComboLayout(r, GetSystemMetrics(SM_CXHSCROLL), facts.LeftScrollBar);
    // A button at the left uses the mirrored image, whose frames run the other way.
    const bool mirrored = facts.LeftScrollBar && !button->Bitmap2.Empty();
    const TSkinImage& image = mirrored ? button->Bitmap2 : button->Bitmap;
    const int buttonFrame = mirrored ? Frames(*button) + 1 - frame : frame;
    int saved = SaveDC(dc);
    ExcludeClipRect(dc, layout.TextArea.left, layout.TextArea.top, layout.TextArea.right, layout.TextArea.bottom);
    if (sunk && !sunk->Bitmap.Empty())
        DrawFrameBitmap(dc, r, sunk->Bitmap.Handle(), MarginsOf(*sunk), frame, Frames(*sunk), sunk->Trans == 1,
                        sunk->Tile != 0, false);
    DrawFrameStretched(dc, layout.Button, image.Handle(), buttonFrame, Frames(*button), true);
    if (TDataSkinObject* extra = model.Object(ssExtraImages); extra && !extra->Bitmap.Empty())
        DrawFrameCentred(dc, layout.Glyph, extra->Bitmap.Handle(), frame, Frames(*extra), true);
    RestoreDC(dc, saved);
    return layout.Button;
}

void DrawComboExFrame(HDC dc, const RECT& r, const RECT& inner, bool borderless, const TComboFacts& facts,
                      const TSkinModel& model)
{
    if (!borderless) DrawPickerBorder(dc, r, Shadow(model));
    TGdiBrush face(CreateSolidBrush(ResolveColour(model.FaceColour())));
    FillRect(dc, &inner, face);
    if (TDataSkinObject* arrow = model.Object(ssComboxArrow); arrow && !arrow->Bitmap.Empty())
        DrawFrameStretched(dc, inner, arrow->Bitmap.Handle(), ComboStateFrame(facts), Frames(*arrow), true);
}

}  // namespace skin
