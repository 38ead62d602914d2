// The skin gallery's skin/unskin pass: every control skinner of the
// gallery window (all its pages) attached and then freed again, the pass
// the gallery test repeats a thousand times. Printed per pass, split into
// attaching and freeing, beside one skinned full repaint of the same window
// measured in the same run. The goal is a pass under 20 ms.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/streams.h"
#include "gallery/gallery_form.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "skin/data/stored_skin.h"
#include "skin/form/form_skinner.h"

namespace {

// BENCH_PASSES overrides it (for profiling).
int PASSES = 50;

void BenchSkin(TSkinData& skin)
{
    const std::string bytes = bench::StoredSkinBytes();
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(skin, stream);
}

TWinSkinForm* SkinnerOf(HWND window)
{
    TSkinManage* manager = SkinManager();
    return manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
}

// What BENCH_WINDOWS counts: windows made and destroyed by class, and the
// messages sent while attaching and while freeing.
bool GCounting = false, GCountingFree = false;
std::map<std::string, std::pair<int, int>> GMade;
std::map<UINT, int> GSent[2];

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

LRESULT CALLBACK CountWindows(int code, WPARAM wParam, LPARAM lParam)
{
    if (GCounting && code == HCBT_CREATEWND) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        const char* name = create && create->lpcs ? create->lpcs->lpszClass : nullptr;
        ++GMade[name && !IS_INTRESOURCE(name) ? std::string(name) : ClassOf(reinterpret_cast<HWND>(wParam))].first;
    } else if (GCounting && code == HCBT_DESTROYWND) {
        ++GMade[ClassOf(reinterpret_cast<HWND>(wParam))].second;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (GCounting && code >= 0 && call) ++GSent[GCountingFree ? 1 : 0][call->message];
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int main()
{
    if (char passes[16] = {}; GetEnvironmentVariableA("BENCH_PASSES", passes, sizeof passes))
        PASSES = std::max(1, std::atoi(passes));
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterFormSkinning();
    if (bench::StoredSkinBytes().empty()) {
        std::fprintf(stderr, "cannot read the stored skin (build/generated/ravelbook_skin.bin)\n");
        return 1;
    }
    GalleryConfigureSkin = BenchSkin;
    GallerySkinFile.clear();
    auto* gallery = new TGalleryForm(nullptr);
    gallery->FinishCreation();
    gallery->Show();
    SetForegroundWindow(gallery->Handle());
    if (!bench::PumpUntil([&] { return bench::IsSkinned(gallery->Handle()); })) {
        std::fprintf(stderr, "the gallery was not skinned\n");
        return 1;
    }
    bench::Drain();
    TWinSkinForm* skinner = SkinnerOf(gallery->Handle());
    const size_t skinners = skinner->ControlSkinners().size();
    std::map<std::string, int> kinds;
    for (TSkinControl* control : skinner->ControlSkinners()) ++kinds[control->ClassName()];

    // One skinned full repaint of the window and all its children.
    const double repaint = bench::Best([&] {
        RedrawWindow(gallery->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    });

    // The passes, as the gallery test makes them: attach all, free all.
    skinner->FreeControlSkinners();
    bench::Drain();
    // With BENCH_MARKS set, one untimed pass between atoms a server trace
    // (wineserver -d1) shows as find_atom, to count what a pass asks the
    // server for.
    // With BENCH_PROFILE set, each framework control's skinner is made and
    // attached again on its own, then detached and freed, and the time of
    // each kind is printed: where a pass spends its time.
    if (GetEnvironmentVariableA("BENCH_PROFILE", nullptr, 0)) {
        struct TKind {
            double Attach = 0, Free = 0;
            int Count = 0;
        };
        std::map<std::string, TKind> costs;
        std::vector<std::pair<std::string, TWinControl*>> made;
        skinner->SkinChildControls();
        for (TSkinControl* control : skinner->ControlSkinners())
            if (control->Control() && !control->BareWindow() && control->Control() == control->Owner())
                made.emplace_back(control->ClassName(), control->Control());
        skinner->FreeControlSkinners();
        bench::Drain();
        for (int round = 0; round < 20; ++round) {
            for (const auto& [name, control] : made) {
                double t = bench::Now();
                TSkinControl* one = NewSkinner(name, control);
                if (!one) continue;
                one->AttachControl(skinner, gallery->SkinData1, false, skinner->ControlCanvas());
                const double attached = bench::Now();
                if (one->LifeState() != lsWindowGone) one->Detach();
                one->Free();
                TKind& kind = costs[name];
                kind.Attach += attached - t;
                kind.Free += bench::Now() - attached;
                ++kind.Count;
            }
            bench::Drain();
        }
        for (const auto& [name, kind] : costs)
            std::printf("  %-18s attach %7.1f us, free %7.1f us (%d)\n", name.c_str(), kind.Attach / kind.Count * 1e6,
                        kind.Free / kind.Count * 1e6, kind.Count / 20);
    }
    // With BENCH_WINDOWS set, one untimed pass counts the windows it makes
    // and destroys (by class) and the messages sent while it runs: what a
    // pass asks of the system that it could leave out.
    if (GetEnvironmentVariableA("BENCH_WINDOWS", nullptr, 0)) {
        GCounting = true;
        HHOOK cbt = SetWindowsHookExA(WH_CBT, CountWindows, nullptr, GetCurrentThreadId());
        HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
        skinner->SkinChildControls();
        GCountingFree = true;
        skinner->FreeControlSkinners();
        UnhookWindowsHookEx(sent);
        UnhookWindowsHookEx(cbt);
        GCounting = GCountingFree = false;
        bench::Drain();
        for (const auto& [name, count] : GMade)
            std::printf("  windows of %-20s made %d, destroyed %d\n", name.c_str(), count.first, count.second);
        for (int phase = 0; phase < 2; ++phase) {
            std::vector<std::pair<int, UINT>> top;
            for (const auto& [message, count] : GSent[phase]) top.emplace_back(count, message);
            std::sort(top.rbegin(), top.rend());
            std::printf("  messages sent while %s:", phase ? "freeing" : "attaching");
            for (size_t i = 0; i < top.size() && i < 12; ++i) std::printf(" %04X x%d", top[i].second, top[i].first);
            std::printf("\n");
        }
    }
    if (GetEnvironmentVariableA("BENCH_MARKS", nullptr, 0)) {
        GlobalFindAtomA("MARK_ATTACH");
        skinner->SkinChildControls();
        GlobalFindAtomA("MARK_FREE");
        skinner->FreeControlSkinners();
        GlobalFindAtomA("MARK_END");
        bench::Drain();
    }
    double attach = 0, release = 0, worst = 0;
    for (int pass = 0; pass < PASSES; ++pass) {
        const double start = bench::Now();
        skinner->SkinChildControls();
        const double attached = bench::Now();
        skinner->FreeControlSkinners();
        const double freed = bench::Now();
        attach += attached - start;
        release += freed - attached;
        worst = std::max(worst, freed - start);
        // What the passes left to paint is painted between them, untimed.
        bench::Drain();
    }
    skinner->SkinChildControls();
    const bool same = skinner->ControlSkinners().size() == skinners;
    bench::Drain();
    delete gallery;
    bench::Drain();

    std::printf("%zu control skinners:", skinners);
    for (const auto& [name, count] : kinds) std::printf(" %s %d", name.c_str(), count);
    std::printf("\n");
    if (!same) std::printf("the last pass attached a different number of skinners\n");
    const double pass = (attach + release) / PASSES;
    std::printf("%-32s %.2f ms (attach %.2f, free %.2f, worst %.2f), goal < 20 ms\n", "skin/unskin pass",
                pass * 1e3, attach / PASSES * 1e3, release / PASSES * 1e3, worst * 1e3);
    std::printf("%-32s %.2f ms, pass / repaint %.2f\n", "one skinned full repaint", repaint * 1e3, pass / repaint);
    return same ? 0 : 1;
}
