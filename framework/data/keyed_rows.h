// The rows of a query's result, kept by key.
//
// A result whose rows are whole rows of one table with an integer key is kept
// as the key of every row, in result order, and the values of a small window
// of rows: those read last, fetched again from the table by key a page at a
// time when a row outside the window is read. A result of any length thus
// costs eight bytes a row and the values of a thousand rows at most. Reading
// rows out of turn (the rows on screen after a jump) fetches the page of
// PAGE_ROWS around them; walking on from the rows fetched last, forwards or
// backwards, fetches ever longer runs, up to RUN_PAGE_ROWS, since every fetch
// is a statement of its own and costs a read lock on the file.
//
// A row is read again with "SELECT <columns> FROM <table> WHERE <key> IN
// (...)", so it shows what the table holds when it is fetched; the rows of the
// window are those the result was read with or that were last fetched. A row
// that has left the table since comes back with its key alone and NULL in
// every other column (changing or deleting it then fails as for any row that
// is gone).
//
// Invariants: every held row has the key of a row of the result and as many
// values as the result has columns; at most WINDOW_ROWS rows are held after a
// fetch, the ones last used among them; a fetch brings at most RUN_PAGE_ROWS
// rows, so a row just fetched is always still held.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/data/sqlite_statement.h"

class TKeyedRows {
public:
    using TValue = std::optional<std::string>;  // NULL or text, UTF-8 as stored
    using TRow = std::vector<TValue>;

    static constexpr int PAGE_ROWS = 64;       // rows fetched around a row read out of turn
    static constexpr int RUN_PAGE_ROWS = 512;  // rows fetched at most, by a walk
    static constexpr int WINDOW_ROWS = 1024;   // whole rows held at most

    TKeyedRows() = default;
    TKeyedRows(TKeyedRows&&) = default;
    TKeyedRows& operator=(TKeyedRows&&) = default;

    // Makes it ready to fetch rows of `tableUtf8` on `db`: the result's
    // columns are `columnsUtf8` of that table, in result order, and column
    // `keyColumn` holds the integer key. Forgets every row. Throws
    // EDatabaseError when the fetch cannot be prepared.
    void Start(sqlite3* db, const std::string& tableUtf8, const std::vector<std::string>& columnsUtf8, int keyColumn);
    // No rows, nothing to fetch with.
    void Clear();

    // Adds a row at the end of the result, by its key alone, or with the
    // values it was read with (held while the window has room).
    void Append(sqlite3_int64 key);
    void Append(sqlite3_int64 key, TRow row);
    // Gives back what the key list reserved beyond its rows.
    void Compact();

    int Count() const { return static_cast<int>(FKeys.size()); }
    // Throws std::out_of_range for a row that is not there.
    sqlite3_int64 Key(int index) const { return FKeys.at(index); }
    // The first row with `key`, or -1.
    int IndexOf(sqlite3_int64 key) const;

    // The values of row `index` (0-based), fetched with the rows around it
    // when they are not held. The reference holds until the next call that fetches.
    // Throws std::out_of_range for a row that is not there and
    // EDatabaseError when the fetch fails.
    const TRow& Row(int index) const;
    // Row `index` now holds `row` (after it was written to the table).
    void Store(int index, TRow row);
    // Takes row `index` out of the result.
    void Erase(int index);

    // How many rows' values are held now, and how many fetches ran.
    int HeldCount() const { return static_cast<int>(FHeld.size()); }
    int FetchCount() const { return FFetches; }

private:
    struct THeld {
        TRow Row;
        unsigned long long LastUse;
    };

    void FetchPage(int index) const;
    void TrimWindow() const;

    static_assert(PAGE_ROWS <= RUN_PAGE_ROWS && RUN_PAGE_ROWS <= WINDOW_ROWS);

    std::vector<sqlite3_int64> FKeys;
    mutable std::unordered_map<sqlite3_int64, THeld> FHeld;
    mutable unsigned long long FUse = 0;
    mutable int FFetches = 0;
    mutable db::TStatement FFetch;     // PAGE_ROWS keys
    mutable db::TStatement FFetchRun;  // RUN_PAGE_ROWS keys
    mutable int FLastFirst = -1;       // the rows the last fetch covered
    mutable int FLastEnd = -1;
    mutable int FRunRows = PAGE_ROWS;  // how many the last fetch brought at most
    int FColumnCount = 0;
    int FKeyColumn = -1;
};
