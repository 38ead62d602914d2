// A query's result kept as keys, with a window of whole rows fetched by key
// (see keyed_rows.h).
#include "framework/data/keyed_rows.h"

#include <algorithm>
#include <utility>

namespace {

// "SELECT <columns> FROM <table> WHERE <key> IN (?, ... `keys` times)".
std::string FetchSql(const std::string& tableUtf8, const std::vector<std::string>& columnsUtf8, int keyColumn,
                     int keys)
{
    std::string sql = "SELECT ";
    for (size_t i = 0; i < columnsUtf8.size(); ++i) sql += (i ? ", " : "") + db::QuoteIdentifier(columnsUtf8[i]);
    sql += " FROM " + db::QuoteIdentifier(tableUtf8) + " WHERE " + db::QuoteIdentifier(columnsUtf8.at(keyColumn)) +
           " IN (";
    for (int i = 0; i < keys; ++i) sql += i ? ",?" : "?";
    return sql + ")";
}

}  // namespace

void TKeyedRows::Start(sqlite3* db, const std::string& tableUtf8, const std::vector<std::string>& columnsUtf8,
                       int keyColumn)
{
    Clear();
    FFetch.Prepare(db, FetchSql(tableUtf8, columnsUtf8, keyColumn, PAGE_ROWS));
    FFetchRun.Prepare(db, FetchSql(tableUtf8, columnsUtf8, keyColumn, RUN_PAGE_ROWS));
    FColumnCount = static_cast<int>(columnsUtf8.size());
    FKeyColumn = keyColumn;
}

void TKeyedRows::Clear()
{
    FKeys.clear();
    FKeys.shrink_to_fit();
    FHeld.clear();
    FFetch = db::TStatement();
    FFetchRun = db::TStatement();
    FLastFirst = FLastEnd = -1;
    FRunRows = PAGE_ROWS;
    FColumnCount = 0;
    FKeyColumn = -1;
}

void TKeyedRows::Append(sqlite3_int64 key)
{
    FKeys.push_back(key);
}

void TKeyedRows::Append(sqlite3_int64 key, TRow row)
{
    FKeys.push_back(key);
    if (static_cast<int>(FHeld.size()) < WINDOW_ROWS) FHeld.insert_or_assign(key, THeld{std::move(row), ++FUse});
}

void TKeyedRows::Compact()
{
    FKeys.shrink_to_fit();
}

int TKeyedRows::IndexOf(sqlite3_int64 key) const
{
    const auto found = std::find(FKeys.begin(), FKeys.end(), key);
    return found == FKeys.end() ? -1 : static_cast<int>(found - FKeys.begin());
}

const TKeyedRows::TRow& TKeyedRows::Row(int index) const
{
    const sqlite3_int64 key = FKeys.at(index);
    auto found = FHeld.find(key);
    if (found == FHeld.end()) {
        FetchPage(index);
        found = FHeld.find(key);
    }
    found->second.LastUse = ++FUse;
    return found->second.Row;
}

void TKeyedRows::Store(int index, TRow row)
{
    FHeld.insert_or_assign(FKeys.at(index), THeld{std::move(row), ++FUse});
    TrimWindow();
}

void TKeyedRows::Erase(int index)
{
    const sqlite3_int64 key = FKeys.at(index);
    FKeys.erase(FKeys.begin() + index);
    if (IndexOf(key) < 0) FHeld.erase(key);
}

// Fetches the rows around row `index` that are not held, the row itself
// among them; they become the ones last used. A row read out of turn brings
// its page of PAGE_ROWS; the row next to those fetched last (a walk going on,
// either way) brings twice as many as that fetch could, up to RUN_PAGE_ROWS.
void TKeyedRows::FetchPage(int index) const
{
    const bool forward = index == FLastEnd;
    const bool backward = index + 1 == FLastFirst;
    FRunRows = forward || backward ? std::min(FRunRows * 2, static_cast<int>(RUN_PAGE_ROWS)) : PAGE_ROWS;
    int first = index / PAGE_ROWS * PAGE_ROWS;
    if (forward) first = index;
    if (backward) first = std::max(0, index + 1 - FRunRows);
    const int end = std::min(first + FRunRows, Count());
    FLastFirst = first;
    FLastEnd = end;

    std::vector<sqlite3_int64> wanted;
    wanted.reserve(static_cast<size_t>(end - first));
    for (int i = first; i < end; ++i)
        if (FHeld.find(FKeys[i]) == FHeld.end()) wanted.push_back(FKeys[i]);

    const bool run = static_cast<int>(wanted.size()) > PAGE_ROWS;
    db::TStatement& fetch = run ? FFetchRun : FFetch;
    const int slots = run ? RUN_PAGE_ROWS : PAGE_ROWS;
    sqlite3_stmt* stmt = fetch.Handle();
    // The statement gives up its hold on the file however the fetch ends.
    struct TResetGuard {
        sqlite3_stmt* Stmt;
        ~TResetGuard() { sqlite3_reset(Stmt); }
    } reset{stmt};
    for (int i = 0; i < slots; ++i) {
        if (i < static_cast<int>(wanted.size()))
            fetch.BindInt64(i + 1, wanted[i]);
        else
            fetch.BindText(i + 1, nullptr);  // matches no row
    }
    ++FFetches;
    while (fetch.Step()) {
        TRow row(FColumnCount);
        for (int c = 0; c < FColumnCount; ++c) {
            if (sqlite3_column_type(stmt, c) == SQLITE_NULL) continue;
            const unsigned char* text = sqlite3_column_text(stmt, c);
            row[c] = std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt, c));
        }
        FHeld.insert_or_assign(sqlite3_column_int64(stmt, FKeyColumn), THeld{std::move(row), ++FUse});
    }
    // Rows that have left the table keep their key and nothing else.
    for (sqlite3_int64 key : wanted) {
        if (FHeld.find(key) != FHeld.end()) continue;
        TRow gone(FColumnCount);
        gone[FKeyColumn] = std::to_string(key);
        FHeld.emplace(key, THeld{std::move(gone), ++FUse});
    }
    TrimWindow();
}

// Drops the rows used longest ago until WINDOW_ROWS are left.
void TKeyedRows::TrimWindow() const
{
    const size_t excess = FHeld.size() > WINDOW_ROWS ? FHeld.size() - WINDOW_ROWS : 0;
    if (excess == 0) return;
    std::vector<std::pair<unsigned long long, sqlite3_int64>> uses;
    uses.reserve(FHeld.size());
    for (const auto& [key, held] : FHeld) uses.emplace_back(held.LastUse, key);
    std::nth_element(uses.begin(), uses.begin() + static_cast<std::ptrdiff_t>(excess - 1), uses.end());
    for (size_t i = 0; i < excess; ++i) FHeld.erase(uses[i].second);
}
