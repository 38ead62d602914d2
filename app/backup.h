// The backup copy of the ledger: one copy of data.mdb per backup name in the
// program folder, "<name>.mdb", where the name is the text of the main
// window's backup name box (today's date and "_BAK_").
//
// The copy is made through the database engine's online backup, which reads
// the ledger inside one read transaction: it holds every committed entry and
// nothing of a write in progress, so it always opens as a database, even
// though the program keeps its own connection open meanwhile.
#pragma once

#include <string>

namespace ledger {

// The file name a backup name gives: every character a file name cannot hold
// (\ / : * ? " < > | and control characters) becomes "-", and ".mdb" is
// appended ("2026/12/8_BAK_" gives "2026-12-8_BAK_.mdb"). The result names a
// file directly in the program folder, whatever was typed; a name the system
// keeps for a device ("CON", "nul", "LPT1", ...) gets a "-" after it.
std::wstring BackupFileName(const std::string& backupName);

// Makes the backup for `backupName`: copies data.mdb under a temporary name
// in the program folder, checks that the copy opens as a ledger, and only
// then puts it in place of an earlier backup of that name. Returns true only
// when this call made the new copy. On any failure (data.mdb missing, locked
// by another program or no database; the copy not written or not sound; the
// earlier file read-only or held open) the earlier backup is left exactly as
// it was and no temporary file stays; `earlierKept`, when given, tells
// whether there is such an earlier backup. An empty name, or one that would
// give data.mdb itself, makes no copy and touches nothing.
// `reason`, when given, says why a backup was not made.
bool BackupDatabase(const std::string& backupName, bool* earlierKept = nullptr, std::string* reason = nullptr);

// The name under which the file system keeps the file at `path` ("" when
// there is none): it may have shortened or changed the name it was given.
std::wstring StoredFileName(const std::wstring& path);

// Copies the database at `source` into the existing, empty file `target`
// with the engine's online backup, in one read transaction of the source.
// False when the source is missing or no database, stays locked by a
// writer, or the target cannot be written.
bool CopyLedgerDatabase(const std::wstring& source, const std::wstring& target);

// What "备份" shows for a backup's outcome.
extern const char* const BACKUP_MADE;          // "备份数据库,成功!"
extern const char* const BACKUP_FAILED;        // "备份数据库,失败!"
extern const char* const BACKUP_FAILED_KEPT;   // the failure, and that the earlier copy is kept
extern const char* const BACKUP_NAME_MISSING;  // the name box is empty

}  // namespace ledger
