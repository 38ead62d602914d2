// The list-view skinner (see list_view_skinner.h).
#include "skin/controls/list_view_skinner.h"

#include <commctrl.h>

#include "skin/controls/header_skinner.h"
#include "skin/controls/skinner_kinds.h"

IMPLEMENT_CLASS(TSkinListView)
DEFINE_SKINNER(TSkinListView, TSkinListView)

TSkinListView::TSkinListView(TComponent* owner) : TSkinScrollbar(owner) {}

TSkinListView::~TSkinListView()
{
    if (FHeader) FHeader->RemoveFreeNotification(this);
}

void TSkinListView::Notification(TComponent* component, TOperation operation)
{
    TSkinScrollbar::Notification(component, operation);
    if (operation == opRemove && component == FHeader) FHeader = nullptr;
}

void TSkinListView::AttachScrollControl(TWinControl* control, TSkinData* skinData, TWinSkinForm* formSkinner,
                                        TCanvas* canvas)
{
    if (Attached()) return;
    TSkinScrollbar::AttachScrollControl(control, skinData, formSkinner, canvas);
    if (Attached()) AttachHeader();
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
    TSkinScrollbar::AfterMessage(m);
}
