// Opening an Access-format data.mdb: people who kept this ledger before keep
// their entries in an Access (Jet 3 or Jet 4) file named data.mdb, table
// `data` with the ledger's seven columns. At start-up the program recognises
// such a file by its header and offers to convert it into a ledger database
// of its own.
//
// The file is read by a reader process (mdbimport.exe beside the program),
// which writes the new ledger under a temporary name; the program checks it
// and only then renames: the original to a dated name beside it (never over
// an existing file), the new ledger to data.mdb. A crash or hang of the
// reader, a damaged file or any failure on the way leaves data.mdb exactly as
// it was.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ledger {

enum class TAccessOffer {
    NotAccess,  // data.mdb is not an Access-format file (or missing): nothing asked
    Converted,  // converted; data.mdb is now the new ledger
    Declined,   // the user said no; nothing changed
    Failed,     // the conversion failed; nothing changed
};

// Runs at start-up before the ledger is opened: when data.mdb is an
// Access-format file, asks once whether to convert it, converts on yes, and
// says what happened in a message box.
TAccessOffer OfferAccessConversion();

// Converts table `data` (or the table and columns given in `tableAndColumns`:
// a table name and the seven source column names, UTF-8) of `source` into a
// new ledger at `target` in the reader process; returns the number of
// entries, which the new file is checked to hold. Throws Exception with the
// reason; no file is left at `target` then.
int ConvertInReaderProcess(const std::wstring& source, const std::wstring& target,
                           const std::vector<std::string>& tableAndColumns = {});

// For tests, whose Access files have no table `data`: the table and the
// seven source columns (UTF-8) the start-up conversion reads instead; empty
// gives back the ledger's own.
void SetAccessSourceForTests(const std::vector<std::string>& tableAndColumns);

// The name the original keeps beside the new ledger: "data_Access_<yyyymmdd>.mdb",
// or with "_2", "_3", ... before ".mdb" when that file exists.
std::wstring KeptOriginalName(const SYSTEMTIME& day);

}  // namespace ledger
