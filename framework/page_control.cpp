// Tab controls, page controls and their sheets (see page_control.h).
#include "framework/page_control.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/display_scale.h"
#include "framework/forms.h"

const TEnumInfo TabStyleEnum{"TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"}};
const TEnumInfo TabPositionEnum{"TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"}};

// ---- TCustomTabControl ------------------------------------------------------------------

using PTabControl = TPropBuilder<TCustomTabControl>;
IMPLEMENT_CLASS(TCustomTabControl,
    PTabControl::Object("Font", &TCustomTabControl::Font, &TCustomTabControl::SetFont),
    PTabControl::Bool("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine),
    PTabControl::Bool("ParentFont", &TCustomTabControl::ParentFont, &TCustomTabControl::SetParentFont),
    PTabControl::Enum("Style", TabStyleEnum, &TCustomTabControl::Style, &TCustomTabControl::SetStyle),
    PTabControl::Enum("TabPosition", TabPositionEnum, &TCustomTabControl::TabPosition,
                      &TCustomTabControl::SetTabPosition))

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csAcceptsControls | csDoubleClicks;
    FWidth = 289;
    FHeight = 193;
    FTabStop = true;
}

void TCustomTabControl::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_TABCONTROLA);
    static const DWORD styles[] = {TCS_TABS, TCS_BUTTONS, TCS_BUTTONS | TCS_FLATBUTTONS};
    static const DWORD positions[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE,
                                      TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
    p.Style |= WS_CLIPCHILDREN | styles[FStyle] | positions[FTabPosition];
    if (FMultiLine) p.Style |= TCS_MULTILINE;
    // The class's own background brush would show between repaints.
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWindowDone()
{
    TWinControl::CreateWindowDone();
    FTabMetricsDpi = 96;  // a new window starts with the control's own
    ScaleTabMetrics(ControlPixelsPerInch(this));
}

void TCustomTabControl::ChangeScale(int multiplier, int divisor)
{
    TWinControl::ChangeScale(multiplier, divisor);
    // The form takes its new scale once its controls are laid out at it.
    ScaleTabMetrics(MulDiv(ControlPixelsPerInch(this), multiplier, divisor));
}

void TCustomTabControl::ScaleTabMetrics(int pixelsPerInch)
{
    if (!FHandle || pixelsPerInch <= 0) return;
    const UINT dpi = static_cast<UINT>(pixelsPerInch);
    if (dpi == FTabMetricsDpi) return;
    FTabMetricsDpi = dpi;
    // The padding is taken when the tabs are laid out next, which setting
    // the least width does.
    ::SendMessageA(FHandle, TCM_SETPADDING, 0, MAKELPARAM(ScaleToDpi(6, dpi), ScaleToDpi(3, dpi)));
    ::SendMessageA(FHandle, TCM_SETMINTABWIDTH, 0, dpi == DesignDpi ? -1 : ScaleToDpi(54, dpi));
    AlignControls();
    Invalidate();
}

void TCustomTabControl::SetStyle(TTabStyle value)
{
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition value)
{
    if (value == FTabPosition) return;
    FTabPosition = value;
    RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool value)
{
    if (value == FMultiLine) return;
    FMultiLine = value;
    RecreateWnd();
}

int TCustomTabControl::TabCount() const
{
    return FHandle ? static_cast<int>(::SendMessageA(FHandle, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

RECT TCustomTabControl::TabRect(int index) const
{
    RECT r{0, 0, 0, 0};
    if (FHandle && !::SendMessageA(FHandle, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r))) r = RECT{0, 0, 0, 0};
    return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) const
{
    if (!FHandle) return -1;
    TCHITTESTINFO hit{{x, y}, 0};
    return static_cast<int>(::SendMessageA(FHandle, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

RECT TCustomTabControl::DisplayRect() const
{
    RECT r = ClientRect();
    AdjustClientRect(r);
    return r;
}

void TCustomTabControl::AdjustClientRect(RECT& rect) const
{
    if (!FHandle) return;
    ::SendMessageA(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
}

bool TCustomTabControl::CanChange()
{
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& m)
{
    if (m.Msg == CM_DIALOGKEY && m.WParam == VK_TAB && (KeyboardShiftState() & ssCtrl) && FHandle) {
        HWND focus = GetFocus();
        if (focus && (focus == FHandle || IsChild(FHandle, focus))) {
            SelectNextTab(!(KeyboardShiftState() & ssShift));
            m.Result = 1;
            return;
        }
    }
    if (m.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        switch (header->code) {
        case TCN_SELCHANGING:
            m.Result = CanChange() ? FALSE : TRUE;
            return;
        case TCN_SELCHANGE:
            TabChanged(static_cast<int>(::SendMessageA(FHandle, TCM_GETCURSEL, 0, 0)));
            Change();
            return;
        }
    }
    TWinControl::WndProc(m);
    // A new font or size changes the rows of tabs and so the display area.
    if (m.Msg == WM_SETFONT) AlignControls();
}

// ---- TTabSheet --------------------------------------------------------------------------

using PTabSheet = TPropBuilder<TTabSheet>;
IMPLEMENT_CLASS(TTabSheet,
    PTabSheet::String("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption),
    PTabSheet::Integer("Color", &TTabSheet::Color, &TTabSheet::SetColor),
    PTabSheet::Object("Font", &TTabSheet::Font, &TTabSheet::SetFont),
    PTabSheet::Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex),
    PTabSheet::Integer("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex),
    PTabSheet::Bool("ParentFont", &TTabSheet::ParentFont, &TTabSheet::SetParentFont),
    PTabSheet::Integer("TabIndex", &TTabSheet::TabIndex, nullptr),
    PTabSheet::Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible))

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks;
    // A page shows only while it is the active one.
    FVisible = false;
    FAlign = alClient;
}

TTabSheet::~TTabSheet()
{
    // Leave the page control while still a whole sheet.
    SetComponentState(csDestroying);
    if (FParent) FParent->RemoveControl(this);
}

TPageControl* TTabSheet::PageControl() const { return As<TPageControl>(FParent); }

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

void TTabSheet::SetTabVisible(bool value)
{
    if (value == FTabVisible) return;
    FTabVisible = value;
    if (TPageControl* pages = PageControl()) pages->TabVisibilityChanged(this);
}

int TTabSheet::PageIndex() const
{
    TPageControl* pages = PageControl();
    if (!pages) return -1;
    auto it = std::find(pages->FPages.begin(), pages->FPages.end(), this);
    return it == pages->FPages.end() ? -1 : static_cast<int>(it - pages->FPages.begin());
}

void TTabSheet::SetPageIndex(int value)
{
    if (TPageControl* pages = PageControl()) pages->MovePage(this, value);
}

int TTabSheet::TabIndex() const
{
    TPageControl* pages = PageControl();
    if (!pages || !FTabVisible) return -1;
    int index = 0;
    for (TTabSheet* page : pages->FPages) {
        if (page == this) return index;
        if (page->FTabVisible) ++index;
    }
    return -1;
}

void TTabSheet::SetImageIndex(int value)
{
    if (value == FImageIndex) return;
    FImageIndex = value;
    if (TPageControl* pages = PageControl()) pages->UpdateTabs();
}

void TTabSheet::WndProc(TMessage& m)
{
    TWinControl::WndProc(m);
    if (m.Msg == CM_TEXTCHANGED)
        if (TPageControl* pages = PageControl()) pages->UpdateTabs();
}

// ---- TPageControl -------------------------------------------------------------------------

using PPageControl = TPropBuilder<TPageControl>;
IMPLEMENT_CLASS(TPageControl,
    PPageControl::Object("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage),
    PPageControl::Integer("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex),
    PPageControl::Integer("PageCount", &TPageControl::PageCount, nullptr),
    PPageControl::Integer("TabIndex", &TPageControl::TabIndex, nullptr))

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl()
{
    // The sheets that outlive this control (owned by the form) are let go
    // without choosing new active pages one by one.
    FActivePage = nullptr;
    FPages.clear();
}

TTabSheet* TPageControl::Pages(int index) const
{
    if (index < 0 || index >= PageCount()) throw EListError(Format("Page index out of bounds (%d)", index));
    return FPages[index];
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int value)
{
    SetActivePage(value >= 0 && value < PageCount() ? FPages[value] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->PageControl() != this) return;
    if (page != FActivePage) {
        TTabSheet* old = FActivePage;
        FActivePage = page;
        if (page) {
            RECT r = DisplayRect();
            page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
            page->BringToFront();
            page->SetVisible(true);
        }
        if (old && old->Parent() == this) {
            // The focus does not stay on a control that is going out of sight.
            HWND focus = GetFocus();
            if (focus && old->HandleAllocated() && IsChild(old->HandleIfAllocated(), focus) && FHandle)
                ::SetFocus(FHandle);
            old->SetVisible(false);
        }
    }
    if (FHandle && !FUpdatingTabs) ::SendMessageA(FHandle, TCM_SETCURSEL, TabIndex(), 0);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward, bool tabsOnly) const
{
    int count = PageCount();
    if (!count) return nullptr;
    auto it = std::find(FPages.begin(), FPages.end(), current);
    int start = it == FPages.end() ? (forward ? count - 1 : 0) : static_cast<int>(it - FPages.begin());
    int i = start;
    for (int step = 0; step < count; ++step) {
        i = forward ? (i + 1) % count : (i + count - 1) % count;
        if (!tabsOnly || FPages[i]->TabVisible()) return FPages[i];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool forward)
{
    TTabSheet* next = FindNextPage(FActivePage, forward, true);
    if (!next || next == FActivePage || !CanChange()) return;
    SetActivePage(next);
    Change();
}

TTabSheet* TPageControl::PageOfTab(int tabIndex) const
{
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* page : FPages)
        if (page->TabVisible() && tabIndex-- == 0) return page;
    return nullptr;
}

void TPageControl::InsertPage(TTabSheet* page)
{
    if (std::find(FPages.begin(), FPages.end(), page) != FPages.end()) return;
    FPages.push_back(page);
    UpdateTabs();
    if (!FActivePage && page->TabVisible()) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    TTabSheet* next = page == FActivePage ? FindNextPage(page, true, true) : FActivePage;
    if (next == page) next = nullptr;
    FPages.erase(it);
    if (page == FActivePage) FActivePage = nullptr;
    UpdateTabs();
    SetActivePage(next);
}

void TPageControl::MovePage(TTabSheet* page, int index)
{
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    FPages.erase(it);
    index = std::clamp(index, 0, PageCount());
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
}

void TPageControl::TabVisibilityChanged(TTabSheet* page)
{
    UpdateTabs();
    if (page == FActivePage && !page->TabVisible()) {
        // The page goes off the strip: the next page with a tab takes its
        // place, else the previous one.
        TTabSheet* next = FindNextPage(page, true, true);
        SetActivePage(next == page ? nullptr : next);
    } else if (!FActivePage && page->TabVisible()) {
        SetActivePage(page);
    }
}

void TPageControl::UpdateTabs()
{
    if (!FHandle || HasState(csDestroying)) return;
    FUpdatingTabs = true;
    ::SendMessageA(FHandle, TCM_DELETEALLITEMS, 0, 0);
    int tab = 0;
    for (TTabSheet* page : FPages) {
        if (!page->TabVisible()) continue;
        std::string caption = page->Caption();
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        item.pszText = caption.data();
        item.iImage = page->ImageIndex();
        item.lParam = reinterpret_cast<LPARAM>(page);
        ::SendMessageA(FHandle, TCM_INSERTITEMA, tab++, reinterpret_cast<LPARAM>(&item));
    }
    FUpdatingTabs = false;
    ::SendMessageA(FHandle, TCM_SETCURSEL, TabIndex(), 0);
    // The number of rows of tabs may have changed, and with it the page area.
    AlignControls();
    if (FActivePage) {
        RECT r = DisplayRect();
        FActivePage->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

void TPageControl::CreateWindowDone()
{
    TCustomTabControl::CreateWindowDone();
    UpdateTabs();
}

void TPageControl::TabChanged(int tabIndex)
{
    SetActivePage(PageOfTab(tabIndex));
}

void TPageControl::WndProc(TMessage& m)
{
    if (m.Msg == CM_CONTROLLISTCHANGE) {
        if (auto* page = As<TTabSheet>(reinterpret_cast<TControl*>(m.WParam))) {
            if (m.LParam)
                InsertPage(page);
            else
                RemovePage(page);
        }
    }
    TCustomTabControl::WndProc(m);
}
