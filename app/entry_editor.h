// The entry editor: one window with two tabs, "添加" to add a new ledger
// entry and "编辑" to change the entry that is current in the main window's
// list. The main window shows exactly one of the two tabs each time it opens
// the editor.
//
// TForm2 (instance Form2) is made once at start-up, after the main window,
// and lives until the program ends; it is shown without being modal, stays
// on top, and closing it only hides it. Outcomes go to panel 4 of the main
// window's status bar; refused input to a message box.
//
// The edit tab's controls are bound through Form1->DataSource1 to the list
// query's current row, and follow it also while the editor is hidden. Every
// change of their text (typed, or because another row is shown) raises the
// change flag Edit_falseortrue to "true"; the main window lowers it when it
// opens the edit tab, and "修改" lowers it when it saves or finds nothing to
// save.
#pragma once

#include "framework/combo_box.h"
#include "framework/data/db_controls.h"
#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "framework/group_box.h"
#include "framework/memo.h"
#include "framework/page_control.h"
#include "framework/std_controls.h"
#include "framework/timer.h"

// The change flag's two texts.
extern const char* const CHANGE_FLAG_TRUE;   // "true"
extern const char* const CHANGE_FLAG_FALSE;  // "false"
// The direction box's prompt, refused as a direction.
extern const char* const DIRECTION_PROMPT;   // "请选择该选项"
// The remark an add leaves in the box for the next entry.
extern const char* const REMARK_NOT_GIVEN;   // "未填写备注"

class TForm2 : public TForm {
    DECLARE_CLASS_INLINE(TForm2, TForm)
public:
    // Binds the edit tab to Form1->DataSource1, so the main window must
    // exist first.
    explicit TForm2(TComponent* owner);
    ~TForm2() override;

    TPageControl* PageControl1;

    // ---- 添加 ----
    TTabSheet* TabSheet1;
    TGroupBox* GroupBox1;
    TComboBox* ComboBoxxiangmu;
    TComboBox* ComboBoxxiangmuleibie;
    TButton* Buttoneditxmlb;
    TComboBox* ComboBoxzhichushouru;
    TComboBox* ComboBoxjine;
    TDateTimePicker* DateTimePickeredit;
    TMemo* Memobeizhu;
    TButton* Buttonaddinfo;
    TButton* Button2;

    // ---- 编辑 ----
    TTabSheet* TabSheet2;
    TGroupBox* GroupBox2;
    TDBEdit* DBEdit_xiangmuedit;
    TDBComboBox* DBComboBoxclass;
    TButton* Buttonxiugaileibie;
    TDBComboBox* DBComboBoxshouruzhichu;
    TDBComboBox* DBComboBoxjine;
    TDBComboBox* DBComboBoxeditdate;
    TDBMemo* DBMemoxiangmubeizhuedit;
    TButton* Buttonedit;
    TButton* Buttondel;
    TButton* Button1;
    TEdit* Edit_falseortrue;  // never visible: the change flag

    // One-shot 10 ms timer of the deferred save; disabled, interval 0, at rest.
    TTimer* Timershuaxinliebiao;

    // ---- events ----
    void FormCreate(TObject* sender);
    void ButtonaddinfoClick(TObject* sender);
    void Button2Click(TObject* sender);
    void ButtoneditClick(TObject* sender);
    void TimershuaxinliebiaoTimer(TObject* sender);
    void Button1Click(TObject* sender);
    void ButtondelClick(TObject* sender);
    void ButtoneditxmlbClick(TObject* sender);
    void DBEdit_xiangmueditChange(TObject* sender);
    void DBComboBoxclassChange(TObject* sender);
    void DBComboBoxshouruzhichuChange(TObject* sender);
    void DBComboBoxjineChange(TObject* sender);
    void DBComboBoxeditdateChange(TObject* sender);
    void DBMemoxiangmubeizhueditChange(TObject* sender);

    // Shows the editor with only the add tab, or only the edit tab.
    void ShowAddTab();
    void ShowEditTab();

private:
    void CreateAddTab();
    void CreateEditTab();
    void RaiseChangeFlag();
    // Clears the add tab for the next entry; the category stays.
    void ResetAddTab();
};

extern TForm2* Form2;
