// Group box, panel, dialog, status bar and size-grip skinners (see
// box_skinner.h).
#include "skin/controls/box_skinner.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/status_bar.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/controls/text_colours.h"
#include "skin/data/frame_draw.h"
#include "skin/data/skin_model.h"

IMPLEMENT_CLASS(TSkinGroupBox)
IMPLEMENT_CLASS(TSkinBox)
IMPLEMENT_CLASS(TSkinBoxH)
IMPLEMENT_CLASS(TSkinStatusBar)
IMPLEMENT_CLASS(TSkinSizer)

DEFINE_SKINNER(TSkinGroupBox, TSkinGroupBox)
DEFINE_SKINNER(TSkinBox, TSkinBox)
DEFINE_SKINNER(TSkinBoxH, TSkinBoxH)
DEFINE_SKINNER(TSkinStatusBar, TSkinStatusBar)
DEFINE_SKINNER(TSkinSizer, TSkinSizer)

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

// ---- TSkinGroupBox -------------------------------------------------------------------

TSkinGroupBox::TSkinGroupBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinGroupBox::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (FControl) FVariant = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& message)
{
    if (FVariant == 1 && message.Msg == WM_PAINT) {
        PaintMessage(message);
        return false;
    }
    if (FVariant == 1 && message.Msg == WM_ERASEBKGND) {
        message.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinGroupBox::DrawOn(HDC dc, const RECT& rect)
{
    FCaption = GetWindowTextWide(FWindow);
    if (FCaption.empty() && FControl) FCaption = GetTextPropByName(FControl, "Caption");
    if (FControl) FillFace(dc, rect);

    HFONT font = nullptr;
    COLORREF textColour = SkinColourRgb(FSkinData, scButtonText);
    if (auto* controlFont = static_cast<TFont*>(GetObjectPropByName(FControl, "Font", &TFont::StaticClassInfo()))) {
        font = controlFont->Handle();
        textColour = SkinCaptionColour(FSkinData, controlFont->Color(), SkinColourRgb(FSkinData, scButtonFace));
    } else {
        font = reinterpret_cast<HFONT>(SendMessageA(FWindow, WM_GETFONT, 0, 0));
    }
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    TSelectObject selectedFont(dc, font);
    SIZE zero{};
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const int top = zero.cy / 2 - 1;

    if (!FControl) {
        // Erase the control's own frame.
        HBRUSH face = FSkinData->FaceBrush();
        RECT outer{0, top, rect.right, rect.bottom};
        FrameRect(dc, &outer, face);
        InflateRect(&outer, -1, -1);
        FrameRect(dc, &outer, face);
    }
    {
        TGdiPen pen(CreatePen(PS_SOLID, 1, SkinColourRgb(FSkinData, scButtonShadow)));
        TSelectObject selectedPen(dc, pen);
        TSelectObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, 1, top, rect.right - 1, rect.bottom - 1, 5, 5);
    }
    if (!FCaption.empty()) {
        const COLORREF oldBack = SetBkColor(dc, SkinColourRgb(FSkinData, scButtonFace));
        const int oldMode = SetBkMode(dc, OPAQUE);
        SetTextColor(dc, IsWindowEnabled(FWindow) ? textColour : GetSysColor(COLOR_GRAYTEXT));
        RECT text = rect;
        UINT format = DT_EXPANDTABS;
        if (GetWindowLongOf(FWindow, GWL_EXSTYLE) & WS_EX_RIGHT) {
            text.right -= 8;
            format = TextDirectionFlags(DT_RIGHT | DT_EXPANDTABS);
        } else {
            text.left += 8;
        }
        DrawTextWide(dc, FCaption, text, format);
        SetBkMode(dc, oldMode);
        SetBkColor(dc, oldBack);
    }
}

void TSkinGroupBox::Draw(HDC dc, const RECT& rect)
{
    if (FVariant != 1) {
        DrawOn(dc, rect);
        return;
    }
    HDC buffer = FBuffer.Prepare(dc, Width(rect), Height(rect));
    if (!buffer) return;
    DrawOn(buffer, rect);
    BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), buffer, 0, 0, SRCCOPY);
    FControl->PaintControls(dc);
}

// ---- TSkinBox -------------------------------------------------------------------------

TSkinBox::TSkinBox(TComponent* owner) : TSkinControl(owner) {}

void TSkinBox::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (FAttached) return;
    auto* control = As<TWinControl>(Owner());
    if (!control || !skinData) return;
    FColourManaged = colourManaged ? 1 : 0;
    FSkinData = skinData;
    FCanvas = canvas;
    FControl = control;
    FWindow = control->HandleAllocated() ? control->HandleIfAllocated() : nullptr;
    FFormSkinner = formSkinner;
    Register();
    if (FColourManaged) TakeColour();
    // A panel with bevels and a caption is painted by the skinner, in the
    // skin's shades of the face and its text colour; anything else keeps
    // its own painting.
    if (FColourManaged && FindPropInfo(control, "BevelOuter") && FindPropInfo(control, "Caption")) {
        FSavedWindowMethod = control->WindowProc();
        control->SetWindowProc(TWndMethod(static_cast<TSkinControl*>(this), &TSkinControl::SkinWndProc));
        FVariant = 2;
        control->Invalidate();
    }
    FAttached = 1;
    FLifeState = lsAttached;
}

void TSkinBox::AfterMessage(TMessage&) {}

bool TSkinBox::BeforeMessage(TMessage& message)
{
    if (FVariant != 2) return TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT: {
        const HWND window = FControl ? FControl->HandleIfAllocated() : FWindow;
        HDC given = reinterpret_cast<HDC>(message.WParam);
        PAINTSTRUCT paint{};
        HDC dc = given ? given : BeginPaint(window, &paint);
        RECT client{};
        GetClientRect(window, &client);
        Draw(dc, client);
        if (FControl) FControl->PaintControls(dc);
        if (!given) EndPaint(window, &paint);
        message.Result = 0;
        return false;
    }
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinBox::Draw(HDC dc, const RECT& rect)
{
    if (FVariant != 2 || !FControl) return;
    RECT r = rect;
    const COLORREF face = SkinColourRgb(FSkinData, scButtonFace);
    {
        TGdiBrush fill(CreateSolidBrush(face));
        FillRect(dc, &r, fill);
    }
    const COLORREF light = SkinColourRgb(FSkinData, scButtonHilight);
    const COLORREF dark = SkinColourRgb(FSkinData, scButtonShadow);
    const int bevelWidth = std::max(1, GetOrdPropByName(FControl, "BevelWidth"));
    auto bevel = [&](const std::string& cut) {
        if (cut == "bvnone" || cut.empty()) return;
        COLORREF topLeft = cut == "bvlowered" ? dark : light, bottomRight = cut == "bvlowered" ? light : dark;
        if (cut == "bvspace") topLeft = bottomRight = face;
        for (int i = 0; i < bevelWidth; ++i) {
            TGdiPen first(CreatePen(PS_SOLID, 1, topLeft));
            TGdiPen second(CreatePen(PS_SOLID, 1, bottomRight));
            TSelectObject pen(dc, first);
            MoveToEx(dc, r.left, r.bottom - 1, nullptr);
            LineTo(dc, r.left, r.top);
            LineTo(dc, r.right - 1, r.top);
            SelectObject(dc, second);
            LineTo(dc, r.right - 1, r.bottom - 1);
            LineTo(dc, r.left - 1, r.bottom - 1);
            InflateRect(&r, -1, -1);
        }
    };
    bevel(GetLowerPropByName(FControl, "BevelOuter"));
    const int border = std::max(0, GetOrdPropByName(FControl, "BorderWidth"));
    InflateRect(&r, -border, -border);
    bevel(GetLowerPropByName(FControl, "BevelInner"));
    FCaption = GetTextPropByName(FControl, "Caption");
    if (FCaption.empty()) return;
    auto* font = static_cast<TFont*>(GetObjectPropByName(FControl, "Font", &TFont::StaticClassInfo()));
    TSelectObject selectedFont(dc, font ? font->Handle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    const std::string alignment = GetLowerPropByName(FControl, "Alignment");
    UINT format = DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS;
    format |= alignment == "taleftjustify" ? DT_LEFT : alignment == "tarightjustify" ? DT_RIGHT : DT_CENTER;
    COLORREF colour = SkinCaptionColour(FSkinData, font ? font->Color() : clBtnText, face);
    if (!FControl->Enabled()) colour = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextWide(dc, FCaption, r, TextDirectionFlags(format));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
}

void TSkinBox::Detach()
{
    if (FLifeState == lsDetached) return;
    if (FColourManaged && FControl && FLifeState != lsWindowGone) GiveColourBack();
    FActive = 0;
    // The panel paints itself again.
    if (FVariant == 2 && FControl && FLifeState != lsWindowGone) FControl->Invalidate();
    FLifeState = lsDetached;
}

// ---- TSkinBoxH ------------------------------------------------------------------------

TSkinBoxH::TSkinBoxH(TComponent* owner) : TSkinControl(owner) {}

bool TSkinBoxH::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        RECT rect{};
        GetWindowRect(FWindow, &rect);
        OffsetRect(&rect, -rect.left, -rect.top);
        FillFace(reinterpret_cast<HDC>(message.WParam), rect);
        message.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallPrevious(message);
        SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        message.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

// ---- TSkinStatusBar -------------------------------------------------------------------

TSkinStatusBar::TSkinStatusBar(TComponent* owner) : TSkinControl(owner) {}

bool TSkinStatusBar::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        PaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinStatusBar::DrawEdgeKind(HDC dc, const RECT& rect, int kind) const
{
    const TDataSkinObject* edges = Skin().Object(ssStatusBarEdges);
    if (edges && !edges->Bitmap.Empty()) {
        const RECT margins{edges->LeftWidth, edges->TopHeight, edges->RightWidth, edges->BottomHeight};
        skin::DrawFrameBitmap(dc, rect, edges->Bitmap.Handle(), margins, kind, 3, false, edges->Tile != 0, false);
        return;
    }
    RECT edge = rect;
    if (kind == 1) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    else if (kind == 2) DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
}

void TSkinStatusBar::DrawPanelText(HDC dc, const std::wstring& text, const RECT& rect, UINT align)
{
    SetBkMode(dc, TRANSPARENT);
    TSelectObject brush(dc, GetStockObject(NULL_BRUSH));
    RECT box = rect;
    DrawTextWide(dc, text, box, align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
    const int height = Height(box);
    if (align == DT_CENTER) {
        const int width = Width(box);
        box.left = rect.left + (Width(rect) - width) / 2;
        box.right = box.left + width;
    } else {
        box.left = rect.left;
        box.right = rect.right;
    }
    box.top = rect.top + (Height(rect) - height) / 2 - 1;
    box.bottom = box.top + height;
    DrawTextWide(dc, text, box, TextDirectionFlags(align | DT_EXPANDTABS));
}

void TSkinStatusBar::Draw(HDC dc, const RECT& rect)
{
    auto* bar = As<TCustomStatusBar>(FControl);
    HDC buffer = FBuffer.Prepare(dc, Width(rect), Height(rect));
    if (!buffer) return;
    FillFace(buffer, rect);

    TFont font;
    if (bar) font.Assign(*bar->Font());
    font.SetStyle(0);
    TSelectObject selectedFont(buffer, font.Handle());
    const TDataSkinObject* edges = Skin().Object(ssStatusBarEdges);
    SetTextColor(buffer, LegibleOn(edges ? ColourRgb(static_cast<TColor>(edges->NormalColour2))
                                         : SkinTextColour(FSkinData, font.Color()),
                                   SkinColourRgb(FSkinData, scButtonFace)));

    const bool rightToLeft = TextDirectionFlags(0) != 0;
    const int panelCount = bar ? bar->Panels()->Count() : 0;
    if (!bar || bar->SimplePanel() || panelCount == 0) {
        std::wstring text = bar ? AnsiToWide(bar->SimpleText()) : GetWindowTextWide(FWindow);
        if (text.empty()) text = L" ";
        DrawEdgeKind(buffer, rect, 1);
        RECT inner = rect;
        InflateRect(&inner, -2, 0);
        DrawPanelText(buffer, text, inner, rightToLeft ? DT_RIGHT : DT_LEFT);
    } else {
        for (int i = 0; i < panelCount; ++i) {
            RECT panelRect{};
            if (!SendMessageA(FWindow, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&panelRect))) continue;
            panelRect.right += 2;
            if (i == panelCount - 1) panelRect.right = rect.right;
            TStatusPanel* panel = bar->Panels()->Items(i);
            const int kind = panel->Bevel() == pbRaised ? 2 : (panel->Bevel() == pbLowered ? 1 : 3);
            DrawEdgeKind(buffer, panelRect, kind);
            if (panel->Style() != psText) continue;
            std::wstring text = AnsiToWide(panel->Text());
            if (text.empty()) text = L" ";
            UINT align = panel->Alignment() == taCenter ? DT_CENTER
                         : panel->Alignment() == taRightJustify ? DT_RIGHT
                                                                 : DT_LEFT;
            if (rightToLeft && align != DT_CENTER) align = align == DT_LEFT ? DT_RIGHT : DT_LEFT;
            RECT inner = panelRect;
            InflateRect(&inner, -2, 0);
            DrawPanelText(buffer, text, inner, align);
        }
    }

    const TDataSkinObject* extras = Skin().Object(ssExtraImages);
    if ((GetWindowLongOf(FWindow, GWL_STYLE) & SBARS_SIZEGRIP) && extras && !extras->Bitmap.Empty()) {
        const int frames = std::max<int>(extras->Frame, 1);
        int gripWidth = extras->Bitmap.Width() / frames;
        int gripHeight = extras->Bitmap.Height();
        // A grip taller than the bar (a skin scaled up on a bar that is not)
        // is drawn smaller, never over the bar's top edge.
        const int room = std::max<int>(Height(rect) - 2, 0);
        if (gripHeight > room && gripHeight > 0) {
            gripWidth = MulDiv(gripWidth, room, gripHeight);
            gripHeight = room;
        }
        const RECT grip{rect.right - 1 - gripWidth, rect.bottom - 1 - gripHeight, rect.right - 1, rect.bottom - 1};
        if (frames >= 5) DrawStripFrame(buffer, grip, frames, 5, extras->Bitmap.Handle());
    }
    BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), buffer, 0, 0, SRCCOPY);
    if (bar) {
        bar->PaintControls(dc);
        if (bar->OnDrawPanel) {
            for (int i = 0; i < panelCount; ++i) {
                RECT panelRect{};
                if (!SendMessageA(FWindow, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&panelRect)))
                    continue;
                InflateRect(&panelRect, -2, -2);
                bar->OnDrawPanel(bar, bar->Panels()->Items(i), panelRect);
            }
        }
    }
}

// ---- TSkinSizer -------------------------------------------------------------------------

TSkinSizer::TSkinSizer(TComponent* owner) : TSkinControl(owner) {}

void TSkinSizer::Draw(HDC dc, const RECT& rect)
{
    FillFace(dc, rect);
}
