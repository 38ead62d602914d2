// A skinned start and a skin switch, measured side by side in one run:
//   - from creating the main window (its skin read from its stored data) to
//     its first painted frame, skinned against the same with the skin
//     component's Active off; the skinned time is split into decompressing
//     the skin, building its model, and what skinning the window adds on
//     top of the plain start (attaching, fitting the frame, the first
//     compose). Goal: within 1.2 times the plain start.
//   - switching the shown main window, with all its controls, to another
//     skin file until it is fully repainted, against one skinned full
//     repaint of the same window, split into reading, the manager's pass
//     and the repaint. Goal: under 3 times.
//
// The main window is the program's own TForm1 over an empty ledger in a
// temporary folder; the skins are the build's files in build/skins/.
//
// For a profiler: BENCH_PROFILE=switch runs only switches, =start or
// =plainstart only starts of that kind (BENCH_STARTS of them, 150 unless set).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/streams.h"
#include "skin/data/skin_manager.h"
#include "skin/data/skin_model.h"
#include "skin/data/skin_reader.h"
#include "skin/form/form_skinner.h"

namespace {

using bench::CloseMainForm;
using bench::IsSkinned;

void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

template <typename F>
bool PumpUntil(F done, DWORD ms = 3000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Drain();
        Sleep(0);
    }
    return true;
}

std::string SkinFilePath(const char* name)
{
    std::string path = std::string(RAVELBOOK_SKINS_DIR) + "/" + name;
    if (path[0] == '/') path = "Z:" + path;
    return path;
}

std::string ReadFile(const std::string& path)
{
    TMemoryStream stream;
    try {
        stream.LoadFromFile(path);
    } catch (...) {
        return std::string();
    }
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

// Paint messages the main window and its children received while counting.
struct TPaintCount {
    int Paint = 0;
    int NcPaint = 0;
    int Erase = 0;
};
TPaintCount GPaints;
HWND GCounted = nullptr;
LRESULT CALLBACK CountPaints(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && call && GCounted && (call->hwnd == GCounted || IsChild(GCounted, call->hwnd))) {
        GPaints.NcPaint += call->message == WM_NCPAINT;
        GPaints.Erase += call->message == WM_ERASEBKGND;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
// WM_PAINT is posted, not sent: counted where it is taken from the queue.
LRESULT CALLBACK CountPostedPaints(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && msg && GCounted && msg->message == WM_PAINT &&
        (msg->hwnd == GCounted || IsChild(GCounted, msg->hwnd)))
        ++GPaints.Paint;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The phases of one start, in seconds.
struct TStart {
    double Create = 0;   // making the main window (its ledger, controls and menus)
    double Read = 0;     // reading the stored skin: decompress and model build
    double Show = 0;     // showing and activating it until skinned (attach, fit, region)
    double Paint = 0;    // the first full paint (with skin: the first compose)
    TPaintCount Paints;  // paint messages while showing
    double Total() const { return Create + Read + Show + Paint; }
};

// The main window made, shown and activated as the program starts it, with
// the stored skin (`framed`: the count and the compressed container) read
// from its form data; the time until its first frame is painted. With
// `count`, the paint messages of the showing are counted too: the hooks that
// count them make every message sent a request to the window server, so the
// starts that are timed run without them.
TStart StartMainForm(const std::string& framed, bool active, bool& ok, bool count = false)
{
    TStart times;
    double t = bench::Now();
    auto lap = [&t](double& phase) {
        const double now = bench::Now();
        phase = now - t;
        t = now;
    };
    Application->CreateForm(Form1);
    lap(times.Create);
    TMemoryStream stream;
    stream.WriteBuffer(framed.data(), static_cast<int64_t>(framed.size()));
    stream.SetPosition(0);
    Form1->SkinData1->ReadSkinStream(stream);
    Form1->SkinData1->SetActive(active);
    lap(times.Read);
    const HWND window = Form1->Handle();
    GCounted = window;
    GPaints = TPaintCount();
    HHOOK sent = count ? SetWindowsHookExA(WH_CALLWNDPROC, CountPaints, nullptr, GetCurrentThreadId()) : nullptr;
    HHOOK posted = count ? SetWindowsHookExA(WH_GETMESSAGE, CountPostedPaints, nullptr, GetCurrentThreadId()) : nullptr;
    Form1->Show();
    SetForegroundWindow(window);
    ok = active ? PumpUntil([&] { return IsSkinned(window); }) : (Drain(), !IsSkinned(window));
    Drain();   // what the start still had to paint
    lap(times.Show);
    if (sent) UnhookWindowsHookEx(sent);
    if (posted) UnhookWindowsHookEx(posted);
    times.Paints = GPaints;
    GCounted = nullptr;
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    lap(times.Paint);
    return times;
}

// Keeps the start with the smallest total.
void KeepBest(TStart& best, const TStart& start)
{
    if (best.Total() == 0 || start.Total() < best.Total()) best = start;
}

}  // namespace

int main()
{
    RegisterFormSkinning();
    bench::TBenchLedger ledger(L"bench_skin_start");
    if (!ledger.Ok()) return 1;
    SetProgramFolder(ledger.Folder());
    Application->SetTitle("Ravelbook");
    const std::string stored = ReadFile(SkinFilePath("ravelbook.skn"));
    if (stored.empty()) {
        std::fprintf(stderr, "cannot read build/skins/ravelbook.skn\n");
        return 1;
    }
    std::string framed(4, '\0');
    const auto count = static_cast<std::uint32_t>(stored.size());
    for (int i = 0; i < 4; ++i) framed[i] = static_cast<char>(count >> (8 * i));
    framed += stored;
    int rc = 0;

    // ---- the parts of loading a skin ----
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(stored.data());
    const double decompress = bench::Best([&] {
        TSkinReader reader;
        reader.Load(bytes, stored.size());
    });
    TSkinReader loaded;
    loaded.Load(bytes, stored.size());
    const double build = bench::Best([&] {
        TSkinModel model;
        BuildSkinModelFromReader(model, loaded);
    });

    // With BENCH_PROFILE=start (or plainstart), only starts of that kind, long
    // enough for a sampling profiler.
    if (char which[16] = {}; GetEnvironmentVariableA("BENCH_PROFILE", which, sizeof which) &&
                             (std::string(which) == "start" || std::string(which) == "plainstart")) {
        char count[16] = {};
        const int starts = GetEnvironmentVariableA("BENCH_STARTS", count, sizeof count) ? std::atoi(count) : 150;
        for (int i = 0; i < starts; ++i) {
            bool ok = false;
            StartMainForm(framed, std::string(which) == "start", ok);
            CloseMainForm();
        }
        return 0;
    }

    // ---- start-up: alternating, best of each ----
    TStart skinnedStart, plainStart;
    for (int round = 0; round < bench::ROUNDS; ++round) {
        bool ok = false;
        KeepBest(skinnedStart, StartMainForm(framed, true, ok));
        if (!ok) {
            std::fprintf(stderr, "the main window was not skinned\n");
            rc = 1;
        }
        CloseMainForm();
        KeepBest(plainStart, StartMainForm(framed, false, ok));
        if (!ok) {
            std::fprintf(stderr, "the main window was skinned with Active off\n");
            rc = 1;
        }
        CloseMainForm();
    }
    const double skinned = skinnedStart.Total(), plain = plainStart.Total();
    // The paint messages of one more start of each kind.
    TPaintCount skinnedPaints, plainPaints;
    for (bool active : {true, false}) {
        bool ok = false;
        (active ? skinnedPaints : plainPaints) = StartMainForm(framed, active, ok, true).Paints;
        CloseMainForm();
    }

    // ---- a switch against a full repaint ----
    bool ok = false;
    StartMainForm(framed, true, ok);
    const HWND window = Form1->Handle();
    auto repaint = [&] {
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
    };
    const double fullRepaint = bench::Best(repaint);
    const std::string skins[] = {SkinFilePath("paper.skn"), SkinFilePath("dusk.skn")};
    int next = 0;
    // With BENCH_PROFILE=switch, only switches, long enough for a sampling
    // profiler.
    if (char which[16] = {}; GetEnvironmentVariableA("BENCH_PROFILE", which, sizeof which) &&
                             std::string(which) == "switch") {
        for (int i = 0; i < 300; ++i) {
            Form1->SkinData1->SetSkinFile(skins[i % 2]);
            if (SkinManager()) SkinManager()->RunPass();
            repaint();
            Drain();
        }
        CloseMainForm();
        return 0;
    }
    // The split of the best switch: reading the file into a model, the
    // manager's pass (each skinner given the new model), the repaint.
    double splitTotal = 1e9, splitRead = 0, splitPass = 0, splitPaint = 0;
    const double switching = bench::Best([&] {
        const double t0 = bench::Now();
        Form1->SkinData1->SetSkinFile(skins[next]);
        next = 1 - next;
        const double t1 = bench::Now();
        if (SkinManager()) SkinManager()->RunPass();  // the pass its timer runs
        const double t2 = bench::Now();
        repaint();
        Drain();
        const double t3 = bench::Now();
        if (t3 - t0 < splitTotal) {
            splitTotal = t3 - t0;
            splitRead = t1 - t0;
            splitPass = t2 - t1;
            splitPaint = t3 - t2;
        }
    });
    if (!IsSkinned(window)) {
        std::fprintf(stderr, "the main window lost its skin while switching\n");
        rc = 1;
    }
    CloseMainForm();
    SetProgramFolder(L"");

    std::printf("skin file %zu bytes; best of %d rounds\n", stored.size(), bench::ROUNDS);
    std::printf("%-40s skinned %.1f ms, Active off %.1f ms, ratio %.2f (goal 1.20)\n",
                "create to first painted frame", skinned * 1e3, plain * 1e3, skinned / plain);
    std::printf("%-40s decompress %.1f ms, model build %.1f ms, skinning the window %.1f ms\n",
                "  of which (both starts read the skin)", decompress * 1e3, build * 1e3, (skinned - plain) * 1e3);
    for (const TStart* start : {&skinnedStart, &plainStart})
        std::printf("%-40s create %.1f ms, read skin %.1f ms, show until skinned %.1f ms, first paint %.1f ms\n",
                    start == &skinnedStart ? "  phases, skinned" : "  phases, Active off", start->Create * 1e3,
                    start->Read * 1e3, start->Show * 1e3, start->Paint * 1e3);
    for (const TPaintCount* paints : {&skinnedPaints, &plainPaints})
        std::printf("%-40s WM_PAINT %d, WM_NCPAINT %d, WM_ERASEBKGND %d (window and children)\n",
                    paints == &skinnedPaints ? "  showing, skinned" : "  showing, Active off", paints->Paint,
                    paints->NcPaint, paints->Erase);
    std::printf("%-40s %.1f ms, full skinned repaint %.1f ms, ratio %.2f (goal under 3)\n",
                "skin switch until repainted", switching * 1e3, fullRepaint * 1e3, switching / fullRepaint);
    std::printf("%-40s read the file %.1f ms, the pass %.1f ms, repaint %.1f ms\n", "  of which", splitRead * 1e3,
                splitPass * 1e3, splitPaint * 1e3);
    return rc;
}
