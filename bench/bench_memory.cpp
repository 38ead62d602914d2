// The program's memory over a long ledger: the working set of the process,
// from its own counters (GetProcessMemoryInfo), once it has started over a
// ledger of 0 and of 100,000 entries as the program starts (the skinned main
// window with its list and totals, the other windows made, everything
// painted), side by side in one run, and the difference against its goal:
// 100,000 entries within 15 MB of an empty ledger.
//
// Each measurement is a fresh process of this benchmark ("--open <folder>"),
// so that neither ledger finds the heap the other one left; the two run in
// turns, ROUNDS times, and the smallest figure of each is kept (what else the
// machine does can only add to a working set). The peak working set (what
// start-up needed at its most) is printed beside it.
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <tuple>

#include "app/category_editor.h"
#include "app/data_module.h"
#include "app/delete_confirm.h"
#include "app/entry_editor.h"
#include "app/main_form.h"
#include "bench/bench_support.h"
#include "framework/application.h"

namespace {

constexpr int ENTRIES = 100000;
constexpr double GOAL_MB = 15.0;
constexpr int ROUNDS = 3;

struct TMemory {
    double WorkingSet = 0;  // bytes
    double Peak = 0;
    int Listed = 0;  // the entries the list holds
    bool Ok = false;
};

double Megabytes(double bytes) { return bytes / (1024.0 * 1024.0); }

// The child's part: start the program over the ledger in `folder` and print
// the process's counters.
int MeasureOpening(const std::wstring& folder)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&controls);
    SetProgramFolder(folder);
    int boxes = 0;
    bench::AnswerMessageBoxes(boxes);
    const std::string skin = bench::StoredSkinBytes();
    if (skin.empty()) {
        std::fprintf(stderr, "cannot read the stored skin (build/generated/ravelbook_skin.bin)\n");
        return 1;
    }
    // As start-up makes the windows (winmain.cpp).
    bench::CreateSkinnedMainForm(skin, true);
    frmdataBase = new TfrmdataBase(Application);
    Application->CreateForm(Form2);
    Application->CreateForm(Form3);
    Application->CreateForm(Form4);
    Form1->Show();
    if (!bench::PumpUntil([] { return bench::IsSkinned(Form1->Handle()); }, 30000)) {
        std::fprintf(stderr, "the main window was not skinned\n");
        return 1;
    }
    Form1->Update();
    bench::Drain();

    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        std::fprintf(stderr, "GetProcessMemoryInfo failed (%lu)\n", GetLastError());
        return 1;
    }
    std::printf("%d|%llu|%llu\n", Form1->ADOQuery1->Active() ? Form1->ADOQuery1->RecordCount() : -1,
                static_cast<unsigned long long>(counters.WorkingSetSize),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    std::fflush(stdout);
    // Measured: the windows need not be taken down one by one.
    ExitProcess(boxes ? 1 : 0);
}

// Runs this benchmark as "--open <folder>" and reads what it printed.
TMemory MeasureInChild(const std::wstring& folder)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // Without its trailing separator, which would escape the closing quote.
    const std::wstring bare = folder.substr(0, folder.size() - 1);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --open \"" + bare + L"\"";

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    TMemory memory;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
        std::string output;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read) output.append(buffer, read);
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        const size_t first = output.find('|'), second = output.find('|', first + 1);
        if (code == 0 && second != std::string::npos) {
            memory.Listed = std::atoi(output.c_str());
            memory.WorkingSet = std::atof(output.c_str() + first + 1);
            memory.Peak = std::atof(output.c_str() + second + 1);
            memory.Ok = memory.WorkingSet > 0;
        }
    }
    if (writeEnd) CloseHandle(writeEnd);
    CloseHandle(readEnd);
    return memory;
}

}  // namespace

int main()
{
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc == 3 && std::wstring(argv[1]) == L"--open") return MeasureOpening(std::wstring(argv[2]) + L"\\");

    bench::TBenchLedger empty(L"bench_memory_empty");
    bench::TBenchLedger full(L"bench_memory_full");
    if (!empty.Ok() || !full.Ok() || !full.AddEntries(ENTRIES, {"工资", "房租", "水电", "餐饮", "交通"}, 5000))
        return 1;

    TMemory none, many;
    for (int round = 0; round < ROUNDS; ++round) {
        for (auto [ledger, best, entries] : {std::tuple{&empty, &none, 0}, std::tuple{&full, &many, ENTRIES}}) {
            TMemory m = MeasureInChild(ledger->Folder());
            if (!m.Ok || m.Listed != entries) {
                std::fprintf(stderr, "the measuring run over %s failed (%d entries listed)\n",
                             WideToUtf8(ledger->Folder()).c_str(), m.Listed);
                return 1;
            }
            if (!best->Ok || m.WorkingSet < best->WorkingSet) best->WorkingSet = m.WorkingSet;
            if (!best->Ok || m.Peak < best->Peak) best->Peak = m.Peak;
            best->Ok = true;
        }
    }
    // The category editor wrote its file beside each ledger.
    DeleteFileW((empty.Folder() + L"XMLB.txt").c_str());
    DeleteFileW((full.Folder() + L"XMLB.txt").c_str());

    const double difference = Megabytes(many.WorkingSet - none.WorkingSet);
    std::printf("memory after start-up over a ledger (working set, each in a fresh process, least of %d runs):\n",
                ROUNDS);
    std::printf("  empty ledger: %.1f MB   100,000 entries: %.1f MB\n", Megabytes(none.WorkingSet),
                Megabytes(many.WorkingSet));
    std::printf("  100,000 entries - empty: %+.1f MB (%.0f bytes an entry; goal <= +%.0f MB)%s\n", difference,
                (many.WorkingSet - none.WorkingSet) / ENTRIES, GOAL_MB, difference <= GOAL_MB ? "" : "  MISSED");
    std::printf("  peak working set during start-up: %.1f MB and %.1f MB (%+.1f MB)\n", Megabytes(none.Peak),
                Megabytes(many.Peak), Megabytes(many.Peak - none.Peak));
    return 0;
}
