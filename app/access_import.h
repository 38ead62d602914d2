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

#include "framework/forms.h"
#include "framework/range_controls.h"
#include "framework/std_controls.h"

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
// The reader is bounded: it runs in a job object that ends it when this
// program ends, its output is streamed and only its last part kept, and it
// is stopped after ReaderTimeLimitMs of the file's size (it stops itself a
// little before). With `showProgress` a progress window with a cancel button
// is shown while it runs. Its temporaries are removed whatever happens.
int ConvertInReaderProcess(const std::wstring& source, const std::wstring& target,
                           const std::vector<std::string>& tableAndColumns = {}, bool showProgress = false);

// How long the reader may take over a file of `fileSize` bytes.
DWORD ReaderTimeLimitMs(unsigned long long fileSize);
// The reader's exit code when it stopped itself at its time limit.
constexpr DWORD READER_EXIT_TIME_LIMIT = 3;
// The most of each of the reader's output streams that is kept.
constexpr size_t READER_OUTPUT_KEPT = 64 * 1024;

// How a run of the reader process ended.
struct TReaderRun {
    bool Finished = false;   // it ended by itself
    bool TimedOut = false;   // stopped at the time limit
    bool Cancelled = false;  // stopped by the user
    DWORD ExitCode = 0;
    std::string Output, Errors;  // the last READER_OUTPUT_KEPT bytes of each, CRs dropped
    unsigned long long OutputBytes = 0, ErrorBytes = 0;  // how much each stream carried
};
// Runs `commandLine` as the reader process under those bounds.
TReaderRun RunReaderProcess(const std::wstring& commandLine, DWORD timeLimitMs, bool showProgress);

// Deletes a new ledger the reader was writing at `target`, with its journals.
void RemoveConversionTemporaries(const std::wstring& target);

// The window shown while the reader runs; Current is the one open, if any.
class TConversionProgress : public TForm {
    DECLARE_CLASS_INLINE(TConversionProgress, TForm)
public:
    explicit TConversionProgress(TComponent* owner);
    ~TConversionProgress() override;
    TLabel* Label1;
    TProgressBar* ProgressBar1;
    TButton* ButtonCancel;
    bool Cancelled = false;
    void CancelClick(TObject* sender);
    static TConversionProgress* Current;
};

// For tests, whose Access files have no table `data`: the table and the
// seven source columns (UTF-8) the start-up conversion reads instead; empty
// gives back the ledger's own.
void SetAccessSourceForTests(const std::vector<std::string>& tableAndColumns);
// For tests: the reader's time limit instead of the one the file's size
// gives (0: that one again).
void SetReaderTimeLimitForTests(DWORD limitMs);

// The name the original keeps beside the new ledger: "data_Access_<yyyymmdd>.mdb",
// or with "_2", "_3", ... before ".mdb" when that file exists.
std::wstring KeptOriginalName(const SYSTEMTIME& day);

}  // namespace ledger
