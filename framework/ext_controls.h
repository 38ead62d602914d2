// Pictures, date pickers, check boxes and radio buttons.
//
// TImage has no window: its parent paints the picture it holds (a bitmap,
// decoded from BMP or JPEG bytes) at its own size, centred or stretched over
// the control. TDateTimePicker superclasses the common control
// SysDateTimePick32; TCheckBox and TRadioButton superclass BUTTON. Each
// window is of the framework class's name.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/std_controls.h"
#include "framework/streams.h"

// Decodes a picture file held in memory: a BMP (read by TBitmap) or any
// format the system's picture decoder knows (JPEG, GIF). Throws
// EInvalidGraphic when the bytes are no picture it can read.
std::unique_ptr<TBitmap> DecodePicture(const void* data, size_t size);

class TImage : public TGraphicControl {
    DECLARE_CLASS(TImage, TGraphicControl)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* picture);
    // The picture fills the control (not keeping its proportions).
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    // An unstretched picture sits in the middle instead of the top left.
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    // An unstretched picture is in the design's pixels (96 an inch): on a form
    // laid out at another scale it is shown at that scale, resampled once
    // (pixels repeated at whole factors, smoothly between them) and kept
    // until the picture or the scale changes. This is its size as shown.
    SIZE ShownPictureSize() const;

    // Loads the picture from BMP or JPEG bytes (see DecodePicture); throws
    // EInvalidGraphic and leaves the old picture when they are unreadable.
    void LoadFromMemory(const void* data, size_t size);
    void LoadFromStream(TStream& stream);
    // From an RCDATA resource of `instance`; throws EResNotFound when there
    // is none.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);

protected:
    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> FPicture;
    std::unique_ptr<TBitmap> FScaledPicture;  // the picture at the form's scale
    bool FStretch = false;
    bool FCenter = false;
};

enum TDateTimeKind { dtkDate, dtkTime };
extern const TEnumInfo DateTimeKindEnum;
enum TDTDateFormat { dfShort, dfLong };
extern const TEnumInfo DTDateFormatEnum;

// A date (or time) field with a drop-down calendar. Text is the value as the
// field shows it: in Format when one is set ("yyyy-MM-dd"), else in the
// user's short or long date format (or time format). With ReadOnly the user
// can read and focus the field but not change it.
class TDateTimePicker : public TWinControl {
    DECLARE_CLASS(TDateTimePicker, TWinControl)
public:
    explicit TDateTimePicker(TComponent* owner);

    // The value; the time fields matter for dtkTime only.
    SYSTEMTIME DateTime() const;
    void SetDateTime(const SYSTEMTIME& value);
    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat value);
    const std::string& Format() const { return FFormat; }
    void SetFormat(const std::string& value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    // Whether the calendar is open (between OnDropDown and OnCloseUp).
    bool DroppedDown() const { return FDroppedDown; }

    std::string GetText() const override;
    // Reads a date in the user's short date order (year, month and day as
    // numbers with any separators; "2026/12/8") or, for dtkTime, a time
    // ("10:05:30"). Throws EConvertError for text that is no valid value.
    void SetText(const std::string& value) override;

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
    // The calendar opens (the drop-down button, Alt+Down, F4) and closes.
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    virtual void Change();

private:
    void ApplyFormat();

    bool FDroppedDown = false;
    SYSTEMTIME FDateTime{};  // the value while there is no window, and for ReadOnly
    TDateTimeKind FKind = dtkDate;
    TDTDateFormat FDateFormat = dfShort;
    std::string FFormat;
    bool FReadOnly = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const TEnumInfo CheckBoxStateEnum;

// A box with a check mark and a caption. A click by the user (or BM_CLICK)
// toggles it and runs OnClick; with AllowGrayed it steps through grayed too.
// Setting Checked or State from code runs nothing.
//
// Alignment says on which side of the box the caption stands: taRightJustify
// (the default) puts it right of the box, taLeftJustify left of it with the
// box at the control's right edge. WordWrap breaks a long caption into lines.
// Both also hold for TRadioButton.
class TCheckBox : public TWinControl {
    DECLARE_CLASS(TCheckBox, TWinControl)
public:
    explicit TCheckBox(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    TCheckBoxState State() const;
    void SetState(TCheckBoxState value);
    bool Checked() const { return State() == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;

private:
    TCheckBoxState FState = cbUnchecked;  // kept while there is no window
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
    bool FWordWrap = false;
};

// One choice of a group: checking it unchecks the other radio buttons with
// the same parent. A click by the user checks it and runs OnClick.
class TRadioButton : public TWinControl {
    DECLARE_CLASS(TRadioButton, TWinControl)
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const;
    void SetChecked(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;

private:
    void UncheckSiblings();

    bool FChecked = false;  // kept while there is no window
    TAlignment FAlignment = taRightJustify;
    bool FWordWrap = false;
};
