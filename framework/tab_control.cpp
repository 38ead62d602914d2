// Tab controls without pages (see tab_control.h).
#include "framework/tab_control.h"

#include <commctrl.h>

using PTabControlStrip = TPropBuilder<TTabControl>;
IMPLEMENT_CLASS(TTabControl,
    PTabControlStrip::Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex),
    PTabControlStrip::Object("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs))

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner), FTabs(std::make_unique<TStringList>())
{
    FTabs->OnChange = [this](TObject*) { UpdateTabs(); };
}

TTabControl::~TTabControl() { FTabs->OnChange = nullptr; }

void TTabControl::SetTabs(TStrings* tabs)
{
    if (tabs) FTabs->Assign(*tabs);
}

int TTabControl::TabIndex() const
{
    if (!HandleAllocated()) return FTabIndex;
    return static_cast<int>(::SendMessageA(HandleIfAllocated(), TCM_GETCURSEL, 0, 0));
}

void TTabControl::SetTabIndex(int value)
{
    if (value < 0 || value >= FTabs->Count()) value = -1;
    FTabIndex = value;
    if (HandleAllocated()) ::SendMessageA(HandleIfAllocated(), TCM_SETCURSEL, value, 0);
}

void TTabControl::UpdateTabs()
{
    if (FTabIndex >= FTabs->Count()) FTabIndex = FTabs->Count() - 1;
    if (!HandleAllocated() || HasState(csDestroying)) return;
    HWND window = HandleIfAllocated();
    int chosen = TabIndex();
    if (chosen >= FTabs->Count()) chosen = FTabs->Count() - 1;
    if (chosen < 0 && FTabs->Count() > 0) chosen = FTabIndex >= 0 ? FTabIndex : 0;
    ::SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < FTabs->Count(); ++i) {
        std::string caption = FTabs->Get(i);
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = caption.data();
        item.iImage = -1;
        ::SendMessageA(window, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    FTabIndex = chosen;
    ::SendMessageA(window, TCM_SETCURSEL, chosen, 0);
    // The rows of tabs, and with them the display area, may have changed.
    AlignControls();
    Invalidate();
}

void TTabControl::CreateWindowDone()
{
    TCustomTabControl::CreateWindowDone();
    UpdateTabs();
}

void TTabControl::DestroyWnd()
{
    FTabIndex = TabIndex();
    TCustomTabControl::DestroyWnd();
}

void TTabControl::TabChanged(int tabIndex) { FTabIndex = tabIndex; }

void TTabControl::SelectNextTab(bool forward)
{
    int count = FTabs->Count();
    if (count < 2 || !CanChange()) return;
    int current = TabIndex();
    int next = current < 0 ? 0 : forward ? (current + 1) % count : (current + count - 1) % count;
    SetTabIndex(next);
    Change();
}
