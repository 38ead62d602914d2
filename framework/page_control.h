// Tab controls and page controls.
//
// TCustomTabControl superclasses the common control SysTabControl32 (its
// window is of the framework class's name). TPageControl shows one TTabSheet
// at a time: each sheet is a child window of class "TTabSheet" that holds the
// controls of one page and covers the tab control's display area (the
// client area less the tab strip and frame, TCM_ADJUSTRECT). The strip has
// one tab for each sheet whose TabVisible is set, in page order; hiding a tab
// takes it off the strip, and when it was the active page the next page
// with a tab (else the previous one) becomes active.
//
// A sheet joins a page control by being given it as its parent
// (SetPageControl or SetParent); it leaves when it is destroyed or given
// another parent.
//
// Events: the user's choice of a tab (a click, or Ctrl+Tab and Ctrl+Shift+Tab
// while the focus is inside the control) asks OnChanging (which may refuse),
// then shows the page and runs OnChange. Choosing a page from code
// (ActivePage, ActivePageIndex) runs neither.
#pragma once

#include <functional>
#include <vector>

#include "framework/controls.h"

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
extern const TEnumInfo TabStyleEnum;
enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
extern const TEnumInfo TabPositionEnum;

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TCustomTabControl : public TWinControl {
    DECLARE_CLASS(TCustomTabControl, TWinControl)
public:
    explicit TCustomTabControl(TComponent* owner);

    // Tabs, buttons or flat buttons; changing it rebuilds the window.
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle value);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);

    // The number of tabs on the strip and the rectangle of one (client
    // coordinates; empty for a bad index or without a window).
    int TabCount() const;
    RECT TabRect(int index) const;
    // The tab under a client point, or -1.
    int IndexOfTabAt(int x, int y) const;
    // The client area less the tab strip and frame.
    RECT DisplayRect() const;

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& params) override;
    void AdjustClientRect(RECT& rect) const override;
    // The tabs' room around their text and their least width are the tab
    // control's 96-DPI sizes (6 x 3 and 54 pixels) made the window's scale
    // (the system's tab control keeps them at 96 otherwise, so a caption of
    // a larger font fills its tab to the edges).
    void CreateWindowDone() override;
    void ChangeScale(int multiplier, int divisor) override;
    // Asks OnChanging whether the user may leave the current tab.
    virtual bool CanChange();
    // The user chose another tab: runs OnChange.
    virtual void Change();
    // The tab control's selection moved to `tabIndex` by the user.
    virtual void TabChanged(int tabIndex) {}
    // Ctrl+Tab (forward) or Ctrl+Shift+Tab while the focus is on the control
    // or inside it: the user's choice of the next tab.
    virtual void SelectNextTab(bool forward) {}

private:
    // Sets them for `pixelsPerInch` (nothing when they are set for it).
    void ScaleTabMetrics(int pixelsPerInch);
    TTabStyle FStyle = tsTabs;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    UINT FTabMetricsDpi = 96;  // the scale the tabs' padding and least width were set for
};

class TPageControl;

class TTabSheet : public TWinControl {
    DECLARE_CLASS(TTabSheet, TWinControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const;
    void SetPageControl(TPageControl* pageControl);
    // Whether the page has a tab on the strip.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    // The position among the page control's pages; -1 without one.
    int PageIndex() const;
    void SetPageIndex(int value);
    // The position of its tab on the strip; -1 when it has none.
    int TabIndex() const;
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);

    void WndProc(TMessage& message) override;

private:
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
    DECLARE_CLASS(TPageControl, TCustomTabControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    // Throws EListError for a bad index.
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows `page` (one of this control's pages, or null for none). A page
    // whose tab is hidden can be shown from code; its tab stays hidden.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The position of the active page's tab on the strip, or -1.
    int TabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }
    // The next (or previous) page after `current`, wrapping round; with
    // `tabsOnly`, only pages with a visible tab. Null when there is none.
    TTabSheet* FindNextPage(TTabSheet* current, bool forward, bool tabsOnly) const;
    void SelectNextPage(bool forward);

    void WndProc(TMessage& message) override;

protected:
    void CreateWindowDone() override;
    void TabChanged(int tabIndex) override;
    void SelectNextTab(bool forward) override { SelectNextPage(forward); }

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    // Rebuilds the strip from the pages and selects the active page's tab.
    void UpdateTabs();
    void TabVisibilityChanged(TTabSheet* page);
    TTabSheet* PageOfTab(int tabIndex) const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    bool FUpdatingTabs = false;
};
