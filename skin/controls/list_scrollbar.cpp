// The drop-down list's scroll bar (see list_scrollbar.h).
#include "skin/controls/list_scrollbar.h"

#include "skin/controls/scroll_painting.h"
#include "skin/data/skin_component.h"

namespace skin {

void PaintListBar(HDC dc, const RECT& windowRect, int which, HWND list, const TSkinModel& skin)
{
    if (!SkinHasScrollBar(&skin) || !dc) return;
    RECT window;
    if (!GetWindowRect(list, &window)) return;
    const int windowWidth = window.right - window.left, windowHeight = window.bottom - window.top;
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!SkinGetScrollBarInfo(list, which == 1 ? OBJID_VSCROLL : OBJID_HSCROLL, info)) return;
    if (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) return;
    const bool vertical = which == 1;
    RECT r{0, 0, info.rcScrollBar.right - info.rcScrollBar.left, info.rcScrollBar.bottom - info.rcScrollBar.top};
    if (r.right < 0 || r.bottom < 0 || r.right > windowWidth || r.bottom > windowHeight) return;
    const int arrowSize = GetSystemMetrics(SM_CXHSCROLL);
    const int imageHeight = skin.Object(ssScrollbar)->Bitmap.Height();
    (vertical ? r.right : r.bottom) = BarThickness(imageHeight, arrowSize);

    TScrollBarLook look;
    look.Vertical = vertical;
    look.BitmapSize = SIZE{r.right, r.bottom};
    look.Bar = r;
    look.ArrowSize = arrowSize;
    const int windowLength = vertical ? windowRect.bottom - windowRect.top : windowRect.right - windowRect.left;
    look.ArrowLength = windowLength < 2 * arrowSize ? windowLength / 2 : arrowSize;
    look.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    look.Thumb = TThumbExtent{info.xyThumbTop, info.xyThumbBottom};
    look.Limit = vertical ? windowHeight : windowWidth;
    TGdiBitmap picture = ComposeScrollBar(skin, look);
    if (!picture.IsNull())
        CopyPicture(dc, picture, info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top);
}

bool DragListThumb(HWND list, WPARAM hitTest, POINT screenPoint)
{
    if (hitTest != HTVSCROLL) return false;
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    if (!SkinGetScrollBarInfo(list, OBJID_VSCROLL, bar)) return false;
    const int offset = screenPoint.y - bar.rcScrollBar.top;
    if (offset < bar.xyThumbTop || offset > bar.xyThumbBottom) return false;

    const int arrowSize = GetSystemMetrics(SM_CXHSCROLL);
    SetCapture(list);
    POINT start;
    GetCursorPos(&start);
    SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS};
    GetScrollInfo(list, SB_VERT, &scroll);
    const int thumbOffset = bar.xyThumbTop - arrowSize;
    int last = scroll.nPos;
    const int track = (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 2 * arrowSize;
    const int thumbLength = bar.xyThumbBottom - bar.xyThumbTop;
    SetCapture(list);

    MSG msg;
    bool dragging = true;
    while (dragging && GetMessageA(&msg, nullptr, 0, 0)) {
        switch (msg.message) {
        case WM_NCMOUSEMOVE:
        case WM_MOUSEMOVE: {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            POINT cursor;
            GetCursorPos(&cursor);
            int n = thumbOffset + (cursor.y - start.y);
            const int position = ListDragPosition(n, track, thumbLength, scroll.nMin, scroll.nMax,
                                                  static_cast<int>(scroll.nPage));
            if (position != last) {
                SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
                last = position;
            }
            break;
        }
        case WM_NCLBUTTONUP:
        case WM_LBUTTONUP:
            SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
            PostMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
            dragging = false;
            break;
        default:
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            break;
        }
        if (!IsWindow(list)) break;
        // Another window took the mouse: the release will not come here.
        if (dragging && GetCapture() != list) {
            SendMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
            PostMessageA(list, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
            dragging = false;
        }
    }
    if (dragging && msg.message == WM_QUIT) PostQuitMessage(static_cast<int>(msg.wParam));
    ReleaseCapture();
    return true;
}

}  // namespace skin
