// Bringing a backup back: the backups beside the program with what they
// hold, and the restore that puts one in place of data.mdb.
//
// A restore never loses a ledger. It checks the chosen backup and copies it
// under a temporary name beside data.mdb; it closes the program's connection,
// keeps the current data.mdb under a dated name that no file has (an earlier
// file is never overwritten), and then renames the checked copy over
// data.mdb, which the file system does in one step. A process killed at any
// moment thus leaves data.mdb either the old ledger or the restored one,
// whole; at most a temporary file is left beside it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/sysutils.h"

class TADOConnection;

namespace ledger {

// What a backup file holds.
struct TBackupInfo {
    std::wstring FileName;         // the bare name in the program folder
    FILETIME Modified{};           // last written (UTC)
    unsigned long long Size = 0;   // bytes
    int Entries = -1;              // entries in table data; -1 when unreadable
    bool Sound = false;            // passes the integrity check and is a ledger
    std::string Problem;           // why it is not sound, in the program's text
    std::string Status;            // in a word: "正常", "已损坏", "非账本", "旧格式", "无法打开"
};

// Opens the file read-only and checks it: the engine's integrity check, and
// table data with the ledger's seven columns in their order. Never changes
// the file.
TBackupInfo InspectBackup(const std::wstring& path);

// Every "*.mdb" file in the program folder but data.mdb, newest first.
std::vector<TBackupInfo> ListBackups();

// "2026-12-08 14:05", in local time.
std::string BackupTimeText(const FILETIME& modified);
// "24 KB", "1.5 MB".
std::string BackupSizeText(unsigned long long bytes);

// The name the current ledger is kept under before a restore, for a restore
// at `now`: "恢复前_2026-12-08_140512.mdb".
std::wstring KeptLedgerName(const SYSTEMTIME& now);

// A backup that must not be restored (damaged, foreign, the ledger itself,
// the ledger in use elsewhere): nothing was changed.
class ERestoreRefused : public Exception {
public:
    using Exception::Exception;
};

// The moments between a restore's steps, for tests: the hook runs at each
// one (a hook that throws ends the restore there, as a killed process would
// stop it).
enum class TRestoreStep { BackupChecked, CopyMade, LedgerClosed, CurrentKept, Replaced };
using TRestoreHook = std::function<void(TRestoreStep)>;
void SetRestoreHook(TRestoreHook hook);

// Puts the backup `backupFileName` (a bare name in the program folder) in
// place of data.mdb, as the top of this file says, closing `connection`
// first (the caller opens it again with a full refresh). Returns the bare
// name the old ledger is kept under ("" when there was no data.mdb).
// Throws ERestoreRefused when the backup is not sound, and Exception when a
// file cannot be written; data.mdb is then as it was.
std::wstring RestoreBackup(const std::wstring& backupFileName, TADOConnection& connection);

// What the tools tab says about restoring.
extern const char* const RESTORE_NONE_CHOSEN;  // no backup chosen in the list
extern const char* const RESTORE_DONE;         // "恢复数据库,成功!"

}  // namespace ledger
