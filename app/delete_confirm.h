// The delete confirmation: a small window that asks before the current entry
// of the main window's list is deleted, and deletes it.
//
// TForm3 (instance Form3) is made once at start-up and shown, never modally,
// by "删除" in the main window and on the entry editor's edit tab; it stays on
// top and closing it only hides it. While it is open the user may still move
// in the grid: the row that is current when "确认" is pressed is deleted.
#pragma once

#include "framework/forms.h"
#include "framework/std_controls.h"

class TForm3 : public TForm {
    DECLARE_CLASS_INLINE(TForm3, TForm)
public:
    explicit TForm3(TComponent* owner);
    ~TForm3() override;

    TLabel* Label1;
    TButton* Buttondelyes;
    TButton* Buttonnodel;

    // Deletes the list's current row, reloads the list (the totals keep their
    // values), reports "删除成功!" in panel 4 and hides the entry editor and
    // this window. With the list's count reading "共 0 个记录" it only says
    // there is nothing to delete. A database error ends it where it happens;
    // the window then stays open.
    void ButtondelyesClick(TObject* sender);
    void ButtonnodelClick(TObject* sender);
};

extern TForm3* Form3;
