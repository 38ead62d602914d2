// The basic standard controls: push button, single-line edit, label and
// panel.
//
// TButton and TEdit superclass the system's BUTTON and EDIT classes: their
// windows are of class "TButton" and "TEdit" and behave as the standard
// controls do. TLabel has no window; its parent paints it. TPanel is a
// windowed container that paints its own bevels and caption.
#pragma once

#include "framework/controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
extern const TEnumInfo AlignmentEnum;

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
extern const TEnumInfo BevelCutEnum;

// A push button. A click (mouse, Space, BM_CLICK) arrives as BN_CLICKED and
// runs Click/OnClick. Enter presses the focused button, or the Default
// button when the focus is on a control that is not a button; Escape
// presses the Cancel button. A button with a ModalResult sets it on its
// form when clicked.
class TButton : public TWinControl {
    DECLARE_CLASS(TButton, TWinControl)
public:
    explicit TButton(TComponent* owner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }

    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    // Shows the button as the one Enter presses, or not.
    void SetButtonStyle(bool isDefault);

    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    int FModalResult = 0;
};

// A single-line edit box. OnChange runs whenever its text changes, typed or
// set. TCustomEdit does the work; TEdit publishes its properties.
class TCustomEdit : public TWinControl {
    DECLARE_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);

    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char value);
    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    void SelectAll();
    void Clear() { SetText(""); }

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    virtual void Change();

private:
    int FMaxLength = 0;
    bool FReadOnly = false;
    char FPasswordChar = 0;
};

class TEdit : public TCustomEdit {
    DECLARE_CLASS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// A text painted on its parent. With AutoSize (the default) the label takes
// the size of its text; with WordWrap it keeps its width and wraps.
class TLabel : public TGraphicControl {
    DECLARE_CLASS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);

    void WndProc(TMessage& message) override;
    void Loaded() override;

protected:
    void Paint() override;
    // The DrawText flags of the label's text layout.
    UINT TextFlags() const;
    void AdjustBounds();

private:
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
};

// A raised box that holds other controls, with an optional centred caption.
// TCustomPanel does the work; TPanel publishes its properties.
class TCustomPanel : public TCustomControl {
    DECLARE_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int value);

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    void AdjustClientRect(RECT& rect) const override;

private:
    void Changed();

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
};

class TPanel : public TCustomPanel {
    DECLARE_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
