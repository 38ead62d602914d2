// The list-view skinner: a list view's scroll bars are skinned like those of
// any scrolling control, and the header window of its report view gets a
// column-header skinner of its own (TSkinHeader), made when the list view is
// skinned and owned by the list view.
//
// The scroll bars: when the program carries the scroll-bar skinner
// ("TSkinScrollBar"), the list view gets one beside this skinner, which
// covers its bars with skinned overlays; without it the bars keep the
// system's look and only the header is skinned.
#pragma once

#include <windows.h>

#include "skin/controls/skin_control.h"

class TSkinHeader;

class TSkinListView : public TSkinControl {
    DECLARE_CLASS(TSkinListView, TSkinControl)
public:
    explicit TSkinListView(TComponent* owner);
    ~TSkinListView() override;

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;

    // The skinner of the list view's header window, or null (no header).
    TSkinHeader* HeaderSkinner() const { return FHeader; }
    // The skinner of the list view's scroll bars, or null.
    TSkinControl* ScrollSkinner() const { return FScroll; }

    void Notification(TComponent* component, TOperation operation) override;

private:
    // Finds the header window (LVM_GETHEADER) and skins it, once.
    void AttachHeader();
    void AttachScrollBars();

    TSkinHeader* FHeader = nullptr;
    TSkinControl* FScroll = nullptr;
};
