// Tool bars: a row of buttons with pictures and captions.
//
// TToolBar superclasses the common control ToolbarWindow32 (window class
// "TToolBar"). Its buttons (TToolButton) are items of the bar, kept by the
// object and written into the window whenever it is made. A button is a
// push button, a check button (it stays Down when clicked; Grouped check
// buttons side by side release each other), a drop-down button (an arrow at
// its right end opens its DropdownMenu under it) or a separator. Flat bars
// show a button's edge only while the mouse is over it or it is pressed.
//
// Drawing can be taken over: OnCustomDraw paints the bar's background (on
// WM_ERASEBKGND) and OnCustomDrawButton is called before the bar draws each
// button, with Canvas bound to the bar's drawing context and the button's
// custom-draw state. Each may leave the bar's own drawing to follow
// (defaultDraw true, the default); the caption is then drawn in
// Canvas()->Font()'s colour, and `flags` (tdNoBackground, tdNoEdges) leave
// out parts of the bar's own drawing of the button.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/image_list.h"
#include "framework/menus.h"

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator };
extern const TEnumInfo ToolButtonStyleEnum;

// A button's custom-draw state: the bits of the common controls' CDIS_*
// item states. The bar reports a pressed or checked (Down) button as
// selected, an indeterminate one as grayed, and every button it draws
// itself as default.
using TCustomDrawState = unsigned;
constexpr TCustomDrawState cdsSelected = 0x0001, cdsGrayed = 0x0002, cdsDisabled = 0x0004, cdsChecked = 0x0008,
                           cdsFocused = 0x0010, cdsDefault = 0x0020, cdsHot = 0x0040, cdsMarked = 0x0080,
                           cdsIndeterminate = 0x0100;
// Parts of the bar's own button drawing that a custom draw leaves out.
constexpr unsigned tdNoEdges = 0x00010000, tdNoBackground = 0x00400000;

class TToolButton : public TPersistent {
    DECLARE_CLASS(TToolButton, TPersistent)
public:
    explicit TToolButton(TToolBar* bar) : FBar(bar) {}

    TToolBar* ToolBar() const { return FBar; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TToolButtonStyle Style() const { return FStyle; }
    void SetStyle(TToolButtonStyle value);
    bool Grouped() const { return FGrouped; }
    void SetGrouped(bool value);
    // A check button that is pressed in: the window's state when it has one.
    bool Down() const;
    void SetDown(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* value) { FDropdownMenu = value; }

    int Index() const;
    // The identifier the window reports the button by.
    int Command() const { return FCommand; }
    // The button's rectangle in the bar's client area (empty without a window).
    RECT BoundsRect() const;
    // Runs OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

private:
    friend class TToolBar;
    TToolBar* FBar;
    std::string FCaption;
    int FImageIndex = -1;
    TToolButtonStyle FStyle = tbsButton;
    bool FGrouped = false;
    bool FDown = false;
    bool FEnabled = true;
    TPopupMenu* FDropdownMenu = nullptr;
    int FCommand = 0;
};

using TToolBarCustomDrawEvent = std::function<void(TToolBar* sender, const RECT& rect, bool& defaultDraw)>;
using TToolBarCustomDrawButtonEvent = std::function<void(TToolBar* sender, TToolButton* button,
                                                         TCustomDrawState state, unsigned& flags, bool& defaultDraw)>;

class TToolBar : public TWinControl {
    DECLARE_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    // A new button at the end.
    TToolButton* AddButton(const std::string& caption, TToolButtonStyle style = tbsButton, int imageIndex = -1);
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    // Throws EListError for a bad index.
    TToolButton* Buttons(int index) const;
    TToolButton* FindButton(int command) const;
    // The button under a client point, or null.
    TToolButton* ButtonAt(int x, int y) const;

    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // The bar's drawing surface while a custom draw event runs.
    TCanvas* Canvas() const { return FCanvas.get(); }

    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    // Also hands the window its pictures at the new scale.
    void ChangeScale(int multiplier, int divisor) override;

    TToolBarCustomDrawEvent OnCustomDraw;
    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;

private:
    void ApplyScale(UINT dpi);
    friend class TToolButton;
    // Writes every button into the window again.
    void UpdateButtons();
    // Writes one button's state (enabled, down) into the window.
    void UpdateState(const TToolButton* button);
    LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
    void DropDown(TToolButton* button);

    std::vector<std::unique_ptr<TToolButton>> FButtons;
    TCustomImageList* FImages = nullptr;
    bool FFlat = false;
    std::unique_ptr<TCanvas> FCanvas;
};
