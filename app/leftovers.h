// What an earlier run cut short left behind: a backup killed mid-way leaves
// its temporary copy ("bak*.tmp") beside the program, a conversion of an
// Access file its half-written ledger ("data.mdb.converting" and journals)
// beside the program and, in versions before this one, the reader's output
// ("mdb*.tmp") in the temporary folder. Start-up removes them.
#pragma once

#include <string>
#include <vector>

namespace ledger {

// Removes those files when no program has them open and they are old enough
// not to belong to a backup or conversion running right now in another copy
// of the program. Returns the names removed.
std::vector<std::wstring> RemoveLeftovers();

}  // namespace ledger
