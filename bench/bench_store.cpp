// Costs of the store, measured side by side in one run and printed as
// ratios: loading a whole result through a query (text converted to the ANSI
// code page on the way out) against stepping the same select with the engine
// alone, and the totals' walk over the list (two fields read by name per row)
// against the load itself.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "framework/data/ado_connection.h"
#include "framework/data/ado_query.h"
#include "sqlite3.h"

using bench::Best;

namespace {

constexpr int ROWS = 20000;

}  // namespace

int main()
{
    bench::TBenchLedger ledger(L"bench_store");
    if (!ledger.Ok() || !ledger.AddEntries(ROWS, {"网站建设"}, 500)) return 1;
    {
        TADOConnection connection(nullptr);
        connection.SetConnectionStringW(L"Data Source=" + ledger.Path());
        connection.Open();  // the engine's own run below steps on its handle

        const std::string selectAll = "select * from data order by 编号 asc";
        const std::string selectAllUtf8 = AnsiToUtf8(selectAll);
        double engine = Best([&] {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(connection.Handle(), selectAllUtf8.c_str(), -1, &stmt, nullptr);
            size_t bytes = 0;
            while (sqlite3_step(stmt) == SQLITE_ROW)
                for (int c = 0; c < 7; ++c) bytes += sqlite3_column_bytes(stmt, c) + (sqlite3_column_text(stmt, c) ? 1 : 0);
            sqlite3_finalize(stmt);
            if (bytes == 0) std::puts("no rows?");
        });

        TADOQuery query(nullptr);
        query.SetConnection(&connection);
        query.SQL().Add(selectAll);
        double load = Best([&] {
            query.Close();
            query.Open();
        });
        double walk = Best([&] {
            query.First();
            long long total = 0;
            int n = query.RecordCount();
            for (int i = 0; i < n; ++i) {
                if (query.Eof()) continue;
                if (Trim(query.FieldByName("支出或收入").AsString()) == "支出")
                    total += StrToInt(Trim(query.FieldByName("金额").AsString()));
                query.Next();
            }
            if (total < 0) std::puts("negative?");
        });

        std::printf("store, %d rows:\n", ROWS);
        std::printf("  query open (whole result) / engine step alone: %.2f  (%.1f ms vs %.1f ms)\n", load / engine,
                    load * 1e3, engine * 1e3);
        std::printf("  totals walk (2 fields by name per row) / query open: %.2f  (%.1f ms)\n", walk / load,
                    walk * 1e3);
    }
    return 0;
}
