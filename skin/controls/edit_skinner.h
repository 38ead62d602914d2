// Edit, combo box and date-time picker skinners.
//
// They leave the text area to the control and draw over its border and its
// drop-down button after the control has painted itself (edit_drawing.h):
//   TSkinEdit      single-line edits: the skin's sunken three-pixel edge;
//                  an up-down inside the edit gets its own skinner.
//   TSkinComBox    combo boxes of every style: the skin's frame and
//                  drop-down button in its states (normal, pressed, hot
//                  while the pointer is over the button, focused, disabled);
//                  a simple combo box has no button. Extended combo boxes
//                  (kind 1) get the picker's edge and the skin's arrow.
//   TSkinDateTime  date-time pickers that drop a calendar down: the
//                  two-pixel edge and the skin's arrow button over the
//                  drop-down button.
//
// Pieces of other families plug in by name: the drop-down list's scroll bar
// ("TComboxScrollBar"), a simple combo box's list scroll bar
// ("TSkinScrollbarH") and the up-down of an edit ("TSkinUpDown") are made
// through NewSkinner when the program has them; without them the lists and
// up-downs keep their own look. The picker's arrow is a small window of its
// own laid over the picker's button (TArrowButton, picker_arrow.h).
#pragma once

#include <windows.h>

#include <memory>

#include "skin/controls/skin_control.h"

class TWndProcThunk;
class TArrowButton;

class TSkinEdit : public TSkinControl {
    DECLARE_CLASS(TSkinEdit, TSkinControl)
public:
    explicit TSkinEdit(TComponent* owner);

    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

private:
    // The border drawn for WM_PRINT.
    void PrintBorder(HDC dc);
    // Skins the first up-down child of the edit, once.
    void SkinEmbeddedUpDown();

    TSkinControl* FUpDown = nullptr;  // owned by the edit control (or the form skinner)
};

class TSkinComBox : public TSkinControl {
    DECLARE_CLASS(TSkinComBox, TSkinControl)
public:
    explicit TSkinComBox(TComponent* owner);
    ~TSkinComBox() override;

    // Kind 1: an extended combo box.
    void Configure(int kind, const std::string& property) override;
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

    // The button rectangle (window coordinates) of the last drawing.
    const RECT& ButtonRect() const { return FButtonRect; }
    bool Hot() const { return (FMouseState & msHot) != 0; }

protected:
    // The list's scroll-bar skinners are also the form skinner's, which may
    // free them first (it frees every skinner of a form that goes).
    void Notification(TComponent* component, TOperation operation) override;

private:
    void ReadStyle();
    bool ReadInfo();
    void SubclassEdit();
    void RestoreEdit();
    void FreeScrollSkinners();
    void TrackPointer(int x, int y);
    static LRESULT CALLBACK EditProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam);

    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    HWND FListWindow = nullptr;
    HWND FEditChild = nullptr;
    TWndProcThunk* FEditThunk = nullptr;
    WNDPROC FEditPrevProc = nullptr;
    WNDPROC FEditPrevProcW = nullptr;  // the edit's own procedure, its Unicode side
    // The lists' scroll-bar skinners: registered with the form skinner too,
    // which may free them first (free notices clear these).
    TSkinControl* FListScrollBar = nullptr;   // a simple combo box's list
    TSkinControl* FDropScrollBar = nullptr;   // the drop-down list
    COMBOBOXINFO FInfo{};
    BYTE FComboBoxEx = 0;
    RECT FButtonRect{};
};

class TSkinDateTime : public TSkinControl {
    DECLARE_CLASS(TSkinDateTime, TSkinControl)
public:
    explicit TSkinDateTime(TComponent* owner);
    ~TSkinDateTime() override;

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    // Takes the arrow button off the picker.
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    // The arrow button over the picker's drop-down button; null before
    // attaching and after detaching.
    TArrowButton* Arrow() const { return FArrow.get(); }

private:
    std::unique_ptr<TArrowButton> FArrow;
};
