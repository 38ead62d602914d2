// The checks of a new entry (see entry_checks.h).
#include "app/entry_checks.h"

#include "app/entry_editor.h"
#include "app/ledger_files.h"

namespace ledger {

TEntryFault CheckNewEntry(const std::string& name, const std::string& category, const std::string& direction,
                          const std::string& amount)
{
    if (name.empty()) return TEntryFault::NameEmpty;
    if (category.empty()) return TEntryFault::CategoryEmpty;
    if (direction == DIRECTION_PROMPT) return TEntryFault::DirectionPrompt;
    int value = 0;
    if (!TryParseAmount(amount, value)) return TEntryFault::AmountNotWhole;
    return TEntryFault::None;
}

}  // namespace ledger
