// Skinners of track bars, up-down buttons and progress bars.
//
// TSkinTrackBar  answers the track bar's custom-draw notifications: the
//                channel and the thumb from the skin, the tick marks the
//                control's own.
// TSkinUpDown    paints both arrow halves from the skin, pressed or hot under
//                the cursor; an up-down inside an edit keeps 3 pixels inside it.
// TSkinProgress  paints the whole bar from the skin's "Progress" image, when
//                the skin has one.
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

class TSkinTrackBar : public TSkinControl {
    DECLARE_CLASS_INLINE(TSkinTrackBar, TSkinControl)
public:
    explicit TSkinTrackBar(TComponent* owner);
    bool BeforeMessage(TMessage& message) override;
    void SkinChanged() override;

    // The answer to one NM_CUSTOMDRAW notification of the track bar.
    LRESULT CustomDraw(NMCUSTOMDRAW& draw);
};

class TSkinUpDown : public TSkinControl {
    DECLARE_CLASS_INLINE(TSkinUpDown, TSkinControl)
public:
    explicit TSkinUpDown(TComponent* owner);
    // Kind 1: the scroller of a tab set; property "embedded": an up-down
    // inside an edit (the edit skinner's choice).
    void Configure(int kind, const std::string& property) override;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // Set by the edit skinner for an up-down inside an edit.
    void SetEmbedded(bool value) { FEmbedded = value ? 1 : 0; }
    bool Embedded() const { return FEmbedded != 0; }
    // 1: the scroller of a tab set, laid out horizontally.
    void SetKind(BYTE value) { FKind = value; }
    BYTE Kind() const { return FKind; }

private:
    BYTE FEmbedded = 0;
    BYTE FKind = 0;
};

class TSkinProgress : public TSkinControl {
    DECLARE_CLASS_INLINE(TSkinProgress, TSkinControl)
public:
    explicit TSkinProgress(TComponent* owner);
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};
