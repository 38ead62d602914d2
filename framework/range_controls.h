// Controls that show or choose a number within a range: scroll bars, track
// bars, up-down buttons and progress bars.
//
// Each superclasses a standard window class and keeps its numbers in the
// object as well, so they survive RecreateWnd and can be set before the
// window exists:
//   TScrollBar    SCROLLBAR            (window class "TScrollBar")
//   TTrackBar     msctls_trackbar32    ("TTrackBar")
//   TUpDown       msctls_updown32      ("TUpDown")
//   TProgressBar  msctls_progress32    ("TProgressBar")
//
// The user's scrolling arrives as WM_HSCROLL / WM_VSCROLL at the parent, which
// reflects it back as CN_HSCROLL / CN_VSCROLL; each control turns it into its
// new Position and runs its event. Setting Position from code runs OnChange of
// a scroll bar or a track bar (as a user's change would), never OnScroll or
// OnClick.
#pragma once

#include <functional>

#include "framework/controls.h"

enum TScrollBarKind { sbHorizontal, sbVertical };
extern const TEnumInfo ScrollBarKindEnum;

// What the user did to a scroll bar (the scroll request codes in order).
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& position)>;

// A stand-alone scroll bar. Position runs from Min to Max - PageSize + 1 when
// PageSize is above 0 (the thumb then shows the page), else to Max. An arrow
// moves it by SmallChange, a click on the track by LargeChange.
class TScrollBar : public TWinControl {
    DECLARE_CLASS(TScrollBar, TWinControl)
public:
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }
    // Sets all three at once; Max below Min is raised to Min, the position
    // is held within the range. Throws EInvalidOperation for Max < Min.
    void SetParams(int position, int min, int max);

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    virtual void Change();
    // The highest position the range and the page allow.
    int LastPosition() const;

private:
    void UpdateScrollInfo();
    void DoScroll(WORD code);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};

enum TTrackBarOrientation { trHorizontal, trVertical };
extern const TEnumInfo TrackBarOrientationEnum;
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
extern const TEnumInfo TickMarkEnum;
enum TTickStyle { tsNone, tsAuto, tsManual };
extern const TEnumInfo TickStyleEnum;

// A track bar: a thumb slid along a channel with tick marks.
class TTrackBar : public TWinControl {
    DECLARE_CLASS(TTrackBar, TWinControl)
public:
    explicit TTrackBar(TComponent* owner);

    TTrackBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    // The thumb's position; read from the window, which the user moves.
    int Position() const;
    void SetPosition(int value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int value);
    int LineSize() const { return FLineSize; }
    void SetLineSize(int value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    TTickMark TickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMark value);
    TTickStyle TickStyle() const { return FTickStyle; }
    void SetTickStyle(TTickStyle value);
    int ThumbLength() const { return FThumbLength; }
    void SetThumbLength(int value);

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;
    virtual void Changed();

private:
    void ApplyRange();

    TTrackBarOrientation FOrientation = trHorizontal;
    int FMin = 0;
    int FMax = 10;
    int FPosition = 0;   // kept while there is no window
    int FFrequency = 1;
    int FLineSize = 1;
    int FPageSize = 2;
    TTickMark FTickMarks = tmBottomRight;
    TTickStyle FTickStyle = tsAuto;
    int FThumbLength = 20;
};

enum TUDOrientation { udHorizontal, udVertical };
extern const TEnumInfo UDOrientationEnum;
enum TUDAlignButton { udLeft, udRight };
extern const TEnumInfo UDAlignButtonEnum;
enum TUDBtnType { btNext, btPrev };

using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;
using TUDChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

// Two arrow buttons that step a number between Min and Max by Increment. With
// an Associate (an edit) the up-down sits against its right (or left) side
// and writes the number into it as text.
class TUpDown : public TWinControl {
    DECLARE_CLASS(TUpDown, TWinControl)
public:
    explicit TUpDown(TComponent* owner);
    ~TUpDown() override;

    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* value);
    TUDAlignButton AlignButton() const { return FAlignButton; }
    void SetAlignButton(TUDAlignButton value);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    // Read from the window, which the user steps.
    int Position() const;
    void SetPosition(int value);
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value);
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool value);
    bool Thousands() const { return FThousands; }
    void SetThousands(bool value);

    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;

    // A button was pressed and the position stepped.
    TUDClickEvent OnClick;
    // Before the position steps; clearing allowChange keeps it.
    TUDChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;

private:
    // Moves the up-down against its associate and ties the two windows.
    void AttachAssociate();

    TWinControl* FAssociate = nullptr;
    TUDAlignButton FAlignButton = udRight;
    TUDOrientation FOrientation = udVertical;
    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    int FPosition = 0;   // kept while there is no window
    bool FWrap = false;
    bool FArrowKeys = true;
    bool FThousands = true;
};

enum TProgressBarOrientation { pbHorizontal, pbVertical };
extern const TEnumInfo ProgressBarOrientationEnum;

// A bar that fills as Position goes from Min to Max, in blocks or (Smooth)
// continuously.
class TProgressBar : public TWinControl {
    DECLARE_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    // Held within Min..Max.
    void SetPosition(int value);
    int Step() const { return FStep; }
    void SetStep(int value) { FStep = value; }
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value);

    // Moves the position on by Step, or by `delta`, and back to Min after Max
    // (as the system's progress bar does).
    void StepIt();
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;

private:
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    TProgressBarOrientation FOrientation = pbHorizontal;
    bool FSmooth = false;
};
