// The popup-menu skinner: the frame and background of an open menu window
// from the skin's "MenuBackground" object. See popup_menu.h.
//
// A menu window either has a non-client frame (the frame is painted on
// WM_NCPAINT and WM_PRINT) or, as some systems make it, draws its frame
// inside its client area; then the frame ring is painted over the client's
// edge after each WM_PAINT. Either way the items, drawn by their owner,
// copy the kept background from under them.
#include "skin/form/popup_menu.h"

#include "framework/display_scale.h"
#include "skin/data/frame_draw.h"
#include "skin/data/skin_component.h"

namespace {

// The width of a popup menu's frame.
constexpr int POPUP_FRAME = 3;

LRESULT CALLBACK PopupThunkProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return reinterpret_cast<TWinSkinPopMenu*>(self)->WndProc(msg, wParam, lParam);
}

bool HasNonClientFrame(HWND window)
{
    RECT bounds{}, client{};
    GetWindowRect(window, &bounds);
    GetClientRect(window, &client);
    return (bounds.right - bounds.left) != client.right || (bounds.bottom - bounds.top) != client.bottom;
}

TPopupMenuSkinnerLink* MakePopupMenuSkinner(HWND window, TSkinData* skinData)
{
    try {
        auto* skinner = new TWinSkinPopMenu();
        skinner->Attach(window, skinData, nullptr);
        return skinner;
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

void RegisterPopupMenuSkinning()
{
    SetPopupMenuSkinnerFactory(MakePopupMenuSkinner);
}

TWinSkinPopMenu::~TWinSkinPopMenu()
{
    try {
        Detach();
    } catch (...) {
    }
}

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skinData, HMENU menu)
{
    Handle = window;
    SkinData = skinData;
    FMenuHandle = menu;
    HWND opener = GetActiveWindow();
    Dpi = WindowDpi(opener && opener != window ? opener : window);
    if (WndProcInstance || !IsWindow(window)) return;
    WndProcInstance = TWndProcThunk::Create(this, PopupThunkProc);
    if (!WndProcInstance) return;
    OldWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WndProcInstance->Proc())));
}

void TWinSkinPopMenu::Detach()
{
    Background.Reset();
    UnsubclassThunk(Handle, WndProcInstance, OldWndProc, false);
}

HMENU TWinSkinPopMenu::MenuHandle() const
{
    if (!FMenuHandle && IsWindow(Handle))
        FMenuHandle = reinterpret_cast<HMENU>(SendMessageA(Handle, MN_GETHMENU, 0, 0) /* the menu the window shows */);
    return FMenuHandle;
}

LRESULT TWinSkinPopMenu::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!OldWndProc) return DefWindowProcA(Handle, msg, wParam, lParam);
    return CallWindowProcA(OldWndProc, Handle, msg, wParam, lParam);
}

bool TWinSkinPopMenu::CanPaint() const
{
    if (!SkinData || SkinData->NoSkin()) return false;
    const TDataSkinObject* background = SkinData->Object(ssMenuBackground);
    return background && !background->Bitmap.Empty();
}

bool TWinSkinPopMenu::BuildBackground()
{
    RECT bounds{};
    if (!CanPaint() || !GetWindowRect(Handle, &bounds)) return false;
    const TDataSkinObject* object = SkinData->ModelFor(Dpi).Object(ssMenuBackground);
    if (!object || object->Bitmap.Empty()) return false;
    const HBITMAP source = object->Bitmap.Handle();
    const RECT size{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
    // Kept while the window keeps its size and the skin its picture: a menu
    // window is painted several times while it is open, and a new picture
    // each time costs fresh bitmap memory.
    BITMAP kept{};
    if (!Background.IsNull() && BackgroundSource == source && GetObjectA(Background, sizeof kept, &kept) &&
        kept.bmWidth == size.right && kept.bmHeight == size.bottom)
        return true;
    const RECT margins{object->LeftWidth, object->TopHeight, object->RightWidth, object->BottomHeight};
    BackgroundSource = source;
    Background = skin::BuildFrameBitmap(size, source, margins, 1, 1, object->Tile != 0, false);
    return !Background.IsNull();
}

void TWinSkinPopMenu::PaintFrameRing(HDC dc)
{
    BITMAP info{};
    if (!dc || Background.IsNull() || !GetObjectA(Background, sizeof info, &info)) return;
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    TMemoryDC source(dc);
    TSelectObject selected(source, Background);
    const RECT strips[4] = {{0, 0, width, POPUP_FRAME},
                            {0, height - POPUP_FRAME, width, height},
                            {0, POPUP_FRAME, POPUP_FRAME, height - POPUP_FRAME},
                            {width - POPUP_FRAME, POPUP_FRAME, width, height - POPUP_FRAME}};
    for (const RECT& strip : strips)
        BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top, source, strip.left,
               strip.top, SRCCOPY);
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        if (msg == SKM_QUERYSKIN) return 1;
        TSkinManage* manager = SkinManager();
        if (!manager || !manager->Skinning) return CallDefault(msg, wParam, lParam);
        switch (msg) {
        case WM_DESTROY: {
            const WNDPROC old = OldWndProc;
            const HWND window = Handle;
            Detach();
            return old ? CallWindowProcA(old, window, msg, wParam, lParam) : DefWindowProcA(window, msg, wParam, lParam);
        }
        case WM_ERASEBKGND:
            if (SkinIsWinNT()) {
                if (!SkinData || !(SkinData->Options() & SkinOption(xoMenuBG))) CallDefault(msg, wParam, lParam);
                return 1;
            }
            return 1;
        case WM_NCPAINT: {
            if (!CanPaint() || wParam != 1) {
                BuildBackground();
                return CallDefault(msg, wParam, lParam);
            }
            if (!BuildBackground()) return CallDefault(msg, wParam, lParam);
            if (!HasNonClientFrame(Handle)) return CallDefault(msg, wParam, lParam);
            TWindowDC dc = TWindowDC::Whole(Handle);
            BITMAP info{};
            if (!dc.IsNull() && GetObjectA(Background, sizeof info, &info)) {
                TMemoryDC source(dc);
                TSelectObject selected(source, Background);
                BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
            }
            return 0;
        }
        case WM_PAINT: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (CanPaint() && !HasNonClientFrame(Handle)) {
                if (Background.IsNull()) BuildBackground();
                TWindowDC dc = TWindowDC::Whole(Handle);
                PaintFrameRing(dc);
            }
            return result;
        }
        case WM_PRINT: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (!dc || !BuildBackground()) return CallDefault(msg, wParam, lParam);
            BITMAP info{};
            GetObjectA(Background, sizeof info, &info);
            {
                TMemoryDC source(dc);
                TSelectObject selected(source, Background);
                BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
            }
            TSaveDC saved(dc);
            SetBkMode(dc, TRANSPARENT);
            IntersectClipRect(dc, POPUP_FRAME, POPUP_FRAME, info.bmWidth - POPUP_FRAME, info.bmHeight - POPUP_FRAME);
            return CallDefault(msg, wParam, lParam);
        }
        default:
            return CallDefault(msg, wParam, lParam);
        }
    } catch (...) {
        return 0;
    }
}
