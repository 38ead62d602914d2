// The list-view skinner: the list-view member of the scroll-bar skinner
// family. A list view's scroll bars are covered by skinned overlays like
// those of any scrolling control (TSkinScrollbar), and the header window of
// its report view gets a column-header skinner of its own (TSkinHeader),
// made when the list view is skinned (or, for a list view that makes its
// header later, when it first shows one) and owned by the list view.
//
// A list view whose window is made anew asks its form skinner for a new
// skinner of this kind (SKM_RESKINSCROLLBAR), which skins the new header.
#pragma once

#include <windows.h>

#include "skin/controls/scrollbar_skinner.h"

class TSkinHeader;

class TSkinListView : public TSkinScrollbar {
    DECLARE_CLASS(TSkinListView, TSkinScrollbar)
public:
    explicit TSkinListView(TComponent* owner);
    ~TSkinListView() override;

    // The scroll-bar attachment, then the header.
    void AttachScrollControl(TWinControl* control, TSkinData* skinData, TWinSkinForm* formSkinner,
                             TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;

    // The skinner of the list view's header window, or null (no header).
    TSkinHeader* HeaderSkinner() const { return FHeader; }

    void Notification(TComponent* component, TOperation operation) override;

private:
    // Finds the header window (LVM_GETHEADER) and skins it, once.
    void AttachHeader();

    TSkinHeader* FHeader = nullptr;
};
