// Start-up with a long category file: the program's five windows made and the
// main window shown over a ledger whose XMLB.txt holds 100,000 lines, against
// the same with an empty XMLB.txt, measured in one run and printed as a
// ratio; then "+" in the category editor on the long file against the empty
// one. Target: start-up within 1.5x of the empty file's.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/category_editor.h"
#include "app/delete_confirm.h"
#include "app/entry_editor.h"
#include "app/ledger_files.h"
#include "app/main_form.h"
#include "bench/bench_support.h"
#include "framework/application.h"

using bench::Best;

namespace {

constexpr int LINES = 100000;

void StartProgram()
{
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->CreateForm(Form3);
    Application->CreateForm(Form4);
    Form1->Show();
    Application->ProcessMessages();
}

void EndProgram()
{
    delete Form4;
    delete Form3;
    delete Form2;
    delete Form1;
    Application->SetMainForm(nullptr);
    Application->ProcessMessages();
}

// Start-up, then "+" once, over `lines` in XMLB.txt; best of rounds each.
struct TTimes {
    double Start = 0;
    double Add = 0;
};

TTimes Measure(const bench::TBenchLedger& ledger, const std::vector<std::string>& lines)
{
    const std::wstring categories = ledger.Folder() + L"XMLB.txt";
    TTimes times;
    times.Start = Best([&] { ledger::WriteLines(categories, lines); }, [] { StartProgram(); EndProgram(); });
    times.Add = Best(
        [&] {
            if (Form1) EndProgram();
            ledger::WriteLines(categories, lines);
            StartProgram();
            // "+" is clicked on the editor as the user sees it.
            Form4->Show();
            Application->ProcessMessages();
            Form4->EditXMLB->SetText("新类别");
        },
        [] { Form4->ButtonXMLBADDClick(Form4->ButtonXMLBADD); });
    EndProgram();
    DeleteFileW(categories.c_str());
    return times;
}

}  // namespace

int main()
{
    bench::TBenchLedger ledger(L"bench_categories");
    if (!ledger.Ok()) return 1;
    SetProgramFolder(ledger.Folder());
    int boxes = 0;
    bench::AnswerMessageBoxes(boxes);

    std::vector<std::string> many;
    for (int i = 0; i < LINES; ++i) many.push_back("类别" + std::to_string(i));
    const TTimes empty = Measure(ledger, {});
    const TTimes full = Measure(ledger, many);
    if (boxes) return 1;

    std::printf("start-up with %d category lines / with none: %.2f  (%.0f ms vs %.0f ms; target <= 1.5)%s\n", LINES,
                full.Start / empty.Start, full.Start * 1e3, empty.Start * 1e3,
                full.Start / empty.Start <= 1.5 ? "" : "  MISSED");
    std::printf("\"+\" with %d category lines / with none: %.2f  (%.1f ms vs %.1f ms)\n", LINES, full.Add / empty.Add,
                full.Add * 1e3, empty.Add * 1e3);
    SetProgramFolder(L"");
    return 0;
}
