// The popup-menu skinner: the frame and background of an open menu window
// from the skin's "MenuBackground" object. See popup_menu.h.
//
// A menu window either has a non-client frame (the frame is painted on
// WM_NCPAINT and WM_PRINT) or, as some systems make it, draws its frame
// inside its client area; then the frame ring is painted over the client's
// edge after each WM_PAINT. Either way the items, drawn by their owner,
// copy the kept background from under them.
#include "skin/form/popup_menu.h"

#include <algorithm>
#include <vector>

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

// Backgrounds built for menu windows, kept for the next window of the same
// size, scale and skin model: a menu opened again is a new window each time,
// and a new picture costs fresh memory and its composing. The most recent
// first; a few, for the menus and submenus of a program.
struct TKeptBackground {
    unsigned Generation;
    UINT Dpi;
    int Width, Height;
    std::shared_ptr<const TGdiBitmap> Picture;
};
constexpr size_t KEPT_BACKGROUNDS = 4;
std::vector<TKeptBackground>& KeptBackgrounds()
{
    static std::vector<TKeptBackground> kept;
    return kept;
}

std::shared_ptr<const TGdiBitmap> FindKeptBackground(unsigned generation, UINT dpi, int width, int height)
{
    std::vector<TKeptBackground>& kept = KeptBackgrounds();
    const auto found = std::find_if(kept.begin(), kept.end(), [&](const TKeptBackground& k) {
        return k.Generation == generation && k.Dpi == dpi && k.Width == width && k.Height == height;
    });
    if (found == kept.end()) return nullptr;
    std::rotate(kept.begin(), found, found + 1);
    return kept.front().Picture;
}

void KeepBackground(const TKeptBackground& background)
{
    std::vector<TKeptBackground>& kept = KeptBackgrounds();
    // Pictures of older models are never asked for again.
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [&](const TKeptBackground& k) { return k.Generation < background.Generation; }),
               kept.end());
    kept.insert(kept.begin(), background);
    if (kept.size() > KEPT_BACKGROUNDS) kept.resize(KEPT_BACKGROUNDS);
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
    Background.reset();
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
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    // Kept while the window keeps its size and the skin its picture: a menu
    // window is painted several times while it is open.
    const unsigned generation = SkinData->ModelGeneration();
    BITMAP kept{};
    if (Background && BackgroundGeneration == generation && GetObjectA(Background->Get(), sizeof kept, &kept) &&
        kept.bmWidth == width && kept.bmHeight == height)
        return true;
    BackgroundGeneration = generation;
    Background = FindKeptBackground(generation, Dpi, width, height);
    if (Background) return true;
    const RECT margins{object->LeftWidth, object->TopHeight, object->RightWidth, object->BottomHeight};
    auto built = std::make_shared<TGdiBitmap>(skin::BuildFrameBitmap(RECT{0, 0, width, height},
                                                                     object->Bitmap.Handle(), margins, 1, 1,
                                                                     object->Tile != 0, false));
    if (built->IsNull()) return false;
    Background = built;
    KeepBackground(TKeptBackground{generation, Dpi, width, height, Background});
    return true;
}

void TWinSkinPopMenu::PaintFrameRing(HDC dc)
{
    BITMAP info{};
    if (!dc || !Background || !GetObjectA(Background->Get(), sizeof info, &info)) return;
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    TMemoryDC source(dc);
    TSelectObject selected(source, Background->Get());
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
            if (!dc.IsNull() && GetObjectA(Background->Get(), sizeof info, &info)) {
                TMemoryDC source(dc);
                TSelectObject selected(source, Background->Get());
                BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
            }
            return 0;
        }
        case WM_PAINT: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (CanPaint() && !HasNonClientFrame(Handle)) {
                if (!Background) BuildBackground();
                TWindowDC dc = TWindowDC::Whole(Handle);
                PaintFrameRing(dc);
            }
            return result;
        }
        case WM_PRINT: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (!dc || !BuildBackground()) return CallDefault(msg, wParam, lParam);
            BITMAP info{};
            GetObjectA(Background->Get(), sizeof info, &info);
            {
                TMemoryDC source(dc);
                TSelectObject selected(source, Background->Get());
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
