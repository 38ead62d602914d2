// Small helpers between the store's classes and the SQLite engine: an owner
// for prepared statements, the store's error from an engine result code, and
// the few pieces of SQL text handling that the store does itself (quoting an
// identifier, finding the one table a select reads from).
//
// All SQL text here is UTF-8; the conversion from the program's 8-bit text
// happens in the callers, at the store's boundary.
#pragma once

#include <string>

#include "framework/data/db_error.h"
#include "sqlite3.h"

namespace db {

// The engine's message for `rc` on `db` (the connection's last error when it
// matches, the generic text of the code otherwise), in the ANSI code page.
// For the common failures (locked, read-only, not a database or damaged, disk
// full or failing, cannot open, a missing table or column) it comes after a
// message in the program's language that says what happened and what to do,
// joined by ENGINE_TEXT_LEAD.
std::string EngineErrorText(sqlite3* db, int rc);
extern const char* const ENGINE_TEXT_LEAD;  // "\n数据库引擎信息: "

// Throws EDatabaseError with the engine's text.
[[noreturn]] void RaiseEngineError(sqlite3* db, int rc);

// Owns one prepared statement; finalizes it when it goes. Move-only.
class TStatement {
public:
    TStatement() = default;
    ~TStatement() { sqlite3_finalize(FStmt); }
    TStatement(TStatement&& other) noexcept : FDb(other.FDb), FStmt(other.FStmt) { other.FStmt = nullptr; }
    TStatement& operator=(TStatement&& other) noexcept;
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // Prepares exactly one statement. Text after it other than blanks,
    // semicolons and comments is refused, so one SQL text can never run a
    // second statement. Empty text is refused too. Throws EDatabaseError.
    void Prepare(sqlite3* db, const std::string& sqlUtf8);

    // Binds a UTF-8 text (or NULL) to the 1-based parameter `index`.
    void BindText(int index, const std::string* valueUtf8);
    void BindInt64(int index, sqlite3_int64 value);

    // Steps once; true when a row is there, false when done. Throws
    // EDatabaseError on any other outcome.
    bool Step();

    sqlite3_stmt* Handle() const { return FStmt; }

private:
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FStmt = nullptr;
};

// "name" with every double quote doubled: an identifier SQLite takes as it is.
std::string QuoteIdentifier(const std::string& nameUtf8);

// The single table a select statement reads from, or "" when the statement
// reads from several tables, from a sub-query or from none. Used to know
// where the rows of a result can be changed.
std::string SingleSourceTable(const std::string& selectUtf8);

}  // namespace db
