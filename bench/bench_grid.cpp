// Costs of the data grid on a ledger of 100,000 rows, measured side by side
// in one run and printed as ratios to opening the query alone: opening the
// query with the grid bound and painting it once, paging down through 100
// pages (each page painted), and jumping from the first row to the last
// (painted). The grid reads only the rows on screen, so everything but the
// open itself should be a small fraction of it.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "bench/bench_support.h"
#include "framework/data/ado_connection.h"
#include "framework/data/db_grid.h"

using bench::Best;

namespace {

constexpr int ROWS = 100000;
constexpr int PAGES = 100;

}  // namespace

int main()
{
    bench::TBenchLedger ledger(L"bench_grid");
    if (!ledger.Ok() || !ledger.AddEntries(ROWS, {"网站建设"}, 500)) return 1;
    int status = 0;
    {
        TADOConnection connection(nullptr);
        connection.SetConnectionStringW(L"Data Source=" + ledger.Path());

        TADOQuery query(nullptr);
        query.SetConnection(&connection);
        query.SQL().Add("select * from data order by 编号 asc");
        TDataSource source(nullptr);

        TForm form(nullptr);
        form.SetBounds(0, 0, 780, 420);
        auto* grid = new TDBGrid(&form);
        grid->SetParent(&form);
        grid->SetAlign(alClient);
        grid->SetDataSource(&source);
        form.Show();

        double open = Best([&] { query.Close(); }, [&] { query.Open(); });

        source.SetDataSet(&query);
        auto paint = [&] { RedrawWindow(grid->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
        double openAndPaint = Best([&] { query.Close(); }, [&] {
            query.Open();
            paint();
        });
        if (query.RecordCount() != ROWS) {
            std::fprintf(stderr, "expected %d rows, got %d\n", ROWS, query.RecordCount());
            status = 1;
        }

        int page = grid->VisibleRowCount();
        double pages = Best(
            [&] {
                query.First();
                paint();
            },
            [&] {
                for (int i = 0; i < PAGES; ++i) {
                    SendMessageA(grid->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
                    UpdateWindow(grid->Handle());
                }
            });
        if (query.RecNo() != 1 + PAGES * page) {
            std::fprintf(stderr, "paging ended on record %d, not %d\n", query.RecNo(), 1 + PAGES * page);
            status = 1;
        }

        // The same paging with the painting left for later: the grid's own
        // bookkeeping (cursor, scroll bar) against the pictures.
        double pagesUnpainted = Best(
            [&] {
                query.First();
                paint();
            },
            [&] {
                for (int i = 0; i < PAGES; ++i)
                    SendMessageA(grid->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
            });

        double last = Best(
            [&] {
                query.First();
                paint();
            },
            [&] {
                query.Last();
                UpdateWindow(grid->Handle());
            });

        // The totals walk the whole list row by row with the grid following
        // every move; against the same walk with nothing bound.
        auto walk = [&] {
            query.First();
            while (!query.Eof())
                query.Next();
        };
        double walkBound = Best([&] { query.First(); }, walk);

        // The yardstick again, now that the machine is warm: the better of the two.
        source.SetDataSet(nullptr);
        double walkAlone = Best([&] { query.First(); }, walk);
        open = std::min(open, Best([&] { query.Close(); }, [&] { query.Open(); }));

        std::printf("grid over %d rows, %d rows on screen\n", ROWS, page);
        std::printf("  open the query alone          %8.2f ms   1.00\n", open * 1e3);
        std::printf("  open + first paint of grid    %8.2f ms   %.2f x open\n", openAndPaint * 1e3,
                    openAndPaint / open);
        std::printf("  page down %d pages, painted  %8.2f ms   %.3f x open\n", PAGES, pages * 1e3, pages / open);
        std::printf("  the same, not painted         %8.2f ms   %.3f x open\n", pagesUnpainted * 1e3,
                    pagesUnpainted / open);
        std::printf("  walk all rows, grid bound     %8.2f ms   %.3f x open, %.2f x the walk alone (%.2f ms)\n",
                    walkBound * 1e3, walkBound / open, walkBound / walkAlone, walkAlone * 1e3);
        std::printf("  jump to the last row, painted %8.2f ms   %.4f x open\n", last * 1e3, last / open);
        form.Hide();
    }
    return status;
}
