// A tab set: a strip of tabs painted by the control itself (no system tab
// window), the chosen one raised, laid out left to right from StartMargin;
// a tab is its caption's width plus 9 pixels wide, and tabs that would
// pass EndMargin are not shown. FirstIndex is the first tab shown.
//
// Its window is of class "TTabSet". A click on a tab chooses it (TabIndex)
// and runs OnChange; setting TabIndex from code runs nothing.
#pragma once

#include <memory>

#include "framework/controls.h"
#include "framework/string_list.h"

class TTabSet : public TCustomControl {
    DECLARE_CLASS(TTabSet, TCustomControl)
public:
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;

    TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(TStrings* value);
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int value);
    int FirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int value);
    int StartMargin() const { return FStartMargin; }
    void SetStartMargin(int value);
    int EndMargin() const { return FEndMargin; }
    void SetEndMargin(int value);

    // The rectangle of tab `index` in client coordinates; empty when the tab
    // is not shown.
    RECT TabRect(int index);
    // The tab shown at x, -1 for none.
    int TabAt(int x);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

    TNotifyEvent OnChange;

protected:
    void Paint() override;

private:
    // The width of a tab of `caption` in the control's font.
    int TabWidth(HDC dc, const std::string& caption) const;

    std::unique_ptr<TStringList> FTabs;
    int FTabIndex = -1;
    int FFirstIndex = 0;
    int FStartMargin = 5;
    int FEndMargin = 5;
};
