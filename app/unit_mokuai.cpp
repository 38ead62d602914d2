// The ledger's list reload and totals (see unit_mokuai.h).
#include "app/unit_mokuai.h"

#include "app/ledger_files.h"
#include "app/main_form.h"

const int LIST_COLUMN_WIDTHS[LIST_COLUMN_COUNT] = {50, 100, 60, 70, 65, 65, 300};
const char* const DIRECTION_EXPENDITURE = "支出";
const char* const DIRECTION_INCOME = "收入";

namespace {

const char* const AMOUNT_FIELD = "金额";
const char* const DIRECTION_FIELD = "支出或收入";

// A whole number in decimal with an optional sign, in 64 bits. The running
// totals are written by this unit alone, so nothing else needs accepting.
long long StrToInt64(const std::string& text)
{
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
    unsigned long long magnitude = 0;
    const unsigned long long limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9' || magnitude > (limit - (c - '0')) / 10)
            throw EConvertError(Format("'%s' is not a valid integer value", text.c_str()));
        magnitude = magnitude * 10 + (c - '0');
    }
    return negative ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
}

// Holds a list's updates back for a scope: the list box shows the result once.
class TStringsUpdate {
public:
    explicit TStringsUpdate(TStrings* strings) : FStrings(strings) { FStrings->BeginUpdate(); }
    ~TStringsUpdate() { FStrings->EndUpdate(); }
    TStringsUpdate(const TStringsUpdate&) = delete;
    TStringsUpdate& operator=(const TStringsUpdate&) = delete;

private:
    TStrings* FStrings;
};

// Walks the whole list once from its first entry and appends to `list` the
// trimmed amount of every entry whose trimmed direction is `direction`;
// empty amounts are skipped. The rows are read where they stand, and the
// cursor is then put where a row-by-row walk ends: on the newest entry, past
// the end. The grid thus follows once instead of once per row.
void GatherDirection(TListBox* list, const char* direction)
{
    list->Items()->Clear();
    ReloadList();
    TADOQuery* query = Form1->ADOQuery1;
    const int count = query->RecordCount();
    if (count == 0) return;
    const int amountField = query->FieldByName(AMOUNT_FIELD).Index();
    const int directionField = query->FieldByName(DIRECTION_FIELD).Index();
    TStringsUpdate update(list->Items());
    for (int row = 0; row < count; ++row) {
        std::string amount = Trim(query->DisplayText(row, amountField));
        if (!amount.empty() && Trim(query->DisplayText(row, directionField)) == direction)
            list->Items()->Add(amount);
    }
    query->Last();
}

// Adds up the amounts in `list` into `total` and shows `caption` + total +
// "元" in status panel `panel`. On a bad amount, `total` keeps the partial
// sum and the panel its old text. At most 2^31 amounts of 32 bits each are
// summed, so the 64-bit total cannot overflow.
void SumAmounts(TListBox* list, TEdit* total, int panel, const char* caption)
{
    total->SetText("0");
    long long running = StrToInt64(total->Text());
    TStrings* amounts = list->Items();
    const int count = amounts->Count();
    try {
        for (int i = 0; i < count; ++i) running += StrToInt(amounts->Get(i));
    } catch (...) {
        total->SetText(IntToStr(running));
        throw;
    }
    total->SetText(IntToStr(running));
    Form1->StatusBar1->Panels()->Items(panel)->SetText(std::string(caption) + total->Text() + "元");
}

}  // namespace

void SizeListColumns()
{
    for (int i = 0; i < LIST_COLUMN_COUNT; ++i) Form1->DBGrid1->Columns(i)->SetWidth(LIST_COLUMN_WIDTHS[i]);
}

void ReloadList()
{
    TADOQuery* query = Form1->ADOQuery1;
    query->Close();
    query->SQL().Clear();
    query->SQL().Add(ledger::SelectAllSql());
    query->Open();
    Form1->StatusBar1->Panels()->Items(1)->SetText("共 " + IntToStr(query->RecordCount()) + " 个记录");
    SizeListColumns();
}

void GatherExpenditure() { GatherDirection(Form1->ListBoxtjzhichu, DIRECTION_EXPENDITURE); }

void SumExpenditure() { SumAmounts(Form1->ListBoxtjzhichu, Form1->Edittjzhichu, 2, "支出金额共:"); }

void GatherIncome() { GatherDirection(Form1->ListBoxtjshouru, DIRECTION_INCOME); }

void SumIncome() { SumAmounts(Form1->ListBoxtjshouru, Form1->Edittjshouru, 3, "收入金额共:"); }

void FullRefresh()
{
    ReloadList();
    GatherExpenditure();
    SumExpenditure();
    GatherIncome();
    SumIncome();
}
