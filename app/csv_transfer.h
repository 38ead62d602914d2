// The ledger to and from CSV files, for spreadsheets and other programs.
//
// An exported file is UTF-8 with a byte-order mark (what spreadsheet
// programs on Windows take as UTF-8), records end in CR LF, the first record
// is the seven column names of table `data`, and a field is put in double
// quotes, with each quote inside doubled, when it holds a comma, a quote, a
// CR or a LF.
//
// An imported file has the same shape: a header of the seven column names
// (or the six without 编号, which the database assigns anyway), then one
// record per entry. It may be UTF-8 or GBK, told apart as the category file
// is. Every record is checked before anything is written: the checks of the
// entry editor's add tab, a direction of exactly "支出" or "收入" (blanks
// around it allowed, as the totals allow them) and an item name that is in
// neither the ledger nor an earlier record. The first record that fails is
// reported with the line it starts on; then nothing is written. Otherwise
// every entry goes in with one transaction.
#pragma once

#include <string>
#include <vector>

#include "app/ledger_files.h"
#include "framework/sysutils.h"

struct sqlite3;

namespace ledger {

// One field as an exported record holds it.
std::string CsvField(const std::string& value);

// Writes the rows of `selectSqlAnsi` (a select on `db` returning the seven
// columns, in the program's code page) to `path` as CSV, replacing the file
// whole (a temporary file is renamed at the end). Returns the number of
// entries written. Throws Exception with the reason; the file is then
// unchanged.
int ExportCsv(sqlite3* db, const std::string& selectSqlAnsi, const std::wstring& path);

// One record of a CSV text: its fields and the line (1-based) it starts on.
struct TCsvRecord {
    std::vector<std::string> Fields;
    int Line = 0;
};

// A CSV text that cannot be read, or a record that fails its checks: the
// line it starts on (0 when the whole file is at fault).
class ECsvError : public Exception {
public:
    ECsvError(int line, const std::string& reason);
    int Line() const { return FLine; }

private:
    int FLine;
};

// Splits CSV text into records: fields separated by commas, records by CR
// LF, LF or CR; a quoted field may hold commas, quotes (doubled) and line
// breaks as they stand. A last record without a line ending counts; empty
// lines give no record. Throws ECsvError for a quote that is never closed or
// text after a closing quote.
std::vector<TCsvRecord> ParseCsv(const std::string& text);

// One entry read from a file, its texts in UTF-8 (the database's own).
struct TImportEntry {
    std::string Name, Category, Date, Direction, Amount, Remark;
    int Line = 0;
};

struct TCsvImport {
    std::vector<TImportEntry> Entries;
    TTextEncoding Encoding = TTextEncoding::Ansi;  // Ansi: the file was GBK
};

// Reads and checks the file at `path` against the ledger on `db` (see the
// top of this file). Throws ECsvError naming the line and the fault, or
// Exception when the file cannot be read.
TCsvImport ReadCsvImport(const std::wstring& path, sqlite3* db);
// The same for CSV bytes already read.
TCsvImport CheckCsvImport(const std::string& bytes, sqlite3* db);

// Adds the entries to table `data` in one transaction: all of them, or none
// when any insert fails (the error is thrown as EDatabaseError).
void ImportEntries(sqlite3* db, const std::vector<TImportEntry>& entries);

// What the tools tab says about CSV files.
extern const char* const CSV_EXPORTED;          // "导出成功!" ...
extern const char* const CSV_IMPORT_FAILED;     // "导入失败:"
extern const char* const CSV_NOTHING_WRITTEN;   // "没有导入任何记录。"

}  // namespace ledger
