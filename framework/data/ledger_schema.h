// The layout of the ledger's database file and the one routine that makes an
// empty one. Only the build tool and the tests create databases: the program
// itself always expects data.mdb to exist.
//
// This file depends on sqlite3.h alone (no Win32, no framework), so the
// native build tool and the cross-built tests share it. All texts here are
// UTF-8, the database's own encoding.
#pragma once

#include <string>

namespace ledger {

// Table `data`, one row per ledger entry, seven columns in this order:
// 编号 (key assigned on insert, increasing), 项目名称, 项目类别, 编辑时间,
// 支出或收入, 金额, 项目备注. Every column but the key holds text exactly as
// written: 金额 keeps the typed text ("0100" stays "0100"). Text compares
// case-insensitively for ASCII letters, so the name lookup finds "ABC" for
// "abc"; `like` takes "%" and "_".
constexpr int LEDGER_COLUMN_COUNT = 7;
extern const char* const LEDGER_TABLE_UTF8;                         // "data"
extern const char* const LEDGER_COLUMNS_UTF8[LEDGER_COLUMN_COUNT];  // in order
extern const char* const LEDGER_CREATE_TABLE_SQL_UTF8;

enum class TCreateLedgerResult { Created, AlreadyExists, Failed };

// Creates an empty ledger database at `utf8Path` (UTF-8 on every platform;
// on Windows SQLite converts it to UTF-16 itself). An existing file of any
// kind is never opened for writing, changed or replaced: the result is then
// AlreadyExists. On Failed, `errorUtf8` holds the engine's text and no
// half-made file is left behind.
TCreateLedgerResult CreateLedgerDatabase(const char* utf8Path, std::string& errorUtf8);

}  // namespace ledger
