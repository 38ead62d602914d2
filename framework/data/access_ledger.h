// Turning the ledger table of an Access-format file into a ledger database of
// this program: every row of the table, with its number (the autonumber
// value), its texts, date, direction, amount and remark.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "framework/data/access_file.h"
#include "framework/data/ledger_schema.h"

namespace ledger {

// Where the entries are in the Access file: the table and, in the ledger's
// column order (编号 first), the names of the columns that hold them. By
// default the ledger's own table `data` and column names.
struct TAccessLedgerSource {
    std::string TableUtf8 = LEDGER_TABLE_UTF8;
    std::vector<std::string> ColumnsUtf8{std::begin(LEDGER_COLUMNS_UTF8), std::end(LEDGER_COLUMNS_UTF8)};
};

// One entry in the ledger's column order, UTF-8: 编号 in decimal, then the
// six texts.
using TLedgerRow = std::array<std::string, LEDGER_COLUMN_COUNT>;

// The table's rows as ledger entries. A date column gives the date alone
// ("2024-03-05 00:00:00" becomes "2024-03-05"); an amount that is a whole
// number written with decimals ("12.0000") becomes that whole number, any
// other amount stays as it stands. Throws EDatabaseError when a column is
// missing or a 编号 is not a whole number.
std::vector<TLedgerRow> LedgerRows(const jet::TTable& table, const TAccessLedgerSource& source = {});

// Writes `rows` into a new ledger database at `target`, which must not exist,
// in one transaction, each with its own 编号. Throws EDatabaseError; on any
// failure no file is left at `target`.
void WriteNewLedger(const std::wstring& target, const std::vector<TLedgerRow>& rows);

// Reads the entries of `source`'s table and writes them as a new ledger at
// `target`; returns how many were written. Throws EDatabaseError, leaving no
// file at `target`.
int ConvertAccessLedger(const std::wstring& source, const std::wstring& target,
                        const TAccessLedgerSource& from = {});

}  // namespace ledger
