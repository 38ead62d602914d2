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

// Makes the backup for `backupName`: deletes an earlier backup of that name
// (a file that cannot be deleted stays), then copies data.mdb to it without
// ever overwriting a file. Returns true only when this call made the new
// copy; false when data.mdb is missing or no database, when the earlier file
// could not be replaced, or when the copy could not be written (nothing is
// left behind then). A name that would give data.mdb itself makes no copy
// and deletes nothing.
bool BackupDatabase(const std::string& backupName);

}  // namespace ledger
