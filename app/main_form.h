// The ledger's main window: the list of entries in a grid, the search strip,
// the status bar with the clock, the entry count and the two totals, the
// tools tab (backup, restore, CSV export and import, the picture of the
// year) and the about tab.
//
// TForm1 is the program's first form (instance Form1); closing it ends the
// program, after the user confirms. It owns the connection to data.mdb and
// the two queries: ADOQuery1, the list the grid shows, and ADOQuery2, the
// name check of the entry editor.
//
// Status panels, by index: 0 the clock, 1 the entry count ("共 n 个记录"
// after a reload, "共找到n 个记录" after a search), 2 the expenditure total,
// 3 the income total, 4 the last message.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/restore.h"
#include "framework/application.h"
#include "framework/combo_box.h"
#include "framework/data/ado_connection.h"
#include "framework/data/ado_query.h"
#include "framework/data/data_source.h"
#include "framework/data/db_grid.h"
#include "framework/data/db_navigator.h"
#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "framework/group_box.h"
#include "framework/list_box.h"
#include "framework/list_view.h"
#include "framework/memo.h"
#include "framework/page_control.h"
#include "framework/status_bar.h"
#include "framework/std_controls.h"
#include "framework/timer.h"
#include "skin/data/skin_component.h"

class TYearChart;

// The maker's website, opened by the banner, the link label and "软件更新".
extern const char* const MAKER_WEBSITE;
// The text of panel 1 that tells the list is empty.
extern const char* const EMPTY_LIST_COUNT;  // "共 0 个记录"
// The keyword box's prompt, refused as a keyword.
extern const char* const SEARCH_PROMPT;     // "请输入搜索关键字"

class TForm1 : public TForm {
    DECLARE_CLASS_INLINE(TForm1, TForm)
public:
    explicit TForm1(TComponent* owner);
    // Takes WheelScroll off the application and forgets Form1.
    ~TForm1() override;

    // ---- controls ----
    TImage* Image1;
    TPageControl* PageControl1;
    TTabSheet* TabSheet1;  // 收支管理
    TGroupBox* GroupBox1;
    TComboBox* ComboBoxsearch;
    TComboBox* ComboBoxsearchclass;
    TButton* Buttonsearch;
    TButton* Buttonaddnewinfo;
    TButton* Buttonre;
    TButton* Buttondel;
    TDBNavigator* DBNavigator1;
    TDBGrid* DBGrid1;
    TTabSheet* TabSheet3;  // 辅助工具
    TGroupBox* GroupBox4;
    TEdit* EditDATABAKNAME;
    TButton* Buttonbakdatabasa;
    TLabel* Label3;
    // The tools tab's own groups (tools_tab.cpp): restoring a backup, CSV
    // export and import, and the picture of the year.
    TGroupBox* GroupBoxrestore;
    TListView* ListViewbackups;
    TButton* Buttonrestore;
    TButton* Buttonlistbackups;
    TGroupBox* GroupBoxcsv;
    TButton* Buttonexportcsv;
    TButton* Buttonimportcsv;
    TLabel* Labelcsv;
    TGroupBox* GroupBoxyear;
    TLabel* Labelyear;
    TComboBox* ComboBoxyear;
    TYearChart* YearChart1;
    TGroupBox* GroupBox3;  // never visible: the totals' working storage
    TListBox* ListBoxtjzhichu;
    TEdit* Edittjzhichu;
    TListBox* ListBoxtjshouru;
    TEdit* Edittjshouru;
    TTabSheet* TabSheet2;  // 关于
    TMemo* Memo1;
    TLabel* Label1;
    TButton* Button1;
    TButton* Button_close;
    TStatusBar* StatusBar1;

    // ---- data and timer ----
    TADOConnection* ADOConnection1;
    TADOQuery* ADOQuery1;
    TADOQuery* ADOQuery2;
    TDataSource* DataSource1;
    TTimer* Timer;
    // The skin component: it holds the program's stored skin and skins every
    // window of the program by itself; the ledger never calls it.
    TSkinData* SkinData1;

    // ---- events ----
    void FormCreate(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void TimerTimer(TObject* sender);
    // The application's message hook: the mouse wheel pages the grid while
    // it has the focus and reaches no window at all.
    void WheelScroll(MSG& msg, bool& handled);
    void ButtonsearchClick(TObject* sender);
    void ComboBoxsearchChange(TObject* sender);
    void ButtonreClick(TObject* sender);
    void ButtonaddnewinfoClick(TObject* sender);
    void ButtondelClick(TObject* sender);
    void DBGrid1DblClick(TObject* sender);
    void DBGrid1CellClick(TColumn* column);
    // Backs data.mdb up as "<name box>.mdb" and says whether a new copy was
    // made (and, when not, that an earlier copy of that name is kept). An
    // empty name box is refused with a message.
    void ButtonbakdatabasaClick(TObject* sender);
    // Text typed in the backup name box keeps the clock from replacing it.
    void EditDATABAKNAMEChange(TObject* sender);
    // Puts the backup chosen in the list in place of data.mdb after asking
    // once (see restore.h); the ledger is then shown afresh.
    void ButtonrestoreClick(TObject* sender);
    // Lists the backups beside the program again (also done when the tools
    // tab is shown and after a backup).
    void ButtonlistbackupsClick(TObject* sender);
    // Saves the list as shown (every entry, or the search's result) as CSV.
    void ButtonexportcsvClick(TObject* sender);
    // Adds the entries of a CSV file after checking them all and asking once.
    void ButtonimportcsvClick(TObject* sender);
    void ComboBoxyearChange(TObject* sender);
    void ComboBoxyearDropDown(TObject* sender);
    void PageControl1Change(TObject* sender);
    void Image1Click(TObject* sender);
    void Label1Click(TObject* sender);
    void Button1Click(TObject* sender);
    void Button_closeClick(TObject* sender);

    // The text of status panel `index`.
    std::string PanelText(int index) const;

    // How many rows the last message about amounts left out of the totals
    // named (see FullRefresh); 0 when none was due.
    int AmountsLeftOutReported = 0;

    // Chooses the CSV file to write (`save`) or read; `path` holds the
    // suggested name and receives the choice. False when the user cancels.
    // The system's file dialog unless a test puts a chooser here.
    std::function<bool(bool save, std::wstring& path)> CsvFileChooser;
    // The backups the list shows, in its order.
    const std::vector<ledger::TBackupInfo>& ListedBackups() const { return FBackups; }

protected:
    // Keeps the row of the link and the two buttons above the status bar
    // whenever the client area changes (see PlaceButtonRow).
    void WndProc(TMessage& message) override;

private:
    void CreateControls();
    // Puts the link and the two buttons under the tabs at their design's
    // places at the window's scale, or, where the status bar would cover
    // their bottom, all three lifted together just enough to sit on it: the
    // window's outer size is fixed, and a skin's frame can take more of its
    // height than the system's does (at 150 % the rounding of the scaled
    // frame and status bar takes the buttons' last row).
    void PlaceButtonRow();
    void CreateDataAccess();
    void OpenWebsite();
    void CreateToolsTab();
    void FillBackupList();
    bool ChooseCsvFile(bool save, std::wstring& path);

    // The backup name box shows today's date and "_BAK_" unless the user has
    // typed a name that has not been used for a backup yet.
    void ShowDefaultBackupName();

    bool FButtonRowMade = false;
    bool FWheelHooked = false;
    bool FBackupNameTyped = false;
    bool FSettingBackupName = false;
    std::vector<ledger::TBackupInfo> FBackups;
};

extern TForm1* Form1;
