// Cost of the list-view skinner: scrolling a report view of 10,000 items
// down 200 lines, one line at a time, each step painted (the rows, the
// column header and the scroll bars), with the form skinned against the same
// form with its skin switched off (Active false), measured side by side in
// one run. Goal: skinned within 1.5 times plain.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "bench/bench_support.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/list_view.h"
#include "framework/streams.h"
#include "skin/controls/control_discovery.h"
#include "skin/controls/header_skinner.h"
#include "skin/controls/list_view_skinner.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "skin/data/stored_skin.h"
#include "skin/form/form_skinner.h"

namespace {

constexpr int ITEMS = 10000;
constexpr int LINES = 200;

TWinSkinForm* SkinnerOf(HWND window)
{
    TSkinManage* manager = SkinManager();
    return manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
}

struct TBenchForm {
    TForm* Form = nullptr;
    TSkinData* Skin = nullptr;
    TListView* List = nullptr;
};

TBenchForm MakeForm(const std::string& skin)
{
    TBenchForm f;
    f.Form = new TForm(nullptr);
    f.Form->SetBounds(60, 40, 640, 480);
    f.Form->SetCaption("Ravelbook");
    f.Skin = new TSkinData(f.Form);
    f.Skin->BeginLoading();
    TMemoryStream stream;
    stream.WriteBuffer(skin.data(), static_cast<int64_t>(skin.size()));
    stream.SetPosition(0);
    ConfigureStoredSkin(*f.Skin, stream);
    f.List = new TListView(f.Form);
    f.List->SetParent(f.Form);
    f.List->SetBounds(8, 8, 600, 400);
    f.List->SetViewStyle(vsReport);
    f.List->SetReadOnly(true);
    f.List->SetRowSelect(true);
    for (const char* caption : {"项目名称", "金额", "类别", "日期"}) {
        TListColumn* column = f.List->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(140);
    }
    f.List->Items()->BeginUpdate();
    for (int i = 0; i < ITEMS; ++i) {
        TListItem* item = f.List->Items()->Add();
        item->SetCaption("条目 " + std::to_string(i));
        item->SubItems()->Add(std::to_string(i % 977));
        item->SubItems()->Add("日常");
        item->SubItems()->Add("2026-12-08");
    }
    f.List->Items()->EndUpdate();
    f.Form->FinishCreation();
    f.Form->Show();
    SetForegroundWindow(f.Form->Handle());
    return f;
}

bool SetSkinned(TBenchForm& f, bool on)
{
    const HWND window = f.Form->Handle();
    f.Skin->SetActive(on);
    return bench::PumpUntil([&] {
        TWinSkinForm* skinner = SkinnerOf(window);
        return on ? skinner && skinner->SkinState() == fssSkinned && !skinner->ControlSkinners().empty()
                  : skinner == nullptr;
    });
}

// Seconds per line of scrolling down LINES lines from the top, each line
// painted everywhere before the next.
double ScrollCost(TBenchForm& f)
{
    const HWND list = f.List->Handle();
    const HWND form = f.Form->Handle();
    return bench::Best(
               [&] {
                   SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
                   RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                   bench::Drain();
               },
               [&] {
                   for (int i = 0; i < LINES; ++i) {
                       SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
                       RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
                   }
                   GdiFlush();
               }) /
           LINES;
}

}  // namespace

int main()
{
    RegisterFormSkinning();
    RegisterControlSkinning();
    Application->SetTitle("Ravelbook");
    const std::string skin = bench::StoredSkinBytes();
    TBenchForm f = MakeForm(skin);
    if (!SetSkinned(f, true)) {
        std::fprintf(stderr, "the form was not skinned\n");
        return 1;
    }
    TWinSkinForm* formSkinner = SkinnerOf(f.Form->Handle());
    bool headerSkinned = false;
    for (TSkinControl* skinner : formSkinner->ControlSkinners())
        if (dynamic_cast<TSkinHeader*>(skinner) && skinner->Window() == f.List->HeaderWindow()) headerSkinned = true;
    if (!headerSkinned) {
        std::fprintf(stderr, "the list view's header was not skinned\n");
        return 1;
    }
    // Warm both up once, then alternate so both see the same machine.
    double skinned = 1e9, plain = 1e9;
    for (int round = 0; round < 2; ++round) {
        if (!SetSkinned(f, true)) return 1;
        skinned = std::min(skinned, ScrollCost(f));
        if (!SetSkinned(f, false)) return 1;
        plain = std::min(plain, ScrollCost(f));
    }
    const int top = f.List->TopItem() ? f.List->TopItem()->Index() : -1;
    std::printf("list view, %d items, scrolled %d lines (top row %d after a run)\n", ITEMS, LINES, top);
    std::printf("  plain   %8.3f ms per line\n", plain * 1000);
    std::printf("  skinned %8.3f ms per line\n", skinned * 1000);
    std::printf("  ratio   %8.2f (goal <= 1.5)\n", skinned / plain);
    delete f.Form;
    return 0;
}
