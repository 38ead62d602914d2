// The media player's button bar driven with mouse messages, its MCI
// commands watched through the player's command entry, and one real MCI
// device opened on a small wave file (the machine needs no sound card for
// that: where playing fails, the error must come back cleanly).
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/media_player.h"

namespace {

class TPlayerForm : public TForm {
    DECLARE_CLASS_INLINE(TPlayerForm, TForm)
public:
    explicit TPlayerForm(TComponent* owner) : TForm(owner)
    {
        // In the design's pixels at every display scale: these tests read
        // pixel positions (scaling has tests of its own).
        SetScaled(false);
        SetBounds(60, 60, 400, 160);
        Player = new TMediaPlayer(this);
        Player->SetParent(this);
        Player->SetBounds(10, 10, 270, 30);
        FinishCreation();
    }
    TMediaPlayer* Player;
};

// Stands in for the MCI: records the commands and answers them like a wave
// audio device in `Mode` that can record but not eject.
struct TFakeMci {
    std::vector<UINT> Commands;
    std::string OpenedFile;
    DWORD Mode = MCI_MODE_STOP;
    MCIERROR PlayResult = 0;

    MCIERROR operator()(MCIDEVICEID, UINT command, DWORD_PTR flags, DWORD_PTR parms)
    {
        if (command != MCI_STATUS && command != MCI_GETDEVCAPS) Commands.push_back(command);
        switch (command) {
        case MCI_OPEN: {
            auto* open = reinterpret_cast<MCI_OPEN_PARMSA*>(parms);
            if (flags & MCI_OPEN_ELEMENT) OpenedFile = open->lpstrElementName;
            open->wDeviceID = 7;
            return 0;
        }
        case MCI_STATUS: {
            auto* status = reinterpret_cast<MCI_STATUS_PARMS*>(parms);
            status->dwReturn = status->dwItem == MCI_STATUS_MODE ? Mode : status->dwItem == MCI_STATUS_LENGTH ? 1000 : 0;
            return 0;
        }
        case MCI_GETDEVCAPS: {
            auto* caps = reinterpret_cast<MCI_GETDEVCAPS_PARMS*>(parms);
            caps->dwReturn = caps->dwItem == MCI_GETDEVCAPS_CAN_RECORD;
            return 0;
        }
        case MCI_PLAY:
            if (!PlayResult) Mode = MCI_MODE_PLAY;
            return PlayResult;
        case MCI_STOP:
            Mode = MCI_MODE_STOP;
            return 0;
        default:
            return 0;
        }
    }
};

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

COLORREF PixelAt(HWND window, POINT p)
{
    UpdateWindow(window);
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, p.x, p.y);
    ReleaseDC(window, dc);
    return colour;
}

TEST(MediaPlayer, ButtonsShowTheirStatesAndSendTheirCommands)
{
    TPlayerForm form(nullptr);
    form.Show();
    TMediaPlayer* player = form.Player;
    HWND window = player->Handle();
    TFakeMci mci;
    player->MciSendCommand = [&mci](MCIDEVICEID d, UINT c, DWORD_PTR f, DWORD_PTR p) { return mci(d, c, f, p); };

    // Closed, with AutoEnable: every button grey.
    EXPECT_EQ(player->EnabledButtons(), 0u);
    EXPECT_EQ(GetSetProp(*player, "VisibleButtons"),
              "[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]");
    POINT play = Centre(player->ButtonRect(btPlay));
    EXPECT_EQ(PixelAt(window, play), GetSysColor(COLOR_GRAYTEXT));

    player->SetDeviceType(dtWaveAudio);
    player->SetFileName("C:\\sound\\ding.wav");
    player->Open();
    EXPECT_EQ(mci.OpenedFile, "C:\\sound\\ding.wav");
    EXPECT_EQ(player->DeviceID(), 7u);
    EXPECT_EQ(player->EnabledButtons(), MPButton(btPlay) | MPButton(btNext) | MPButton(btPrev) | MPButton(btStep) |
                                            MPButton(btBack) | MPButton(btRecord))
        << "stopped: no pause or stop; the device cannot eject";
    EXPECT_EQ(PixelAt(window, play), RGB(0, 128, 0)) << "play in its own colour";

    // Press play: it shows pushed in; release over it: the command goes out.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(play.x, play.y));
    EXPECT_EQ(player->PressedButton(), btPlay);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(play.x, play.y));
    EXPECT_EQ(player->PressedButton(), -1);
    EXPECT_EQ(mci.Commands, (std::vector<UINT>{MCI_OPEN, MCI_PLAY}));
    EXPECT_TRUE(player->EnabledButtons() & MPButton(btStop));
    EXPECT_FALSE(player->EnabledButtons() & MPButton(btPlay));

    // Press stop and release over pause: nothing is sent.
    POINT stop = Centre(player->ButtonRect(btStop));
    POINT pause = Centre(player->ButtonRect(btPause));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(stop.x, stop.y));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pause.x, pause.y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(pause.x, pause.y));
    EXPECT_EQ(mci.Commands.size(), 2u);

    // A disabled button takes no press; OnClick can keep the command back.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(play.x, play.y));
    EXPECT_EQ(player->PressedButton(), -1);
    std::vector<TMPBtnType> posted;
    player->OnClick = [](TObject*, TMPBtnType b, bool& doDefault) { doDefault = b != btStop; };
    player->OnPostClick = [&](TObject*, TMPBtnType b) { posted.push_back(b); };
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(stop.x, stop.y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(stop.x, stop.y));
    EXPECT_EQ(mci.Commands.size(), 2u);
    EXPECT_EQ(posted, std::vector<TMPBtnType>{btStop});
    player->OnClick = nullptr;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(stop.x, stop.y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(stop.x, stop.y));
    EXPECT_EQ(mci.Commands.back(), static_cast<UINT>(MCI_STOP));

    // Three visible buttons share the bar in thirds.
    player->SetVisibleButtons(MPButton(btPlay) | MPButton(btPause) | MPButton(btStop));
    EXPECT_EQ(player->ButtonRect(btPause).left, 90);
    EXPECT_EQ(player->ButtonRect(btStop).right, 270);
    EXPECT_EQ(player->ButtonAt(200), btStop);
    EXPECT_EQ(player->ButtonAt(269), btStop);
    EXPECT_EQ(player->ButtonRect(btEject).right, 0);

    // A failing command reports the system's text and leaves the bar working.
    mci.PlayResult = MCIERR_DEVICE_NOT_READY;
    try {
        player->Play();
        ADD_FAILURE() << "Play succeeded";
    } catch (const EMCIDeviceError& e) {
        char text[MAXERRORLENGTH] = {};
        mciGetErrorStringA(MCIERR_DEVICE_NOT_READY, text, sizeof text);
        EXPECT_EQ(std::string(e.what()), text);
        EXPECT_EQ(player->Error(), static_cast<MCIERROR>(MCIERR_DEVICE_NOT_READY));
    }
    player->Close();
    EXPECT_FALSE(player->IsOpen());
    EXPECT_EQ(mci.Commands.back(), static_cast<UINT>(MCI_CLOSE));
}

// A short silent 8-bit mono wave file of `ms` milliseconds.
std::string WriteWave(const std::string& name, int ms)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name;
    const DWORD rate = 8000;
    const DWORD samples = rate * ms / 1000;
    std::vector<unsigned char> bytes;
    auto put32 = [&](DWORD v) { for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i))); };
    auto put16 = [&](WORD v) { bytes.push_back(v & 0xFF); bytes.push_back(v >> 8); };
    auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    tag("RIFF"); put32(36 + samples); tag("WAVE");
    tag("fmt "); put32(16); put16(WAVE_FORMAT_PCM); put16(1); put32(rate); put32(rate); put16(1); put16(8);
    tag("data"); put32(samples);
    bytes.insert(bytes.end(), samples, 0x80);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

TEST(MediaPlayer, ARealWaveDeviceOpensAndFailsCleanly)
{
    TPlayerForm form(nullptr);
    form.Show();
    TMediaPlayer* player = form.Player;
    std::string path = WriteWave("ravelbook_player_test.wav", 500);
    player->SetDeviceType(dtWaveAudio);
    player->SetFileName(path);
    try {
        player->Open();
    } catch (const EMCIDeviceError& e) {
        // No wave support at all: a clean error with the system's text.
        EXPECT_NE(e.Error(), 0u);
        EXPECT_FALSE(std::string(e.what()).empty());
        EXPECT_FALSE(player->IsOpen());
        DeleteFileA(path.c_str());
        return;
    }
    ASSERT_TRUE(player->IsOpen());
    EXPECT_EQ(player->Length(), 500) << "wave audio counts in milliseconds";
    EXPECT_EQ(player->Mode(), mpStopped);
    EXPECT_TRUE(player->EnabledButtons() & MPButton(btPlay));
    // Playing needs a sound device, which the machine may lack: either it
    // plays, or it fails with the system's text and Error set.
    try {
        player->Play();
        player->Stop();
    } catch (const EMCIDeviceError& e) {
        EXPECT_EQ(player->Error(), e.Error());
        EXPECT_EQ(player->ErrorMessage(), e.what());
    }
    player->Close();
    EXPECT_FALSE(player->IsOpen());
    EXPECT_EQ(player->EnabledButtons(), 0u);
    DeleteFileA(path.c_str());
}

}  // namespace
