// Scroll-bar overlay skinners (see scrollbar_skinner.h).
#include "skin/controls/scrollbar_skinner.h"

#include "skin/controls/skinner_kinds.h"
#include "skin/form/form_skinner.h"

DEFINE_SKINNER(TSkinScrollBar, TSkinScrollbar)
DEFINE_SKINNER(TSkinScControl, TSkinScControl)
DEFINE_SKINNER(TSkinScrollbarH, TSkinScrollbarH)

namespace {

constexpr UINT CN_BORDER_QUERY = 0xBC4B;
constexpr LPARAM BORDER_QUERY_TAG = 0x41A2;

bool WindowGone(const TSkinControl& skinner) { return skinner.LifeState() == lsWindowGone; }

// Repaints the whole frame of `window`, its scroll bars included, as the
// system draws it.
void RedrawFrame(HWND window)
{
    if (window && IsWindow(window))
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void RepaintShown(TWScrollbar* overlay)
{
    if (overlay && overlay->Shown()) overlay->PaintNow();
}

// The two overlays of a window's bars, shared by the skinners below.
void FreePair(TWScrollbar*& horz, TWScrollbar*& vert)
{
    delete horz;
    horz = nullptr;
    delete vert;
    vert = nullptr;
}

void RepositionPair(TWScrollbar* horz, TWScrollbar* vert)
{
    if (horz) horz->Reposition();
    if (vert) vert->Reposition();
}

void SetPairSkin(TWScrollbar* horz, TWScrollbar* vert, TSkinData* skinData)
{
    for (TWScrollbar* overlay : {horz, vert})
        if (overlay) overlay->SetSkinData(skinData);
}

// Paints the bars that show; one hidden while its window has the bar again
// is brought back to it.
void PaintPair(TWScrollbar* horz, TWScrollbar* vert, HWND window)
{
    for (TWScrollbar* overlay : {vert, horz}) {
        if (!overlay) continue;
        const LONG bar = overlay == vert ? WS_VSCROLL : WS_HSCROLL;
        if (overlay->Shown())
            overlay->PaintNow();
        else if (GetWindowLongA(window, GWL_STYLE) & bar)
            overlay->Reposition();
    }
}

}  // namespace

// ---- TSkinScrollbar -----------------------------------------------------------------

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() { FreeOverlays(); }

void TSkinScrollbar::FreeOverlays() { FreePair(FHorz, FVert); }

void TSkinScrollbar::Configure(int kind, const std::string&) { FSingleBar = kind == 1; }

void TSkinScrollbar::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas)
{
    if (auto* control = As<TWinControl>(Owner())) AttachScrollControl(control, skinData, formSkinner, canvas);
}

void TSkinScrollbar::AttachScrollControl(TWinControl* control, TSkinData* skinData, TWinSkinForm* formSkinner,
                                         TCanvas* canvas)
{
    if (FAttached || !control || !skinData) return;
    FSkinData = skinData;
    FFormSkinner = formSkinner;
    FControl = control;
    FWindow = control->Handle();
    Register();
    FBorder = GetLowerPropByName(control, "BorderStyle") != "bsnone" && !FSingleBar &&
              control->ClassName() != "TImageScrollBox";
    if (const TPropInfo* info = FindPropInfo(control, "FixedColor"); info && info->Kind == TTypeKind::tkInteger) {
        FSavedFixedColor = GetOrdPropByName(control, "FixedColor");
        FFixedColorReplaced = true;
        SetPropByName(control, "FixedColor", std::to_string(static_cast<int>(skinData->FaceColour())));
    }
    FHorz = new TWScrollbar(this);
    FHorz->AttachToControl(skinData, control, okHorzScroll);
    FVert = new TWScrollbar(this);
    FVert->AttachToControl(skinData, control, okVertScroll);
    FHorz->SetEnabled(control->Enabled());
    FVert->SetEnabled(control->Enabled());
    if (!control->Visible()) {
        FVert->HideOverlay();
        FHorz->HideOverlay();
    }
    TSkinControl::AttachControl(formSkinner, skinData, false, canvas);
    if (FBorder) RedrawFrame(FWindow);
}

void TSkinScrollbar::RepositionOverlays() { RepositionPair(FHorz, FVert); }

void TSkinScrollbar::PaintBorder(HDC dc)
{
    try {
        RECT rect;
        if (!dc || !GetWindowRect(FWindow, &rect)) return;
        OffsetRect(&rect, -rect.left, -rect.top);
        TGdiBrush shadow(CreateSolidBrush(SkinColourRgb(FSkinData, scButtonShadow)));
        FrameRect(dc, &rect, shadow);
        InflateRect(&rect, -1, -1);
        TGdiBrush face(CreateSolidBrush(SkinColourRgb(FSkinData, scButtonFace)));
        FrameRect(dc, &rect, face);
    } catch (...) {
    }
}

bool TSkinScrollbar::BeforeMessage(TMessage& m)
{
    if (m.Msg == WM_NCPAINT) {
        if (!FBorder) return true;
        CallPrevious(m);
        TWindowDC dc = TWindowDC::Whole(FWindow);
        PaintBorder(dc);
        FillCorner(dc, 0);
        return false;
    }
    if (m.Msg == CM_RECREATEWND) {
        // Asked before the window goes: the skinner sees nothing of its
        // control once the old window is destroyed. The form skinner makes a
        // new skinner of this kind for the new window.
        if (FControl && FFormSkinner)
            PostMessageA(FFormSkinner->Handle(), SKM_RESKINSCROLLBAR, reinterpret_cast<WPARAM>(FWindow), 0);
        return true;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        RepositionOverlays();
        return;
    case WM_HSCROLL:
        if (FHorz) FHorz->SetHotZone(LOWORD(m.WParam));
        return;
    case WM_VSCROLL:
        if (FVert) FVert->SetHotZone(LOWORD(m.WParam));
        return;
    case WM_MOUSEWHEEL:
        RepaintShown(FHorz);
        RepaintShown(FVert);
        return;
    case CM_VISIBLECHANGED:
        if (m.WParam) {
            RepositionOverlays();
        } else {
            if (FHorz) FHorz->HideOverlay();
            if (FVert) FVert->HideOverlay();
        }
        return;
    case CM_ENABLEDCHANGED:
        if (FControl) {
            if (FHorz) FHorz->SetEnabled(FControl->Enabled());
            if (FVert) FVert->SetEnabled(FControl->Enabled());
        }
        TSkinControl::AfterMessage(m);
        return;
    case CN_BORDER_QUERY:
        if (m.LParam == BORDER_QUERY_TAG) {
            PaintBorder(reinterpret_cast<HDC>(m.WParam));
            m.Result = BORDER_QUERY_TAG;
            return;
        }
        break;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinScrollbar::FillCorner(HDC dc, int)
{
    if (!FHorz || !FVert || !FHorz->Shown() || !FVert->Shown() || !dc) return;
    // The bars' rectangles are in client coordinates; the DC is the whole
    // window's.
    RECT window, client;
    GetWindowRect(FWindow, &window);
    POINT origin{0, 0};
    ClientToScreen(FWindow, &origin);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    const RECT& v = FVert->BarRect();
    const RECT& h = FHorz->BarRect();
    client = RECT{v.left + dx, h.top + dy, v.right + dx, h.bottom + dy};
    FillFace(dc, client);
}

void TSkinScrollbar::Draw(HDC dc, const RECT&)
{
    PaintPair(FHorz, FVert, FWindow);
    // The size box lies in the non-client area: paint it through a DC of
    // the whole window whatever DC the paint came with.
    TWindowDC whole = TWindowDC::Whole(FWindow);
    FillCorner(whole, 0);
    (void)dc;
}

void TSkinScrollbar::SkinChanged()
{
    if (FControl && FSkinData) {
        if (const TPropInfo* info = FindPropInfo(FControl, "FixedColor"); info && info->Kind == TTypeKind::tkInteger) {
            if (!FFixedColorReplaced) FSavedFixedColor = GetOrdPropByName(FControl, "FixedColor");
            FFixedColorReplaced = true;
            SetPropByName(FControl, "FixedColor", std::to_string(static_cast<int>(FSkinData->FaceColour())));
        }
    }
    SetPairSkin(FHorz, FVert, FSkinData);
    TSkinControl::SkinChanged();
    RedrawFrame(FWindow);
    RepositionOverlays();
}

void TSkinScrollbar::Detach()
{
    if (!FActive) return;
    if (FFixedColorReplaced && FControl && !WindowGone(*this))
        SetPropByName(FControl, "FixedColor", std::to_string(FSavedFixedColor));
    FFixedColorReplaced = false;
    TSkinControl::Detach();
    // The overlays go in any case: they are windows of the control's parent
    // and would otherwise stay behind over where the control was.
    FreeOverlays();
    if (!WindowGone(*this)) RedrawFrame(FWindow);
}

// ---- TSkinScrollbarH ---------------------------------------------------------------

TSkinScrollbarH::TSkinScrollbarH(TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbarH::~TSkinScrollbarH() { FreeOverlays(); }

void TSkinScrollbarH::FreeOverlays() { FreePair(FHorz, FVert); }

void TSkinScrollbarH::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas)
{
    if (FAttached || !IsWindow(window) || !skinData) return;
    FHorz = new TWScrollbar(this);
    FHorz->AttachToWindow(skinData, window, okHorzScroll);
    FVert = new TWScrollbar(this);
    FVert->AttachToWindow(skinData, window, okVertScroll);
    TSkinControl::AttachWindow(window, skinData, formSkinner, canvas);
    if (!FAttached) FreeOverlays();
}

void TSkinScrollbarH::RepositionOverlays() { RepositionPair(FHorz, FVert); }

void TSkinScrollbarH::AfterMessage(TMessage& m)
{
    if (FVert && !IsWindowVisible(FWindow)) FVert->HideOverlay();
    switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        RepositionOverlays();
        Repaint();
        return;
    case WM_HSCROLL:
        if (FHorz) FHorz->SetHotZone(LOWORD(m.WParam));
        return;
    case WM_VSCROLL:
        if (FVert) FVert->SetHotZone(LOWORD(m.WParam));
        return;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinScrollbarH::Draw(HDC dc, const RECT&)
{
    PaintPair(FHorz, FVert, FWindow);
    if (FHorz && FVert && FHorz->Shown() && FVert->Shown()) {
        const RECT& v = FVert->BarRect();
        const RECT& h = FHorz->BarRect();
        FillFace(dc, RECT{v.left, h.top, v.right + 2, h.bottom + 2});
    }
}

void TSkinScrollbarH::SkinChanged()
{
    SetPairSkin(FHorz, FVert, FSkinData);
    TSkinControl::SkinChanged();
}

void TSkinScrollbarH::Detach()
{
    if (!FActive) return;
    TSkinControl::Detach();
    FreeOverlays();
    if (!WindowGone(*this)) RedrawFrame(FWindow);
}

// ---- TSkinScControl ------------------------------------------------------------------

TSkinScControl::TSkinScControl(TComponent* owner) : TSkinControl(owner) {}

TSkinScControl::~TSkinScControl()
{
    delete FOverlay;
    FOverlay = nullptr;
}

void TSkinScControl::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas)
{
    auto* control = As<TWinControl>(Owner());
    if (FAttached || !control || !skinData) return;
    FOverlay = new TWScrollbar(this);
    FOverlay->SetShowHint(control->ShowHint());
    FOverlay->SetHint(control->Hint());
    FOverlay->AttachToControl(skinData, control, okScrollControl);
    if (!control->Visible()) FOverlay->HideOverlay();
    TSkinControl::AttachControl(formSkinner, skinData, false, canvas);
}

void TSkinScControl::AfterMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
        if (FOverlay) FOverlay->Reposition();
        return;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case CN_HSCROLL:
    case CN_VSCROLL:
    case WM_ENABLE:
        if (FOverlay) FOverlay->PaintNow();
        return;
    case CM_VISIBLECHANGED:
        if (FOverlay) {
            if (m.WParam)
                FOverlay->Reposition();
            else
                FOverlay->HideOverlay();
        }
        return;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinScControl::Draw(HDC, const RECT&)
{
    if (!FOverlay) return;
    // Not placed yet when the control was off screen at attach.
    if (FOverlay->Shown())
        FOverlay->PaintNow();
    else
        FOverlay->Reposition();
}

void TSkinScControl::SkinChanged()
{
    if (FOverlay) FOverlay->SetSkinData(FSkinData);
    TSkinControl::SkinChanged();
    if (FOverlay) FOverlay->PaintNow();
}

void TSkinScControl::Detach()
{
    if (!FActive) return;
    TSkinControl::Detach();
    delete FOverlay;
    FOverlay = nullptr;
    if (LifeState() != lsWindowGone) RedrawFrame(FWindow);
}
