// The skin at 200 % against 100 %, measured side by side in one run:
//   - the skinned start: a window with the stored skin and a grid of
//     controls (buttons, edits, check boxes, group boxes, a status bar) made
//     and laid out at the scale (640 x 480 at 96, twice that at 192), shown,
//     skinned as it is activated and painted once, the skin's images for the
//     scale built on the way (a new skin component has none yet); goal: 192
//     within 1.5 times 96;
//   - a full repaint of that window (frame, client and every control), 100
//     times in a row; goal: 192 within 1.5 times 96 for four times the
//     pixels;
//   - building the stored skin's images for one scale once (144 and 192),
//     reported in milliseconds.
// The window is laid out here as a form of the program lays itself out at a
// scale (positions, sizes and font scaled from its 96 design); the main
// window itself does not fit this display at 192.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/display_scale.h"
#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "framework/group_box.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/streams.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "skin/data/skin_scale.h"
#include "skin/data/stored_skin.h"
#include "skin/form/form_skinner.h"

namespace {

using bench::Drain;
using bench::IsSkinned;
using bench::Now;
using bench::PumpUntil;

constexpr int ROUNDS = 5;
constexpr int REPAINTS = 100;

// The form of the benchmark at `dpi`, its skin component given the stored
// skin, not yet shown.
TForm* MakeForm(const std::string& skin, UINT dpi)
{
    const auto px = [dpi](int v) { return ScaleToDpi(v, dpi); };
    auto* form = new TForm(nullptr);
    form->SetBounds(20, 20, px(640), px(480));
    form->SetCaption("Ravelbook");
    form->Font()->SetHeight(-px(12));
    auto* data = new TSkinData(form);
    data->BeginLoading();
    TMemoryStream stream;
    stream.WriteBuffer(skin.data(), static_cast<int64_t>(skin.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(*data, stream);
    for (int column = 0; column < 3; ++column) {
        auto* group = new TGroupBox(form);
        group->SetParent(form);
        group->SetBounds(px(10 + 205 * column), px(10), px(195), px(390));
        group->SetCaption("Group");
        for (int row = 0; row < 4; ++row) {
            auto* button = new TButton(form);
            button->SetParent(group);
            button->SetBounds(px(10), px(24 + 90 * row), px(80), px(26));
            button->SetCaption("Button");
            auto* check = new TCheckBox(form);
            check->SetParent(group);
            check->SetBounds(px(100), px(28 + 90 * row), px(85), px(20));
            check->SetCaption("Check");
            auto* edit = new TEdit(form);
            edit->SetParent(group);
            edit->SetBounds(px(10), px(58 + 90 * row), px(175), px(22));
        }
    }
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    form->FinishCreation();
    NoteWindowDpi(form->Handle(), dpi);
    return form;
}

// Seconds from making the form to its first full paint, skinned.
double StartAt(const std::string& skin, UINT dpi, TForm*& form, bool& ok)
{
    const double t = Now();
    form = MakeForm(skin, dpi);
    form->Show();
    const HWND window = form->Handle();
    SetForegroundWindow(window);
    ok = PumpUntil([&] { return IsSkinned(window); });
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    return Now() - t;
}

double RepaintCost(HWND window)
{
    double best = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        Drain();
        const double t = Now();
        for (int i = 0; i < REPAINTS; ++i)
            RedrawWindow(window, nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        GdiFlush();
        best = std::min(best, (Now() - t) / REPAINTS);
    }
    return best;
}

}  // namespace

int main()
{
    RegisterFormSkinning();
    Application->SetTitle("Ravelbook");
    const std::string skin = bench::StoredSkinBytes();
    if (skin.empty()) {
        std::fprintf(stderr, "cannot read the stored skin (generated/ravelbook_skin.bin in the build folder)\n");
        return 1;
    }
    int rc = 0;

    // ---- the start, alternating the scales; best of each ----
    double start96 = 1e9, start192 = 1e9;
    double repaint96 = 1e9, repaint192 = 1e9;
    SIZE size96{}, size192{};
    for (int round = 0; round < ROUNDS; ++round) {
        for (UINT dpi : {96u, 192u}) {
            bool ok = false;
            TForm* form = nullptr;
            const double t = StartAt(skin, dpi, form, ok);
            if (!ok) {
                std::fprintf(stderr, "the main window was not skinned at %u\n", dpi);
                rc = 1;
            }
            (dpi == 96 ? start96 : start192) = std::min(dpi == 96 ? start96 : start192, t);
            if (round == 0) {
                // The full repaint, on the window just started.
                const HWND window = form->Handle();
                RECT r{};
                GetWindowRect(window, &r);
                (dpi == 96 ? size96 : size192) = SIZE{r.right - r.left, r.bottom - r.top};
                (dpi == 96 ? repaint96 : repaint192) = RepaintCost(window);
                auto* skinner = dynamic_cast<TWinSkinForm*>(SkinManager()->FindFormSkinner(window));
                if (!skinner || skinner->Dpi() != dpi) {
                    std::fprintf(stderr, "the skinned frame is not at %u\n", dpi);
                    rc = 1;
                }
            }
            delete form;
            Drain();
        }
    }

    // ---- building one scale's images, on the stored skin's model ----
    double build144 = 1e9, build192 = 1e9;
    {
        TSkinData data(nullptr);
        TMemoryStream stream;
        stream.WriteBuffer(skin.data(), static_cast<int64_t>(skin.size()));
        stream.SetPosition(0);
        data.ReadSkinStream(stream);
        if (data.NoSkin()) {
            std::fprintf(stderr, "the stored skin did not load\n");
            return 1;
        }
        for (int round = 0; round < ROUNDS; ++round) {
            double t = Now();
            auto scaled = ScaleSkinModel(data.Model(), 144);
            build144 = std::min(build144, Now() - t);
            t = Now();
            scaled = ScaleSkinModel(data.Model(), 192);
            build192 = std::min(build192, Now() - t);
        }
    }

    std::printf("skinned window with 40 controls, %ldx%ld at 96, %ldx%ld at 192; best of %d rounds\n", size96.cx, size96.cy, size192.cx,
                size192.cy, ROUNDS);
    std::printf("%-44s 192 %.1f ms, 96 %.1f ms, ratio %.2f (goal <= 1.5)\n", "skinned start to first full paint",
                start192 * 1e3, start96 * 1e3, start192 / start96);
    std::printf("%-44s 192 %.2f ms, 96 %.2f ms, ratio %.2f (goal <= 1.5)\n", "full repaint (frame, client, controls)",
                repaint192 * 1e3, repaint96 * 1e3, repaint192 / repaint96);
    std::printf("%-44s 144: %.1f ms, 192: %.1f ms (once per scale and skin)\n", "building a scale's images",
                build144 * 1e3, build192 * 1e3);
    return rc;
}
