// Multi-line edit boxes.
//
// TMemo superclasses the system's EDIT class with ES_MULTILINE; its window is
// of class "TMemo". Its text keeps the user's line breaks as CR LF. Lines
// gives the same text as a list of lines (the line rules of string_list.h:
// a final line break does not start another line); changing Lines rewrites
// the text, once per change or once at the end of BeginUpdate/EndUpdate.
//
// MaxLength is a limit in bytes of the 8-bit text, so a Chinese character
// counts two. What the user types or pastes beyond it is cut off (never half
// a character); text set from code is taken whole.
//
// OnChange runs after every change of the text, typed or set from code.
// Derived classes (the data-aware memo) hook in through the virtual Change.
#pragma once

#include <memory>

#include "framework/controls.h"
#include "framework/std_controls.h"
#include "framework/string_list.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumInfo ScrollStyleEnum;

class TCustomMemo;

// The lines of a memo, read from and written to its text.
class TMemoStrings : public TStrings {
    DECLARE_CLASS_INLINE(TMemoStrings, TStrings)
public:
    explicit TMemoStrings(TCustomMemo* memo) : FMemo(memo) {}

    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& value) override;
    void Insert(int index, const std::string& value) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;

private:
    std::vector<std::string> Current() const;
    void Store(std::vector<std::string> lines);
    void CheckIndex(int index, int count) const;

    TCustomMemo* FMemo;
    bool FUpdating = false;
    std::vector<std::string> FPending;  // the lines while updating
};

class TCustomMemo : public TWinControl {
    DECLARE_CLASS(TCustomMemo, TWinControl)
public:
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    TStrings* Lines() const { return FLines.get(); }
    // Replaces the text with the lines of `lines`.
    void SetLines(TStrings* lines);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Bytes; 0 is no limit.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);

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
    void CreateWindowDone() override;
    // The text changed; runs OnChange.
    virtual void Change();

private:
    void EnforceMaxLength();

    std::unique_ptr<TMemoStrings> FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FReadOnly = false;
    bool FWantTabs = false;
    TAlignment FAlignment = taLeftJustify;
    int FMaxLength = 0;
    std::string FLastText;  // the text after the last change, for MaxLength
    bool FSettingText = false;
    bool FChangeSeen = false;  // EN_CHANGE came while the text was set
    bool FLimiting = false;
};

class TMemo : public TCustomMemo {
    DECLARE_CLASS_INLINE(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};
