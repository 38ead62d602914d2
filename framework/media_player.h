// The media player: a bar of buttons (play, pause, stop, next, previous,
// step, back, record, eject) that drives a multimedia device through the
// system's Media Control Interface (MCI).
//
// TMediaPlayer is a windowed control (window class "TMediaPlayer") that
// paints its own buttons: the visible ones side by side, each a
// VisibleButtons-count part of the bar; a disabled button is grey, an
// enabled one black, or in its own colour when it is one of ColoredButtons.
// A press on an enabled button shows it pushed in; releasing the mouse over
// the same button clicks it: OnClick may cancel the button's command, the
// command runs (Play, Pause, ...) and OnPostClick follows. Left and Right
// move the keyboard focus between buttons, Space clicks the focused one.
//
// Open opens FileName (or the device of DeviceType) with MCI; AutoOpen does
// that when the window is made. With AutoEnable the buttons that make sense
// in the device's mode are enabled after every command (none while the
// device is closed). Every command sets Error to the MCI result; a failed
// command throws EMCIDeviceError with the system's description of the
// error, which a click on a button shows in the application's error box.
//
// MciSendCommand is the entry the player sends its commands through
// (mciSendCommandA); a caller may put another in front of it to watch or
// answer them.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <string>

#include "framework/controls.h"

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
extern const TEnumInfo MPBtnTypeEnum;
inline constexpr int MP_BUTTON_COUNT = 9;
// A set of buttons: bit (1 << TMPBtnType).
using TButtonSet = unsigned;
constexpr TButtonSet MPButton(TMPBtnType button) { return 1u << button; }
inline constexpr TButtonSet MP_ALL_BUTTONS = (1u << MP_BUTTON_COUNT) - 1;

enum TMPDeviceTypes {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther,
    dtOverlay, dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};
extern const TEnumInfo MPDeviceTypesEnum;

enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
extern const TEnumInfo MPModesEnum;

// How a button is drawn.
enum TMPGlyphState { mgEnabled, mgDisabled, mgColored };

// A failed MCI command; Error() is its code.
class EMCIDeviceError : public Exception {
public:
    EMCIDeviceError(const std::string& message, MCIERROR error) : Exception(message), FError(error) {}
    MCIERROR Error() const { return FError; }

private:
    MCIERROR FError;
};

using TMPBtnClickEvent = std::function<void(TObject* sender, TMPBtnType button, bool& doDefault)>;
using TMPPostClickEvent = std::function<void(TObject* sender, TMPBtnType button)>;
using TMciSendCommandProc = std::function<MCIERROR(MCIDEVICEID device, UINT command, DWORD_PTR flags, DWORD_PTR parms)>;

// Draws the picture of `button` centred in `cell` of `dc`: the shape of the
// button (a triangle for play, two bars for pause, ...) in black, grey with a
// white relief, or the button's own colour.
void DrawMediaPlayerGlyph(HDC dc, const RECT& cell, TMPBtnType button, TMPGlyphState state);

class TMediaPlayer : public TCustomControl {
    DECLARE_CLASS(TMediaPlayer, TCustomControl)
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    TButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TButtonSet value);
    TButtonSet EnabledButtons() const { return FEnabledButtons; }
    void SetEnabledButtons(TButtonSet value);
    TButtonSet ColoredButtons() const { return FColoredButtons; }
    void SetColoredButtons(TButtonSet value);
    bool AutoEnable() const { return FAutoEnable; }
    void SetAutoEnable(bool value);
    bool AutoOpen() const { return FAutoOpen; }
    void SetAutoOpen(bool value) { FAutoOpen = value; }
    bool AutoRewind() const { return FAutoRewind; }
    void SetAutoRewind(bool value) { FAutoRewind = value; }
    TMPDeviceTypes DeviceType() const { return FDeviceType; }
    void SetDeviceType(TMPDeviceTypes value) { FDeviceType = value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& value) { FFileName = value; }
    bool Shareable() const { return FShareable; }
    void SetShareable(bool value) { FShareable = value; }
    // The next command waits until the device has done it.
    bool Wait() const { return FWait; }
    void SetWait(bool value) { FWait = value; }
    // The next command reports its end with MM_MCINOTIFY (OnNotify).
    bool Notify() const { return FNotify; }
    void SetNotify(bool value) { FNotify = value; }

    // ---- the device --------------------------------------------------------
    bool IsOpen() const { return FDeviceID != 0; }
    MCIDEVICEID DeviceID() const { return FDeviceID; }
    TMPModes Mode();
    // In the device's time format (milliseconds for wave audio).
    int Length();
    int Position();
    void SetPosition(int value);
    // The result of the last command: 0, or an MCI error code.
    MCIERROR Error() const { return FError; }
    // The system's text for Error (empty for 0).
    std::string ErrorMessage() const;
    // MCI_NOTIFY_SUCCESSFUL, ..._SUPERSEDED, ..._ABORTED or ..._FAILURE of
    // the last MM_MCINOTIFY.
    int NotifyValue() const { return FNotifyValue; }

    void Open();
    void Close();
    void Play();
    // Pauses; a paused device resumes.
    void Pause();
    void Resume();
    void Stop();
    // To the end, to the start.
    void Next();
    void Previous();
    // A frame forward, a frame back.
    void Step();
    void Back();
    void StartRecording();
    void Eject();
    void Save();
    void Rewind();

    // ---- the button bar ----------------------------------------------------
    // The visible button under client x, or -1.
    int ButtonAt(int x) const;
    // The rectangle of a visible button (empty for a hidden one).
    RECT ButtonRect(TMPBtnType button) const;
    // Runs a button as a click does: OnClick, the command, OnPostClick.
    void ClickButton(TMPBtnType button);
    // The button held down by the mouse, or -1.
    int PressedButton() const { return FPressed; }

    void WndProc(TMessage& message) override;

    TMPBtnClickEvent OnClick;
    TMPPostClickEvent OnPostClick;
    TNotifyEvent OnNotify;
    TMciSendCommandProc MciSendCommand;

protected:
    void Paint() override;
    void CreateWindowDone() override;

private:
    // Sends one command; a nonzero result is kept in Error and thrown.
    MCIERROR Send(UINT command, DWORD flags, void* parms, bool raise = true);
    DWORD WaitNotifyFlags();
    void CheckOpen();
    // With AutoEnable, the buttons of the device's present mode.
    void UpdateEnabled();
    int VisibleCount() const;

    TButtonSet FVisibleButtons = MP_ALL_BUTTONS;
    TButtonSet FEnabledButtons = MP_ALL_BUTTONS;
    TButtonSet FColoredButtons = MP_ALL_BUTTONS;
    TButtonSet FCapableButtons = MP_ALL_BUTTONS;  // what the open device can do
    bool FAutoEnable = true;
    bool FAutoOpen = false;
    bool FAutoRewind = true;
    TMPDeviceTypes FDeviceType = dtAutoSelect;
    std::string FFileName;
    bool FShareable = false;
    bool FWait = false;
    bool FNotify = false;
    MCIDEVICEID FDeviceID = 0;
    MCIERROR FError = 0;
    int FNotifyValue = 0;
    int FPressed = -1;       // button under a press
    bool FPressedIn = false; // the mouse is still over it
    int FFocusButton = 0;
};
