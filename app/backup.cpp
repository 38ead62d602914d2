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

namespace {

std::string SystemReason(DWORD code)
{
    char* buffer = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? Trim(std::string(buffer, n)) : "系统错误 " + IntToStr(static_cast<int>(code));
    LocalFree(buffer);
    return text;
}

// The longest file name a folder entry takes.
constexpr size_t LONGEST_FILE_NAME = 255;

void Say(std::string* reason, const std::string& text)
{
    if (reason) *reason = text;
}

}  // namespace

bool BackupDatabase(const std::string& backupName, bool* earlierKept, std::string* reason)
{
    if (earlierKept) *earlierKept = false;
    Say(reason, "");
    if (Trim(backupName).empty()) {
        Say(reason, "备份名称是空的。");
        return false;
    }
    const std::wstring fileName = BackupFileName(backupName);
    const std::wstring source = ProgramFilePath(DATABASE_FILE_NAME);
    const std::wstring target = ProgramFilePath(fileName);
    if (IsLedgerItself(fileName, source, target)) {
        Say(reason, "备份名称不能用 \"data\":备份不能代替账本文件 data.mdb 本身。");
        return false;
    }
    if (fileName.size() > LONGEST_FILE_NAME || target.size() >= MAX_PATH) {
        Say(reason, "备份名称太长(文件名最多 " + IntToStr(static_cast<int>(LONGEST_FILE_NAME)) +
                        " 个字符,连同文件夹路径最多 " + IntToStr(MAX_PATH - 1) + " 个字符),请改短一些。");
        return false;
    }
    const DWORD ledger = GetFileAttributesW(source.c_str());
    if (ledger == INVALID_FILE_ATTRIBUTES || (ledger & FILE_ATTRIBUTE_DIRECTORY)) {
        Say(reason, "找不到账本文件 data.mdb。");
        return false;
    }

    const DWORD earlier = GetFileAttributesW(target.c_str());
    if (earlierKept) *earlierKept = earlier != INVALID_FILE_ATTRIBUTES;
    // A read-only earlier backup is not to be replaced (renaming over it would
    // succeed on some file systems).
    if (earlier != INVALID_FILE_ATTRIBUTES && (earlier & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        Say(reason, (earlier & FILE_ATTRIBUTE_DIRECTORY)
                        ? "已有一个同名的文件夹 \"" + WideToAnsi(fileName) + "\"。"
                        : "同名的旧备份 \"" + WideToAnsi(fileName) + "\" 是只读文件,不能替换。");
        return false;
    }

    // The copy is made under a temporary name, checked, and only then given
    // its own: the earlier backup goes only when a sound new one takes its
    // place, and no half-written backup ever carries the backup's name.
    wchar_t temporary[MAX_PATH + 1];
    if (!GetTempFileNameW(ProgramFolderW().c_str(), L"bak", 0, temporary)) {
        const DWORD code = GetLastError();
        Say(reason, "程序所在的文件夹不能写入(只读、没有权限或磁盘已满):" + SystemReason(code));
        return false;
    }
    bool made = false;
    if (!CopyLedgerDatabase(source, temporary)) {
        Say(reason, "无法读出 data.mdb:它可能正被其他程序锁定或占用,或者已经损坏;请稍后再试。");
    } else if (!IsSoundLedger(temporary)) {
        Say(reason, "复制出的备份无法通过检查(磁盘可能已满),没有保留。");
    } else if (!MoveFileExW(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        Say(reason, code == ERROR_INVALID_NAME || code == ERROR_FILENAME_EXCED_RANGE || code == ERROR_BAD_PATHNAME
                        ? "备份名称 \"" + WideToAnsi(fileName) + "\" 不能用作文件名:" + SystemReason(code)
                        : "无法建立备份文件 \"" + WideToAnsi(fileName) + "\"(同名的旧备份可能正被其他程序占用):" +
                              SystemReason(code));
    } else {
        made = true;
    }
    if (!made) DeleteFileW(temporary);
    if (made && earlierKept) *earlierKept = false;
    return made;
}

std::wstring StoredFileName(const std::wstring& path)
{
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::wstring();
    FindClose(search);
    return found.cFileName;
}

}  // namespace ledger
