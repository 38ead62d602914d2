// Tab control, page control and tab sheet skinners (see tab_skinner.h).
#include "skin/controls/tab_skinner.h"

#include <climits>

#include <commctrl.h>

#include "framework/page_control.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_model.h"
#include "skin/form/form_skinner.h"

IMPLEMENT_CLASS(TSkinTabStrip)
IMPLEMENT_CLASS(TSkinTab)
IMPLEMENT_CLASS(TSkinTabBtn)
IMPLEMENT_CLASS(TSkinTabSheet)

DEFINE_SKINNER(TSkinTab, TSkinTab)
DEFINE_SKINNER(TSkinTabBtn, TSkinTabBtn)
DEFINE_SKINNER(TSkinTabSheet, TSkinTabSheet)

namespace {

// A page control with this Tag shows close boxes on its tabs.
constexpr int CLOSE_BOX_TAG = 7777;
// The frames of "Tabs": 1 ordinary, 2 selected, 3 under the pointer.
constexpr int TAB_HOT_FRAME = 3;
// The frames of "Buttons": 4 under the pointer.
constexpr int BUTTON_HOT_FRAME = 4;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The control's display area for its whole rectangle `rect`.
RECT DisplayRect(HWND window, const RECT& rect)
{
    RECT display = rect;
    SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    return display;
}

HFONT WindowFont(HWND window)
{
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// A 24-bit buffer of `size` selected into its own memory DC.
struct TStripBuffer {
    TMemoryDC DC;
    TGdiBitmap Bitmap;
    HGDIOBJ Old = nullptr;
    explicit TStripBuffer(SIZE size) : Bitmap(skin::MakeDibSection(size.cx, size.cy, 24))
    {
        if (Bitmap) Old = SelectObject(DC, Bitmap);
    }
    // Takes the bitmap out of the DC (to turn it or copy it).
    void Deselect()
    {
        if (Old) SelectObject(DC, Old);
        Old = nullptr;
    }
    ~TStripBuffer() { Deselect(); }
};

void CopyBitmap(HDC dc, const RECT& to, HBITMAP bitmap)
{
    TMemoryDC source;
    TSelectObject selected(source, bitmap);
    BitBlt(dc, to.left, to.top, Width(to), Height(to), source, 0, 0, SRCCOPY);
}

}  // namespace

// ---- TSkinTabStrip ------------------------------------------------------------------

bool TSkinTabStrip::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        PaintMessage(message);
        return false;
    case WM_ERASEBKGND:
        // Every pixel is painted by the skinner.
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinTabStrip::SetHot(int tab)
{
    if (tab == FHot) return;
    FHot = tab;
    Repaint();
}

void TSkinTabStrip::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        TCHITTESTINFO hit{{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))}, 0};
        const int tab = static_cast<int>(SendMessageW(FWindow, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (tab != FHot && !FControl) SkinTrackMouseLeave(FWindow);
        SetHot(IsWindowEnabled(FWindow) ? tab : -1);
        return;
    }
    case CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
        SetHot(-1);
        return;
    }
    TSkinControl::AfterMessage(message);
}

// ---- TSkinTab -----------------------------------------------------------------------

void TSkinTab::Configure(int kind, const std::string&) { FKind = kind; }

void TSkinTab::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!FAttached) return;
    if (FKind == 2) FVariant = 2;
    RefreshState();
    auto* pages = As<TPageControl>(FControl);
    FCloseButtons = pages && pages->Tag() == CLOSE_BOX_TAG && pages->TabPosition() == tpTop;
    PrepareImages();
    FindScroller(nullptr);
    FActive = 1;
}

void TSkinTab::AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas)
{
    TSkinControl::AttachWindow(window, skinData, formSkinner, canvas);
    RefreshState();
    PrepareImages();
    FindScroller(nullptr);
    FActive = 1;
}

void TSkinTab::SkinChanged()
{
    TSkinControl::SkinChanged();
    PrepareImages();
    Repaint();
}

void TSkinTab::PrepareImages()
{
    FOrientation = skin::TabOrientationOf(static_cast<DWORD>(GetWindowLongOf(FWindow, GWL_STYLE)));
    if (FSkinData) FImages.Prepare(Skin(), FOrientation);
}

bool TSkinTab::FindScroller(RECT* scroller)
{
    HWND upDown = FindWindowExA(FWindow, nullptr, UPDOWN_CLASSA, nullptr);
    if (!upDown) return false;
    if (!FUpDown) {
        FUpDown = NewSkinner("TSkinUpDown", FControl);
        if (FUpDown) FUpDown->AttachWindow(upDown, FSkinData, FFormSkinner, FCanvas);
    }
    if (!(GetWindowLongA(upDown, GWL_STYLE) & WS_VISIBLE)) return false;
    if (scroller) {
        GetWindowRect(upDown, scroller);
        MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(scroller), 2);
    }
    return true;
}

bool TSkinTab::CloseBoxClicked(int x, int y)
{
    auto* pages = As<TPageControl>(FControl);
    if (!pages) return false;
    for (int i = 0; i < static_cast<int>(FCloseRects.size()); ++i) {
        const RECT& box = FCloseRects[i];
        if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) continue;
        HWND form = FFormSkinner ? FFormSkinner->Handle() : GetAncestor(FWindow, GA_ROOT);
        if (SendMessageW(form, SKM_QUERYCLOSEPAGE, reinterpret_cast<WPARAM>(FWindow), i) == 0) {
            // The tab's page; pages without a tab are not on the strip.
            for (int p = 0; p < pages->PageCount(); ++p)
                if (pages->Pages(p)->TabIndex() == i) {
                    delete pages->Pages(p);
                    break;
                }
        }
        return true;
    }
    return false;
}

bool TSkinTab::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_LBUTTONDOWN && FCloseButtons &&
        CloseBoxClicked(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam)))) {
        message.Result = 0;
        return false;
    }
    return TSkinTabStrip::BeforeMessage(message);
}

void TSkinTab::Draw(HDC dc, const RECT& rect)
{
    using namespace skin;
    if (!FImages.Tab) return;
    auto* tabs = Skin().Object(ssTabs);
    if (!tabs) return;
    RefreshState();
    const RECT page = TabPageRect(DisplayRect(FWindow, rect), FOrientation);
    std::vector<TTabItem> items = ReadTabItems(FWindow, FUnicode != 0);
    const int focused = static_cast<int>(SendMessageW(FWindow, TCM_GETCURFOCUS, 0, 0));
    const RECT strip = TabStripRect(rect, page, FOrientation);
    FCloseRects.assign(items.size(), RECT{});
    const SIZE size = TabBufferSize(strip, FOrientation);
    if (size.cx > 0 && size.cy > 0) {
        TStripBuffer buffer(size);
        if (!buffer.Bitmap) return;
        FillParentColour(buffer.DC, RECT{0, 0, size.cx, size.cy});
        TSelectObject font(buffer.DC, WindowFont(FWindow));
        // A scrolled row's scroll arrows cover the tabs beyond them: a tab
        // that runs under them shows no text, rather than a cut one.
        LONG arrowsLeft = LONG_MAX;
        HWND arrows = FindWindowExW(FWindow, nullptr, L"msctls_updown32", nullptr);
        if (arrows && IsWindowVisible(arrows)) {
            RECT at{};
            GetWindowRect(arrows, &at);
            MapWindowPoints(nullptr, FWindow, reinterpret_cast<POINT*>(&at), 2);
            arrowsLeft = at.left;
        }
        for (TTabItem& item : items) {
            RECT control = item.Rect;
            if (control.right > arrowsLeft) item.Text.clear();
            item.Rect = TabBufferRect(control, rect, strip, page, FOrientation);
        }
        TTabLook look = TTabLook::Of(*tabs, FImages.Tab);
        // The tab under the pointer shows the strip's third frame, when the
        // strip has one.
        look.HotFrame = look.FrameCount >= TAB_HOT_FRAME ? TAB_HOT_FRAME : 0;
        const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FWindow, TCM_GETIMAGELIST, 0, 0));
        DrawTabRow(buffer.DC, items, focused, FHot, look, images, FEnabled != 0,
                   (TextDirectionFlags(0) & DT_RTLREADING) != 0);
        if (FCloseButtons) {
            for (size_t i = 0; i < items.size(); ++i) {
                if (!items[i].Visible) continue;
                const RECT& t = items[i].Rect;
                const RECT box{t.right - Px(8), t.top + Px(2), t.right - Px(2), t.top + Px(8)};
                MoveToEx(buffer.DC, box.left, box.top, nullptr);
                LineTo(buffer.DC, box.right, box.top);
                LineTo(buffer.DC, box.right, box.bottom);
                LineTo(buffer.DC, box.left, box.bottom);
                LineTo(buffer.DC, box.left, box.top);
                LineTo(buffer.DC, box.right, box.bottom);
                MoveToEx(buffer.DC, box.right, box.top, nullptr);
                LineTo(buffer.DC, box.left, box.bottom);
                // Kept in control coordinates (the top strip sits one pixel higher).
                FCloseRects[i] = RECT{box.left + strip.left, box.top + strip.top - 1, box.right + strip.left,
                                      box.bottom + strip.top - 1};
            }
        }
        buffer.Deselect();
        TurnTabBuffer(buffer.Bitmap, FOrientation);
        RECT scroller{};
        const int saved = SaveDC(dc);
        if (FindScroller(&scroller)) ExcludeClipRect(dc, scroller.left, scroller.top, scroller.right, scroller.bottom);
        CopyBitmap(dc, strip, buffer.Bitmap);
        RestoreDC(dc, saved);
    }
    if (FImages.Page) {
        const RECT margins = FImages.PageMargins;
        // The sheets, being child windows, cover the page's inside.
        DrawFrameBitmap(dc, page, FImages.Page, margins, 1, 1, false, false, false);
    }
    if (FVariant == 2 && FControl) FControl->PaintControls(dc);
}

// ---- TSkinTabBtn --------------------------------------------------------------------

void TSkinTabBtn::Draw(HDC dc, const RECT& rect)
{
    using namespace skin;
    TDataSkinButton* buttons = Skin().Buttons.get();
    if (!buttons || buttons->Bitmap.Empty()) return;
    RefreshState();
    RECT page = DisplayRect(FWindow, rect);
    InflateRect(&page, 4, 4);
    page.top += 1;
    const RECT strip{rect.left, rect.top, rect.right, page.top};
    // Around the pages (child windows) the control shows the face colour.
    {
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
        FillFace(dc, rect);
        RestoreDC(dc, saved);
    }
    if (Width(strip) <= 0 || Height(strip) <= 0) return;
    TStripBuffer buffer(SIZE{Width(strip), Height(strip)});
    if (!buffer.Bitmap) return;
    FillFace(buffer.DC, RECT{0, 0, Width(strip), Height(strip)});
    TSelectObject font(buffer.DC, WindowFont(FWindow));
    std::vector<TTabItem> items = ReadTabItems(FWindow, FUnicode != 0);
    for (TTabItem& item : items) OffsetRect(&item.Rect, -strip.left, 1 - strip.top);
    TTabLook look = TTabLook::Of(*buttons, buttons->Bitmap.Handle());
    look.NormalText = buttons->HasNormalColour2 ? ResolveColour(buttons->NormalColour2) : RGB(0, 0, 0);
    look.SelectedText = buttons->HasPressedColour2 ? ResolveColour(buttons->PressedColour2) : RGB(0, 0, 0);
    look.HotFrame = look.FrameCount >= BUTTON_HOT_FRAME ? BUTTON_HOT_FRAME : 0;
    const int focused = static_cast<int>(SendMessageW(FWindow, TCM_GETCURFOCUS, 0, 0));
    const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FWindow, TCM_GETIMAGELIST, 0, 0));
    DrawTabRow(buffer.DC, items, focused, FHot, look, images, FEnabled != 0,
               (TextDirectionFlags(0) & DT_RTLREADING) != 0);
    BitBlt(dc, strip.left, strip.top, Width(strip), Height(strip), buffer.DC, 0, 0, SRCCOPY);
}

// ---- TSkinTabSheet ------------------------------------------------------------------

bool TSkinTabSheet::BeforeMessage(TMessage& message)
{
    if (!TSkinControl::BeforeMessage(message)) return false;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINT:
        if (FVariant != 0) return true;
        PaintMessage(message);
        return false;
    case WM_ERASEBKGND: {
        if (FVariant != 0) return true;
        RECT client{};
        GetClientRect(FWindow, &client);
        FillRect(reinterpret_cast<HDC>(message.WParam), &client, FSkinData->FaceBrush());
        message.Result = 1;
        return false;
    }
    default:
        return true;
    }
}

void TSkinTabSheet::Draw(HDC dc, const RECT& rect)
{
    FillFace(dc, rect);
    if (FControl) FControl->PaintControls(dc);
}
