// TTimer: runs OnTimer every Interval milliseconds on the user-interface
// thread, from the message loop (also inside modal loops and menus).
//
// Timers are system timers on one hidden message-only window; an
// exception thrown by OnTimer goes to Application->HandleException and the
// timer keeps running.
#pragma once

#include <cstdint>

#include "framework/classes.h"

class TTimer : public TComponent {
    DECLARE_CLASS(TTimer, TComponent)
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    unsigned Interval() const { return FInterval; }
    // A zero interval stops the timer (it fires only with a positive one).
    void SetInterval(unsigned value);

    // Runs at every tick while the timer is enabled; may be set at any time.
    TNotifyEvent OnTimer;

    // Runs OnTimer as a tick does.
    virtual void Timer();

private:
    void UpdateTimer();

    bool FEnabled = true;
    unsigned FInterval = 1000;
    uintptr_t FId = 0;  // non-zero while the system timer runs
};
