// Scroll bars, track bars, up-down buttons and progress bars (see
// range_controls.h).
#include "framework/range_controls.h"

#include <commctrl.h>

#include <algorithm>

const TEnumInfo ScrollBarKindEnum{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};
const TEnumInfo TrackBarOrientationEnum{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};
const TEnumInfo TickMarkEnum{"TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"}};
const TEnumInfo TickStyleEnum{"TTickStyle", {"tsNone", "tsAuto", "tsManual"}};
const TEnumInfo UDOrientationEnum{"TUDOrientation", {"udHorizontal", "udVertical"}};
const TEnumInfo UDAlignButtonEnum{"TUDAlignButton", {"udLeft", "udRight"}};
const TEnumInfo ProgressBarOrientationEnum{"TProgressBarOrientation", {"pbHorizontal", "pbVertical"}};

namespace {

void InitBarClasses()
{
    static bool done = false;
    if (done) return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    done = true;
}

}  // namespace

// ---- TScrollBar ---------------------------------------------------------------------------

using PScrollBar = TPropBuilder<TScrollBar>;
IMPLEMENT_CLASS(TScrollBar,
    PScrollBar::Enum("Kind", ScrollBarKindEnum, &TScrollBar::Kind, &TScrollBar::SetKind),
    PScrollBar::Integer("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange),
    PScrollBar::Integer("Max", &TScrollBar::Max, &TScrollBar::SetMax),
    PScrollBar::Integer("Min", &TScrollBar::Min, &TScrollBar::SetMin),
    PScrollBar::Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize),
    PScrollBar::Integer("Position", &TScrollBar::Position, &TScrollBar::SetPosition),
    PScrollBar::Integer("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange))

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csDoubleClicks;
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    FTabStop = true;
}

void TScrollBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    CreateSubClass(p, "SCROLLBAR");
    p.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
    p.Caption.clear();
}

void TScrollBar::CreateWindowDone() { UpdateScrollInfo(); }

void TScrollBar::UpdateScrollInfo()
{
    if (!FHandle) return;
    SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL};
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = static_cast<UINT>(std::max(FPageSize, 0));
    info.nPos = FPosition;
    ::SetScrollInfo(FHandle, SB_CTL, &info, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind value)
{
    if (value == FKind) return;
    FKind = value;
    // The bar keeps its length and thickness across the turn.
    SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

int TScrollBar::LastPosition() const { return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax; }

void TScrollBar::SetPageSize(int value)
{
    value = std::clamp(value, 0, std::max(0, FMax - FMin + 1));
    if (value == FPageSize) return;
    FPageSize = value;
    SetParams(FPosition, FMin, FMax);
    UpdateScrollInfo();
}

void TScrollBar::SetParams(int position, int min, int max)
{
    if (max < min) throw EInvalidOperation("Scroll bar property out of range");
    const bool rangeChanged = min != FMin || max != FMax;
    FMin = min;
    FMax = max;
    FPageSize = std::min(FPageSize, FMax - FMin + 1);
    position = std::clamp(position, FMin, LastPosition());
    const bool moved = position != FPosition;
    FPosition = position;
    if (rangeChanged || moved) UpdateScrollInfo();
    if (moved) Change();
}

void TScrollBar::Change()
{
    if (OnChange) OnChange(this);
}

void TScrollBar::DoScroll(WORD code)
{
    int position = FPosition;
    switch (code) {
    case SB_LINEUP: position -= FSmallChange; break;
    case SB_LINEDOWN: position += FSmallChange; break;
    case SB_PAGEUP: position -= FLargeChange; break;
    case SB_PAGEDOWN: position += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit track position; the message carries only 16 bits.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS};
        if (FHandle && ::GetScrollInfo(FHandle, SB_CTL, &info)) position = info.nTrackPos;
        break;
    }
    case SB_TOP: position = FMin; break;
    case SB_BOTTOM: position = FMax; break;
    default: break;
    }
    if (OnScroll) {
        int asked = position;
        OnScroll(this, static_cast<TScrollCode>(std::min<WORD>(code, scEndScroll)), asked);
        position = asked;
    }
    SetPosition(position);
}

void TScrollBar::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        DoScroll(LOWORD(m.WParam));
        m.Result = 0;
        return;
    case CM_ENABLEDCHANGED:
        if (FHandle) ::EnableScrollBar(FHandle, SB_CTL, Enabled() ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
        break;
    }
    TWinControl::WndProc(m);
}

// ---- TTrackBar ----------------------------------------------------------------------------

using PTrackBar = TPropBuilder<TTrackBar>;
IMPLEMENT_CLASS(TTrackBar,
    PTrackBar::Integer("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency),
    PTrackBar::Integer("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize),
    PTrackBar::Integer("Max", &TTrackBar::Max, &TTrackBar::SetMax),
    PTrackBar::Integer("Min", &TTrackBar::Min, &TTrackBar::SetMin),
    PTrackBar::Enum("Orientation", TrackBarOrientationEnum, &TTrackBar::Orientation, &TTrackBar::SetOrientation),
    PTrackBar::Integer("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize),
    PTrackBar::Integer("Position", &TTrackBar::Position, &TTrackBar::SetPosition),
    PTrackBar::Integer("ThumbLength", &TTrackBar::ThumbLength, &TTrackBar::SetThumbLength),
    PTrackBar::Enum("TickMarks", TickMarkEnum, &TTrackBar::TickMarks, &TTrackBar::SetTickMarks),
    PTrackBar::Enum("TickStyle", TickStyleEnum, &TTrackBar::TickStyle, &TTrackBar::SetTickStyle))

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csDoubleClicks;
    FWidth = 150;
    FHeight = 45;
    FTabStop = true;
}

void TTrackBar::CreateParams(TCreateParams& p)
{
    InitBarClasses();
    TWinControl::CreateParams(p);
    CreateSubClass(p, TRACKBAR_CLASSA);
    p.Style |= TBS_FIXEDLENGTH | (FOrientation == trVertical ? TBS_VERT : TBS_HORZ);
    static constexpr DWORD marks[] = {TBS_BOTTOM, TBS_TOP, TBS_BOTH};
    p.Style |= FTickStyle == tsNone ? TBS_NOTICKS : (FTickStyle == tsAuto ? TBS_AUTOTICKS : 0);
    p.Style |= marks[FTickMarks];
    p.Caption.clear();
}

void TTrackBar::CreateWindowDone()
{
    ::SendMessageA(FHandle, TBM_SETTHUMBLENGTH, FThumbLength, 0);
    ::SendMessageA(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
    ::SendMessageA(FHandle, TBM_SETRANGEMAX, FALSE, FMax);
    ::SendMessageA(FHandle, TBM_SETLINESIZE, 0, FLineSize);
    ::SendMessageA(FHandle, TBM_SETPAGESIZE, 0, FPageSize);
    if (FTickStyle == tsAuto) ::SendMessageA(FHandle, TBM_SETTICFREQ, FFrequency, 0);
    ::SendMessageA(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::DestroyWnd()
{
    FPosition = Position();
    TWinControl::DestroyWnd();
}

int TTrackBar::Position() const
{
    return FHandle ? static_cast<int>(::SendMessageA(FHandle, TBM_GETPOS, 0, 0)) : FPosition;
}

void TTrackBar::SetPosition(int value)
{
    value = std::clamp(value, FMin, std::max(FMin, FMax));
    if (value == Position()) return;
    FPosition = value;
    if (FHandle) ::SendMessageA(FHandle, TBM_SETPOS, TRUE, value);
    Changed();
}

void TTrackBar::SetMin(int value)
{
    FMin = value;
    FMax = std::max(FMax, FMin);
    ApplyRange();
}

void TTrackBar::SetMax(int value)
{
    FMax = value;
    FMin = std::min(FMin, FMax);
    ApplyRange();
}

void TTrackBar::ApplyRange()
{
    FPosition = std::clamp(FPosition, FMin, FMax);
    if (!FHandle) return;
    ::SendMessageA(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
    ::SendMessageA(FHandle, TBM_SETRANGEMAX, TRUE, FMax);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value)
{
    if (value == FOrientation) return;
    FOrientation = value;
    SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

void TTrackBar::SetFrequency(int value)
{
    FFrequency = std::max(value, 1);
    if (FHandle && FTickStyle == tsAuto) ::SendMessageA(FHandle, TBM_SETTICFREQ, FFrequency, 0);
}

void TTrackBar::SetLineSize(int value)
{
    FLineSize = value;
    if (FHandle) ::SendMessageA(FHandle, TBM_SETLINESIZE, 0, value);
}

void TTrackBar::SetPageSize(int value)
{
    FPageSize = value;
    if (FHandle) ::SendMessageA(FHandle, TBM_SETPAGESIZE, 0, value);
}

void TTrackBar::SetTickMarks(TTickMark value)
{
    if (value == FTickMarks) return;
    FTickMarks = value;
    RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value)
{
    if (value == FTickStyle) return;
    FTickStyle = value;
    RecreateWnd();
}

void TTrackBar::SetThumbLength(int value)
{
    FThumbLength = std::max(value, 1);
    if (FHandle) ::SendMessageA(FHandle, TBM_SETTHUMBLENGTH, FThumbLength, 0);
}

void TTrackBar::Changed()
{
    if (OnChange) OnChange(this);
}

void TTrackBar::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: {
        const int position = Position();
        if (position != FPosition) {
            FPosition = position;
            Changed();
        }
        m.Result = 0;
        return;
    }
    }
    TWinControl::WndProc(m);
}

// ---- TUpDown ------------------------------------------------------------------------------

using PUpDown = TPropBuilder<TUpDown>;
IMPLEMENT_CLASS(TUpDown,
    PUpDown::Enum("AlignButton", UDAlignButtonEnum, &TUpDown::AlignButton, &TUpDown::SetAlignButton),
    PUpDown::Bool("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys),
    PUpDown::Object("Associate", &TUpDown::Associate, &TUpDown::SetAssociate),
    PUpDown::Integer("Increment", &TUpDown::Increment, &TUpDown::SetIncrement),
    PUpDown::Integer("Max", &TUpDown::Max, &TUpDown::SetMax),
    PUpDown::Integer("Min", &TUpDown::Min, &TUpDown::SetMin),
    PUpDown::Enum("Orientation", UDOrientationEnum, &TUpDown::Orientation, &TUpDown::SetOrientation),
    PUpDown::Integer("Position", &TUpDown::Position, &TUpDown::SetPosition),
    PUpDown::Bool("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands),
    PUpDown::Bool("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap))

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = csDoubleClicks;
    FWidth = GetSystemMetrics(SM_CXVSCROLL);
    FHeight = GetSystemMetrics(SM_CYVSCROLL) * 2;
}

TUpDown::~TUpDown()
{
    SetAssociate(nullptr);
    SetComponentState(csDestroying);
    DestroyHandle();
}

void TUpDown::CreateParams(TCreateParams& p)
{
    InitBarClasses();
    TWinControl::CreateParams(p);
    CreateSubClass(p, UPDOWN_CLASSA);
    // The framework places the up-down against its associate itself, so the
    // control never resizes the edit.
    if (FOrientation == udHorizontal) p.Style |= UDS_HORZ;
    if (FWrap) p.Style |= UDS_WRAP;
    if (FArrowKeys) p.Style |= UDS_ARROWKEYS;
    if (!FThousands) p.Style |= UDS_NOTHOUSANDS;
    // The associate shows the position as a number. The control reads this
    // style when it is made (it does not follow later style changes), and
    // does nothing with it while it has no associate.
    p.Style |= UDS_SETBUDDYINT;
    p.Caption.clear();
}

void TUpDown::CreateWindowDone()
{
    ::SendMessageA(FHandle, UDM_SETRANGE32, FMin, FMax);
    UDACCEL accel{0, static_cast<UINT>(std::max(FIncrement, 1))};
    ::SendMessageA(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    ::SendMessageA(FHandle, UDM_SETPOS32, 0, FPosition);
    AttachAssociate();
}

void TUpDown::DestroyWnd()
{
    FPosition = Position();
    TWinControl::DestroyWnd();
}

void TUpDown::AttachAssociate()
{
    if (!FHandle) return;
    if (!FAssociate) {
        ::SendMessageA(FHandle, UDM_SETBUDDY, 0, 0);
        return;
    }
    // Against the associate's right (or left) side, as high as it is.
    if (FAssociate->Parent() == Parent()) {
        const int left = FAlignButton == udRight ? FAssociate->Left() + FAssociate->Width() : FAssociate->Left() - FWidth;
        SetBounds(left, FAssociate->Top(), FWidth, FAssociate->Height());
    }
    // The control reads its position from the associate's text from now on,
    // so take it first, then let the associate show it.
    const int position = Position();
    ::SendMessageA(FHandle, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
    ::SendMessageA(FHandle, UDM_SETPOS32, 0, position);
}

void TUpDown::SetAssociate(TWinControl* value)
{
    if (value == FAssociate) return;
    if (value == this) throw EInvalidOperation("An up-down cannot be associated with itself");
    if (FAssociate) FAssociate->RemoveFreeNotification(this);
    FAssociate = value;
    if (FAssociate) FAssociate->FreeNotification(this);
    if (!HasState(csDestroying)) AttachAssociate();
}

void TUpDown::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FAssociate) {
        FAssociate = nullptr;
        if (FHandle) ::SendMessageA(FHandle, UDM_SETBUDDY, 0, 0);
    }
}

void TUpDown::SetAlignButton(TUDAlignButton value)
{
    FAlignButton = value;
    AttachAssociate();
}

void TUpDown::SetOrientation(TUDOrientation value)
{
    if (value == FOrientation) return;
    FOrientation = value;
    if (!FAssociate) SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

void TUpDown::SetMin(int value)
{
    FMin = value;
    if (FHandle) ::SendMessageA(FHandle, UDM_SETRANGE32, FMin, FMax);
}

void TUpDown::SetMax(int value)
{
    FMax = value;
    if (FHandle) ::SendMessageA(FHandle, UDM_SETRANGE32, FMin, FMax);
}

void TUpDown::SetIncrement(int value)
{
    FIncrement = std::max(value, 1);
    if (!FHandle) return;
    UDACCEL accel{0, static_cast<UINT>(FIncrement)};
    ::SendMessageA(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

int TUpDown::Position() const
{
    if (!FHandle) return FPosition;
    BOOL failed = FALSE;
    const int position = static_cast<int>(::SendMessageA(FHandle, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    return failed ? FPosition : position;
}

void TUpDown::SetPosition(int value)
{
    const int low = std::min(FMin, FMax), high = std::max(FMin, FMax);
    FPosition = std::clamp(value, low, high);
    if (FHandle) ::SendMessageA(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetWrap(bool value)
{
    if (value == FWrap) return;
    FWrap = value;
    RecreateWnd();
}

void TUpDown::SetArrowKeys(bool value)
{
    if (value == FArrowKeys) return;
    FArrowKeys = value;
    RecreateWnd();
}

void TUpDown::SetThousands(bool value)
{
    if (value == FThousands) return;
    FThousands = value;
    RecreateWnd();
}

void TUpDown::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (header && header->code == UDN_DELTAPOS) {
            bool allow = true;
            if (OnChanging) OnChanging(this, allow);
            m.Result = allow ? 0 : 1;
            return;
        }
        break;
    }
    case CN_HSCROLL:
    case CN_VSCROLL:
        if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
            const int position = Position();
            const TUDBtnType button = position < FPosition ? btPrev : btNext;
            FPosition = position;
            if (OnClick) OnClick(this, button);
        }
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TProgressBar -------------------------------------------------------------------------

using PProgressBar = TPropBuilder<TProgressBar>;
IMPLEMENT_CLASS(TProgressBar,
    PProgressBar::Integer("Max", &TProgressBar::Max, &TProgressBar::SetMax),
    PProgressBar::Integer("Min", &TProgressBar::Min, &TProgressBar::SetMin),
    PProgressBar::Enum("Orientation", ProgressBarOrientationEnum, &TProgressBar::Orientation,
                       &TProgressBar::SetOrientation),
    PProgressBar::Integer("Position", &TProgressBar::Position, &TProgressBar::SetPosition),
    PProgressBar::Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth),
    PProgressBar::Integer("Step", &TProgressBar::Step, &TProgressBar::SetStep))

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    FControlStyle = 0;
    FWidth = 150;
    FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& p)
{
    InitBarClasses();
    TWinControl::CreateParams(p);
    CreateSubClass(p, PROGRESS_CLASSA);
    if (FOrientation == pbVertical) p.Style |= PBS_VERTICAL;
    if (FSmooth) p.Style |= PBS_SMOOTH;
    p.Caption.clear();
}

void TProgressBar::CreateWindowDone()
{
    ::SendMessageA(FHandle, PBM_SETRANGE32, FMin, FMax);
    ::SendMessageA(FHandle, PBM_SETSTEP, FStep, 0);
    ::SendMessageA(FHandle, PBM_SETPOS, FPosition, 0);
}

void TProgressBar::SetMin(int value)
{
    FMin = value;
    FMax = std::max(FMax, FMin);
    if (FHandle) ::SendMessageA(FHandle, PBM_SETRANGE32, FMin, FMax);
    SetPosition(FPosition);
}

void TProgressBar::SetMax(int value)
{
    FMax = value;
    FMin = std::min(FMin, FMax);
    if (FHandle) ::SendMessageA(FHandle, PBM_SETRANGE32, FMin, FMax);
    SetPosition(FPosition);
}

void TProgressBar::SetPosition(int value)
{
    FPosition = std::clamp(value, FMin, FMax);
    if (FHandle) ::SendMessageA(FHandle, PBM_SETPOS, FPosition, 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation value)
{
    if (value == FOrientation) return;
    FOrientation = value;
    SetBounds(FLeft, FTop, FHeight, FWidth);
    RecreateWnd();
}

void TProgressBar::SetSmooth(bool value)
{
    if (value == FSmooth) return;
    FSmooth = value;
    RecreateWnd();
}

void TProgressBar::StepBy(int delta)
{
    int position = FPosition + delta;
    // Past the end the bar starts again from the beginning.
    if (position > FMax || position < FMin) position = FMin + (position - FMin) % std::max(1, FMax - FMin);
    SetPosition(position);
}

void TProgressBar::StepIt() { StepBy(FStep); }
