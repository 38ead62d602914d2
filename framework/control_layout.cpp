// Alignment and layout (see controls.h): a control's Align, and how a
// windowed control lays out its aligned children in its client area (top,
// bottom, left, right, then client), now or once alignment is enabled again.
#include "framework/controls.h"

#include <algorithm>
#include <vector>

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign) return;
    FAlign = value;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TWinControl::EnableAlign()
{
    if (--FAlignLevel <= 0) {
        FAlignLevel = 0;
        if (FControlState & csAlignmentNeeded) AlignControls();
    }
}

void TWinControl::AlignControls()
{
    if (FAligning || HasState(csDestroying)) return;
    if (FAlignLevel > 0 || HasState(csLoading)) {
        FControlState |= csAlignmentNeeded;
        return;
    }
    FControlState &= ~csAlignmentNeeded;
    FAligning = true;
    try {
        RECT rect = ClientRect();
        AdjustClientRect(rect);
        static const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
        for (TAlign align : order) {
            for (TControl* c : std::vector<TControl*>(FControls)) {
                if (c->Align() != align || !c->Visible()) continue;
                int w = c->Width(), h = c->Height();
                int cw = std::max(0L, rect.right - rect.left), ch = std::max(0L, rect.bottom - rect.top);
                switch (align) {
                case alTop:
                    c->SetBounds(rect.left, rect.top, cw, h);
                    rect.top += c->Height();
                    break;
                case alBottom:
                    c->SetBounds(rect.left, rect.bottom - h, cw, h);
                    rect.bottom -= c->Height();
                    break;
                case alLeft:
                    c->SetBounds(rect.left, rect.top, w, ch);
                    rect.left += c->Width();
                    break;
                case alRight:
                    c->SetBounds(rect.right - w, rect.top, w, ch);
                    rect.right -= c->Width();
                    break;
                case alClient: c->SetBounds(rect.left, rect.top, cw, ch); break;
                case alNone: break;
                }
            }
        }
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

// ---- scaling -------------------------------------------------------------------

namespace {
int Scaled(int value, int multiplier, int divisor) { return MulDiv(value, multiplier, divisor); }

// `control` moved to `from` (its bounds before the change of scale) scaled.
// Edges, not sizes: two controls that met at the design's scale meet at
// every scale, and a size is off by at most one pixel.
void PlaceScaled(TControl* control, int multiplier, int divisor, const RECT& from)
{
    const int left = Scaled(from.left, multiplier, divisor);
    const int top = Scaled(from.top, multiplier, divisor);
    const int right = Scaled(from.right, multiplier, divisor);
    const int bottom = Scaled(from.bottom, multiplier, divisor);
    control->SetBounds(left, top, right - left, bottom - top);
}
}  // namespace

void TControl::ScaleConstraints(int multiplier, int divisor)
{
    // All four read first: setting one limit may move another (a minimum
    // above the maximum raises the maximum). The maxima go first, so that
    // neither a growing nor a shrinking pair clamps its other half.
    TSizeConstraints* c = FConstraints.get();
    const int minWidth = c->MinWidth(), minHeight = c->MinHeight();
    const int maxWidth = c->MaxWidth(), maxHeight = c->MaxHeight();
    if (maxWidth) c->SetMaxWidth(Scaled(maxWidth, multiplier, divisor));
    if (maxHeight) c->SetMaxHeight(Scaled(maxHeight, multiplier, divisor));
    if (minWidth) c->SetMinWidth(Scaled(minWidth, multiplier, divisor));
    if (minHeight) c->SetMinHeight(Scaled(minHeight, multiplier, divisor));
}

void TControl::ScaleFont(int multiplier, int divisor)
{
    // A font taken from the parent arrives scaled with the parent's.
    FFont->SetPixelsPerInch(Scaled(FFont->PixelsPerInch(), multiplier, divisor));
    if (!FParentFont) FFont->SetHeight(Scaled(FFont->Height(), multiplier, divisor));
}

void TControl::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0) return;
    // The bounds are read first: larger minima resize the control at once.
    const RECT before = BoundsRect();
    ScaleConstraints(multiplier, divisor);
    PlaceScaled(this, multiplier, divisor, before);
    ScaleFont(multiplier, divisor);
}

void TControl::ScaleBounds(int multiplier, int divisor) { PlaceScaled(this, multiplier, divisor, BoundsRect()); }

void TWinControl::ScaleChildren(int multiplier, int divisor)
{
    for (TControl* c : std::vector<TControl*>(FControls)) c->ChangeScale(multiplier, divisor);
}

void TWinControl::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0) return;
    // One layout at the end, with every child at its new size. The children
    // first: a control that places its children when it is resized (a radio
    // group, a page control) then places them at their new sizes.
    const RECT before = BoundsRect();
    DisableAlign();
    try {
        ScaleConstraints(multiplier, divisor);
        ScaleChildren(multiplier, divisor);
        PlaceScaled(this, multiplier, divisor, before);
        ScaleFont(multiplier, divisor);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
}
