// The main window's tools tab beside the backup group: restoring a backup,
// CSV export and import, and the picture of the year (see main_form.h).
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <set>

#include "app/csv_transfer.h"
#include "app/form_building.h"
#include "app/ledger_files.h"
#include "app/main_form.h"
#include "app/restore.h"
#include "app/unit_mokuai.h"
#include "app/year_chart.h"

using forms::Make;
using forms::MakeButton;

namespace {

// Columns of the backup list: caption and width.
struct TBackupColumn {
    const char* Caption;
    int Width;
};
const TBackupColumn BACKUP_COLUMNS[] = {
    {"备份文件", 106}, {"日期", 110}, {"大小", 50}, {"记录数", 48}, {"检查", 44},
};

// One short line each: the label breaks lines only where the text has them.
const char* const CSV_NOTE =
    "导出:把列表中显示的记录存为 CSV 文件,\r\n"
    "可以用电子表格程序打开。\r\n"
    "导入:从 CSV 文件(UTF-8 或 GBK)添加记录。";

std::wstring WithoutExtension(const std::wstring& name)
{
    const size_t dot = name.find_last_of(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}

// The text as a sentence: with a full stop at its end.
std::string Sentence(const std::string& text)
{
    const std::string stop = "。";
    return text.size() >= stop.size() && text.compare(text.size() - stop.size(), stop.size(), stop) == 0 ? text
                                                                                                         : text + stop;
}

std::string EncodingName(ledger::TTextEncoding encoding)
{
    return encoding == ledger::TTextEncoding::Utf8 ? "UTF-8" : "GBK";
}

}  // namespace

void TForm1::CreateToolsTab()
{
    // ---- restore ----
    GroupBoxrestore = Make<TGroupBox>(this, TabSheet3, "GroupBoxrestore");
    GroupBoxrestore->SetBounds(8, 96, 384, 244);
    GroupBoxrestore->SetCaption("恢复数据库");
    ListViewbackups = Make<TListView>(this, GroupBoxrestore, "ListViewbackups");
    ListViewbackups->SetBounds(8, 18, 368, 188);
    ListViewbackups->SetViewStyle(vsReport);
    ListViewbackups->SetRowSelect(true);
    ListViewbackups->SetReadOnly(true);
    ListViewbackups->SetHideSelection(false);
    for (const TBackupColumn& c : BACKUP_COLUMNS) {
        TListColumn* column = ListViewbackups->Columns()->Add();
        column->SetCaption(c.Caption);
        column->SetWidth(c.Width);
    }
    Buttonrestore =
        MakeButton(this, GroupBoxrestore, "Buttonrestore", "恢复", 8, 212, 75, 25, &TForm1::ButtonrestoreClick);
    Buttonlistbackups = MakeButton(this, GroupBoxrestore, "Buttonlistbackups", "刷新列表", 90, 212, 75, 25,
                                   &TForm1::ButtonlistbackupsClick);
    TLabel* note = Make<TLabel>(this, GroupBoxrestore, "Labelrestore");
    note->SetAutoSize(false);
    note->SetWordWrap(true);
    note->SetBounds(174, 217, 204, 14);
    note->SetCaption("恢复前会自动另存当前数据库。");

    // ---- CSV ----
    GroupBoxcsv = Make<TGroupBox>(this, TabSheet3, "GroupBoxcsv");
    GroupBoxcsv->SetBounds(320, 8, 430, 84);
    GroupBoxcsv->SetCaption("导出/导入 CSV 文件");
    Buttonexportcsv =
        MakeButton(this, GroupBoxcsv, "Buttonexportcsv", "导出", 10, 20, 75, 25, &TForm1::ButtonexportcsvClick);
    Buttonimportcsv =
        MakeButton(this, GroupBoxcsv, "Buttonimportcsv", "导入", 10, 50, 75, 25, &TForm1::ButtonimportcsvClick);
    Labelcsv = Make<TLabel>(this, GroupBoxcsv, "Labelcsv");
    Labelcsv->SetAutoSize(false);
    Labelcsv->SetWordWrap(true);
    Labelcsv->SetBounds(96, 20, 326, 58);
    Labelcsv->SetCaption(CSV_NOTE);

    // ---- the picture of the year ----
    GroupBoxyear = Make<TGroupBox>(this, TabSheet3, "GroupBoxyear");
    GroupBoxyear->SetBounds(400, 96, 350, 244);
    GroupBoxyear->SetCaption("年度收支图");
    Labelyear = Make<TLabel>(this, GroupBoxyear, "Labelyear");
    Labelyear->SetCaption("年份");
    Labelyear->SetBounds(10, 22, Labelyear->Width(), Labelyear->Height());
    ComboBoxyear = Make<TComboBox>(this, GroupBoxyear, "ComboBoxyear");
    ComboBoxyear->SetStyle(csDropDownList);
    ComboBoxyear->SetBounds(40, 18, 80, ComboBoxyear->Height());
    YearChart1 = Make<TYearChart>(this, GroupBoxyear, "YearChart1");
    YearChart1->SetBounds(8, 44, 334, 192);
    YearChart1->SetDataSource(DataSource1);
    YearChart1->SetSkinData(SkinData1);
    ComboBoxyear->Items()->Add(IntToStr(YearChart1->Year()));
    ComboBoxyear->SetItemIndex(0);
    ComboBoxyear->OnChange = [this](TObject* sender) { ComboBoxyearChange(sender); };
    ComboBoxyear->OnDropDown = [this](TObject* sender) { ComboBoxyearDropDown(sender); };

    PageControl1->OnChange = [this](TObject* sender) { PageControl1Change(sender); };
}

void TForm1::PageControl1Change(TObject*)
{
    if (PageControl1->ActivePage() == TabSheet3) FillBackupList();
}

// ---- restore ----

void TForm1::FillBackupList()
{
    FBackups = ledger::ListBackups();
    TListViewItems* items = ListViewbackups->Items();
    items->BeginUpdate();
    items->Clear();
    for (const ledger::TBackupInfo& backup : FBackups) {
        TListItem* item = items->Add();
        item->SetCaption(WideToAnsi(WithoutExtension(backup.FileName)));
        item->SubItems()->Add(ledger::BackupTimeText(backup.Modified));
        item->SubItems()->Add(ledger::BackupSizeText(backup.Size));
        item->SubItems()->Add(backup.Entries >= 0 ? IntToStr(backup.Entries) : "-");
        item->SubItems()->Add(backup.Status);
    }
    items->EndUpdate();
}

void TForm1::ButtonlistbackupsClick(TObject*) { FillBackupList(); }

void TForm1::ButtonrestoreClick(TObject*)
{
    const int index = ListViewbackups->ItemIndex();
    if (index < 0 || index >= static_cast<int>(FBackups.size())) {
        ShowMessage(ledger::RESTORE_NONE_CHOSEN);
        return;
    }
    const std::wstring name = FBackups[static_cast<size_t>(index)].FileName;
    const std::string shownName = WideToAnsi(name);
    // Checked again now: the file may have changed since it was listed.
    const ledger::TBackupInfo backup = ledger::InspectBackup(ledger::ProgramFilePath(name));
    if (!backup.Sound) {
        FillBackupList();
        ShowMessage("备份 \"" + shownName + "\" 不能用来恢复:" + backup.Problem + "。当前数据库没有改变。");
        return;
    }
    const ledger::TBackupInfo current = ledger::InspectBackup(ledger::ProgramFilePath(ledger::DATABASE_FILE_NAME));
    const std::string currentText =
        current.Entries >= 0 ? "共 " + IntToStr(current.Entries) + " 个记录" : current.Problem;
    if (MessageDlg("确定要用备份 \"" + shownName + "\"(" + ledger::BackupTimeText(backup.Modified) + ",共 " +
                       IntToStr(backup.Entries) + " 个记录)恢复数据库吗?\r\n当前数据库(" + currentText +
                       ")会先另存为 \"恢复前_日期_时间.mdb\",不会被覆盖或删除。",
                   mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo)) != mrYes)
        return;

    std::wstring kept;
    try {
        kept = ledger::RestoreBackup(name, *ADOConnection1);
    } catch (const ledger::ERestoreRefused& refused) {
        FullRefresh();
        FillBackupList();
        ShowMessage(refused.Message());
        return;
    } catch (...) {
        // The ledger is whichever file data.mdb is now; show it, then the error.
        try {
            FullRefresh();
        } catch (...) {
        }
        FillBackupList();
        throw;
    }
    FullRefresh();
    FillBackupList();
    ShowMessage(std::string(ledger::RESTORE_DONE) +
                (kept.empty() ? std::string() : "原来的数据库已另存为 \"" + WideToAnsi(kept) + "\"。"));
}

// ---- CSV ----

bool TForm1::ChooseCsvFile(bool save, std::wstring& path)
{
    if (CsvFileChooser) return CsvFileChooser(save, path);
    std::vector<wchar_t> buffer(32768, L'\0');
    std::copy(path.begin(), path.begin() + std::min<size_t>(path.size(), buffer.size() - 1), buffer.begin());
    OPENFILENAMEW choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = Handle();
    choice.lpstrFilter = L"CSV 文件 (*.csv)\0*.csv\0所有文件 (*.*)\0*.*\0";
    choice.lpstrFile = buffer.data();
    choice.nMaxFile = static_cast<DWORD>(buffer.size());
    choice.lpstrDefExt = L"csv";
    choice.lpstrTitle = save ? L"导出到 CSV 文件" : L"从 CSV 文件导入";
    choice.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&choice) : GetOpenFileNameW(&choice))) return false;
    path = buffer.data();
    return true;
}

void TForm1::ButtonexportcsvClick(TObject*)
{
    SYSTEMTIME today;
    GetLocalTime(&today);
    std::wstring path = AnsiToWide(Format("账本_%04u-%02u-%02u.csv", today.wYear, today.wMonth, today.wDay));
    if (!ChooseCsvFile(true, path)) return;
    ADOConnection1->Open();
    // The list as it is shown: every entry, or the search's result. A list
    // left closed (an insert that failed) shows nothing, so every entry goes.
    const std::string sql = ADOQuery1->Active() ? ADOQuery1->SQL().Text() : ledger::SelectAllSql();
    const int rows = ledger::ExportCsv(ADOConnection1->Handle(), sql, path);
    ShowMessage(std::string(ledger::CSV_EXPORTED) + "共导出 " + IntToStr(rows) + " 个记录到文件 \"" +
                WideToAnsi(path) + "\"。");
}

void TForm1::ButtonimportcsvClick(TObject*)
{
    std::wstring path;
    if (!ChooseCsvFile(false, path)) return;
    ADOConnection1->Open();
    ledger::TCsvImport import;
    try {
        import = ledger::ReadCsvImport(path, ADOConnection1->Handle());
    } catch (const ledger::ECsvError& error) {
        ShowMessage(ledger::CSV_IMPORT_FAILED + Sentence(error.Message()) + ledger::CSV_NOTHING_WRITTEN);
        return;
    }
    const std::string file = WideToAnsi(path.substr(path.find_last_of(L"\\/") + 1));
    if (import.Entries.empty()) {
        ShowMessage("文件 \"" + file + "\" 中没有可导入的记录。");
        return;
    }
    if (MessageDlg("文件 \"" + file + "\"(" + EncodingName(import.Encoding) + " 编码)中共有 " +
                       IntToStr(static_cast<long long>(import.Entries.size())) + " 个记录,都已检查无误。确定要全部导入吗?",
                   mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo)) != mrYes)
        return;
    ledger::ImportEntries(ADOConnection1->Handle(), import.Entries);
    FullRefresh();
    ShowMessage("导入成功!共导入 " + IntToStr(static_cast<long long>(import.Entries.size())) + " 个记录。");
}

// ---- the picture of the year ----

void TForm1::ComboBoxyearChange(TObject*)
{
    int year = 0;
    if (TryStrToInt(ComboBoxyear->Text(), year)) YearChart1->SetYear(year);
}

void TForm1::ComboBoxyearDropDown(TObject*)
{
    // The years the ledger has, this year and the one shown, newest first.
    std::set<int, std::greater<int>> years{YearChart1->Year()};
    SYSTEMTIME today;
    GetLocalTime(&today);
    years.insert(today.wYear);
    try {
        for (const auto& [year, sums] : YearChart1->Sums().Years) years.insert(year);
    } catch (...) {
        // An unreadable ledger offers only the years above.
    }
    TStrings* items = ComboBoxyear->Items();
    items->BeginUpdate();
    items->Clear();
    int shown = 0;
    for (int year : years) {
        if (year == YearChart1->Year()) shown = items->Count();
        items->Add(IntToStr(year));
    }
    items->EndUpdate();
    ComboBoxyear->SetItemIndex(shown);
}
