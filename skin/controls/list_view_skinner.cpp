// The list-view skinner (see list_view_skinner.h).
#include "skin/controls/list_view_skinner.h"

#include <commctrl.h>

#include "skin/controls/header_skinner.h"
#include "skin/controls/skinner_kinds.h"

IMPLEMENT_CLASS(TSkinListView)
DEFINE_SKINNER(TSkinListView, TSkinListView)

TSkinListView::TSkinListView(TComponent* owner) : TSkinControl(owner) {}

TSkinListView::~TSkinListView()
{
    if (FHeader) FHeader->RemoveFreeNotification(this);
    if (FScroll) FScroll->RemoveFreeNotification(this);
}

void TSkinListView::Notification(TComponent* component, TOperation operation)
{
    TSkinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FHeader) FHeader = nullptr;
    if (component == FScroll) FScroll = nullptr;
}

void TSkinListView::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (Attached()) return;
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!Attached()) return;
    AttachScrollBars();
    AttachHeader();
}

void TSkinListView::AttachScrollBars()
{
    if (FScroll || !FControl || !SkinnerAvailable("TSkinScrollBar")) return;
    TSkinControl* scroll = NewSkinner("TSkinScrollBar", FControl);
    if (!scroll) return;
    try {
        scroll->AttachControl(FFormSkinner, FSkinData, false, FCanvas);
    } catch (...) {
    }
    if (!scroll->Attached()) {
        delete scroll;
        return;
    }
    FScroll = scroll;
    FScroll->FreeNotification(this);
}

void TSkinListView::AttachHeader()
{
    if (FHeader || !FWindow) return;
    HWND header = reinterpret_cast<HWND>(::SendMessageW(FWindow, LVM_GETHEADER, 0, 0));
    if (!header || !IsWindow(header)) return;
    // Owned by the list view: it goes when the list view goes.
    auto* skinner = new TSkinHeader(FControl);
    try {
        skinner->AttachWindow(header, FSkinData, FFormSkinner, FCanvas);
    } catch (...) {
    }
    if (!skinner->Attached()) {
        delete skinner;
        return;
    }
    FHeader = skinner;
    FHeader->FreeNotification(this);
}

void TSkinListView::AfterMessage(TMessage& m)
{
    // A list view makes its header when it first needs it (a report view
    // made in another style): skin it then.
    if (!FHeader && (m.Msg == WM_STYLECHANGED || m.Msg == WM_PAINT)) AttachHeader();
    TSkinControl::AfterMessage(m);
}
