// Timers on a hidden message-only window (see timer.h). The program has one
// user-interface thread; timers live on it.
#include "framework/timer.h"

#include <windows.h>

#include <exception>
#include <map>

#include "framework/application.h"

namespace {

// The running timers by timer id. Never destroyed: timers owned by forms
// are freed by the application object at the very end of the program.
std::map<UINT_PTR, TTimer*>& RunningTimers()
{
    static auto* timers = new std::map<UINT_PTR, TTimer*>;
    return *timers;
}

LRESULT CALLBACK TimerWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_TIMER) return DefWindowProcA(window, msg, wParam, lParam);
    auto it = RunningTimers().find(static_cast<UINT_PTR>(wParam));
    if (it == RunningTimers().end()) return 0;
    TTimer* timer = it->second;
    try {
        timer->Timer();
    } catch (...) {
        if (Application) Application->HandleException(std::current_exception(), timer);
    }
    return 0;
}

HWND TimerWindow()
{
    static HWND window = nullptr;
    if (window && IsWindow(window)) return window;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    if (!GetClassInfoA(instance, "TTimerWindow", &wc)) {
        wc.lpfnWndProc = TimerWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = "TTimerWindow";
        RegisterClassA(&wc);
    }
    window = CreateWindowExA(0, "TTimerWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    return window;
}

UINT_PTR NextTimerId()
{
    static UINT_PTR next = 0;
    do {
        next = next % 0x7FFFFFFF + 1;
    } while (RunningTimers().count(next));
    return next;
}

}  // namespace

IMPLEMENT_CLASS(TTimer,
    TPropBuilder<TTimer>::Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
    TPropBuilder<TTimer>::Integer("Interval", &TTimer::Interval, &TTimer::SetInterval))

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer()
{
    FEnabled = false;
    UpdateTimer();
}

void TTimer::SetEnabled(bool value)
{
    if (value == FEnabled) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value)
{
    if (value == FInterval) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::Timer()
{
    if (FEnabled && OnTimer) OnTimer(this);
}

void TTimer::UpdateTimer()
{
    if (FId) {
        KillTimer(TimerWindow(), FId);
        RunningTimers().erase(FId);
        FId = 0;
    }
    if (!FEnabled || FInterval == 0 || HasState(csDestroying)) return;
    HWND window = TimerWindow();
    UINT_PTR id = NextTimerId();
    if (window && SetTimer(window, id, FInterval, nullptr)) {
        FId = id;
        RunningTimers()[id] = this;
    }
}
