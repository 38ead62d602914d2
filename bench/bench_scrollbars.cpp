// Costs of the skinned scroll bars, measured side by side in one run on the
// main window's grid over 100,000 entries and printed as ratios to the same
// window with its skin switched off:
//   - 100 page-downs (PgDn), each painted at once (grid and bars);
//   - dragging the thumb over the whole range in 200 steps (SB_THUMBTRACK
//     requests as the system's tracking sends them), each painted.
// Goals: page-downs within 1.5 times, the drag within 2 times the plain cost.
//
// The main window is the program's own TForm1 in a temporary program folder;
// its skin component gets the stored skin from the packed file the build
// embeds in the program.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "app/main_form.h"
#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/data/db_grid.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"

namespace {

constexpr int ROWS = 100000;
constexpr int PAGES = 100;
constexpr int DRAG_STEPS = 200;

using bench::IsSkinned;

}  // namespace

int main()
{
    RegisterFormSkinning();
    bench::TBenchLedger ledger(L"bench_scrollbars");
    if (!ledger.Ok() || !ledger.AddEntries(ROWS, {"网站建设", "工资"}, 500)) return 1;
    if (!bench::ShowSkinnedMainForm(ledger)) return 1;
    const HWND window = Form1->Handle();
    SetForegroundWindow(window);
    if (!bench::PumpUntil([&] { return IsSkinned(window); })) {
        std::fprintf(stderr, "the main window was not skinned\n");
        return 1;
    }
    TDBGrid* grid = Form1->DBGrid1;
    const HWND gridWindow = grid->Handle();
    SCROLLINFO range{sizeof range, SIF_RANGE};
    GetScrollInfo(gridWindow, SB_VERT, &range);

    auto toTop = [&] {
        SendMessageA(gridWindow, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        UpdateWindow(gridWindow);
        bench::Drain();
    };
    auto pageDowns = [&] {
        for (int i = 0; i < PAGES; ++i) {
            SendMessageA(gridWindow, WM_KEYDOWN, VK_NEXT, 0);
            UpdateWindow(gridWindow);
        }
        GdiFlush();
    };
    // The positions fit the request's 16 bits the way the system's tracking
    // reports them: the grid reads a larger one back with SIF_TRACKPOS.
    const int last = std::min(range.nMax, 65535);
    auto drag = [&] {
        for (int i = 1; i <= DRAG_STEPS; ++i) {
            const int position = static_cast<int>(static_cast<long long>(last) * i / DRAG_STEPS);
            SendMessageA(gridWindow, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
            UpdateWindow(gridWindow);
        }
        SendMessageA(gridWindow, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
        GdiFlush();
    };

    double pagesSkinned = 1e9, pagesPlain = 1e9, dragSkinned = 1e9, dragPlain = 1e9;
    for (int round = 0; round < 2; ++round) {
        pagesSkinned = std::min(pagesSkinned, bench::Best(toTop, pageDowns));
        dragSkinned = std::min(dragSkinned, bench::Best(toTop, drag));

        Form1->SkinData1->SetActive(false);
        if (!bench::PumpUntil([&] { return !SkinManager()->FindFormSkinner(window); })) {
            std::fprintf(stderr, "the skin did not let go of the main window\n");
            return 1;
        }
        bench::Drain();
        pagesPlain = std::min(pagesPlain, bench::Best(toTop, pageDowns));
        dragPlain = std::min(dragPlain, bench::Best(toTop, drag));

        Form1->SkinData1->SetActive(true);
        if (!bench::PumpUntil([&] { return IsSkinned(window); })) {
            std::fprintf(stderr, "the main window was not skinned again\n");
            return 1;
        }
        bench::Drain();
    }
    bench::CloseMainForm();
    SetProgramFolder(L"");

    std::printf("grid over %d entries, best of %d rounds\n", ROWS, bench::ROUNDS);
    std::printf("%-40s skinned %.1f ms, plain %.1f ms, ratio %.2f (goal <= 1.5)\n", "100 page-downs, painted",
                pagesSkinned * 1e3, pagesPlain * 1e3, pagesSkinned / pagesPlain);
    std::printf("%-40s skinned %.1f ms, plain %.1f ms, ratio %.2f (goal <= 2)\n", "thumb drag in 200 steps, painted",
                dragSkinned * 1e3, dragPlain * 1e3, dragSkinned / dragPlain);
    return 0;
}
