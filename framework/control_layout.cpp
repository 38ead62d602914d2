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
