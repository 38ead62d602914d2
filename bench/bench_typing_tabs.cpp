// Costs of the skinned text controls and tabs, measured side by side in one
// run and printed as ratios to the same windows with the skin switched off:
//   - typing 1,000 characters (one WM_CHAR each) into an edit and into a
//     memo of a skinned form;
//   - switching the main window's three tabs 200 times by clicks on its tab
//     strip, each switch painted at once.
// The goals: typing skinned within 1.3 times plain, tab switching within
// 1.5 times.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "app/main_form.h"
#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/memo.h"
#include "framework/std_controls.h"
#include "framework/sysutils.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"

namespace {

constexpr int CHARACTERS = 1000;
constexpr int SWITCHES = 200;

using bench::Drain;
using bench::IsSkinned;
using bench::PumpUntil;

// A window with an edit and a memo to type into.
class TTypingForm : public TForm {
    DECLARE_CLASS_INLINE(TTypingForm, TForm)
public:
    explicit TTypingForm(TComponent* owner) : TForm(owner)
    {
        SetBounds(100, 100, 420, 260);
        SetCaption("Typing");
        Edit = new TEdit(this);
        Edit->SetParent(this);
        Edit->SetBounds(10, 10, 380, 21);
        Memo = new TMemo(this);
        Memo->SetParent(this);
        Memo->SetBounds(10, 40, 380, 160);
        FinishCreation();
    }
    TEdit* Edit;
    TMemo* Memo;
};

// Seconds to type CHARACTERS characters into `window`, best of the rounds.
double Typing(HWND window)
{
    return bench::Best([&] { SetWindowTextA(window, ""); },
                       [&] {
                           for (int i = 0; i < CHARACTERS; ++i) {
                               WPARAM c = i % 40 == 39 ? ' ' : 'a' + i % 26;
                               SendMessageA(window, WM_CHAR, c, 1);
                           }
                           UpdateWindow(window);
                       });
}

// Seconds to switch the main window's tabs SWITCHES times by clicks.
double Switching(TPageControl* pages)
{
    HWND strip = pages->Handle();
    return bench::Best([&] {
        for (int i = 0; i < SWITCHES; ++i) {
            RECT tab = pages->TabRect((i + 1) % 3);
            LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
            SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageA(strip, WM_LBUTTONUP, 0, at);
            UpdateWindow(Form1->Handle());
            RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
    });
}

// Messages sent to any window of the thread, and posted ones as they are
// taken, while Count() types: what a keystroke costs in messages.
std::map<std::pair<UINT, std::string>, int> GMessages;
int GMessageTotal = 0;
void CountMessage(HWND window, UINT msg)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    ++GMessages[{msg, name}];
    ++GMessageTotal;
}
LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CountMessage(call->hwnd, call->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
LRESULT CALLBACK CountPosted(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && wParam == PM_REMOVE) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        CountMessage(msg->hwnd, msg->message);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Messages a keystroke costs: 100 characters typed into `window` as the timed
// runs type them (painted once at the end), the messages counted by hooks (outside the timed runs). With
// BENCH_MESSAGES set, each message and window class is printed with its count.
double MessagesPerKey(HWND window, const char* label)
{
    constexpr int KEYS = 100;
    SetWindowTextA(window, "");
    Drain();
    GMessages.clear();
    GMessageTotal = 0;
    HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
    HHOOK posted = SetWindowsHookExA(WH_GETMESSAGE, CountPosted, nullptr, GetCurrentThreadId());
    for (int i = 0; i < KEYS; ++i) SendMessageA(window, WM_CHAR, 'a' + i % 26, 1);
    UpdateWindow(window);
    Drain();
    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(posted);
    if (GetEnvironmentVariableA("BENCH_MESSAGES", nullptr, 0)) {
        std::printf("  %s:\n", label);
        for (const auto& [key, count] : GMessages)
            std::printf("    0x%04x %-20s %6.2f a key\n", key.first, key.second.c_str(), count / double(KEYS));
    }
    return GMessageTotal / double(KEYS);
}

bool SetSkin(bool active, HWND a, HWND b)
{
    Form1->SkinData1->SetActive(active);
    auto settled = [&] { return IsSkinned(a) == active && IsSkinned(b) == active; };
    if (active) {
        SetForegroundWindow(b);
        SetForegroundWindow(a);
    }
    return PumpUntil(settled);
}

}  // namespace

int main()
{
    RegisterFormSkinning();
    bench::TBenchLedger ledger(L"bench_typing_tabs");
    if (!ledger.Ok()) return 1;
    if (!bench::ShowSkinnedMainForm(ledger)) return 1;
    auto* typing = new TTypingForm(Form1);
    typing->Show();
    const HWND main = Form1->Handle();
    const HWND typer = typing->Handle();
    if (!SetSkin(true, typer, main)) {
        std::fprintf(stderr, "the windows were not skinned\n");
        return 1;
    }
    // With BENCH_MARKS set, 100 characters typed into each control, skinned
    // and plain, between atoms a server trace (wineserver -d1) shows as
    // find_atom: what a keystroke asks the server for.
    if (GetEnvironmentVariableA("BENCH_MARKS", nullptr, 0)) {
        auto typeHundred = [](HWND window, const char* mark) {
            SetWindowTextA(window, "");
            Drain();
            GlobalFindAtomA(mark);
            for (int i = 0; i < 100; ++i) SendMessageA(window, WM_CHAR, 'a' + i % 26, 1);
            GlobalFindAtomA("MARK_TYPED");
            UpdateWindow(window);
            Drain();
        };
        typeHundred(typing->Edit->Handle(), "MARK_EDIT_SKINNED");
        typeHundred(typing->Memo->Handle(), "MARK_MEMO_SKINNED");
        if (!SetSkin(false, typer, main)) return 1;
        typeHundred(typing->Edit->Handle(), "MARK_EDIT_PLAIN");
        typeHundred(typing->Memo->Handle(), "MARK_MEMO_PLAIN");
        if (!SetSkin(true, typer, main)) return 1;
    }
    // With BENCH_PROFILE set to "skinned" or "plain", only typing into the
    // edit, long enough for a sampling profiler, then the end.
    if (char which[16] = {}; GetEnvironmentVariableA("BENCH_PROFILE", which, sizeof which)) {
        if (std::string(which) == "plain" && !SetSkin(false, typer, main)) return 1;
        for (int round = 0; round < 20; ++round) Typing(typing->Edit->Handle());
        bench::CloseMainForm();
        return 0;
    }
    const double editMessagesSkinned = MessagesPerKey(typing->Edit->Handle(), "edit, skinned");
    const double memoMessagesSkinned = MessagesPerKey(typing->Memo->Handle(), "memo, skinned");
    if (!SetSkin(false, typer, main)) return 1;
    const double editMessagesPlain = MessagesPerKey(typing->Edit->Handle(), "edit, plain");
    const double memoMessagesPlain = MessagesPerKey(typing->Memo->Handle(), "memo, plain");
    if (!SetSkin(true, typer, main)) return 1;
    double editSkinned = 1e9, editPlain = 1e9, memoSkinned = 1e9, memoPlain = 1e9, tabsSkinned = 1e9,
           tabsPlain = 1e9;
    auto measureSkinned = [&] {
        Drain();
        editSkinned = std::min(editSkinned, Typing(typing->Edit->Handle()));
        memoSkinned = std::min(memoSkinned, Typing(typing->Memo->Handle()));
        tabsSkinned = std::min(tabsSkinned, Switching(Form1->PageControl1));
    };
    auto measurePlain = [&] {
        Drain();
        editPlain = std::min(editPlain, Typing(typing->Edit->Handle()));
        memoPlain = std::min(memoPlain, Typing(typing->Memo->Handle()));
        tabsPlain = std::min(tabsPlain, Switching(Form1->PageControl1));
    };
    // Skinned first in even rounds, plain first in odd ones: whichever runs
    // first after a skin switch does not always fall on the same side.
    for (int round = 0; round < 4; ++round) {
        if (round % 2 == 0) measureSkinned();
        if (!SetSkin(false, typer, main)) {
            std::fprintf(stderr, "the skin did not let go\n");
            return 1;
        }
        measurePlain();
        if (!SetSkin(true, typer, main)) {
            std::fprintf(stderr, "the windows were not skinned again\n");
            return 1;
        }
        if (round % 2 == 1) measureSkinned();
    }
    bench::CloseMainForm();
    SetProgramFolder(L"");

    std::printf("%d characters typed, %d tab switches, best of %d runs in each of 4 rounds (either side first)\n",
                CHARACTERS, SWITCHES, bench::ROUNDS);
    std::printf("%-32s skinned %.2f ms, plain %.2f ms, ratio %.2f (goal <= 1.30)\n", "typing into an edit",
                editSkinned * 1e3, editPlain * 1e3, editSkinned / editPlain);
    std::printf("%-32s skinned %.2f ms, plain %.2f ms, ratio %.2f (goal <= 1.30)\n", "typing into a memo",
                memoSkinned * 1e3, memoPlain * 1e3, memoSkinned / memoPlain);
    std::printf("%-32s edit: skinned %.1f, plain %.1f; memo: skinned %.1f, plain %.1f\n",
                "messages a keystroke", editMessagesSkinned, editMessagesPlain, memoMessagesSkinned,
                memoMessagesPlain);
    std::printf("%-32s skinned %.2f ms, plain %.2f ms, ratio %.2f (goal <= 1.50)\n", "switching the main window's tabs",
                tabsSkinned * 1e3, tabsPlain * 1e3, tabsSkinned / tabsPlain);
    return 0;
}
