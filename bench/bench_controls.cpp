// Costs of the control skinners on the main window, measured side by side in
// one run and printed as ratios to the same window with its skin switched
// off (Active false):
//   - a repaint of the whole window with every control (RedrawWindow with
//     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME), 100
//     times; goal: skinned within 1.5 times plain;
//   - hot tracking: 1,000 WM_MOUSEMOVE messages across the row of buttons
//     (the pointer put on the next button, the one it leaves told so);
//     goal: within 2 times plain.
//
// The main window is the program's own TForm1 over an empty ledger in a
// temporary program folder, with the stored skin the build packs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/streams.h"
#include "framework/sysutils.h"
#include "skin/controls/control_discovery.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"

namespace {

constexpr int REPAINTS = 100;
constexpr int MOVES = 1000;

using bench::Drain;
using bench::StoredSkinBytes;

bool PumpUntil(const std::function<bool()>& done)
{
    const bool ok = bench::PumpUntil(done, 5000);
    Drain();
    return ok;
}

TWinSkinForm* SkinnerOf(HWND window)
{
    TSkinManage* manager = SkinManager();
    return manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
}

bool SetSkinned(bool on)
{
    const HWND window = Form1->Handle();
    Form1->SkinData1->SetActive(on);
    return PumpUntil([&] {
        TWinSkinForm* skinner = SkinnerOf(window);
        return on ? skinner && skinner->SkinState() == fssSkinned && !skinner->ControlSkinners().empty()
                  : skinner == nullptr;
    });
}

double RepaintCost()
{
    const HWND window = Form1->Handle();
    return bench::Best([&] {
        for (int i = 0; i < REPAINTS; ++i)
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        GdiFlush();
    }) / REPAINTS;
}

double HoverCost(const std::vector<HWND>& buttons)
{
    return bench::Best([&] {
        for (int i = 0; i < MOVES; ++i) {
            HWND from = buttons[static_cast<size_t>(i) % buttons.size()];
            HWND to = buttons[static_cast<size_t>(i + 1) % buttons.size()];
            RECT bounds{};
            GetWindowRect(to, &bounds);
            SetCursorPos((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
            SendMessageA(from, WM_MOUSELEAVE, 0, 0);
            SendMessageA(to, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
            Drain();
        }
        GdiFlush();
    }) / MOVES;
}

}  // namespace

int main()
{
    RegisterFormSkinning();
    RegisterControlSkinning();
    bench::TBenchLedger ledger(L"bench_controls");
    if (!ledger.Ok()) return 1;
    SetProgramFolder(ledger.Folder());
    Application->SetTitle("Ravelbook");
    const std::string skin = StoredSkinBytes();
    if (skin.empty()) {
        std::fprintf(stderr, "cannot read the stored skin (build/generated/ravelbook_skin.bin)\n");
        return 1;
    }
    Application->CreateForm(Form1);
    {
        TMemoryStream stream;
        stream.WriteBuffer(skin.data(), static_cast<int64_t>(skin.size()));
        stream.SetPosition(0);
        Form1->SkinData1->ReadSkinStream(stream);
    }
    Form1->Show();
    SetForegroundWindow(Form1->Handle());
    if (!SetSkinned(true)) {
        std::fprintf(stderr, "the main window's controls were not skinned\n");
        return 1;
    }

    // The row of buttons along the window.
    std::vector<HWND> buttons;
    for (int i = 0; i < Form1->ComponentCount(); ++i)
        if (auto* button = As<TButton>(Form1->Components(i)))
            if (button->HandleAllocated() && button->Visible()) buttons.push_back(button->Handle());
    if (buttons.size() < 2) {
        std::fprintf(stderr, "the main window has no row of buttons\n");
        return 1;
    }

    // Alternate, best of each.
    double repaintSkinned = 1e9, repaintPlain = 1e9, hoverSkinned = 1e9, hoverPlain = 1e9;
    for (int round = 0; round < 3; ++round) {
        if (!SetSkinned(true)) return 1;
        repaintSkinned = std::min(repaintSkinned, RepaintCost());
        hoverSkinned = std::min(hoverSkinned, HoverCost(buttons));
        if (!SetSkinned(false)) return 1;
        repaintPlain = std::min(repaintPlain, RepaintCost());
        hoverPlain = std::min(hoverPlain, HoverCost(buttons));
    }
    const double repaintRatio = repaintSkinned / repaintPlain;
    const double hoverRatio = hoverSkinned / hoverPlain;
    std::printf("main window repaint, all controls: skinned %.3f ms, plain %.3f ms, ratio %.2f (goal <= 1.5)\n",
                repaintSkinned * 1e3, repaintPlain * 1e3, repaintRatio);
    std::printf("hot tracking over %zu buttons, per WM_MOUSEMOVE: skinned %.1f us, plain %.1f us, ratio %.2f (goal <= 2)\n",
                buttons.size(), hoverSkinned * 1e6, hoverPlain * 1e6, hoverRatio);
    delete Form1;
    Form1 = nullptr;
    Drain();
    return 0;
}
