// The skinners that lay scroll-bar overlays over controls.
//
// TSkinScrollbar     a framework control that scrolls (grids, memos, list
//                    boxes, list views): an overlay over each of its window
//                    scroll bars, a one-pixel skinned border, and FixedColor
//                    set to the skin's face while skinned.
// TSkinScrollbarH    the same for a bare window (a simple combo box's list).
// TSkinScControl     a scroll-bar control, covered by one overlay.
//
// The overlays hand every press back to the real bar; these skinners keep
// them in step: each scroll notification tells the overlay which part is
// being worked, each paint, size, move, wheel turn, visibility or enabled
// change of the control places or repaints them. Detaching frees the
// overlays and repaints the control's frame, so the control looks and
// scrolls exactly as it did before it was skinned.
//
// Putting skinned scroll bars on any scrolling window (the list-view skinner,
// list_view_skinner.h, derives from TSkinScrollbar; other skinners can call
// this):
//
//     TSkinScrollbar* bars = new TSkinScrollbar(control);    // owned by the control
//     bars->AttachControl(formSkinner, skinData, false, nullptr);
//
// or, for a window without a framework control,
//
//     auto* bars = new TSkinScrollbarH(nullptr);
//     bars->AttachWindow(window, skinData, formSkinner, nullptr);
#pragma once

#include <windows.h>

#include "skin/controls/scrollbar_overlay.h"
#include "skin/controls/skin_control.h"

class TSkinScrollbar : public TSkinControl {
    DECLARE_CLASS_INLINE(TSkinScrollbar, TSkinControl)
public:
    explicit TSkinScrollbar(TComponent* owner);
    ~TSkinScrollbar() override;

    // Kind 1 from discovery: single-bar mode ("singlescrollbar"), no border.
    void Configure(int kind, const std::string& property) override;
    // Attaches as AttachScrollControl does (discovery attaches every skinner
    // through this slot).
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    virtual void AttachScrollControl(TWinControl* control, TSkinData* skinData, TWinSkinForm* formSkinner,
                                     TCanvas* canvas);
    void Detach() override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    void RepositionOverlays();
    // A one-pixel ButtonShadow frame with a ButtonFace line inside it,
    // around the whole window, on `dc` (a DC of the whole window).
    void PaintBorder(HDC dc);

    TWScrollbar* HorzOverlay() const { return FHorz; }
    TWScrollbar* VertOverlay() const { return FVert; }
    bool SingleBar() const { return FSingleBar; }
    bool Border() const { return FBorder; }

protected:
    void FreeOverlays();
    // Fills the size box between two shown bars with the face colour.
    void FillCorner(HDC dc, int grow);

    TWScrollbar* FHorz = nullptr;
    TWScrollbar* FVert = nullptr;
    bool FSingleBar = false;
    bool FBorder = false;
    int FSavedFixedColor = 0;
    bool FFixedColorReplaced = false;
};

class TSkinScrollbarH : public TSkinControl {
    DECLARE_CLASS_INLINE(TSkinScrollbarH, TSkinControl)
public:
    explicit TSkinScrollbarH(TComponent* owner);
    ~TSkinScrollbarH() override;

    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;
    void RepositionOverlays();

    TWScrollbar* HorzOverlay() const { return FHorz; }
    TWScrollbar* VertOverlay() const { return FVert; }

private:
    void FreeOverlays();

    TWScrollbar* FHorz = nullptr;
    TWScrollbar* FVert = nullptr;
};

class TSkinScControl : public TSkinControl {
    DECLARE_CLASS_INLINE(TSkinScControl, TSkinControl)
public:
    explicit TSkinScControl(TComponent* owner);
    ~TSkinScControl() override;

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    TWScrollbar* Overlay() const { return FOverlay; }

private:
    TWScrollbar* FOverlay = nullptr;
};
