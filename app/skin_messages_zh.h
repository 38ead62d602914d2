// The ledger's words for the skin component's messages: a skin file that
// is missing, damaged, of an unknown version or too large is reported in
// Chinese, as every other text of the program is.
#pragma once

class TSkinData;

// Gives `skin` the ledger's texts for every message it can show.
void UseLedgerSkinMessages(TSkinData& skin);
