// The ledger's list and totals: reloading the main window's list with every
// entry, and adding up the expenditure and the income for its status bar.
//
// Each operation acts on the main window Form1: its list query ADOQuery1, its
// grid DBGrid1, the hidden working storage (ListBoxtjzhichu, Edittjzhichu,
// ListBoxtjshouru, Edittjshouru) and status panels 1 to 3. Database errors
// propagate to the caller, which is an event handler: the error box shows
// them and the steps after the failing one do not run. A stored amount that
// is not a whole number is no error: its row stays in the list and the count,
// and the totals leave it out (a full refresh says so, see FullRefresh).
#pragma once

// The grid's column widths by position, set after every reload and search.
constexpr int LIST_COLUMN_COUNT = 7;
extern const int LIST_COLUMN_WIDTHS[LIST_COLUMN_COUNT];  // 50,100,60,70,65,65,300

// The direction texts the totals compare the trimmed direction with.
extern const char* const DIRECTION_EXPENDITURE;  // "支出"
extern const char* const DIRECTION_INCOME;       // "收入"

// The list query back to every entry, oldest first (cursor on the first);
// panel 1 "共 <n> 个记录"; the column widths.
void ReloadList();
// Fills ListBoxtjzhichu with the trimmed, non-empty amounts of every
// expenditure entry in list order. Ends with the list query holding every
// entry and the cursor past the walk (on the newest entry).
void GatherExpenditure();
// Adds up ListBoxtjzhichu into Edittjzhichu and shows
// "支出金额共:<total>元" in panel 2. Amounts that are not signed 32-bit whole
// numbers are left out; the total is exact (64-bit).
void SumExpenditure();
// The same for income: ListBoxtjshouru, Edittjshouru, panel 3
// "收入金额共:<total>元".
void GatherIncome();
void SumIncome();
// ReloadList, GatherExpenditure, SumExpenditure, GatherIncome, SumIncome.
// When the totals left rows out, one message box says how many and why; it
// is shown again only when that number changes (Form1's
// AmountsLeftOutReported), not on every refresh.
void FullRefresh();
// Throws EDatabaseError naming the first of the ledger's seven columns that
// the open list query lacks, and closes it then.
void CheckListColumns();

// Sets the grid's seven column widths by position. Throws EListError when
// the list has fewer columns.
void SizeListColumns();

