// The media player's button bar and its MCI commands (see media_player.h).
#include "framework/media_player.h"

#include <algorithm>
#include <vector>

#include <windowsx.h>

#include "framework/gdi_handles.h"

const TEnumInfo MPBtnTypeEnum{"TMPBtnType",
                              {"btPlay", "btPause", "btStop", "btNext", "btPrev", "btStep", "btBack", "btRecord",
                               "btEject"}};
const TEnumInfo MPDeviceTypesEnum{"TMPDeviceTypes",
                                  {"dtAutoSelect", "dtAVIVideo", "dtCDAudio", "dtDAT", "dtDigitalVideo", "dtMMMovie",
                                   "dtOther", "dtOverlay", "dtScanner", "dtSequencer", "dtVCR", "dtVideodisc",
                                   "dtWaveAudio"}};
const TEnumInfo MPModesEnum{"TMPModes",
                            {"mpNotReady", "mpStopped", "mpPlaying", "mpRecording", "mpSeeking", "mpPaused", "mpOpen"}};

namespace {

// The MCI device type names, by TMPDeviceTypes (none for dtAutoSelect).
const char* const DEVICE_NAMES[] = {"",          "AVIVideo", "CDAudio", "DAT",   "DigitalVideo",
                                    "MMMovie",   "Other",    "Overlay", "Scanner", "Sequencer",
                                    "VCR",       "Videodisc", "WaveAudio"};

// The buttons that make sense in each mode of an open device, by TMPModes.
constexpr TButtonSet NAVIGATE = MPButton(btNext) | MPButton(btPrev) | MPButton(btStep) | MPButton(btBack);
const TButtonSet MODE_BUTTONS[] = {
    /* mpNotReady  */ MPButton(btEject),
    /* mpStopped   */ MPButton(btPlay) | MPButton(btRecord) | MPButton(btEject) | NAVIGATE,
    /* mpPlaying   */ MPButton(btPause) | MPButton(btStop) | MPButton(btEject) | NAVIGATE,
    /* mpRecording */ MPButton(btPause) | MPButton(btStop) | MPButton(btEject),
    /* mpSeeking   */ MPButton(btStop) | MPButton(btEject),
    /* mpPaused    */ MPButton(btPlay) | MPButton(btPause) | MPButton(btStop) | MPButton(btEject) | NAVIGATE,
    /* mpOpen      */ MPButton(btPlay) | MPButton(btRecord) | MPButton(btEject) | NAVIGATE,
};

// The colour of each button when it is one of ColoredButtons.
const COLORREF GLYPH_COLOURS[] = {
    RGB(0, 128, 0),   // play
    RGB(192, 160, 0), // pause
    RGB(192, 0, 0),   // stop
    RGB(0, 0, 128),   // next
    RGB(0, 0, 128),   // previous
    RGB(0, 0, 128),   // step
    RGB(0, 0, 128),   // back
    RGB(192, 0, 0),   // record
    RGB(64, 64, 64),  // eject
};

// One shape of a glyph, in a 12 x 10 box: a polygon or a filled ellipse.
struct TGlyphShape {
    int Count;          // 0: an ellipse over the first two points
    POINT Points[4];
};

// The shapes of each button's glyph.
const std::vector<TGlyphShape>& GlyphShapes(TMPBtnType button)
{
    static const std::vector<TGlyphShape> shapes[] = {
        /* play   */ {{3, {{3, 0}, {9, 5}, {3, 10}}}},
        /* pause  */ {{4, {{2, 0}, {5, 0}, {5, 10}, {2, 10}}}, {4, {{7, 0}, {10, 0}, {10, 10}, {7, 10}}}},
        /* stop   */ {{4, {{1, 1}, {10, 1}, {10, 10}, {1, 10}}}},
        /* next   */ {{3, {{1, 0}, {7, 5}, {1, 10}}}, {4, {{8, 0}, {10, 0}, {10, 10}, {8, 10}}}},
        /* prev   */ {{4, {{1, 0}, {3, 0}, {3, 10}, {1, 10}}}, {3, {{10, 0}, {4, 5}, {10, 10}}}},
        /* step   */ {{3, {{0, 0}, {5, 5}, {0, 10}}}, {3, {{6, 0}, {11, 5}, {6, 10}}}},
        /* back   */ {{3, {{5, 0}, {0, 5}, {5, 10}}}, {3, {{11, 0}, {6, 5}, {11, 10}}}},
        /* record */ {{0, {{1, 0}, {11, 10}}}},
        /* eject  */ {{3, {{6, 0}, {11, 6}, {1, 6}}}, {4, {{1, 8}, {11, 8}, {11, 10}, {1, 10}}}},
    };
    return shapes[button];
}

void DrawGlyphShapes(HDC dc, int x, int y, TMPBtnType button, COLORREF colour)
{
    TGdiBrush brush(CreateSolidBrush(colour));
    TGdiPen pen(CreatePen(PS_SOLID, 1, colour));
    TSelectObject selectBrush(dc, brush);
    TSelectObject selectPen(dc, pen);
    for (const TGlyphShape& shape : GlyphShapes(button)) {
        if (shape.Count == 0) {
            Ellipse(dc, x + shape.Points[0].x, y + shape.Points[0].y, x + shape.Points[1].x, y + shape.Points[1].y);
            continue;
        }
        POINT points[4];
        for (int i = 0; i < shape.Count; ++i) points[i] = POINT{x + shape.Points[i].x, y + shape.Points[i].y};
        Polygon(dc, points, shape.Count);
    }
}

}  // namespace

void DrawMediaPlayerGlyph(HDC dc, const RECT& cell, TMPBtnType button, TMPGlyphState state)
{
    int x = cell.left + (cell.right - cell.left - 12) / 2;
    int y = cell.top + (cell.bottom - cell.top - 11) / 2;
    if (state == mgDisabled) {
        DrawGlyphShapes(dc, x + 1, y + 1, button, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawGlyphShapes(dc, x, y, button, GetSysColor(COLOR_GRAYTEXT));
        return;
    }
    DrawGlyphShapes(dc, x, y, button, state == mgColored ? GLYPH_COLOURS[button] : RGB(0, 0, 0));
}

// ---- TMediaPlayer --------------------------------------------------------------------------

using PMediaPlayer = TPropBuilder<TMediaPlayer>;
IMPLEMENT_CLASS(TMediaPlayer,
    PMediaPlayer::Bool("AutoEnable", &TMediaPlayer::AutoEnable, &TMediaPlayer::SetAutoEnable),
    PMediaPlayer::Bool("AutoOpen", &TMediaPlayer::AutoOpen, &TMediaPlayer::SetAutoOpen),
    PMediaPlayer::Bool("AutoRewind", &TMediaPlayer::AutoRewind, &TMediaPlayer::SetAutoRewind),
    PMediaPlayer::Set("ColoredButtons", MPBtnTypeEnum, &TMediaPlayer::ColoredButtons,
                      &TMediaPlayer::SetColoredButtons),
    PMediaPlayer::Enum("DeviceType", MPDeviceTypesEnum, &TMediaPlayer::DeviceType, &TMediaPlayer::SetDeviceType),
    PMediaPlayer::Set("EnabledButtons", MPBtnTypeEnum, &TMediaPlayer::EnabledButtons,
                      &TMediaPlayer::SetEnabledButtons),
    PMediaPlayer::String("FileName", &TMediaPlayer::FileName, &TMediaPlayer::SetFileName),
    PMediaPlayer::Bool("Shareable", &TMediaPlayer::Shareable, &TMediaPlayer::SetShareable),
    PMediaPlayer::Set("VisibleButtons", MPBtnTypeEnum, &TMediaPlayer::VisibleButtons,
                      &TMediaPlayer::SetVisibleButtons))

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = csCaptureMouse | csOpaque;
    FWidth = 253;
    FHeight = 30;
    FTabStop = true;
    MciSendCommand = [](MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parms) {
        return mciSendCommandA(device, command, flags, parms);
    };
}

TMediaPlayer::~TMediaPlayer()
{
    if (FDeviceID) Send(MCI_CLOSE, MCI_WAIT, nullptr, false);
}

void TMediaPlayer::SetVisibleButtons(TButtonSet value)
{
    FVisibleButtons = value & MP_ALL_BUTTONS;
    Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet value)
{
    FEnabledButtons = value & MP_ALL_BUTTONS;
    Invalidate();
}

void TMediaPlayer::SetColoredButtons(TButtonSet value)
{
    FColoredButtons = value & MP_ALL_BUTTONS;
    Invalidate();
}

void TMediaPlayer::SetAutoEnable(bool value)
{
    FAutoEnable = value;
    UpdateEnabled();
}

void TMediaPlayer::CreateWindowDone()
{
    TCustomControl::CreateWindowDone();
    if (FAutoOpen && !FDeviceID) {
        try {
            Open();
        } catch (const EMCIDeviceError&) {
            // Error says why; the bar stays usable.
        }
    }
    UpdateEnabled();
}

// ---- commands -------------------------------------------------------------------------------

std::string TMediaPlayer::ErrorMessage() const
{
    if (!FError) return {};
    char text[MAXERRORLENGTH] = {};
    if (!mciGetErrorStringA(FError, text, sizeof text)) return Format("MCI error %lu", FError);
    return text;
}

MCIERROR TMediaPlayer::Send(UINT command, DWORD flags, void* parms, bool raise)
{
    FError = MciSendCommand ? MciSendCommand(FDeviceID, command, flags, reinterpret_cast<DWORD_PTR>(parms))
                            : MCIERR_UNRECOGNIZED_COMMAND;
    if (FError && raise) throw EMCIDeviceError(ErrorMessage(), FError);
    return FError;
}

DWORD TMediaPlayer::WaitNotifyFlags()
{
    DWORD flags = 0;
    if (FWait) flags |= MCI_WAIT;
    if (FNotify && FHandle) flags |= MCI_NOTIFY;
    // Both only hold for the next command.
    FWait = false;
    FNotify = false;
    return flags;
}

void TMediaPlayer::CheckOpen()
{
    if (FDeviceID) return;
    FError = MCIERR_INVALID_DEVICE_ID;
    throw EMCIDeviceError(ErrorMessage(), FError);
}

void TMediaPlayer::Open()
{
    if (FDeviceID) Close();
    MCI_OPEN_PARMSA parms{};
    DWORD flags = MCI_WAIT;
    if (FDeviceType != dtAutoSelect) {
        parms.lpstrDeviceType = DEVICE_NAMES[FDeviceType];
        flags |= MCI_OPEN_TYPE;
    }
    if (!FFileName.empty()) {
        parms.lpstrElementName = FFileName.c_str();
        flags |= MCI_OPEN_ELEMENT;
    }
    if (FShareable) flags |= MCI_OPEN_SHAREABLE;
    if (!(flags & (MCI_OPEN_TYPE | MCI_OPEN_ELEMENT))) {
        FError = MCIERR_MISSING_PARAMETER;
        throw EMCIDeviceError(ErrorMessage(), FError);
    }
    Send(MCI_OPEN, flags, &parms);
    FDeviceID = parms.wDeviceID;
    // What the device cannot do stays disabled.
    FCapableButtons = MP_ALL_BUTTONS;
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = MCI_GETDEVCAPS_CAN_RECORD;
    if (Send(MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps, false) == 0 && !caps.dwReturn)
        FCapableButtons &= ~MPButton(btRecord);
    caps.dwItem = MCI_GETDEVCAPS_CAN_EJECT;
    if (Send(MCI_GETDEVCAPS, MCI_WAIT | MCI_GETDEVCAPS_ITEM, &caps, false) == 0 && !caps.dwReturn)
        FCapableButtons &= ~MPButton(btEject);
    FError = 0;
    UpdateEnabled();
}

void TMediaPlayer::Close()
{
    if (!FDeviceID) return;
    MCI_GENERIC_PARMS parms{};
    MCIERROR result = Send(MCI_CLOSE, MCI_WAIT, &parms, false);
    FDeviceID = 0;
    FCapableButtons = MP_ALL_BUTTONS;
    UpdateEnabled();
    if (result) throw EMCIDeviceError(ErrorMessage(), result);
}

void TMediaPlayer::Play()
{
    CheckOpen();
    if (FAutoRewind) {
        int length = Length();
        if (length > 0 && Position() >= length) Rewind();
    }
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_PLAY, WaitNotifyFlags(), &parms);
    UpdateEnabled();
}

void TMediaPlayer::Pause()
{
    CheckOpen();
    if (Mode() == mpPaused) {
        Resume();
        return;
    }
    MCI_GENERIC_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_PAUSE, WaitNotifyFlags(), &parms);
    UpdateEnabled();
}

void TMediaPlayer::Resume()
{
    CheckOpen();
    MCI_GENERIC_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_RESUME, WaitNotifyFlags(), &parms);
    UpdateEnabled();
}

void TMediaPlayer::Stop()
{
    CheckOpen();
    MCI_GENERIC_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_STOP, WaitNotifyFlags(), &parms);
    UpdateEnabled();
}

void TMediaPlayer::Next()
{
    CheckOpen();
    MCI_SEEK_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_SEEK, WaitNotifyFlags() | MCI_SEEK_TO_END, &parms);
    UpdateEnabled();
}

void TMediaPlayer::Previous()
{
    CheckOpen();
    MCI_SEEK_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_SEEK, WaitNotifyFlags() | MCI_SEEK_TO_START, &parms);
    UpdateEnabled();
}

void TMediaPlayer::Rewind() { Previous(); }

void TMediaPlayer::Step()
{
    CheckOpen();
    MCI_VD_STEP_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    parms.dwFrames = 1;
    Send(MCI_STEP, WaitNotifyFlags() | MCI_VD_STEP_FRAMES, &parms);
    UpdateEnabled();
}

void TMediaPlayer::Back()
{
    CheckOpen();
    MCI_VD_STEP_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    parms.dwFrames = 1;
    Send(MCI_STEP, WaitNotifyFlags() | MCI_VD_STEP_FRAMES | MCI_VD_STEP_REVERSE, &parms);
    UpdateEnabled();
}

void TMediaPlayer::StartRecording()
{
    CheckOpen();
    MCI_RECORD_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_RECORD, WaitNotifyFlags(), &parms);
    UpdateEnabled();
}

void TMediaPlayer::Eject()
{
    CheckOpen();
    MCI_SET_PARMS parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    Send(MCI_SET, WaitNotifyFlags() | MCI_SET_DOOR_OPEN, &parms);
    UpdateEnabled();
}

void TMediaPlayer::Save()
{
    CheckOpen();
    MCI_SAVE_PARMSA parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(FHandle);
    parms.lpfilename = FFileName.c_str();
    Send(MCI_SAVE, WaitNotifyFlags() | MCI_SAVE_FILE, &parms);
}

TMPModes TMediaPlayer::Mode()
{
    if (!FDeviceID) return mpNotReady;
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_MODE;
    if (Send(MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &parms, false)) return mpNotReady;
    DWORD mode = static_cast<DWORD>(parms.dwReturn);
    return mode >= MCI_MODE_NOT_READY && mode <= MCI_MODE_OPEN ? static_cast<TMPModes>(mode - MCI_MODE_NOT_READY)
                                                               : mpNotReady;
}

int TMediaPlayer::Length()
{
    if (!FDeviceID) return 0;
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_LENGTH;
    return Send(MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &parms, false) ? 0 : static_cast<int>(parms.dwReturn);
}

int TMediaPlayer::Position()
{
    if (!FDeviceID) return 0;
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_POSITION;
    return Send(MCI_STATUS, MCI_WAIT | MCI_STATUS_ITEM, &parms, false) ? 0 : static_cast<int>(parms.dwReturn);
}

void TMediaPlayer::SetPosition(int value)
{
    CheckOpen();
    MCI_SEEK_PARMS parms{};
    parms.dwTo = static_cast<DWORD>(std::max(value, 0));
    Send(MCI_SEEK, MCI_WAIT | MCI_TO, &parms);
    UpdateEnabled();
}

void TMediaPlayer::UpdateEnabled()
{
    if (!FAutoEnable) return;
    TButtonSet enabled = 0;
    if (FDeviceID) {
        MCIERROR kept = FError;
        enabled = MODE_BUTTONS[Mode()] & FCapableButtons;
        FError = kept;
    }
    if (enabled != FEnabledButtons) SetEnabledButtons(enabled);
}

// ---- the button bar ------------------------------------------------------------------------

int TMediaPlayer::VisibleCount() const
{
    int count = 0;
    for (int i = 0; i < MP_BUTTON_COUNT; ++i)
        if (FVisibleButtons & (1u << i)) ++count;
    return count;
}

RECT TMediaPlayer::ButtonRect(TMPBtnType button) const
{
    int count = VisibleCount();
    if (!(FVisibleButtons & MPButton(button)) || count == 0) return RECT{0, 0, 0, 0};
    int width = FWidth / count;
    int slot = 0;
    for (int i = 0; i < button; ++i)
        if (FVisibleButtons & (1u << i)) ++slot;
    return RECT{slot * width, 0, (slot + 1) * width, FHeight};
}

int TMediaPlayer::ButtonAt(int x) const
{
    for (int i = 0; i < MP_BUTTON_COUNT; ++i) {
        RECT r = ButtonRect(static_cast<TMPBtnType>(i));
        if (r.right > r.left && x >= r.left && x < r.right) return i;
    }
    return -1;
}

void TMediaPlayer::ClickButton(TMPBtnType button)
{
    bool doDefault = true;
    if (OnClick) OnClick(this, button, doDefault);
    if (doDefault) {
        switch (button) {
        case btPlay: Play(); break;
        case btPause: Pause(); break;
        case btStop: Stop(); break;
        case btNext: Next(); break;
        case btPrev: Previous(); break;
        case btStep: Step(); break;
        case btBack: Back(); break;
        case btRecord: StartRecording(); break;
        case btEject: Eject(); break;
        }
    }
    if (OnPostClick) OnPostClick(this, button);
}

void TMediaPlayer::Paint()
{
    HDC dc = Canvas()->Handle();
    RECT client{0, 0, FWidth, FHeight};
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    bool focused = Focused();
    for (int i = 0; i < MP_BUTTON_COUNT; ++i) {
        auto button = static_cast<TMPBtnType>(i);
        RECT r = ButtonRect(button);
        if (r.right <= r.left) continue;
        bool down = FPressed == i && FPressedIn;
        DrawEdge(dc, &r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
        bool enabled = FEnabled && (FEnabledButtons & MPButton(button));
        TMPGlyphState state = !enabled ? mgDisabled : (FColoredButtons & MPButton(button)) ? mgColored : mgEnabled;
        RECT glyph = r;
        if (down) OffsetRect(&glyph, 1, 1);
        DrawMediaPlayerGlyph(dc, glyph, button, state);
        if (focused && FFocusButton == i) {
            RECT focus = r;
            InflateRect(&focus, -3, -3);
            DrawFocusRect(dc, &focus);
        }
    }
}

void TMediaPlayer::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        int button = ButtonAt(GET_X_LPARAM(m.LParam));
        if (FEnabled && button >= 0 && (FEnabledButtons & (1u << button))) {
            FPressed = button;
            FPressedIn = true;
            FFocusButton = button;
            if (FHandle && CanFocus() && !Focused()) SetFocus();
            Invalidate();
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (FPressed >= 0) {
            bool inside = ButtonAt(GET_X_LPARAM(m.LParam)) == FPressed && GET_Y_LPARAM(m.LParam) >= 0 &&
                          GET_Y_LPARAM(m.LParam) < FHeight;
            if (inside != FPressedIn) {
                FPressedIn = inside;
                Invalidate();
            }
        }
        break;
    case WM_LBUTTONUP:
        if (FPressed >= 0) {
            int pressed = FPressed;
            bool sameButton = ButtonAt(GET_X_LPARAM(m.LParam)) == pressed;
            FPressed = -1;
            FPressedIn = false;
            Invalidate();
            TCustomControl::WndProc(m);
            if (sameButton) ClickButton(static_cast<TMPBtnType>(pressed));
            return;
        }
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        // A press the system takes away is no click. (The capture may go
        // and the release still come over the button: that one clicks.)
        if (m.Msg == WM_CANCELMODE && FPressed >= 0) {
            FPressed = -1;
            FPressedIn = false;
            Invalidate();
        }
        break;
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS;
        return;
    case WM_KEYDOWN:
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT) {
            int step = m.WParam == VK_LEFT ? -1 : 1;
            for (int i = FFocusButton + step; i >= 0 && i < MP_BUTTON_COUNT; i += step) {
                if (FVisibleButtons & (1u << i)) {
                    FFocusButton = i;
                    Invalidate();
                    break;
                }
            }
            return;
        }
        if (m.WParam == VK_SPACE && (FVisibleButtons & FEnabledButtons & (1u << FFocusButton))) {
            ClickButton(static_cast<TMPBtnType>(FFocusButton));
            return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case MM_MCINOTIFY:
        FNotifyValue = static_cast<int>(m.WParam);
        UpdateEnabled();
        if (OnNotify) OnNotify(this);
        return;
    }
    TCustomControl::WndProc(m);
}
