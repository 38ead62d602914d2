// The backup copy of the ledger (see backup.h).
#include "app/backup.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "app/ledger_files.h"
#include "framework/sysutils.h"
#include "sqlite3.h"

namespace ledger {

const char* const BACKUP_MADE = "备份数据库,成功!";
const char* const BACKUP_FAILED = "备份数据库,失败!";
const char* const BACKUP_FAILED_KEPT = "备份数据库,失败!同名的旧备份仍保留原样,未被删除。";
const char* const BACKUP_NAME_MISSING = "请输入备份名称!";

namespace {

// How long the copy waits for a writer of another program to finish.
constexpr int BUSY_TIMEOUT_MS = 300;
constexpr int BUSY_RETRIES = 3;
constexpr DWORD BUSY_PAUSE_MS = 100;

const wchar_t* const BACKUP_EXTENSION = L".mdb";

bool IsReservedDeviceName(std::wstring stem)
{
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    for (wchar_t& c : stem) c = static_cast<wchar_t>(towupper(c));
    for (const wchar_t* device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (stem == device) return true;
    return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
           stem[3] >= L'1' && stem[3] <= L'9';
}

// Closes an engine connection when it goes.
struct TDatabase {
    sqlite3* Handle = nullptr;
    ~TDatabase() { sqlite3_close(Handle); }
};

}  // namespace

bool CopyLedgerDatabase(const std::wstring& source, const std::wstring& target)
{
    TDatabase from, to;
    if (sqlite3_open_v2(WideToUtf8(source).c_str(), &from.Handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return false;
    if (sqlite3_open_v2(WideToUtf8(target).c_str(), &to.Handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(from.Handle, BUSY_TIMEOUT_MS);
    sqlite3_busy_timeout(to.Handle, BUSY_TIMEOUT_MS);

    sqlite3_backup* backup = sqlite3_backup_init(to.Handle, "main", from.Handle, "main");
    if (!backup) return false;
    int rc = SQLITE_OK;
    for (int retries = 0;;) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || ++retries > BUSY_RETRIES) break;
        Sleep(BUSY_PAUSE_MS);
    }
    const int finished = sqlite3_backup_finish(backup);
    return rc == SQLITE_DONE && finished == SQLITE_OK;
}

namespace {

// The copy at `path` passes the engine's consistency check and holds the
// ledger's table.
bool IsSoundLedger(const std::wstring& path)
{
    TDatabase copy;
    if (sqlite3_open_v2(WideToUtf8(path).c_str(), &copy.Handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return false;
    bool ok = false;
    sqlite3_stmt* check = nullptr;
    if (sqlite3_prepare_v2(copy.Handle, "PRAGMA quick_check", -1, &check, nullptr) == SQLITE_OK &&
        sqlite3_step(check) == SQLITE_ROW) {
        const unsigned char* result = sqlite3_column_text(check, 0);
        ok = result && std::string(reinterpret_cast<const char*>(result)) == "ok";
    }
    sqlite3_finalize(check);
    return ok && sqlite3_exec(copy.Handle, "SELECT count(*) FROM data", nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Both paths name one existing file (same volume and file index).
bool SameFile(const std::wstring& a, const std::wstring& b)
{
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE fa = CreateFileW(a.c_str(), 0, share, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE fb = CreateFileW(b.c_str(), 0, share, nullptr, OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION infoA{}, infoB{};
    bool same = fa != INVALID_HANDLE_VALUE && fb != INVALID_HANDLE_VALUE &&
                GetFileInformationByHandle(fa, &infoA) && GetFileInformationByHandle(fb, &infoB) &&
                infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
                infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
    if (fa != INVALID_HANDLE_VALUE) CloseHandle(fa);
    if (fb != INVALID_HANDLE_VALUE) CloseHandle(fb);
    return same;
}

bool IsLedgerItself(const std::wstring& fileName, const std::wstring& source, const std::wstring& target)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, fileName.c_str(), -1, DATABASE_FILE_NAME, -1) ==
               CSTR_EQUAL ||
           SameFile(source, target);
}

}  // namespace

std::wstring BackupFileName(const std::string& backupName)
{
    std::wstring name = AnsiToWide(backupName);
    for (wchar_t& c : name)
        if (c < 32 || std::wcschr(L"\\/:*?\"<>|", c)) c = L'-';
    const size_t stemEnd = std::min(name.find(L'.'), name.size());
    if (IsReservedDeviceName(name.substr(0, stemEnd))) name.insert(stemEnd, L"-");
    return name + BACKUP_EXTENSION;
}

bool BackupDatabase(const std::string& backupName, bool* earlierKept)
{
    if (earlierKept) *earlierKept = false;
    if (Trim(backupName).empty()) return false;
    const std::wstring fileName = BackupFileName(backupName);
    const std::wstring source = ProgramFilePath(DATABASE_FILE_NAME);
    const std::wstring target = ProgramFilePath(fileName);
    if (IsLedgerItself(fileName, source, target)) return false;

    const DWORD earlier = GetFileAttributesW(target.c_str());
    if (earlierKept) *earlierKept = earlier != INVALID_FILE_ATTRIBUTES;
    // A read-only earlier backup is not to be replaced (renaming over it would
    // succeed on some file systems).
    if (earlier != INVALID_FILE_ATTRIBUTES && (earlier & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;

    // The copy is made under a temporary name, checked, and only then given
    // its own: the earlier backup goes only when a sound new one takes its
    // place, and no half-written backup ever carries the backup's name.
    wchar_t temporary[MAX_PATH + 1];
    if (!GetTempFileNameW(ProgramFolderW().c_str(), L"bak", 0, temporary)) return false;
    const bool made = CopyLedgerDatabase(source, temporary) && IsSoundLedger(temporary) &&
                      MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!made) DeleteFileW(temporary);
    if (made && earlierKept) *earlierKept = false;
    return made;
}

}  // namespace ledger
