// Painting controls (see controls.h): TGraphicControl, painted by its
// parent; TControlCanvas; how a windowed control paints itself and its
// graphic children; TCustomControl, which paints itself on a canvas.
#include "framework/controls.h"

#include <vector>

// ---- TGraphicControl ---------------------------------------------------------------

IMPLEMENT_CLASS(TGraphicControl)

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    return FCanvas.get();
}

void TGraphicControl::WndProc(TMessage& m)
{
    if (m.Msg == WM_PAINT && m.WParam) {
        // The parent hands its context with the origin moved to this
        // control's top-left corner and clipped to it.
        TCanvas* canvas = Canvas();
        static_cast<TControlCanvas*>(canvas)->FreeHandle();
        canvas->SetHandle(reinterpret_cast<HDC>(m.WParam));
        canvas->Font()->Assign(*Font());
        try {
            Paint();
        } catch (...) {
            canvas->SetHandle(nullptr);
            throw;
        }
        canvas->SetHandle(nullptr);
        return;
    }
    TControl::WndProc(m);
}

// ---- TControlCanvas -------------------------------------------------------------------

void TControlCanvas::CreateHandle()
{
    if (auto* win = As<TWinControl>(FControl)) {
        FDC = TWindowDC::Client(win->Handle());
        SetHandle(FDC);
        return;
    }
    TWinControl* parent = FControl->Parent();
    if (!parent) return;
    FDC = TWindowDC::Client(parent->Handle());
    if (FDC.IsNull()) return;
    SetViewportOrgEx(FDC, FControl->Left(), FControl->Top(), nullptr);
    IntersectClipRect(FDC, 0, 0, FControl->Width(), FControl->Height());
    SetHandle(FDC);
}

void TControlCanvas::FreeHandle()
{
    SetHandle(nullptr);
    FDC = TWindowDC();
}

// ---- painting windowed controls ----------------------------------------------------

bool TWinControl::IsPlainWindow() const { return !FDefWndProc || FDefWndProc == DefWindowProcA; }

void TWinControl::PaintWindow(HDC dc)
{
    // A plain window's background was painted by WM_ERASEBKGND; a
    // superclassed standard control paints itself into the context.
    if (IsPlainWindow()) return;
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc)
{
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (As<TWinControl>(c) || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        int saved = SaveDC(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
        IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
}

void TWinControl::PaintHandler(TMessage& m)
{
    HDC given = reinterpret_cast<HDC>(m.WParam);
    if (given) {
        PaintWindow(given);
        PaintControls(given);
        return;
    }
    TPaintDC paint(FHandle);
    PaintWindow(paint);
    PaintControls(paint);
}

// ---- TCustomControl --------------------------------------------------------------------

IMPLEMENT_CLASS(TCustomControl)

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}
TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas()
{
    if (!FCanvas) FCanvas = std::make_unique<TControlCanvas>(this);
    return FCanvas.get();
}

void TCustomControl::PaintWindow(HDC dc)
{
    TCanvas* canvas = Canvas();
    static_cast<TControlCanvas*>(canvas)->FreeHandle();
    canvas->SetHandle(dc);
    canvas->Font()->Assign(*Font());
    canvas->Brush()->SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas->SetHandle(nullptr);
        throw;
    }
    canvas->SetHandle(nullptr);
}
