// The SQLite shell (sqlite3.exe, built beside the benchmarks) run on a
// database with a script on its standard input: what the ledger's
// benchmarks measure the program against.
#pragma once

#include <windows.h>

#include <string>

#include "bench/bench_support.h"

namespace bench {

inline std::wstring ExecutableFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Runs the shell (sqlite3.exe beside this benchmark) on `database` with
// `script` (UTF-8) on its standard input. Returns its output and, in
// `seconds`, the wall time from start to exit; false when it cannot run.
inline bool RunShell(const std::wstring& database, const std::string& script, std::string& output, double& seconds)
{
    const std::wstring scriptPath = database + L".sql";
    HANDLE f = CreateFileW(scriptPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, script.data(), static_cast<DWORD>(script.size()), &written, nullptr);
    CloseHandle(f);

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE input = CreateFileW(scriptPath.c_str(), GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::wstring command = L"\"" + ExecutableFolder() + L"sqlite3.exe\" \"" + database + L"\"";
    PROCESS_INFORMATION process = {};
    const double start = bench::Now();
    bool ran = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                              &startup, &process);
    if (ran) {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read) output.append(buffer, read);
        WaitForSingleObject(process.hProcess, INFINITE);
        seconds = bench::Now() - start;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    if (writeEnd) CloseHandle(writeEnd);
    CloseHandle(readEnd);
    CloseHandle(input);
    DeleteFileW(scriptPath.c_str());
    return ran;
}

}  // namespace bench
