// Tab controls without pages: a strip of tabs whose choice the program reads
// (TabIndex) to decide what to show under it.
//
// TTabControl superclasses SysTabControl32 through TCustomTabControl; its
// window is of class "TTabControl". Tabs holds the tab captions in the
// object and the window shows them: changing Tabs rebuilds the strip, and a
// recreated window gets them back with the chosen tab.
//
// Events: the user's choice of a tab (a click, Ctrl+Tab, the arrow keys on a
// focused strip) asks OnChanging, then runs OnChange; setting TabIndex from
// code runs neither.
#pragma once

#include <memory>

#include "framework/page_control.h"
#include "framework/string_list.h"

class TTabControl : public TCustomTabControl {
    DECLARE_CLASS(TTabControl, TCustomTabControl)
public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;

    TStrings* Tabs() const { return FTabs.get(); }
    // Replaces the captions with a copy of `tabs`.
    void SetTabs(TStrings* tabs);
    // The chosen tab, -1 for none; an index outside the tabs chooses none.
    int TabIndex() const;
    void SetTabIndex(int value);

protected:
    void CreateWindowDone() override;
    void DestroyWnd() override;
    void TabChanged(int tabIndex) override;
    void SelectNextTab(bool forward) override;

private:
    // Rebuilds the strip from Tabs and chooses FTabIndex.
    void UpdateTabs();

    std::unique_ptr<TStringList> FTabs;
    int FTabIndex = -1;  // kept while there is no window
};
