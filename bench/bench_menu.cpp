// Cost of a skinned popup menu, measured side by side in one run and printed
// as a ratio to the same menu unskinned: a context menu of 30 items (with
// checks, pictures, separators and a submenu) opened and closed 200 times.
// Each opening lasts until the menu window has painted itself once (its
// items measured and drawn), then the menu is closed. Skinned, the menu
// window gets its popup-menu skinner and the items are drawn from the
// skin; unskinned (the skin switched off), the system draws them. The menu
// is measured left to right and again right to left (mirrored items, opened
// right-aligned), each direction skinned against plain.
// The goal is a skinned menu within 1.5 times the cost of the plain one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/streams.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "skin/data/stored_skin.h"
#include "skin/form/form_skinner.h"

namespace {

constexpr int OPENINGS = 200;
constexpr int ITEMS = 30;

using bench::Drain;
using bench::PumpUntil;
using bench::StoredSkinBytes;

// Ends the open menu once its window has painted. A message posted before
// each opening reaches the menu's own loop, which hands each message it takes
// to the message-filter hook: there the menu ends once its window is up with
// nothing left to paint (else the message is posted again). A hook on every
// message sent would also be timed, and a skinned menu sends more of them: a
// measure and a draw per item.
int GPainted = 0;
HHOOK GHook = nullptr;
UINT GEndMessage = 0;
LRESULT CALLBACK EndAfterPaint(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU) {
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg->message == GEndMessage) {
            const HWND popup = FindWindowA("#32768", nullptr);
            if (popup && IsWindowVisible(popup) && !GetUpdateRect(popup, nullptr, FALSE)) {
                ++GPainted;
                EndMenu();
            } else {
                PostMessageA(msg->hwnd, GEndMessage, 0, 0);
            }
            return 1;
        }
    }
    return CallNextHookEx(GHook, code, wParam, lParam);
}

double OpenAndClose(HWND owner, TPopupMenu* menu, int times)
{
    GPainted = 0;
    const double start = bench::Now();
    for (int i = 0; i < times; ++i) {
        PostMessageA(owner, GEndMessage, 0, 0);
        menu->Popup(300, 200);
    }
    return bench::Now() - start;
}

}  // namespace

int main()
{
    RegisterFormSkinning();
    const std::string bytes = StoredSkinBytes();
    if (bytes.empty()) {
        std::fprintf(stderr, "cannot read the stored skin (build/generated/ravelbook_skin.bin)\n");
        return 1;
    }
    auto* form = new TForm(nullptr);
    form->SetBounds(100, 100, 420, 300);
    form->SetCaption("bench");
    auto* skin = new TSkinData(form);
    skin->BeginLoading();
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(*skin, stream);
    auto* images = new TImageList(form);
    images->SetHandle(ImageList_Duplicate(skin->MenuGlyphs()), true);
    auto* menu = new TPopupMenu(form);
    menu->SetImages(images);
    for (int i = 0; i < ITEMS; ++i) {
        auto* item = new TMenuItem(form);
        item->SetCaption(i % 10 == 9 ? "-" : "Item " + std::to_string(i + 1));
        item->SetImageIndex(i % 3 == 0 ? i % 4 : -1);
        item->SetChecked(i % 5 == 1);
        if (i == 4) item->SetShortCut(ShortCut('S', ssCtrl));
        if (i == 7) {
            auto* sub = new TMenuItem(form);
            sub->SetCaption("Nested");
            item->Add(sub);
        }
        menu->Items()->Add(item);
    }
    form->FinishCreation();
    form->Show();
    const HWND window = form->Handle();
    SetForegroundWindow(window);
    if (!PumpUntil([&] { return SkinManager() && SkinManager()->FindFormSkinner(window); })) {
        std::fprintf(stderr, "the form was not skinned\n");
        return 1;
    }
    GEndMessage = RegisterWindowMessageA("bench_menu_end");
    GHook = SetWindowsHookExA(WH_MSGFILTER, EndAfterPaint, nullptr, GetCurrentThreadId());

    // Each timed run lies between atoms (MARK_MENU_SKINNED or
    // MARK_MENU_PLAIN, then MARK_MENU_END) that a server trace
    // (WINEDEBUG=+server) shows as find_atom: what an opening asks the
    // server for, skinned against plain.
    // With BENCH_PROFILE set to "skinned" or "plain", only openings of that
    // side, long enough for a sampling profiler, then the end; with BENCH_RTL
    // set as well, of the right-to-left menu.
    if (char which[16] = {}; GetEnvironmentVariableA("BENCH_PROFILE", which, sizeof which)) {
        if (GetEnvironmentVariableA("BENCH_RTL", nullptr, 0)) menu->SetBiDiMode(bdRightToLeft);
        if (std::string(which) == "plain") {
            skin->SetActive(false);
            PumpUntil([&] { return !SkinManager()->FindFormSkinner(window); });
        }
        OpenAndClose(window, menu, 1000);
        UnhookWindowsHookEx(GHook);
        delete form;
        return 0;
    }
    int rc = 0;
    std::printf("popup menu of %d items, opened and closed %d times\n", ITEMS, OPENINGS);
    for (const TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
        menu->SetBiDiMode(mode);
        double skinned = 1e9, plain = 1e9;
        int skinnedPaints = 0, plainPaints = 0;
        bool skinnedMenus = false;
        for (int round = 0; round < 2; ++round) {
            Drain();
            OpenAndClose(window, menu, 5);  // warm-up
            GlobalFindAtomA("MARK_MENU_SKINNED");
            skinned = std::min(skinned, OpenAndClose(window, menu, OPENINGS));
            skinnedPaints = GPainted;
            skinnedMenus = menu->OwnerDraw();
            GlobalFindAtomA("MARK_MENU_END");

            skin->SetActive(false);
            if (!PumpUntil([&] { return !SkinManager()->FindFormSkinner(window); })) {
                std::fprintf(stderr, "the skin did not let go of the form\n");
                return 1;
            }
            Drain();
            OpenAndClose(window, menu, 5);
            GlobalFindAtomA("MARK_MENU_PLAIN");
            plain = std::min(plain, OpenAndClose(window, menu, OPENINGS));
            plainPaints = GPainted;
            GlobalFindAtomA("MARK_MENU_END");

            skin->SetActive(true);
            if (!PumpUntil([&] { return SkinManager()->FindFormSkinner(window); })) {
                std::fprintf(stderr, "the form was not skinned again\n");
                return 1;
            }
        }
        const char* direction = mode == bdLeftToRight ? "left to right" : "right to left";
        if (!skinnedMenus) {
            std::fprintf(stderr, "the context menu was not skinned (%s)\n", direction);
            rc = 1;
        }
        if (skinnedPaints < OPENINGS || plainPaints < OPENINGS) {
            std::fprintf(stderr, "menus opened without painting (%s: %d, %d of %d)\n", direction, skinnedPaints,
                         plainPaints, OPENINGS);
            rc = 1;
        }
        std::printf("  %-13s skinned %8.2f ms   plain %8.2f ms   ratio %.2f (goal <= 1.50)\n", direction,
                    skinned * 1000, plain * 1000, skinned / plain);
    }
    UnhookWindowsHookEx(GHook);
    delete form;
    return rc;
}
