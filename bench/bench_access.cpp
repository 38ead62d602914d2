// Converting an Access-format ledger: 10,000 entries, made by repeating the
// rows of a real Jet 4 file's table, turned into ledger entries and written
// as a new ledger database by the conversion's own code, against the plain
// SQLite insert of the same seven values per row in one transaction. Both
// are measured in one run and printed as a ratio; target <= 3.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "framework/data/access_ledger.h"
#include "sqlite3.h"

using bench::Best;

namespace {

constexpr int ROWS = 10000;

// The plain insert: the same rows, one prepared statement, one transaction.
bool PlainInsert(const std::wstring& path, const std::vector<ledger::TLedgerRow>& rows)
{
    std::string error;
    if (ledger::CreateLedgerDatabase(WideToUtf8(path).c_str(), error) != ledger::TCreateLedgerResult::Created)
        return false;
    sqlite3* db = nullptr;
    sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO data VALUES (?,?,?,?,?,?,?)", -1, &stmt, nullptr);
    bool ok = stmt != nullptr;
    for (const ledger::TLedgerRow& row : rows) {
        sqlite3_bind_int64(stmt, 1, _atoi64(row[0].c_str()));
        for (int c = 1; c < 7; ++c) sqlite3_bind_text(stmt, c + 1, row[c].data(), int(row[c].size()), SQLITE_TRANSIENT);
        ok = ok && sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

}  // namespace

int main()
{
    const std::wstring source = Utf8ToWide(RAVELBOOK_SOURCE_DIR "/tests/data/access/testUnicodeCompV2003.mdb");
    jet::TTable real;
    ledger::TAccessLedgerSource from;
    try {
        real = jet::ReadTable(source, "Table");
        from.TableUtf8 = "Table";
        // The table's own columns stand in for the ledger's: its autonumber
        // for 编号, its texts for the six texts.
        const std::string id = real.Columns[0].NameUtf8, text = real.Columns.back().NameUtf8;
        from.ColumnsUtf8 = {id, text, text, text, text, text, text};
    } catch (const Exception& error) {
        std::fprintf(stderr, "cannot read %s: %s\n", WideToUtf8(source).c_str(), error.Message().c_str());
        return 1;
    }
    // 10,000 rows: the real rows over and over, each with a number of its own.
    jet::TTable big;
    big.Columns = real.Columns;
    for (int i = 0; i < ROWS; ++i) {
        std::vector<std::string> row = real.Rows[i % real.Rows.size()];
        row[0] = std::to_string(i + 1);
        big.Rows.push_back(row);
    }
    const std::vector<ledger::TLedgerRow> rows = ledger::LedgerRows(big, from);

    bench::TBenchLedger folder(L"bench_access");
    const std::wstring converted = folder.Folder() + L"converted.mdb", plain = folder.Folder() + L"plain.mdb";
    bool ok = true;
    const double conversion = Best([&] { DeleteFileW(converted.c_str()); },
                                   [&] {
                                       try {
                                           ledger::WriteNewLedger(converted, ledger::LedgerRows(big, from));
                                       } catch (const Exception&) {
                                           ok = false;
                                       }
                                   });
    const double insert = Best([&] { DeleteFileW(plain.c_str()); }, [&] { ok = PlainInsert(plain, rows) && ok; });
    DeleteFileW(converted.c_str());
    DeleteFileW(plain.c_str());
    if (!ok) {
        std::fprintf(stderr, "a conversion or an insert failed\n");
        return 1;
    }
    std::printf("converting %d Access rows / plain SQLite insert in one transaction: %.2f  (%.1f ms vs %.1f ms; "
                "target <= 3)%s\n",
                ROWS, conversion / insert, conversion * 1e3, insert * 1e3, conversion / insert <= 3 ? "" : "  MISSED");
    return 0;
}
