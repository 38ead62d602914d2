// The tools tab over a 100,000-entry ledger, next to the SQLite shell on the
// same rows, measured in one run and printed as ratios:
//
//   CSV export (the whole list) against the shell's ".mode csv" output of the
//   list's select, each writing a file;
//   CSV import (read, check every row, insert in one transaction) into an
//   empty ledger against the shell's ".import --csv" of the same file;
//   the picture of the year: summing the ledger by month and drawing the
//   chart, and the chart control repainted on the main window.
//
// Targets: export and import within 2x of the shell; the chart under 100 ms.
// The shell's export time is its own "Run Time: real" figure; its import
// time is the wall time of a shell process running the import less that of
// one doing nothing on the same file (the shell times SQL, not its commands).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/csv_transfer.h"
#include "app/ledger_files.h"
#include "app/main_form.h"
#include "app/year_chart.h"
#include "bench/bench_support.h"
#include "bench/sqlite_shell.h"
#include "framework/application.h"
#include "framework/data/ado_connection.h"
#include "sqlite3.h"

using bench::Best;
using bench::ROUNDS;
using bench::RunShell;

namespace {

constexpr int ROWS = 100000;

// A Wine path the shell takes as a file name, forward slashes.
std::string ShellPath(const std::wstring& path)
{
    std::string utf8 = WideToUtf8(path);
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    return utf8;
}

// An empty ledger at `path`, replacing any file there.
bool FreshLedger(const std::wstring& path)
{
    DeleteFileW(path.c_str());
    std::string error;
    return ledger::CreateLedgerDatabase(WideToUtf8(path).c_str(), error) == ledger::TCreateLedgerResult::Created;
}

int CountRows(const std::wstring& path)
{
    sqlite3* db = nullptr;
    int n = -1;
    if (sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "select count(*) from data", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            n = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return n;
}

const char* Verdict(bool met) { return met ? "" : "  MISSED"; }

}  // namespace

int main()
{
    bench::TBenchLedger ledger(L"bench_tools");
    if (!ledger.Ok() || !ledger.AddEntries(ROWS, {"工资", "房租", "水电", "餐饮", "交通"}, 5000)) return 1;
    const std::wstring& database = ledger.Path();
    const std::wstring folder = ledger.Folder();
    const std::wstring ours = folder + L"ours.csv", theirs = folder + L"theirs.csv";
    const std::wstring target = folder + L"import.mdb";
    int boxes = 0;
    bench::AnswerMessageBoxes(boxes);

    TADOConnection connection(nullptr);
    connection.SetConnectionStringW(L"Data Source=" + database);
    connection.Open();
    // The year's days spread over the months, as a real year's are.
    sqlite3_exec(connection.Handle(),
                 AnsiToUtf8("update data set 编辑时间 = '2026/' || (编号 % 12 + 1) || '/' || (编号 % 28 + 1)").c_str(),
                 nullptr, nullptr, nullptr);
    const std::string selectAll = ledger::SelectAllSql();

    // ---- export ----
    int exported = 0;
    const double exportOurs =
        Best([&] { exported = ledger::ExportCsv(connection.Handle(), selectAll, ours); });
    double exportShell = 1e9;
    const std::string exportScript = ".timer on\n.mode csv\n.headers on\n.output " + ShellPath(theirs) + "\n" +
                                     AnsiToUtf8(selectAll) + ";\n";
    for (int round = 0; round < ROUNDS; ++round) {
        std::string output;
        double wall = 0;
        if (!RunShell(database, exportScript, output, wall)) return 1;
        const size_t at = output.find("Run Time: real ");
        if (at == std::string::npos) {
            std::fprintf(stderr, "the shell gave no time: %s\n", output.c_str());
            return 1;
        }
        exportShell = std::min(exportShell, std::atof(output.c_str() + at + 15));
    }

    // ---- import ----
    int imported = 0;
    const double importOurs = Best([&] { FreshLedger(target); },
                                   [&] {
                                       TADOConnection into(nullptr);
                                       into.SetConnectionStringW(L"Data Source=" + target);
                                       into.Open();
                                       const ledger::TCsvImport import = ledger::ReadCsvImport(ours, into.Handle());
                                       ledger::ImportEntries(into.Handle(), import.Entries);
                                       imported = static_cast<int>(import.Entries.size());
                                   });
    const int oursInTarget = CountRows(target);
    // Where our import spends its time: reading, checking (decoding,
    // parsing, the checks), inserting.
    double reading = 0, checking = 0, inserting = 0, parsing = 0, toWide = 0, toAnsi = 0;
    {
        FreshLedger(target);
        TADOConnection into(nullptr);
        into.SetConnectionStringW(L"Data Source=" + target);
        into.Open();
        double t = bench::Now();
        const std::string bytes = ledger::ReadFileBytes(ours);
        reading = bench::Now() - t;
        t = bench::Now();
        const ledger::TCsvImport import = ledger::CheckCsvImport(bytes, into.Handle());
        checking = bench::Now() - t;
        t = bench::Now();
        {
            std::wstring wide(bytes.size(), L'\0');
            const int w = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + 3,
                                              static_cast<int>(bytes.size() - 3), wide.data(),
                                              static_cast<int>(wide.size()));
            toWide = bench::Now() - t;
            t = bench::Now();
            BOOL usedDefault = FALSE;
            WideCharToMultiByte(CP_ACP, 0, wide.data(), w, nullptr, 0, nullptr, &usedDefault);
            toAnsi = bench::Now() - t;
        }
        t = bench::Now();
        const std::vector<ledger::TCsvRecord> records = ledger::ParseCsv(bytes.substr(3));
        parsing = bench::Now() - t;
        t = bench::Now();
        ledger::ImportEntries(into.Handle(), import.Entries);
        inserting = bench::Now() - t;
    }
    double importShell = 1e9;
    const std::string importScript = ".import --csv --skip 1 " + ShellPath(ours) + " data\n";
    for (int round = 0; round < ROUNDS; ++round) {
        std::string output;
        double idle = 0, wall = 0;
        if (!FreshLedger(target) || !RunShell(target, "\n", output, idle) || !FreshLedger(target) ||
            !RunShell(target, importScript, output, wall))
            return 1;
        importShell = std::min(importShell, std::max(1e-4, wall - idle));
    }
    const int shellInTarget = CountRows(target);

    // ---- the picture of the year ----
    ledger::TLedgerYears years;
    const double summing = Best([&] { years = ledger::SumLedgerByMonth(connection.Handle()); });
    const ledger::TMonthSums& year = years.Years[2026];
    // The engine stepping the same select and reading the same three texts,
    // with no sums: what the summing cannot go below.
    const std::string threeColumns =
        AnsiToUtf8("select 编辑时间, 支出或收入, 金额 from data order by 编号 asc");
    const double stepping = Best([&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(connection.Handle(), threeColumns.c_str(), -1, &stmt, nullptr);
        size_t bytes = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < 3; ++c) bytes += sqlite3_column_bytes(stmt, c) + (sqlite3_column_text(stmt, c) ? 1 : 0);
        sqlite3_finalize(stmt);
        if (bytes == 0) std::puts("no rows?");
    });
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 334, -192, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const ledger::TChartColours colours = ledger::ChartColours(nullptr);
    const double drawing = Best([&] { ledger::PaintYearChart(dc, RECT{0, 0, 334, 192}, 2026, year, colours); });
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    connection.Close();

    // The control itself on the main window: marked stale, summed and drawn.
    SetProgramFolder(folder);
    Application->CreateForm(Form1);
    Form1->Show();
    Form1->PageControl1->SetActivePage(Form1->TabSheet3);
    Application->ProcessMessages();
    const double control = Best([] {
        Form1->YearChart1->MarkStale();
        Form1->GroupBoxyear->Update();
    });
    const bool summedOnScreen = !Form1->YearChart1->Stale();
    delete Form1;

    if (boxes || exported != ROWS || imported != ROWS || oursInTarget != ROWS || shellInTarget != ROWS ||
        !summedOnScreen) {
        std::fprintf(stderr, "wrong counts: exported %d, imported %d (%d rows), shell imported %d rows; boxes %d\n",
                     exported, imported, oursInTarget, shellInTarget, boxes);
        return 1;
    }
    std::printf("tools tab over %d entries (2026: income %lld, expenditure %lld):\n", ROWS, year.TotalIncome(),
                year.TotalExpenditure());
    std::printf("  CSV export / shell's .mode csv: %.2f  (%.1f ms vs %.1f ms; target <= 2)%s\n",
                exportOurs / exportShell, exportOurs * 1e3, exportShell * 1e3, Verdict(exportOurs / exportShell <= 2));
    std::printf("  CSV import / shell's .import: %.2f  (%.1f ms vs %.1f ms; target <= 2)%s\n",
                importOurs / importShell, importOurs * 1e3, importShell * 1e3, Verdict(importOurs / importShell <= 2));
    std::printf("    (one import: reading %.1f ms, checking %.1f ms, inserting %.1f ms; apart from it: parsing into "
                "records %.1f ms, the whole text to UTF-16 %.1f ms, its GBK check %.1f ms)\n",
                reading * 1e3, checking * 1e3, inserting * 1e3, parsing * 1e3, toWide * 1e3, toAnsi * 1e3);
    std::printf("  year chart: summing %.1f ms + drawing %.1f ms; the control repainted %.1f ms (target < 100)%s\n",
                summing * 1e3, drawing * 1e3, control * 1e3, Verdict(summing + drawing < 0.1 && control < 0.1));
    std::printf("    (summing / the engine stepping its select alone: %.2f, %.1f ms)\n", summing / stepping,
                stepping * 1e3);
    return 0;
}
