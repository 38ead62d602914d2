// Access ledger to ledger database (see access_ledger.h).
#include "framework/data/access_ledger.h"

#include <windows.h>

#include "framework/data/sqlite_statement.h"
#include "sqlite3.h"

namespace ledger {

namespace {

constexpr int KEY_COLUMN = 0;
constexpr int DATE_COLUMN = 3;
constexpr int AMOUNT_COLUMN = 5;

bool IsWholeNumber(const std::string& text)
{
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// "12.0000" is 12; "12.5" or "abc" are left as they are.
std::string WholeAmount(const std::string& text)
{
    const size_t point = text.find('.');
    if (point == std::string::npos || point == 0) return text;
    const std::string whole = text.substr(0, point);
    if (!IsWholeNumber(whole) || text.find_first_not_of('0', point + 1) != std::string::npos) return text;
    return whole;
}

struct TDatabase {
    sqlite3* Handle = nullptr;
    ~TDatabase() { sqlite3_close(Handle); }
};

}  // namespace

std::vector<TLedgerRow> LedgerRows(const jet::TTable& table, const TAccessLedgerSource& source)
{
    if (source.ColumnsUtf8.size() != LEDGER_COLUMN_COUNT)
        throw EDatabaseError("Access 表的列对应关系不完整:需要账本的七列。");
    int index[LEDGER_COLUMN_COUNT];
    for (int c = 0; c < LEDGER_COLUMN_COUNT; ++c) {
        index[c] = table.ColumnIndex(source.ColumnsUtf8[c]);
        if (index[c] < 0)
            throw EDatabaseError("Access 表 " + Utf8ToAnsi(source.TableUtf8) + " 中没有列 " +
                                 Utf8ToAnsi(source.ColumnsUtf8[c]) + ",它不是账本表。");
    }
    std::vector<TLedgerRow> rows;
    rows.reserve(table.Rows.size());
    for (const std::vector<std::string>& values : table.Rows) {
        TLedgerRow row;
        for (int c = 0; c < LEDGER_COLUMN_COUNT; ++c) row[c] = values[index[c]];
        if (!IsWholeNumber(row[KEY_COLUMN]))
            throw EDatabaseError("Access 表中有一行的编号 \"" + Utf8ToAnsi(row[KEY_COLUMN]) + "\" 不是整数。");
        if (table.Columns[index[DATE_COLUMN]].Kind == jet::TColumnKind::Date)
            row[DATE_COLUMN] = row[DATE_COLUMN].substr(0, row[DATE_COLUMN].find(' '));
        row[AMOUNT_COLUMN] = WholeAmount(row[AMOUNT_COLUMN]);
        rows.push_back(std::move(row));
    }
    return rows;
}

void WriteNewLedger(const std::wstring& target, const std::vector<TLedgerRow>& rows)
{
    const std::string path = WideToUtf8(target);
    std::string error;
    switch (CreateLedgerDatabase(path.c_str(), error)) {
    case TCreateLedgerResult::Created: break;
    case TCreateLedgerResult::AlreadyExists:
        throw EDatabaseError("文件 '" + WideToAnsi(target) + "' 已经存在,不会覆盖。");
    case TCreateLedgerResult::Failed:
        throw EDatabaseError("无法建立账本数据库 '" + WideToAnsi(target) + "': " + Utf8ToAnsi(error));
    }
    try {
        TDatabase db;
        int rc = sqlite3_open_v2(path.c_str(), &db.Handle, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) db::RaiseEngineError(db.Handle, rc);
        if ((rc = sqlite3_exec(db.Handle, "BEGIN", nullptr, nullptr, nullptr)) != SQLITE_OK)
            db::RaiseEngineError(db.Handle, rc);
        {
            db::TStatement insert;
            std::string sql = "INSERT INTO data VALUES (?,?,?,?,?,?,?)";
            insert.Prepare(db.Handle, sql);
            for (const TLedgerRow& row : rows) {
                insert.BindInt64(1, _atoi64(row[KEY_COLUMN].c_str()));
                for (int c = 1; c < LEDGER_COLUMN_COUNT; ++c) insert.BindText(c + 1, &row[c]);
                insert.Step();
                sqlite3_reset(insert.Handle());
            }
        }
        if ((rc = sqlite3_exec(db.Handle, "COMMIT", nullptr, nullptr, nullptr)) != SQLITE_OK)
            db::RaiseEngineError(db.Handle, rc);
    } catch (...) {
        DeleteFileW(target.c_str());
        throw;
    }
}

int ConvertAccessLedger(const std::wstring& source, const std::wstring& target, const TAccessLedgerSource& from)
{
    const std::vector<TLedgerRow> rows = LedgerRows(jet::ReadTable(source, from.TableUtf8), from);
    WriteNewLedger(target, rows);
    return static_cast<int>(rows.size());
}

}  // namespace ledger
