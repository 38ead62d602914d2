// Start-up clean-up of temporaries (see leftovers.h).
#include "app/leftovers.h"

#include <windows.h>

#include "app/ledger_files.h"
#include "framework/sysutils.h"

namespace ledger {

namespace {

// A backup takes seconds; a conversion at most its time limit, an hour.
constexpr unsigned long long BACKUP_AGE_MS = 10ull * 60 * 1000;
constexpr unsigned long long CONVERSION_AGE_MS = 61ull * 60 * 1000;

unsigned long long AgeMs(const FILETIME& written)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const unsigned long long a = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const unsigned long long b = (static_cast<unsigned long long>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return a > b ? (a - b) / 10000 : 0;
}

// Deletes the file only when nothing has it open (opening it alone works).
bool DeleteUnused(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return DeleteFileW(path.c_str()) != 0;
}

void RemoveMatching(const std::wstring& folder, const wchar_t* pattern, unsigned long long minimumAgeMs,
                    std::vector<std::wstring>& removed)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) continue;
        if (AgeMs(found.ftLastWriteTime) < minimumAgeMs) continue;
        if (DeleteUnused(folder + found.cFileName)) removed.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

std::vector<std::wstring> RemoveLeftovers()
{
    std::vector<std::wstring> removed;
    const std::wstring folder = ProgramFolderW();
    if (!folder.empty()) {
        RemoveMatching(folder, L"bak????.tmp", BACKUP_AGE_MS, removed);
        RemoveMatching(folder, L"data.mdb.converting*", CONVERSION_AGE_MS, removed);
    }
    wchar_t temporary[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, temporary)) RemoveMatching(temporary, L"mdb????.tmp", CONVERSION_AGE_MS, removed);
    return removed;
}

}  // namespace ledger
