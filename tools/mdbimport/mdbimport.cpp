// mdbimport: converts the ledger table of an Access-format (Jet 3 or Jet 4)
// file into a new ledger database of this program.
//
//   mdbimport [--time-limit-ms <n>] <source.mdb> <new ledger> [<table> <7 column names>]
//   mdbimport --tables <source.mdb>
//
// Ravelbook runs it as its reader process when it converts data.mdb, so that
// a damaged file that makes the reading library crash or hang takes down this
// process only. It writes the new ledger whole or not at all, and prints the
// number of entries written ("rows=<n>") on success, the reason on failure
// (the last line of standard error, in the ANSI code page; the library may
// write its own remarks before it); exit code 0 on success, 1 on a
// failure it could tell, 2 on wrong arguments, 3 when it stopped itself at
// its time limit (a damaged file can send the reading library round in
// circles). Arguments are taken from the wide command line, so any path
// works. The library's own remarks on standard error are cut off after
// REMARKS_KEPT bytes, so a damaged file cannot make it write without end.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/data/access_file.h"
#include "framework/data/access_ledger.h"

namespace {

constexpr DWORD EXIT_TIME_LIMIT = 3;
constexpr unsigned long long REMARKS_KEPT = 16 * 1024;
DWORD GTimeLimitMs = 0;
HANDLE GRealErrors = nullptr;
HANDLE GFilter = nullptr;  // the thread passing the library's remarks on

// Ends the process at the time limit, whatever the library is doing.
DWORD WINAPI Watchdog(void*)
{
    Sleep(GTimeLimitMs);
    const char text[] = "读取文件的时间过长,已停止。文件可能已经损坏。\n";
    DWORD written = 0;
    if (GRealErrors) WriteFile(GRealErrors, text, sizeof text - 1, &written, nullptr);
    ExitProcess(EXIT_TIME_LIMIT);
}

// Passes the library's remarks on to the real standard error up to
// REMARKS_KEPT bytes and drops the rest.
DWORD WINAPI RemarkFilter(void* pipe)
{
    unsigned long long passed = 0;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(static_cast<HANDLE>(pipe), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        if (passed >= REMARKS_KEPT) continue;
        DWORD n = static_cast<DWORD>(std::min<unsigned long long>(got, REMARKS_KEPT - passed)), written = 0;
        WriteFile(GRealErrors, buffer, n, &written, nullptr);
        passed += n;
    }
    return 0;
}

// The library writes to the C runtime's stderr: it goes through the filter;
// this program's own reason is written to the real stream (Reason below).
void FilterRemarks()
{
    GRealErrors = GetStdHandle(STD_ERROR_HANDLE);
    if (!GRealErrors || GRealErrors == INVALID_HANDLE_VALUE) return;
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, nullptr, 1 << 16)) return;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(write), _O_WRONLY | _O_BINARY);
    if (fd < 0 || _dup2(fd, _fileno(stderr)) != 0) return;
    _close(fd);  // stderr holds its own copy
    setvbuf(stderr, nullptr, _IONBF, 0);
    GFilter = CreateThread(nullptr, 0, RemarkFilter, read, 0, nullptr);
}

void Reason(const std::string& text)
{
    // The remarks end first, so the reason is the last line.
    std::fflush(stderr);
    if (GFilter) {
        _close(_fileno(stderr));
        WaitForSingleObject(GFilter, 2000);
    }
    const std::string line = text + "\n";
    DWORD written = 0;
    if (GRealErrors && GRealErrors != INVALID_HANDLE_VALUE)
        WriteFile(GRealErrors, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    else
        std::fputs(line.c_str(), stderr);
}

}  // namespace

int main()
{
    // A crash ends this process quietly: no crash dialog waits for a user.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv, argv + argc);
    LocalFree(argv);
    FilterRemarks();
    if (args.size() >= 3 && args[1] == L"--time-limit-ms") {
        GTimeLimitMs = static_cast<DWORD>(_wtoi(args[2].c_str()));
        args.erase(args.begin() + 1, args.begin() + 3);
        if (GTimeLimitMs > 0) CloseHandle(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
    }
    try {
        if (args.size() == 3 && args[1] == L"--tables") {
            for (const std::string& name : jet::TableNames(args[2])) std::printf("%s\n", name.c_str());
            return 0;
        }
        if (args.size() != 3 && args.size() != 3 + 1 + ledger::LEDGER_COLUMN_COUNT) {
            Reason("usage: mdbimport [--time-limit-ms <n>] <source.mdb> <new ledger> [<table> <7 column names>]\n"
                   "       mdbimport --tables <source.mdb>");
            return 2;
        }
        ledger::TAccessLedgerSource from;
        if (args.size() > 3) {
            from.TableUtf8 = WideToUtf8(args[3]);
            for (int c = 0; c < ledger::LEDGER_COLUMN_COUNT; ++c) from.ColumnsUtf8[c] = WideToUtf8(args[4 + c]);
        }
        const int rows = ledger::ConvertAccessLedger(args[1], args[2], from);
        std::printf("rows=%d\n", rows);
        return 0;
    } catch (const Exception& error) {
        Reason(error.Message());
        return 1;
    }
}
