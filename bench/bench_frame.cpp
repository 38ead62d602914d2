// Costs of the main window's skinned frame, measured side by side in one run
// and printed as ratios to the same window with its skin switched off:
//   - a frame repaint (RedrawWindow with RDW_FRAME | RDW_INVALIDATE |
//     RDW_UPDATENOW), 300 times in a row;
//   - the non-client paint alone (WM_NCPAINT), 300 times;
//   - from creating the main window to its first painted frame, with the
//     window skinned as it is activated and with the skin declining it.
// The goal is a skinned frame within twice the cost of the plain one.
//
// The main window is the program's own TForm1 over an empty ledger in a
// temporary program folder. This executable carries no resources, so its
// skin component gets the stored skin from the packed file the build embeds
// in the program, before the window is first shown.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "app/main_form.h"
#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/data/ledger_schema.h"
#include "framework/streams.h"
#include "framework/sysutils.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"

namespace {

using bench::CloseMainForm;
using bench::CreateSkinnedMainForm;
using bench::Drain;
using bench::IsSkinned;
using bench::Now;
using bench::PumpUntil;
using bench::StoredSkinBytes;

constexpr int REPAINTS = 300;
constexpr int ROUNDS = 5;

// WM_NCPAINT messages the main window received while counting.
int GNcPaints = 0;
HWND GCounted = nullptr;
LRESULT CALLBACK CountNcPaint(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && call && call->hwnd == GCounted && call->message == WM_NCPAINT) ++GNcPaints;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// WM_NCPAINT messages per call of `run`, so that a repaint is seen to paint
// the frame at all.
double NcPaintsPerCall(HWND window, const std::function<void()>& run, int calls)
{
    GCounted = window;
    GNcPaints = 0;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, CountNcPaint, nullptr, GetCurrentThreadId());
    for (int i = 0; i < calls; ++i) run();
    UnhookWindowsHookEx(hook);
    return double(GNcPaints) / calls;
}

// Seconds per call of `run`, the best of ROUNDS runs of `calls` calls.
double PerCall(const std::function<void()>& run, int calls)
{
    double best = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        const double t = Now();
        for (int i = 0; i < calls; ++i) run();
        GdiFlush();
        best = std::min(best, (Now() - t) / calls);
    }
    return best;
}

// The main window made, shown and activated as the program starts it; true
// when it got (or, with `skinned` false, did not get) its skin.
double CreateAndPaint(const std::string& skin, bool skinned, bool& ok)
{
    const double t = Now();
    CreateSkinnedMainForm(skin, true);
    if (!skinned) Form1->SkinData1->OnFormSkin = [](TObject*, const std::string&, bool& doSkin) { doSkin = false; };
    Form1->Show();
    const HWND window = Form1->Handle();
    SetForegroundWindow(window);
    ok = skinned ? PumpUntil([&] { return IsSkinned(window); }) : (Drain(), !IsSkinned(window));
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    return Now() - t;
}

}  // namespace

int main()
{
    RegisterFormSkinning();
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"bench_frame_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring database = folder + L"data.mdb";
    DeleteFileW(database.c_str());  // left by a run that was stopped
    std::string error;
    if (ledger::CreateLedgerDatabase(WideToUtf8(database).c_str(), error) != ledger::TCreateLedgerResult::Created) {
        std::fprintf(stderr, "cannot make %s: %s\n", WideToUtf8(database).c_str(), error.c_str());
        return 1;
    }
    SetProgramFolder(folder);
    Application->SetTitle("Ravelbook");
    const std::string skin = StoredSkinBytes();
    if (skin.empty()) {
        std::fprintf(stderr, "cannot read the stored skin (generated/ravelbook_skin.bin in the build folder)\n");
        return 1;
    }
    int rc = 0;

    // ---- creation to first paint: alternating, best of each ----
    double createSkinned = 1e9, createPlain = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        bool ok = false;
        createSkinned = std::min(createSkinned, CreateAndPaint(skin, true, ok));
        if (!ok) {
            std::fprintf(stderr, "the main window was not skinned\n");
            rc = 1;
        }
        CloseMainForm();
        createPlain = std::min(createPlain, CreateAndPaint(skin, false, ok));
        if (!ok) {
            std::fprintf(stderr, "the main window was skinned although the skin declined it\n");
            rc = 1;
        }
        CloseMainForm();
    }

    // ---- repaints: the same window, its skin switched on and off ----
    CreateSkinnedMainForm(skin, true);
    Form1->Show();
    const HWND window = Form1->Handle();
    SetForegroundWindow(window);
    if (!PumpUntil([&] { return IsSkinned(window); })) {
        std::fprintf(stderr, "the main window was not skinned\n");
        return 1;
    }
    auto redraw = [&] { RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW); };
    auto ncPaint = [&] { SendMessageA(window, WM_NCPAINT, 1, 0); };
    double redrawSkinned = 1e9, redrawPlain = 1e9, ncSkinned = 1e9, ncPlain = 1e9;
    double paintsSkinned = 0, paintsPlain = 0;
    for (int round = 0; round < 2; ++round) {
        Drain();
        redrawSkinned = std::min(redrawSkinned, PerCall(redraw, REPAINTS));
        ncSkinned = std::min(ncSkinned, PerCall(ncPaint, REPAINTS));
        paintsSkinned = NcPaintsPerCall(window, redraw, 20);

        Form1->SkinData1->SetActive(false);
        if (!PumpUntil([&] { return !SkinManager()->FindFormSkinner(window); })) {
            std::fprintf(stderr, "the skin did not let go of the main window\n");
            return 1;
        }
        Drain();
        redrawPlain = std::min(redrawPlain, PerCall(redraw, REPAINTS));
        ncPlain = std::min(ncPlain, PerCall(ncPaint, REPAINTS));
        paintsPlain = NcPaintsPerCall(window, redraw, 20);

        Form1->SkinData1->SetActive(true);
        if (!PumpUntil([&] { return IsSkinned(window); })) {
            std::fprintf(stderr, "the main window was not skinned again\n");
            return 1;
        }
    }
    RECT r{};
    GetWindowRect(window, &r);
    CloseMainForm();
    SetProgramFolder(L"");
    DeleteFileW(database.c_str());
    RemoveDirectoryW(folder.c_str());

    std::printf("main window %ldx%ld, %d repaints, best of %d rounds\n", r.right - r.left, r.bottom - r.top, REPAINTS,
                ROUNDS);
    std::printf("%-36s skinned %.1f us, plain %.1f us, ratio %.2f\n", "frame repaint (RedrawWindow)",
                redrawSkinned * 1e6, redrawPlain * 1e6, redrawSkinned / redrawPlain);
    std::printf("%-36s skinned %.1f, plain %.1f\n", "WM_NCPAINT per repaint", paintsSkinned, paintsPlain);
    std::printf("%-36s skinned %.1f us, plain %.1f us, ratio %.2f\n", "non-client paint (WM_NCPAINT)",
                ncSkinned * 1e6, ncPlain * 1e6, ncSkinned / ncPlain);
    std::printf("%-36s skinned %.1f ms, plain %.1f ms, ratio %.2f\n", "create to first painted frame",
                createSkinned * 1e3, createPlain * 1e3, createSkinned / createPlain);
    return rc;
}
