// Push-button skinners (see button_skinner.h).
#include "skin/controls/button_skinner.h"

#include <algorithm>
#include <cstring>

#include "framework/buttons.h"
#include "framework/image_list.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/data/forwarded_error.h"
#include "skin/data/scaled_picture.h"
#include "skin/controls/text_colours.h"
#include "skin/data/skin_model.h"

IMPLEMENT_CLASS(TSkinButton)
IMPLEMENT_CLASS(TSkinBitButton)
IMPLEMENT_CLASS(TSkinSpeedButton)
IMPLEMENT_CLASS(TSkinMenuButton)

DEFINE_SKINNER(TSkinButton, TSkinButton)
DEFINE_SKINNER(TSkinBitButton, TSkinBitButton)
DEFINE_SKINNER(TSkinSpeedButton, TSkinSpeedButton)
DEFINE_SKINNER(TSkinMenuButton, TSkinMenuButton)

namespace {

constexpr int TRANSPARENT_TAG = 5555;
constexpr UINT MEASURE_CENTRED = DT_CENTER | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK;  // $551

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool StartsWithCaseless(const std::string& text, const char* prefix)
{
    const size_t n = strlen(prefix);
    return text.size() >= n && _strnicmp(text.c_str(), prefix, n) == 0;
}

// The glyph picture and its NumGlyphs of a control (Glyph, or the named
// picture property).
struct TGlyphSource {
    TBitmap* Bitmap = nullptr;
    TGraphic* Picture = nullptr;
    int NumGlyphs = 1;
    SIZE Size{0, 0};
    // Or a picture of an image list: ImageIndex, DisabledIndex (-1: the
    // list's disabled look of ImageIndex).
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    int DisabledIndex = -1;
};

TGlyphSource GlyphOf(TControl* control, const std::string& property, bool speed)
{
    TGlyphSource source;
    if (!control) return source;
    if (!property.empty()) {
        source.Picture = static_cast<TGraphic*>(GetObjectPropByName(control, property, &TGraphic::StaticClassInfo()));
        if (source.Picture && source.Picture->Width() > 0) {
            source.NumGlyphs = speed ? std::max(GetOrdPropByName(control, "NumGlyphs"), 1) : 1;
            source.Size = SIZE{source.Picture->Width() / source.NumGlyphs, source.Picture->Height()};
        } else {
            source.Picture = nullptr;
        }
        return source;
    }
    source.Bitmap = static_cast<TBitmap*>(GetObjectPropByName(control, "Glyph", &TBitmap::StaticClassInfo()));
    if (source.Bitmap && source.Bitmap->Empty()) source.Bitmap = nullptr;
    if (source.Bitmap) {
        source.NumGlyphs = std::max(GetOrdPropByName(control, "NumGlyphs"), 1);
        source.Size = SIZE{source.Bitmap->Width() / source.NumGlyphs, source.Bitmap->Height()};
        return source;
    }
    if (speed) return source;
    // No glyph bitmap: a picture of the button's image list.
    auto* images = static_cast<TCustomImageList*>(
        GetObjectPropByName(control, "Images", &TCustomImageList::StaticClassInfo()));
    const int index = GetOrdPropByName(control, "ImageIndex");
    if (images && index != -1 && FindPropInfo(control, "ImageIndex")) {
        source.Images = images;
        source.ImageIndex = index;
        source.DisabledIndex = GetOrdPropByName(control, "DisabledIndex");
        source.Size = SIZE{images->Width(), images->Height()};
    }
    return source;
}

TButtonLayout LayoutOf(TControl* control)
{
    const std::string layout = GetLowerPropByName(control, "Layout");
    if (layout == "blglyphright") return blGlyphRight;
    if (layout == "blglyphtop") return blGlyphTop;
    if (layout == "blglyphbottom") return blGlyphBottom;
    return blGlyphLeft;
}

}  // namespace

// ---- TSkinButton ------------------------------------------------------------------------

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}

TSkinButton::~TSkinButton() = default;

void TSkinButton::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!FAttached) return;
    const std::string name = Owner() ? Owner()->ClassName() : std::string();
    FVariant = StartsWithCaseless(name, "trz") || StartsWithCaseless(name, "tel") ? 1 : 0;
    FParentBackground = (Owner() && Owner()->Tag() == TRANSPARENT_TAG) ||
                                (skinData->Options() & SkinOption(xoTransparent))
                            ? 1
                            : 0;
}

void TSkinButton::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas)
{
    TSkinControl::AttachWindow(window, skinData, formSkinner, canvas);
    if (FAttached) FParentBackground = (skinData->Options() & SkinOption(xoTransparent)) ? 1 : 0;
}

bool TSkinButton::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        PaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    case WM_TIMER:
        KillTimer(FWindow, 1);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != FWindow) SetFocus(FWindow);
        FMouseState |= msPressed;
        PaintFrame(nullptr);
        if (FVariant != 1) ForwardMouseDown(message);
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinButton::Click()
{
    if (FControl) {
        // The program's handler runs here: what it raises is not the skin's.
        skin::ForwardCall([&] { FControl->Click(); });
        return;
    }
    HWND parent = GetParent(FWindow);
    if (!parent) return;
    char name[32] = {};
    GetClassNameA(FWindow, name, sizeof name);
    const WPARAM id = lstrcmpiA(name, "tbutton") == 0 ? 0 : static_cast<WPARAM>(GetDlgCtrlID(FWindow));
    PostMessageA(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(FWindow));
}

void TSkinButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETTEXT:
        PaintFrame(nullptr);
        break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            FMouseState |= msPressed;
            Repaint();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            FMouseState &= ~msPressed;
            Repaint();
        }
        break;
    case WM_MOUSEMOVE:
        if (!(FMouseState & msHot) && IsWindowEnabled(FWindow)) {
            FMouseState |= msHot;
            RepaintHot();
        }
        SkinTrackMouseLeave(FWindow);
        break;
    case WM_LBUTTONUP:
        if (FMouseState & msPressed) {
            FMouseState &= ~msPressed;
            Repaint();
            Click();
        }
        break;
    case WM_MOUSELEAVE:
        // The pointer leaving is reported by the system and often again by
        // the framework: only a change is painted.
        if (FMouseState & (msHot | msPressed)) {
            FMouseState &= ~(msHot | msPressed);
            RepaintHot();
        }
        break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Repaint();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinButton::RepaintHot()
{
    // A change of look under the pointer is painted at once on the window,
    // without the round trip of invalidating and waiting for WM_PAINT.
    if (FPaintTarget || !FWindow || !IsWindowVisible(FWindow))
        Repaint();
    else
        PaintFrame(nullptr);
}

int TSkinButton::FrameIndex()
{
    if (!FEnabled) return 3;
    if (FMouseState & msPressed) return 2;
    if (FMouseState & msHot) return 4;
    if (FFocused || FDefault) return 5;
    return 1;
}

HDC TSkinButton::BeginDraw(HDC dc, const RECT& rect)
{
    const TDataSkinButton* buttons = FSkinData ? Skin().Buttons.get() : nullptr;
    if (!buttons || buttons->Bitmap.Empty()) return nullptr;
    RefreshState();
    TControl* target = Target();
    FDefault = target && GetLowerPropByName(target, "Default") == "true";
    FCaption = target ? GetTextPropByName(target, "Caption") : GetWindowTextWide(FWindow);
    const int index = FrameIndex();
    HDC buffer = FBuffer.Prepare(dc, Width(rect), Height(rect));
    if (!buffer) return nullptr;
    if (FParentBackground && target)
        PaintParentBackground(target, buffer);
    else
        FillFace(buffer, rect);
    DrawObjectFrame(buffer, rect, buttons->Frame > 0 ? buttons->Frame : 5, index, buttons);
    return buffer;
}

void TSkinButton::SelectFont(HDC buffer)
{
    const TDataSkinButton* buttons = Skin().Buttons.get();
    TControl* target = Target();
    COLORREF colour = SkinColourRgb(FSkinData, scButtonText);
    HFONT font = nullptr;
    if (auto* controlFont = static_cast<TFont*>(GetObjectPropByName(target, "Font", &TFont::StaticClassInfo()))) {
        font = controlFont->Handle();
        colour = SkinTextColour(FSkinData, controlFont->Color());
    } else if (FWindow) {
        font = reinterpret_cast<HFONT>(SendMessageA(FWindow, WM_GETFONT, 0, 0));
    }
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    FOldFont = SelectObject(buffer, font);
    const int index = FrameIndex();
    if (buttons->HasNormalColour2) colour = ColourRgb(static_cast<TColor>(buttons->NormalColour2));
    if (index == 4 && buttons->HasMouseOverColour2) colour = ColourRgb(static_cast<TColor>(buttons->MouseOverColour2));
    if (index == 2 && buttons->HasPressedColour2) colour = ColourRgb(static_cast<TColor>(buttons->PressedColour2));
    if (!FEnabled) colour = GetSysColor(COLOR_BTNSHADOW);
    SetTextColor(buffer, colour);
    SetBkMode(buffer, TRANSPARENT);
}

void TSkinButton::RestoreFont(HDC buffer)
{
    if (FOldFont) SelectObject(buffer, FOldFont);
    FOldFont = nullptr;
}

std::wstring TSkinButton::LayoutCaption() const
{
    std::wstring caption = FCaption;
    const size_t at = caption.find(L"||");
    if (at != std::wstring::npos) caption.replace(at, 2, L"\r\n");
    return caption;
}

void TSkinButton::DrawFocusAround(HDC buffer, RECT box)
{
    if (!FFocused || (FSkinData->Options() & SkinOption(xoNoFocusRect))) return;
    InflateRect(&box, Px(2), Px(2));
    DrawFocusRect(buffer, &box);
}

void TSkinButton::DrawCentredCaption(HDC buffer, const RECT& rect)
{
    const std::wstring caption = LayoutCaption();
    RECT area = rect;
    InflateRect(&area, -Px(2), -Px(2));
    RECT box = area;
    DrawTextWide(buffer, caption, box, MEASURE_CENTRED);
    const int width = Width(box);
    const int height = Height(box);
    box.left = area.left + (Width(area) - width) / 2;
    box.top = area.top + (Height(area) - height) / 2 - 1;
    box.right = box.left + width;
    box.bottom = box.top + height;
    DrawTextWide(buffer, caption, box, TextDirectionFlags(DT_CENTER | DT_EXPANDTABS | DT_WORDBREAK));
    if (!caption.empty()) DrawFocusAround(buffer, box);
}

void TSkinButton::Draw(HDC dc, const RECT& rect)
{
    HDC buffer = BeginDraw(dc, rect);
    if (!buffer) return;
    SelectFont(buffer);
    DrawCentredCaption(buffer, rect);
    BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), buffer, 0, 0, SRCCOPY);
    RestoreFont(buffer);
}

// ---- TSkinBitButton ----------------------------------------------------------------------

TSkinBitButton::TSkinBitButton(TComponent* owner) : TSkinButton(owner) {}

void TSkinBitButton::Configure(int, const std::string& property)
{
    FGlyphProperty = property;
}

void TSkinBitButton::DrawGlyphAndCaption(HDC buffer, const RECT& rect, TControl* source, bool speed)
{
    const TGlyphSource glyph = GlyphOf(source, FGlyphProperty, speed);
    const TButtonLayout layout = LayoutOf(source);
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    // The glyph, Margin and Spacing are the button's 96-DPI sizes: the
    // glyph is drawn as large as the scale makes everything else.
    const SIZE glyphSize{Px(glyph.Size.cx), Px(glyph.Size.cy)};
    int margin = GetOrdPropByName(source, "Margin");
    int spacing = GetOrdPropByName(source, "Spacing");
    if (margin > 0) margin = Px(margin);
    if (spacing > 0) spacing = Px(spacing);
    const std::wstring caption = LayoutCaption();

    // The caption's size in what the glyph leaves.
    SIZE text{0, 0};
    if (!caption.empty()) {
        RECT room = rect;
        InflateRect(&room, -Px(2), -Px(2));
        if (across) room.right -= glyphSize.cx + Px(2);
        else room.bottom -= glyphSize.cy + Px(2);
        RECT measured{0, 0, std::max<int>(Width(room), 1), 0};
        DrawTextWide(buffer, caption, measured, DT_CALCRECT | DT_WORDBREAK);
        text = SIZE{Width(measured), Height(measured)};
    }
    const SIZE client{Width(rect), Height(rect)};
    if (!speed && GetLowerPropByName(source, "Alignment") == "tacenter") margin = -1;
    if (speed && margin == -1 && spacing != -1) {
        const int extent = across ? client.cx : client.cy;
        const int g = across ? glyphSize.cx : glyphSize.cy;
        const int t = across ? text.cx : text.cy;
        const int s = (g == 0 || t == 0) ? 0 : spacing;
        margin = (extent - (g + s + t)) / 2 + 1;
    }
    const TButtonGlyphLayout place = LayoutButtonGlyph(client, glyphSize, text, layout, margin, spacing);

    // The glyph: up, disabled, pressed (and down for speed buttons).
    const bool down = speed && GetLowerPropByName(source, "Down") == "true";
    int image = 0;
    if (!FEnabled) image = 1;
    else if (down) image = 3;
    else if (FMouseState & msPressed) image = 2;
    skin::TPicturePaint paint;
    if (glyph.Bitmap) {
        paint = [&](HDC dc, int x, int y) { DrawButtonGlyph(dc, glyph.Bitmap, glyph.NumGlyphs, image, x, y); };
    } else if (glyph.Images) {
        const bool enabled = FEnabled != 0;
        paint = [&, enabled](HDC dc, int x, int y) {
            if (enabled)
                glyph.Images->Draw(dc, x, y, glyph.ImageIndex, true);
            else if (glyph.DisabledIndex != -1)
                glyph.Images->Draw(dc, x, y, glyph.DisabledIndex, true);
            else
                glyph.Images->Draw(dc, x, y, glyph.ImageIndex, false);
        };
    } else if (glyph.Picture) {
        paint = [&](HDC dc, int x, int y) {
            TCanvas canvas;
            canvas.SetHandle(dc);
            RECT whole{x, y, x + glyph.Picture->Width(), y + glyph.Picture->Height()};
            glyph.Picture->Draw(&canvas, whole);
            canvas.SetHandle(nullptr);
        };
    }
    if (paint) {
        // A picture property's whole picture is drawn (its width may hold
        // several glyphs side by side).
        const SIZE own = glyph.Picture ? SIZE{glyph.Picture->Width(), glyph.Picture->Height()} : glyph.Size;
        skin::DrawScaledPicture(buffer, place.Glyph.left, place.Glyph.top, own, Dpi(), paint);
    }

    RECT box = place.Text;
    UINT format = DT_WORDBREAK;
    if (layout == blGlyphRight) format |= DT_RIGHT;
    else if (!across) format |= DT_CENTER;
    DrawTextWide(buffer, caption, box, TextDirectionFlags(format));
    if (!caption.empty()) DrawFocusAround(buffer, place.Text);
}

void TSkinBitButton::Draw(HDC dc, const RECT& rect)
{
    TControl* target = Target();
    if (target && GetLowerPropByName(target, "Visible") == "false") return;
    HDC buffer = BeginDraw(dc, rect);
    if (!buffer) return;
    SelectFont(buffer);
    DrawGlyphAndCaption(buffer, rect, target, false);
    BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), buffer, 0, 0, SRCCOPY);
    RestoreFont(buffer);
}

// ---- TSkinSpeedButton ----------------------------------------------------------------------

TSkinSpeedButton::TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) {}

TSkinSpeedButton::~TSkinSpeedButton()
{
    GiveWindowProcBack();
}

void TSkinSpeedButton::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas)
{
    auto* button = As<TControl>(Owner());
    if (FAttached || !button || !skinData) return;
    FSkinData = skinData;
    FFormSkinner = formSkinner;
    FCanvas = canvas;
    FPaintTarget = button;
    FSavedWindowMethod = button->WindowProc();
    button->SetWindowProc(TWndMethod(static_cast<TSkinControl*>(this), &TSkinControl::SkinWndProc));
    Register();
    FLifeState = lsAttached;
    FAttached = 1;
    FParentBackground =
        button->Tag() == TRANSPARENT_TAG || (skinData->Options() & SkinOption(xoTransparent)) ? 1 : 0;
    button->Invalidate();
}

void TSkinSpeedButton::GiveWindowProcBack()
{
    // A speed button that is being destroyed is past taking anything back.
    if (FPaintTarget && FSavedWindowMethod && !FPaintTarget->HasState(csDestroying) &&
        FPaintTarget->WindowProc() == TWndMethod(static_cast<TSkinControl*>(this), &TSkinControl::SkinWndProc))
        FPaintTarget->SetWindowProc(FSavedWindowMethod);
    FSavedWindowMethod = TWndMethod();
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT: {
        RECT rect{0, 0, FPaintTarget->Width(), FPaintTarget->Height()};
        if (message.WParam) Draw(reinterpret_cast<HDC>(message.WParam), rect);
        message.Result = 1;
        return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(message);
        if (FPaintTarget->Enabled()) {
            FMouseState |= msPressed;
            Redraw();
        }
        return false;
    case WM_LBUTTONUP:
        CallPrevious(message);
        AfterMessage(message);
        return false;
    case WM_MOUSEMOVE:
    case WM_TIMER:
        return true;
    default:
        return TSkinButton::BeforeMessage(message);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
    case WM_MOUSEMOVE:
        break;
    case WM_NCDESTROY:
    case CM_RELEASE:
        GiveWindowProcBack();
        break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            FMouseState |= msPressed;
            Redraw();
        }
        break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
        if (message.Msg == WM_LBUTTONUP || message.WParam == VK_SPACE) {
            FMouseState &= ~msPressed;
            Redraw();
        }
        break;
    case CM_MOUSEENTER:
        FMouseState |= msHot;
        Redraw();
        break;
    case CM_MOUSELEAVE:
        FMouseState &= ~(msHot | msPressed);
        if (FPaintTarget->Visible()) Redraw();
        break;
    case CM_TEXTCHANGED:
        FPaintTarget->Invalidate();
        break;
    default:
        break;
    }
}

int TSkinSpeedButton::FrameIndex()
{
    if (GetLowerPropByName(FPaintTarget, "Down") == "true") return 2;
    if (GetLowerPropByName(FPaintTarget, "Enabled") != "true") return 3;
    if (FMouseState & msPressed) return 2;
    if (FMouseState & msHot) return 4;
    return 1;
}

void TSkinSpeedButton::Redraw()
{
    TWinControl* parent = FPaintTarget ? FPaintTarget->Parent() : nullptr;
    if (!parent || !parent->HandleAllocated() || !FPaintTarget->Visible()) return;
    TWindowDC dc = TWindowDC::Client(parent->HandleIfAllocated());
    if (dc.IsNull()) return;
    SetViewportOrgEx(dc, FPaintTarget->Left(), FPaintTarget->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, FPaintTarget->Width(), FPaintTarget->Height());
    Draw(dc, RECT{0, 0, FPaintTarget->Width(), FPaintTarget->Height()});
}

void TSkinSpeedButton::Draw(HDC dc, const RECT& rect)
{
    if (FDrawing || !FPaintTarget || Width(rect) <= 0 || Height(rect) <= 0) return;
    if (GetLowerPropByName(FPaintTarget, "Visible") == "false") return;
    const TDataSkinButton* buttons = FSkinData ? Skin().Buttons.get() : nullptr;
    if (!buttons || buttons->Bitmap.Empty()) return;
    FDrawing = true;
    try {
        FEnabled = GetLowerPropByName(FPaintTarget, "Enabled") == "true" ? 1 : 0;
        FFocused = 0;
        FCaption = GetTextPropByName(FPaintTarget, "Caption");
        const int index = FrameIndex();
        HDC buffer = FBuffer.Prepare(dc, Width(rect), Height(rect));
        if (buffer) {
            if (FParentBackground)
                PaintParentBackground(FPaintTarget, buffer);
            else
                FillFace(buffer, rect);
            const bool flat = GetLowerPropByName(FPaintTarget, "Flat") == "true";
            if (!flat || index == 2 || index == 4)
                DrawObjectFrame(buffer, rect, buttons->Frame > 0 ? buttons->Frame : 5, index, buttons);
            SelectFont(buffer);
            if (GlyphOf(FPaintTarget, FGlyphProperty, true).Size.cx == 0)
                DrawCentredCaption(buffer, rect);
            else
                DrawGlyphAndCaption(buffer, rect, FPaintTarget, true);
            BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), buffer, 0, 0, SRCCOPY);
            RestoreFont(buffer);
        }
    } catch (...) {
    }
    FDrawing = false;
}

// ---- TSkinMenuButton ----------------------------------------------------------------------

TSkinMenuButton::TSkinMenuButton(TComponent* owner) : TSkinButton(owner) {}

int TSkinMenuButton::FrameIndex()
{
    if (!FEnabled) return 3;
    if (FMouseState & msPressed) return 2;
    if ((FMouseState & msHot) || FFocused) return 4;
    return 1;
}

void TSkinMenuButton::Draw(HDC dc, const RECT& rect)
{
    HDC buffer = BeginDraw(dc, rect);
    if (!buffer) return;
    SelectFont(buffer);
    TControl* target = Target();
    const TGlyphSource glyph = GlyphOf(target, std::string(), false);
    // The glyph, Margin and Spacing are 96-DPI sizes, as for bitmap buttons.
    const SIZE own = glyph.Bitmap ? SIZE{glyph.Bitmap->Width(), glyph.Bitmap->Height()} : SIZE{0, 0};
    const SIZE g{Px(own.cx), Px(own.cy)};
    const std::wstring caption = LayoutCaption();
    SIZE t{0, 0};
    if (!caption.empty()) {
        RECT measured{0, 0, Width(rect), 0};
        DrawTextWide(buffer, caption, measured, DT_CALCRECT | DT_SINGLELINE);
        t = SIZE{Width(measured), Height(measured)};
    }
    const int w = Width(rect);
    const int h = Height(rect);
    int margin = GetOrdPropByName(target, "Margin");
    int spacing = GetOrdPropByName(target, "Spacing");
    if (margin > 0) margin = Px(margin);
    if (spacing > 0) spacing = Px(spacing);
    if (margin == -1 && spacing == -1) {
        margin = (w - (g.cx + t.cx + Px(8))) / 4;
        spacing = margin;
    } else if (margin == -1) {
        margin = (w - (g.cx + t.cx + 2 * spacing + Px(8))) / 2;
    } else if (spacing == -1) {
        spacing = (w + Px(8) - 2 * margin - g.cx - t.cx) / 2;
    }
    if (glyph.Bitmap) {
        const int image = FEnabled ? 0 : 1;
        skin::DrawScaledPicture(buffer, margin, (h - g.cy) / 2, own, Dpi(), [&](HDC to, int x, int y) {
            DrawButtonGlyph(to, glyph.Bitmap, 1, image, x, y);
        });
    }
    const int textX = margin + g.cx + spacing;
    const int textY = (h - t.cy + 1) / 2;
    RECT box{textX, textY, textX + t.cx, textY + t.cy};
    DrawTextWide(buffer, caption, box, TextDirectionFlags(DT_SINGLELINE | DT_NOCLIP));
    // The drop-down arrow right of the caption.
    const int x = textX + t.cx + 2 * spacing;
    const int y = (h - Px(3)) / 2;
    const POINT points[3] = {{x, y + Px(2)}, {x - Px(3), y - Px(1)}, {x + Px(3), y - Px(1)}};
    // In the caption's colour: the skin's text colour stands out on the
    // skin's face (a dark skin's face hides a black arrow).
    const COLORREF colour = GetTextColor(buffer);
    {
        TGdiBrush brush(CreateSolidBrush(colour));
        TGdiPen pen(CreatePen(PS_SOLID, 1, colour));
        TSelectObject b(buffer, brush);
        TSelectObject p(buffer, pen);
        Polygon(buffer, points, 3);
    }
    if (!caption.empty()) DrawFocusAround(buffer, box);
    BitBlt(dc, rect.left, rect.top, w, h, buffer, 0, 0, SRCCOPY);
    RestoreFont(buffer);
}
