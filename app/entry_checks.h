// The checks a new entry passes before it is written, shared by every way an
// entry comes in (the entry editor's add tab, CSV import): an item name, a
// category, a direction that is not the direction box's prompt, and an amount
// that the totals can add up.
#pragma once

#include <string>

namespace ledger {

// What refuses an entry; None when it may be written. The checks run in
// this order and the first that fails is given.
enum class TEntryFault {
    None,
    NameEmpty,          // no item name
    CategoryEmpty,      // no category
    DirectionPrompt,    // the direction box still shows its prompt
    AmountNotWhole,     // not a signed 32-bit whole number (after trimming)
};

// Checks the texts of a new entry. The name and category checks and the
// amount check look at ASCII alone, so they hold for GBK and UTF-8 text
// alike; the prompt is compared in the program's code page.
TEntryFault CheckNewEntry(const std::string& name, const std::string& category, const std::string& direction,
                          const std::string& amount);

}  // namespace ledger
