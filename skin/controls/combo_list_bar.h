// TComboxScrollBar: the skinner of a drop-down combo box's list window. It
// paints the list's vertical scroll bar from the skin straight into the
// list's non-client area and drags the thumb itself; presses on the arrows
// and the track stay the list's own.
//
// The combo-box skinner makes one for the list window it finds
// (GetComboBoxInfo's hwndList) and frees it with itself:
//
//     auto* bar = new TComboxScrollBar(nullptr);
//     bar->AttachWindow(info.hwndList, skinData, formSkinner, nullptr);
//     ...
//     bar->Detach(); bar->Free();
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

class TComboxScrollBar : public TSkinControl {
    DECLARE_CLASS_INLINE(TComboxScrollBar, TSkinControl)
public:
    explicit TComboxScrollBar(TComponent* owner);

    void Detach() override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    int ArrowSize() const { return FArrowSize; }

private:
    int FArrowSize = 0;
};
