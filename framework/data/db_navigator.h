// The record navigator: a row of buttons that move a query's cursor.
//
// TDBNavigator paints its buttons itself, side by side and of equal width,
// each with a simple glyph: first, prior, next and last row, edit, post and
// cancel the current row's changes, and refresh (run the query again,
// staying on the same row where it is still there). VisibleButtons chooses
// which are shown. A button is enabled when its action makes sense now:
// first and prior not at the beginning (Bof), next and last not at the end
// (Eof), edit on a row that can be changed and is not being edited, post and
// cancel while it is, refresh while the query is open; with no open query
// every button is disabled.
#pragma once

#include <functional>
#include <memory>

#include "framework/controls.h"
#include "framework/data/data_source.h"

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbEdit, nbPost, nbCancel, nbRefresh };
constexpr int NAVIGATE_BUTTON_COUNT = nbRefresh + 1;
extern const TEnumInfo NavigateBtnEnum;

// A set of buttons: bit (1 << TNavigateBtn).
using TNavButtonSet = unsigned;
constexpr TNavButtonSet NavButton(TNavigateBtn button) { return 1u << button; }
constexpr TNavButtonSet ALL_NAVIGATE_BUTTONS = (1u << NAVIGATE_BUTTON_COUNT) - 1;

class TDBNavigator : public TCustomControl {
    DECLARE_CLASS(TDBNavigator, TCustomControl)
public:
    explicit TDBNavigator(TComponent* owner);
    ~TDBNavigator() override;

    TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);

    TNavButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TNavButtonSet value);

    // Whether `button` is shown and its action can be done now.
    bool ButtonEnabled(TNavigateBtn button) const;
    // Where `button` is in the client area; empty when it is not shown.
    RECT ButtonRect(TNavigateBtn button) const;
    // The button under a client point, or -1.
    int ButtonAt(int x, int y) const;
    // Does what `button` does (when it is enabled), then runs OnNavClick.
    // Errors of the query (a post the database refuses) are passed on.
    void BtnClick(TNavigateBtn button);

    void WndProc(TMessage& message) override;

    std::function<void(TNavigateBtn button)> OnNavClick;

protected:
    void Paint() override;

private:
    class TNavDataLink;
    friend class TNavDataLink;

    void StateChanged();
    void PaintButton(HDC dc, TNavigateBtn button, const RECT& rect, bool pressed, bool enabled);

    std::unique_ptr<TNavDataLink> FDataLink;
    TNavButtonSet FVisibleButtons = ALL_NAVIGATE_BUTTONS;
    int FPressed = -1;      // the button held down with the mouse
    bool FPressedIn = false; // the mouse is still over it
};
