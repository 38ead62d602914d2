// Bringing a backup back (see restore.h).
#include "app/restore.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "app/backup.h"
#include "app/ledger_files.h"
#include "framework/data/ado_connection.h"
#include "framework/data/ledger_schema.h"
#include "sqlite3.h"

namespace ledger {

const char* const RESTORE_NONE_CHOSEN = "请先在列表中选择要恢复的备份!";
const char* const RESTORE_DONE = "恢复数据库,成功!";

namespace {

TRestoreHook RestoreHook;

void Reached(TRestoreStep step)
{
    if (RestoreHook) RestoreHook(step);
}

// Closes an engine connection when it goes.
struct TReadOnlyDatabase {
    sqlite3* Handle = nullptr;
    ~TReadOnlyDatabase() { sqlite3_close(Handle); }
};

// The first column of the first row of `sql`, or false when the statement
// fails (a damaged or foreign file).
bool FirstText(sqlite3* db, const char* sql, std::string& text)
{
    sqlite3_stmt* stmt = nullptr;
    bool ok = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW;
    if (ok) {
        const unsigned char* value = sqlite3_column_text(stmt, 0);
        text = value ? reinterpret_cast<const char*>(value) : "";
    }
    sqlite3_finalize(stmt);
    return ok;
}

// Table data has the ledger's seven columns, in their order.
bool HasLedgerTable(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA table_info(data)", -1, &stmt, nullptr) != SQLITE_OK) return false;
    int column = 0;
    bool ok = true;
    while (ok && sqlite3_step(stmt) == SQLITE_ROW) {
        const unsigned char* name = sqlite3_column_text(stmt, 1);
        ok = column < LEDGER_COLUMN_COUNT && name &&
             std::strcmp(reinterpret_cast<const char*>(name), LEDGER_COLUMNS_UTF8[column]) == 0;
        ++column;
    }
    sqlite3_finalize(stmt);
    return ok && column == LEDGER_COLUMN_COUNT;
}

// The first bytes of a file ("" when it cannot be read).
std::string FileHead(const std::wstring& path, DWORD size)
{
    std::string head(size, '\0');
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    DWORD read = 0;
    if (!ReadFile(file, head.data(), size, &read, nullptr)) read = 0;
    CloseHandle(file);
    head.resize(read);
    return head;
}

std::wstring BareName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

// A temporary file in the program folder (same volume as data.mdb, so the
// final rename is one step); "" when none can be made.
std::wstring TemporaryFile(const wchar_t* prefix)
{
    wchar_t temporary[MAX_PATH + 1];
    if (!GetTempFileNameW(ProgramFolderW().c_str(), prefix, 0, temporary)) return std::wstring();
    return temporary;
}

[[noreturn]] void RaiseFileError(const char* what, const std::wstring& name, DWORD code)
{
    throw Exception(std::string(what) + " \"" + WideToAnsi(name) + "\"(错误代码 " + IntToStr(code) +
                    ")。当前数据库没有改变。");
}

// Copies data.mdb byte for byte under `KeptLedgerName(now)`, or that name
// with "_2", "_3", ... when a file has it: a file is never overwritten (the
// rename without replacing is refused when the name is taken). The copy is
// whole before it gets its name. Returns the bare name.
std::wstring KeepCurrentLedger(const std::wstring& ledgerPath)
{
    const std::wstring temporary = TemporaryFile(L"kep");
    if (temporary.empty()) RaiseFileError("无法在程序文件夹中建立文件", ProgramFolderW(), GetLastError());
    if (!CopyFileW(ledgerPath.c_str(), temporary.c_str(), FALSE)) {
        const DWORD code = GetLastError();
        DeleteFileW(temporary.c_str());
        RaiseFileError("无法保留当前数据库", DATABASE_FILE_NAME, code);
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::wstring base = KeptLedgerName(now);
    const std::wstring stem = base.substr(0, base.size() - 4);
    for (int n = 1; n < 1000; ++n) {
        const std::wstring name = n == 1 ? base : stem + L"_" + std::to_wstring(n) + L".mdb";
        if (MoveFileExW(temporary.c_str(), ProgramFilePath(name).c_str(), MOVEFILE_WRITE_THROUGH)) return name;
        const DWORD code = GetLastError();
        if (code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS) {
            DeleteFileW(temporary.c_str());
            RaiseFileError("无法保留当前数据库", name, code);
        }
    }
    DeleteFileW(temporary.c_str());
    RaiseFileError("无法保留当前数据库", base, ERROR_FILE_EXISTS);
}

}  // namespace

void SetRestoreHook(TRestoreHook hook) { RestoreHook = std::move(hook); }

TBackupInfo InspectBackup(const std::wstring& path)
{
    TBackupInfo info;
    info.FileName = BareName(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        info.Problem = "找不到这个文件";
        info.Status = "无法打开";
        return info;
    }
    info.Modified = data.ftLastWriteTime;
    info.Size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;

    const std::string head = FileHead(path, 32);
    if (head.compare(4, 15, "Standard Jet DB") == 0 || head.compare(4, 15, "Standard ACE DB") == 0) {
        info.Problem = "这是旧版的 Access 格式数据库,不能直接恢复";
        info.Status = "旧格式";
        return info;
    }
    if (head.compare(0, 16, std::string("SQLite format 3\0", 16)) != 0) {
        info.Problem = "这不是本程序的数据库文件";
        info.Status = "非账本";
        return info;
    }
    TReadOnlyDatabase db;
    if (sqlite3_open_v2(WideToUtf8(path).c_str(), &db.Handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        info.Problem = "无法打开这个数据库文件";
        info.Status = "无法打开";
        return info;
    }
    std::string result;
    if (!FirstText(db.Handle, "PRAGMA integrity_check", result) || result != "ok") {
        info.Problem = "数据库文件已损坏,没有通过完整性检查";
        info.Status = "已损坏";
        return info;
    }
    if (!HasLedgerTable(db.Handle)) {
        info.Problem = "这不是本程序的账本(没有七列的 data 表)";
        info.Status = "非账本";
        return info;
    }
    std::string count;
    if (!FirstText(db.Handle, "SELECT count(*) FROM data", count)) {
        info.Problem = "无法读取账本中的记录";
        info.Status = "已损坏";
        return info;
    }
    info.Entries = StrToInt(count);
    info.Sound = true;
    info.Status = "正常";
    return info;
}

std::vector<TBackupInfo> ListBackups()
{
    std::vector<TBackupInfo> backups;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ProgramFilePath(L"*.mdb").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return backups;
    do {
        const std::wstring name = found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // "*.mdb" also finds names whose short form ends so ("x.mdbx").
        if (name.size() < 4 || !SameName(name.substr(name.size() - 4), L".mdb")) continue;
        if (SameName(name, DATABASE_FILE_NAME)) continue;
        backups.push_back(InspectBackup(ProgramFilePath(name)));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(backups.begin(), backups.end(), [](const TBackupInfo& a, const TBackupInfo& b) {
        const LONG order = CompareFileTime(&a.Modified, &b.Modified);
        return order != 0 ? order > 0 : a.FileName < b.FileName;
    });
    return backups;
}

std::string BackupTimeText(const FILETIME& modified)
{
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&modified, &local) || !FileTimeToSystemTime(&local, &t)) return std::string();
    return Format("%04u-%02u-%02u %02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
}

std::string BackupSizeText(unsigned long long bytes)
{
    if (bytes < 1024 * 1024) return IntToStr(static_cast<long long>((bytes + 1023) / 1024)) + " KB";
    return Format("%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
}

std::wstring KeptLedgerName(const SYSTEMTIME& now)
{
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"%04u-%02u-%02u_%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
                  now.wSecond);
    return std::wstring(L"恢复前_") + stamp + L".mdb";
}

std::wstring RestoreBackup(const std::wstring& backupFileName, TADOConnection& connection)
{
    const std::wstring ledgerPath = ProgramFilePath(DATABASE_FILE_NAME);
    if (SameName(backupFileName, DATABASE_FILE_NAME)) throw ERestoreRefused("不能用当前数据库本身来恢复。");
    const TBackupInfo backup = InspectBackup(ProgramFilePath(backupFileName));
    if (!backup.Sound)
        throw ERestoreRefused("备份 \"" + WideToAnsi(backupFileName) + "\" 不能用来恢复:" + backup.Problem +
                              "。当前数据库没有改变。");
    Reached(TRestoreStep::BackupChecked);

    // The copy that will become data.mdb, checked again where it lies.
    std::wstring copy = TemporaryFile(L"rst");
    if (copy.empty()) RaiseFileError("无法在程序文件夹中建立文件", ProgramFolderW(), GetLastError());
    struct TCopyOwner {
        std::wstring& Path;
        ~TCopyOwner()
        {
            if (!Path.empty()) DeleteFileW(Path.c_str());
        }
    } copyOwner{copy};
    if (!CopyLedgerDatabase(ProgramFilePath(backupFileName), copy) || !InspectBackup(copy).Sound)
        RaiseFileError("无法复制备份", backupFileName, ERROR_WRITE_FAULT);
    Reached(TRestoreStep::CopyMade);

    connection.Close();
    Reached(TRestoreStep::LedgerClosed);
    // A journal beside data.mdb belongs to a write that did not finish (or
    // to another program writing now); the engine would play it back into
    // whatever file has the name.
    for (const wchar_t* side : {L"-journal", L"-wal"})
        if (FileExistsW(ledgerPath + side))
            throw ERestoreRefused("数据库正被其他程序使用,或上次没有正常关闭(有 \"data.mdb" + WideToAnsi(side) +
                                  "\" 文件),现在不能恢复。当前数据库没有改变。");

    std::wstring kept;
    if (FileExistsW(ledgerPath)) kept = KeepCurrentLedger(ledgerPath);
    Reached(TRestoreStep::CurrentKept);

    if (!MoveFileExW(copy.c_str(), ledgerPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        RaiseFileError("无法替换数据库", DATABASE_FILE_NAME, GetLastError());
    copy.clear();
    Reached(TRestoreStep::Replaced);
    return kept;
}

}  // namespace ledger
