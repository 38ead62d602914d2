// Group boxes (see group_box.h).
#include "framework/group_box.h"

using PGroupBox = TPropBuilder<TCustomGroupBox>;
IMPLEMENT_CLASS(TCustomGroupBox,
    PGroupBox::String("Caption", &TCustomGroupBox::Caption, &TCustomGroupBox::SetCaption),
    PGroupBox::Integer("Color", &TCustomGroupBox::Color, &TCustomGroupBox::SetColor),
    PGroupBox::Object("Font", &TCustomGroupBox::Font, &TCustomGroupBox::SetFont),
    PGroupBox::Bool("ParentBackground", &TCustomGroupBox::ParentBackground, &TCustomGroupBox::SetParentBackground),
    PGroupBox::Bool("ParentColor", &TCustomGroupBox::ParentColor, &TCustomGroupBox::SetParentColor),
    PGroupBox::Bool("ParentFont", &TCustomGroupBox::ParentFont, &TCustomGroupBox::SetParentFont))

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks | csOpaque;
    FParentColor = true;
    FWidth = 185;
    FHeight = 105;
}

int TCustomGroupBox::TextHeight() const
{
    TWindowDC screen = TWindowDC::Client(nullptr);
    TSelectObject font(screen, FFont->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    return metrics.tmHeight;
}

void TCustomGroupBox::AdjustClientRect(RECT& rect) const
{
    rect.top += TextHeight();
    InflateRect(&rect, -2, -2);
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    if (rect.right < rect.left) rect.right = rect.left;
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    RECT r = ClientRect();
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(r);
    // The frame's top edge runs through the middle of the caption line.
    int line = TextHeight();
    RECT frame{0, line / 2 - 1, r.right, r.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    std::string caption = GetText();
    if (caption.empty()) return;
    TSelectObject font(dc, FFont->Handle());
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(FColor));
    RECT text{8, 0, r.right - 8, line};
    SetTextColor(dc, ColorToRGB(FEnabled ? FFont->Color() : clGrayText));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_LEFT);
}

void TCustomGroupBox::WndProc(TMessage& m)
{
    TCustomControl::WndProc(m);
    switch (m.Msg) {
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
        Invalidate();
        break;
    case CM_FONTCHANGED:
        AlignControls();
        break;
    }
}
