// TWScrollbar: a small window laid over one scroll bar that paints the bar
// from the skin and hands every press back to the real bar, so the scrolling
// itself stays the system's.
//
// Three kinds of bar are covered:
//   0  the horizontal scroll bar a window draws in its non-client area
//   1  the vertical one
//   2  a scroll-bar control (the overlay covers the whole control)
// The overlay is a child of the host window's parent, directly above the host
// in the z-order, with exactly the WS_EX_TOOLWINDOW extended style; it is
// never a tab stop and answers SKM_QUERYSKIN with 1, so no skinner takes it
// for a control of the form.
//
// Reading a bar: kinds 0 and 1 ask the system (GetScrollBarInfo); kind 2
// works the thumb out from the control's scroll information. The overlay is
// shown only while the host is visible and the system reports the bar
// visible; it is placed again on every Reposition. Its window is made by
// the first Reposition that finds the host on screen (the owning skinner
// places it again at each paint of the host while it is not shown), so a
// bar that is never seen costs no window.
//
// A press is passed on with a sent message (WM_NCLBUTTONDOWN with HTHSCROLL /
// HTVSCROLL, or WM_LBUTTONDOWN for the control); the system's own tracking
// runs inside that call. While it runs, the owner reports each scroll request
// through SetHotZone, so the pressed part is drawn pressed and a dragged thumb
// follows the cursor.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/controls.h"
#include "skin/controls/scroll_painting.h"

class TSkinData;

// Kinds of bar an overlay covers.
enum : BYTE { okHorzScroll = 0, okVertScroll = 1, okScrollControl = 2 };

class TWScrollbar : public TCustomControl {
    DECLARE_CLASS_INLINE(TWScrollbar, TCustomControl)
public:
    explicit TWScrollbar(TComponent* owner);
    ~TWScrollbar() override;

    // Covers bar `kind` of a framework control. For kind 2 the orientation
    // is the control's published Kind ("sbHorizontal" or not). The overlay's
    // colour is the parent's Color when it has one, else the skin's face.
    void AttachToControl(TSkinData* skinData, TWinControl* control, BYTE kind);
    // The same for a bare window: no host control, no colour.
    void AttachToWindow(TSkinData* skinData, HWND window, BYTE kind);
    // Reads the bar and places (or hides) the overlay over it.
    void Reposition();
    void HideOverlay();
    // The zone at a point of the overlay (its client coordinates).
    skin::TScrollZone HitTest(POINT point) const;
    // The part being worked, as the host's scroll notifications report it;
    // repaints when it changed or a thumb is being dragged.
    void SetHotZone(int zone);
    int HotZone() const { return FHotZone; }
    void SetSkinData(TSkinData* skinData) { FSkinData = skinData; }

    BYTE Kind() const { return FKind; }
    bool Vertical() const { return FOrientation == 1; }
    bool Shown() const { return FShown; }
    bool Pressed() const { return FPressed; }
    HWND HostWindow() const { return FHostWindow; }
    // The bar's rectangle in the host's client coordinates, as last placed.
    const RECT& BarRect() const { return FBarRect; }
    // The thumb as last painted, along the axis from the bar's start.
    skin::TThumbExtent Thumb() const { return skin::TThumbExtent{FThumbStart, FThumbEnd}; }
    // Paints now into the overlay's window, whatever is pending.
    void PaintNow();

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    // The bar as the system (or the control) reports it; false when it
    // cannot be read.
    bool ReadBar(SCROLLBARINFO& info) const;
    // Kind 2: the bar from the control's scroll information.
    bool ReadControlBar(SCROLLBARINFO& info) const;
    // Kind 2, at a press: the bar from the control's published properties.
    bool ReadControlProperties(SCROLLBARINFO& info) const;
    // The picture of the bar now, drawn into `dc`.
    void PaintBar(HDC dc);
    void PressBar(TMessage& message);
    void ReleaseBar(TMessage& message);
    void MouseMoved(TMessage& message);
    // The zone under the pointer, or szNone when the pointer is not over
    // the overlay.
    int ZoneUnderCursor() const;
    void ParentWindowOf(HWND host);

    BYTE FKind = okHorzScroll;
    int FOrientation = 0;                 // 0 horizontal, 1 vertical
    HWND FHostWindow = nullptr;
    TWinControl* FHostControl = nullptr;
    TSkinData* FSkinData = nullptr;
    int FArrowSize = 0;
    int FLength = 0;
    int FThumbStart = 0;
    int FThumbEnd = 0;
    int FHotZone = skin::szNone;
    bool FPressed = false;
    bool FShown = false;
    bool FTrackingLeave = false;
    POINT FPressPoint{0, 0};
    int FPressThumbStart = 0;
    POINT FBarOrigin{0, 0};
    RECT FBarRect{};
    // The last picture composed, kept while the bar looks the same (most
    // repaints while a control scrolls leave the thumb where it was).
    TGdiBitmap FPicture;
    skin::TScrollBarLook FPictureLook;
    const TSkinData* FPictureSkin = nullptr;
    const void* FPictureModel = nullptr;   // the model (one per scale) it was drawn from
    unsigned FPictureGeneration = 0;
    // Cleared when the overlay is destroyed, so a press that was running
    // inside the system's tracking does not touch it afterwards.
    std::shared_ptr<bool> FAlive;
};
