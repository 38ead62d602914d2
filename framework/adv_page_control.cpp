// The page control with painted tabs (see adv_page_control.h).
#include "framework/adv_page_control.h"

#include <commctrl.h>

#include "framework/gdi_handles.h"
#include "framework/messages.h"

using PAdvPageControl = TPropBuilder<TAdvPageControl>;
IMPLEMENT_CLASS(TAdvPageControl,
    PAdvPageControl::Object("TabBackGround", &TAdvPageControl::TabBackGround, &TAdvPageControl::SetTabBackGround),
    PAdvPageControl::Object("TabBackGroundActive", &TAdvPageControl::TabBackGroundActive,
                            &TAdvPageControl::SetTabBackGroundActive))

namespace {

void AssignPicture(TBitmap& target, TBitmap* value)
{
    if (value)
        target.Assign(*value);
    else
        target.SetSize(0, 0);
}

}  // namespace

TAdvPageControl::TAdvPageControl(TComponent* owner)
    : TPageControl(owner), FTabBackGround(std::make_unique<TBitmap>()),
      FTabBackGroundActive(std::make_unique<TBitmap>())
{
    FTabBackGround->OnChange = [this](TObject*) { Invalidate(); };
    FTabBackGroundActive->OnChange = [this](TObject*) { Invalidate(); };
}

TAdvPageControl::~TAdvPageControl() = default;

void TAdvPageControl::SetTabBackGround(TBitmap* value)
{
    AssignPicture(*FTabBackGround, value);
    Invalidate();
}

void TAdvPageControl::SetTabBackGroundActive(TBitmap* value)
{
    AssignPicture(*FTabBackGroundActive, value);
    Invalidate();
}

void TAdvPageControl::CreateParams(TCreateParams& params)
{
    TPageControl::CreateParams(params);
    params.Style |= TCS_OWNERDRAWFIXED;
}

void TAdvPageControl::DrawTab(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    const RECT rect = item.rcItem;
    const int index = static_cast<int>(item.itemID);
    const bool chosen = index == static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
    if (index >= 0) {
        if (static_cast<size_t>(index) >= FPaintedTabs.size()) FPaintedTabs.resize(static_cast<size_t>(index) + 1);
        FPaintedTabs[static_cast<size_t>(index)] = rect;
    }
    TBitmap* picture = chosen ? FTabBackGroundActive.get() : FTabBackGround.get();
    if (!picture->Empty()) {
        TMemoryDC memory(dc);
        TSelectObject selected(memory, picture->Handle());
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0,
                   picture->Width(), picture->Height(), SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    }
    char text[80] = {};
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = sizeof text;
    if (!SendMessageA(Handle(), TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab))) return;
    TSelectObject font(dc, Font()->Handle());
    const int oldBack = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldText = SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    RECT box = rect;
    DrawTextA(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SetTextColor(dc, oldText);
    SetBkMode(dc, oldBack);
}

RECT TAdvPageControl::PaintedTabRect(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < FPaintedTabs.size() ? FPaintedTabs[static_cast<size_t>(index)]
                                                                          : RECT{};
}

void TAdvPageControl::WndProc(TMessage& m)
{
    if (m.Msg == CN_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
        if (item && item->CtlType == ODT_TAB) {
            DrawTab(*item);
            m.Result = 1;
            return;
        }
    }
    TPageControl::WndProc(m);
}
