// Bitmap button, menu button and speed button (see buttons.h).
#include "framework/buttons.h"

#include <algorithm>

#include "framework/gdi_handles.h"
#include "framework/menus.h"

const TEnumInfo ButtonLayoutEnum{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};

// ---- layout and glyphs ---------------------------------------------------------------

TButtonGlyphLayout LayoutButtonGlyph(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin,
                                     int spacing)
{
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    const int extent = across ? client.cx : client.cy;
    const int glyphExtent = across ? glyph.cx : glyph.cy;
    const int textExtent = across ? text.cx : text.cy;
    if (glyphExtent == 0 || textExtent == 0) spacing = 0;
    if (margin < 0) {
        if (spacing < 0) {
            margin = (extent - glyphExtent - textExtent) / 3;
            spacing = margin;
        } else {
            margin = (extent - glyphExtent - spacing - textExtent) / 2;
        }
    } else if (spacing < 0) {
        spacing = (extent - margin - glyphExtent - textExtent) / 2;
    }
    TButtonGlyphLayout result;
    POINT g{}, t{};
    if (across) {
        g.y = (client.cy - glyph.cy + 1) / 2;
        t.y = (client.cy - text.cy + 1) / 2;
    } else {
        g.x = (client.cx - glyph.cx + 1) / 2;
        t.x = (client.cx - text.cx + 1) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        g.x = margin;
        t.x = g.x + glyph.cx + spacing;
        break;
    case blGlyphRight:
        g.x = client.cx - margin - glyph.cx;
        t.x = g.x - spacing - text.cx;
        break;
    case blGlyphTop:
        g.y = margin;
        t.y = g.y + glyph.cy + spacing;
        break;
    case blGlyphBottom:
        g.y = client.cy - margin - glyph.cy;
        t.y = g.y - spacing - text.cy;
        break;
    }
    result.Glyph = RECT{g.x, g.y, g.x + glyph.cx, g.y + glyph.cy};
    result.Text = RECT{t.x, t.y, t.x + text.cx, t.y + text.cy};
    return result;
}

void DrawButtonGlyph(HDC dc, TBitmap* glyph, int numGlyphs, int index, int x, int y)
{
    if (!glyph || glyph->Empty()) return;
    numGlyphs = std::max(numGlyphs, 1);
    const int width = glyph->Width() / numGlyphs;
    const int height = glyph->Height();
    if (width <= 0) return;
    HBITMAP bitmap = glyph->Handle();
    TMemoryDC source(dc);
    TSelectObject selected(source, bitmap);
    const COLORREF transparent = GetPixel(source, 0, height - 1);
    if (index == 1 && numGlyphs < 2) {
        // No disabled image: an embossed one from the first, white shifted
        // down-right under grey. The raster operation paints the brush
        // where the mask is white and keeps the destination elsewhere.
        TMemoryDC maskDC(dc);
        TGdiBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
        TSelectObject maskSelected(maskDC, mask);
        SetBkColor(source, transparent);
        BitBlt(maskDC, 0, 0, width, height, source, 0, 0, SRCCOPY);  // 1 where transparent
        PatBlt(maskDC, 0, 0, width, height, DSTINVERT);                // 1 where the glyph is
        const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
        const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
        for (int pass = 0; pass < 2; ++pass) {
            TGdiBrush brush(CreateSolidBrush(GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW)));
            TSelectObject brushSelected(dc, brush);
            const int shift = pass == 0 ? 1 : 0;
            BitBlt(dc, x + shift, y + shift, width, height, maskDC, 0, 0, 0x00E20746);
        }
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
        return;
    }
    if (index >= numGlyphs) index = 0;
    TransparentBlt(dc, x, y, width, height, source, index * width, 0, width, height, transparent);
}

// ---- TBitBtn -------------------------------------------------------------------------

using PBitBtn = TPropBuilder<TBitBtn>;
IMPLEMENT_CLASS(TBitBtn,
    PBitBtn::Object("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph),
    PBitBtn::Enum("Layout", ButtonLayoutEnum, &TBitBtn::Layout, &TBitBtn::SetLayout),
    PBitBtn::Integer("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin),
    PBitBtn::Integer("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs),
    PBitBtn::Integer("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing))

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TBitmap>())
{
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::SetGlyph(TBitmap* value)
{
    if (value) FGlyph->Assign(*value);
    else FGlyph->SetSize(0, 0);
    Invalidate();
}

void TBitBtn::GlyphChanged(TObject*)
{
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int value)
{
    FNumGlyphs = std::clamp(value, 1, 4);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value)
{
    FLayout = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value)
{
    FMargin = std::max(value, -1);
    Invalidate();
}

void TBitBtn::SetSpacing(int value)
{
    FSpacing = std::max(value, -1);
    Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& params)
{
    TButton::CreateParams(params);
    params.Style = (params.Style & ~0x0Fu) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case BM_SETSTYLE:
        // The button stays owner-drawn; it only remembers whether it is
        // shown as the default button.
        FShownDefault = (message.WParam & 0x0F) == BS_DEFPUSHBUTTON;
        message.WParam = BS_OWNERDRAW;
        TButton::WndProc(message);
        Invalidate();
        return;
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = 1;
        return;
    case WM_LBUTTONDBLCLK:
        // A double click is two clicks of an owner-drawn button.
        message.Msg = WM_LBUTTONDOWN;
        break;
    default:
        break;
    }
    TButton::WndProc(message);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    if (FShownDefault || focused || Default()) {
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&rect, -1, -1);
    }
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    const std::wstring caption = WideCaption();
    TSelectObject font(dc, Font()->Handle());
    RECT measured{0, 0, rect.right - rect.left, 0};
    if (!caption.empty())
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    const SIZE client{item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top};
    const SIZE glyph{FGlyph->Empty() ? 0 : FGlyph->Width() / std::max(FNumGlyphs, 1), FGlyph->Empty() ? 0 : FGlyph->Height()};
    const SIZE text{caption.empty() ? 0 : measured.right, caption.empty() ? 0 : measured.bottom};
    TButtonGlyphLayout layout = LayoutButtonGlyph(client, glyph, text, FLayout, FMargin, FSpacing);
    const int shift = pressed ? 1 : 0;
    OffsetRect(&layout.Glyph, shift, shift);
    OffsetRect(&layout.Text, shift, shift);
    DrawButtonGlyph(dc, FGlyph.get(), FNumGlyphs, disabled ? 1 : (pressed ? 2 : 0), layout.Glyph.left, layout.Glyph.top);
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        OffsetRect(&layout.Text, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &layout.Text, DT_SINGLELINE | DT_NOCLIP);
        OffsetRect(&layout.Text, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
    }
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &layout.Text, DT_SINGLELINE | DT_NOCLIP);
    if (focused) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

// ---- TMenuButton ------------------------------------------------------------------------

IMPLEMENT_CLASS(TMenuButton,
    TPropBuilder<TMenuButton>::Object("DropdownMenu", &TMenuButton::DropdownMenu, &TMenuButton::SetDropdownMenu))

TMenuButton::TMenuButton(TComponent* owner) : TBitBtn(owner) {}

void TMenuButton::SetDropdownMenu(TPopupMenu* menu)
{
    if (menu == FDropdownMenu) return;
    if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = menu;
    if (FDropdownMenu) FDropdownMenu->FreeNotification(this);
}

void TMenuButton::Notification(TComponent* component, TOperation operation)
{
    TBitBtn::Notification(component, operation);
    if (operation == opRemove && component == FDropdownMenu) FDropdownMenu = nullptr;
}

void TMenuButton::Click()
{
    if (FDropdownMenu && HandleAllocated()) {
        RECT bounds{};
        GetWindowRect(Handle(), &bounds);
        FDropdownMenu->SetPopupComponent(this);
        FDropdownMenu->Popup(bounds.left, bounds.bottom);
    }
    TBitBtn::Click();
}

void TMenuButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    TBitBtn::DrawItem(item);
    // The drop-down arrow at the right end.
    HDC dc = item.hDC;
    const int x = item.rcItem.right - 10;
    const int y = (item.rcItem.bottom - item.rcItem.top - 3) / 2;
    const POINT points[3] = {{x, y + 2}, {x - 3, y - 1}, {x + 3, y - 1}};
    const COLORREF colour = GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
    TGdiBrush brush(CreateSolidBrush(colour));
    TGdiPen pen(CreatePen(PS_SOLID, 1, colour));
    TSelectObject b(dc, brush);
    TSelectObject p(dc, pen);
    Polygon(dc, points, 3);
}

// ---- TSpeedButton -------------------------------------------------------------------------

using PSpeed = TPropBuilder<TSpeedButton>;
IMPLEMENT_CLASS(TSpeedButton,
    PSpeed::Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp),
    PSpeed::String("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption),
    PSpeed::Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown),
    PSpeed::Bool("Enabled", &TSpeedButton::Enabled, &TSpeedButton::SetEnabled),
    PSpeed::Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat),
    PSpeed::Object("Font", &TSpeedButton::Font, &TSpeedButton::SetFont),
    PSpeed::Object("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph),
    PSpeed::Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex),
    PSpeed::Enum("Layout", ButtonLayoutEnum, &TSpeedButton::Layout, &TSpeedButton::SetLayout),
    PSpeed::Integer("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin),
    PSpeed::Integer("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs),
    PSpeed::Integer("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing),
    PSpeed::Bool("Visible", &TSpeedButton::Visible, &TSpeedButton::SetVisible))

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>())
{
    FWidth = 23;
    FHeight = 22;
    FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks;
    FGlyph->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(TBitmap* value)
{
    if (value) FGlyph->Assign(*value);
    else FGlyph->SetSize(0, 0);
    Invalidate();
}

void TSpeedButton::GlyphChanged(TObject*)
{
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value)
{
    FNumGlyphs = std::clamp(value, 1, 4);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value)
{
    FLayout = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value)
{
    FMargin = std::max(value, -1);
    Invalidate();
}

void TSpeedButton::SetSpacing(int value)
{
    FSpacing = std::max(value, -1);
    Invalidate();
}

void TSpeedButton::SetFlat(bool value)
{
    FFlat = value;
    Invalidate();
}

void TSpeedButton::SetDown(bool value)
{
    if (FGroupIndex == 0) value = false;
    if (value == FDown) return;
    if (FDown && !FAllowAllUp) return;
    FDown = value;
    if (FDown && Parent()) {
        // The other buttons of the group go up.
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* other = As<TSpeedButton>(Parent()->Controls(i));
            if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown) {
                other->FDown = false;
                other->Invalidate();
            }
        }
    }
    Invalidate();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && Enabled()) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::Click()
{
    if (FGroupIndex != 0) {
        if (!FDown) SetDown(true);
        else if (FAllowAllUp) SetDown(false);
    }
    TGraphicControl::Click();
}

void TSpeedButton::WndProc(TMessage& message)
{
    TGraphicControl::WndProc(message);
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (FFlat) Invalidate();
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    default:
        break;
    }
}

void TSpeedButton::Paint()
{
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    RECT rect{0, 0, FWidth, FHeight};
    const bool pushed = FPressed || FDown;
    TGdiBrush face(CreateSolidBrush(ColorToRGB(Parent() ? Parent()->Color() : clBtnFace)));
    FillRect(dc, &rect, face);
    if (!FFlat || pushed || MouseInControl()) DrawEdge(dc, &rect, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    const std::wstring caption = WideCaption();
    TSelectObject font(dc, Font()->Handle());
    RECT measured{0, 0, FWidth, 0};
    if (!caption.empty())
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_CALCRECT | DT_SINGLELINE);
    const SIZE client{FWidth, FHeight};
    const SIZE glyph{FGlyph->Empty() ? 0 : FGlyph->Width() / std::max(FNumGlyphs, 1), FGlyph->Empty() ? 0 : FGlyph->Height()};
    const SIZE text{caption.empty() ? 0 : measured.right, caption.empty() ? 0 : measured.bottom};
    TButtonGlyphLayout layout = LayoutButtonGlyph(client, glyph, text, FLayout, FMargin, FSpacing);
    if (pushed) {
        OffsetRect(&layout.Glyph, 1, 1);
        OffsetRect(&layout.Text, 1, 1);
    }
    const int image = !Enabled() ? 1 : (FDown ? 3 : (FPressed ? 2 : 0));
    DrawButtonGlyph(dc, FGlyph.get(), FNumGlyphs, image, layout.Glyph.left, layout.Glyph.top);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled() ? ColorToRGB(Font()->Color()) : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &layout.Text, DT_SINGLELINE | DT_NOCLIP);
}
