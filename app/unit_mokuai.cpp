// The ledger's list reload and totals (see unit_mokuai.h).
#include "app/unit_mokuai.h"

#include "app/ledger_files.h"
#include "app/main_form.h"
#include "framework/application.h"
#include "framework/display_scale.h"

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

// The rows a sum left out because their amount is not a whole number.
struct TLeftOut {
    int Count = 0;
    std::string Example;  // the first such amount, as stored
};

// Adds up the amounts in `list` into `total` and shows `caption` + total +
// "元" in status panel `panel`. An amount that is not a signed 32-bit whole
// number (stored by another tool or an older version) is left out of the sum
// and counted in the result, so one such row never keeps the totals from
// showing. At most 2^31 amounts of 32 bits each are summed, so the 64-bit
// total cannot overflow.
TLeftOut SumAmounts(TListBox* list, TEdit* total, int panel, const char* caption)
{
    total->SetText("0");
    long long running = StrToInt64(total->Text());
    TLeftOut leftOut;
    TStrings* amounts = list->Items();
    const int count = amounts->Count();
    for (int i = 0; i < count; ++i) {
        const std::string amount = amounts->Get(i);
        int value = 0;
        if (ledger::TryParseAmount(amount, value)) {
            running += value;
        } else if (leftOut.Count++ == 0) {
            leftOut.Example = amount;
        }
    }
    total->SetText(IntToStr(running));
    Form1->StatusBar1->Panels()->Items(panel)->SetText(std::string(caption) + total->Text() + "元");
    return leftOut;
}

// Says once how many rows the totals left out and why: again only when
// their number changes, not on every refresh.
void ReportLeftOut(const TLeftOut& leftOut)
{
    if (leftOut.Count == Form1->AmountsLeftOutReported) return;
    Form1->AmountsLeftOutReported = leftOut.Count;
    if (leftOut.Count == 0) return;
    ShowMessage("有 " + IntToStr(leftOut.Count) + " 条记录的金额不是整数(例如 \"" + leftOut.Example +
                "\"),未计入支出和收入合计。这些记录仍在列表中,请在编辑窗口中把金额改为整数。");
}

}  // namespace

void CheckListColumns()
{
    // The grid sizes seven columns by position: a table that lacks one of
    // the ledger's columns is named as such, not as an index out of range,
    // and its rows are not shown as though they were entries.
    TADOQuery* query = Form1->ADOQuery1;
    if (!query->Active()) return;
    for (const char* column : ledger::COLUMN_NAMES)
        if (!query->FindField(column)) {
            query->Close();
            throw EDatabaseError(std::string("数据库表 data 缺少列 \"") + column +
                                 "\",不是本程序的账本。账本的七列依次是:编号、项目名称、项目类别、编辑时间、"
                                 "支出或收入、金额、项目备注。");
        }
}

void SizeListColumns()
{
    // The widths are the design's, at 96 pixels an inch: the window is laid
    // out at its monitor's scale.
    const UINT dpi = static_cast<UINT>(Form1->CurrentPixelsPerInch());
    for (int i = 0; i < LIST_COLUMN_COUNT; ++i)
        Form1->DBGrid1->Columns(i)->SetWidth(ScaleToDpi(LIST_COLUMN_WIDTHS[i], dpi));
}

void ReloadList()
{
    TADOQuery* query = Form1->ADOQuery1;
    query->Close();
    query->SQL().Clear();
    query->SQL().Add(ledger::SelectAllSql());
    query->Open();
    CheckListColumns();
    Form1->StatusBar1->Panels()->Items(1)->SetText("共 " + IntToStr(query->RecordCount()) + " 个记录");
    SizeListColumns();
}

void GatherExpenditure() { GatherDirection(Form1->ListBoxtjzhichu, DIRECTION_EXPENDITURE); }

void SumExpenditure() { (void)SumAmounts(Form1->ListBoxtjzhichu, Form1->Edittjzhichu, 2, "支出金额共:"); }

void GatherIncome() { GatherDirection(Form1->ListBoxtjshouru, DIRECTION_INCOME); }

void SumIncome() { (void)SumAmounts(Form1->ListBoxtjshouru, Form1->Edittjshouru, 3, "收入金额共:"); }

void FullRefresh()
{
    ReloadList();
    GatherExpenditure();
    TLeftOut leftOut = SumAmounts(Form1->ListBoxtjzhichu, Form1->Edittjzhichu, 2, "支出金额共:");
    GatherIncome();
    const TLeftOut income = SumAmounts(Form1->ListBoxtjshouru, Form1->Edittjshouru, 3, "收入金额共:");
    if (leftOut.Count == 0) leftOut.Example = income.Example;
    leftOut.Count += income.Count;
    ReportLeftOut(leftOut);
}
