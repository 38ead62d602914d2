// Costs of the data grid on a ledger of 100,000 rows, measured side by side
// in one run and printed as ratios to opening the query alone: opening the
// query with the grid bound and painting it once, paging down through 100
// pages (each page painted), and jumping from the first row to the last
// (painted). The grid reads only the rows on screen, so everything but the
// open itself should be a small fraction of it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "framework/data/ado_connection.h"
#include "framework/data/db_grid.h"
#include "framework/data/ledger_schema.h"

namespace {

constexpr int ROWS = 100000;
constexpr int PAGES = 100;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// The best of five runs of `run`, each after `prepare` (not timed).
double Best(const std::function<void()>& prepare, const std::function<void()>& run)
{
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        prepare();
        double t = Now();
        run();
        best = std::min(best, Now() - t);
    }
    return best;
}

}  // namespace

int main()
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"bench_grid_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring path = folder + L"data.mdb";
    std::string error;
    if (ledger::CreateLedgerDatabase(WideToUtf8(path).c_str(), error) != ledger::TCreateLedgerResult::Created) {
        std::fprintf(stderr, "cannot make %s: %s\n", WideToUtf8(path).c_str(), error.c_str());
        return 1;
    }
    int status = 0;
    {
        TADOConnection connection(nullptr);
        connection.SetConnectionStringW(L"Data Source=" + path);
        connection.Execute("begin");
        for (int i = 0; i < ROWS; ++i)
            connection.Execute("Insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) values ('项目" +
                               IntToStr(i) + "','网站建设','2026/12/8','" + (i % 3 ? "支出" : "收入") + "','" +
                               IntToStr(i % 500) + "','备注:第" + IntToStr(i) + "条')");
        connection.Execute("commit");

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
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
    return status;
}
