// A skinned start and a skin switch, measured side by side in one run:
//   - from creating the main window (its skin read from its stored data) to
//     its first painted frame, skinned against the same with the skin
//     component's Active off; the skinned time is split into decompressing
//     the skin, building its model, and what skinning the window adds on
//     top of the plain start (attaching, fitting the frame, the first
//     compose). Goal: within 1.3 times the plain start.
//   - switching the shown main window, with all its controls, to another
//     skin file until it is fully repainted, against one skinned full
//     repaint of the same window. Aim: under 5 times.
//
// The main window is the program's own TForm1 over an empty ledger in a
// temporary folder; the skins are the build's files in build/skins/.
#include <windows.h>

#include <cstdio>
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

bool IsSkinned(HWND window)
{
    TSkinManage* manager = SkinManager();
    TFormSkinnerLink* skinner = manager ? manager->FindFormSkinner(window) : nullptr;
    return skinner && skinner->SkinnerState() == fssSkinned;
}

// The main window made, shown and activated as the program starts it, with
// the stored skin (`framed`: the count and the compressed container) read
// from its form data; seconds until its first frame is painted.
double StartMainForm(const std::string& framed, bool active, bool& ok)
{
    const double t = bench::Now();
    Application->CreateForm(Form1);
    TMemoryStream stream;
    stream.WriteBuffer(framed.data(), static_cast<int64_t>(framed.size()));
    stream.SetPosition(0);
    Form1->SkinData1->ReadSkinStream(stream);
    Form1->SkinData1->SetActive(active);
    Form1->Show();
    const HWND window = Form1->Handle();
    SetForegroundWindow(window);
    ok = active ? PumpUntil([&] { return IsSkinned(window); }) : (Drain(), !IsSkinned(window));
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    return bench::Now() - t;
}

void CloseMainForm()
{
    delete Form1;
    Form1 = nullptr;
    Application->SetMainForm(nullptr);
    Drain();
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

    // ---- start-up: alternating, best of each ----
    double skinned = 1e9, plain = 1e9;
    for (int round = 0; round < bench::ROUNDS; ++round) {
        bool ok = false;
        skinned = std::min(skinned, StartMainForm(framed, true, ok));
        if (!ok) {
            std::fprintf(stderr, "the main window was not skinned\n");
            rc = 1;
        }
        CloseMainForm();
        plain = std::min(plain, StartMainForm(framed, false, ok));
        if (!ok) {
            std::fprintf(stderr, "the main window was skinned with Active off\n");
            rc = 1;
        }
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
    const double switching = bench::Best([&] {
        Form1->SkinData1->SetSkinFile(skins[next]);
        next = 1 - next;
        if (SkinManager()) SkinManager()->RunPass();  // the pass its timer runs
        repaint();
        Drain();
    });
    if (!IsSkinned(window)) {
        std::fprintf(stderr, "the main window lost its skin while switching\n");
        rc = 1;
    }
    CloseMainForm();
    SetProgramFolder(L"");

    std::printf("skin file %zu bytes; best of %d rounds\n", stored.size(), bench::ROUNDS);
    std::printf("%-40s skinned %.1f ms, Active off %.1f ms, ratio %.2f (goal 1.30)\n",
                "create to first painted frame", skinned * 1e3, plain * 1e3, skinned / plain);
    std::printf("%-40s decompress %.1f ms, model build %.1f ms, skinning the window %.1f ms\n",
                "  of which (both starts read the skin)", decompress * 1e3, build * 1e3, (skinned - plain) * 1e3);
    std::printf("%-40s %.1f ms, full skinned repaint %.1f ms, ratio %.2f (aim under 5)\n",
                "skin switch until repainted", switching * 1e3, fullRepaint * 1e3, switching / fullRepaint);
    return rc;
}
