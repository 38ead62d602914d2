// The category editor: the list of item categories kept in XMLB.txt.
//
// TForm4 (instance Form4) is made last at start-up. Its creation makes sure
// XMLB.txt exists (written with the thirteen default categories when it is
// missing; an existing file, even an empty one, is taken as it is), loads it
// and fills the category choices of both tabs of the entry editor. While the
// program runs, "+" appends the typed text and "-" removes the chosen line;
// each change is written to the file whole and passed on to the entry editor.
// The list shown and the file are equal after every operation: the file is
// written first, and a write that fails (error box) changes neither.
//
// The window is shown, never modally, by the entry editor's "修改" and
// "编辑"; it stays on top and closing it only hides it.
#pragma once

#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/group_box.h"
#include "framework/list_box.h"
#include "framework/std_controls.h"

// The categories XMLB.txt is seeded with, in order.
extern const std::vector<std::string> DEFAULT_CATEGORIES;

class TForm4 : public TForm {
    DECLARE_CLASS_INLINE(TForm4, TForm)
public:
    explicit TForm4(TComponent* owner);
    ~TForm4() override;

    TGroupBox* GroupBox3;
    TEdit* EditXMLB;
    TButton* ButtonXMLBADD;
    TButton* ButtonXMLBDEL;
    TListBox* ListBoxXMLB;
    TButton* Buttoncloseform;
    TListBox* ListBoxxnlbbak;  // never visible: the default list

    void FormCreate(TObject* sender);
    void ButtonXMLBADDClick(TObject* sender);
    void ButtonXMLBDELClick(TObject* sender);
    void ButtoncloseformClick(TObject* sender);

    // Empties the entry editor's two category boxes (their choices and their
    // text) and offers every line of ListBoxXMLB in both, in order.
    void RefillEntryEditorChoices();

private:
    std::vector<std::string> Categories() const;
    // Writes `lines` to XMLB.txt, then shows them (the file first: a failed
    // write leaves the list as it was).
    void Store(const std::vector<std::string>& lines);
};

extern TForm4* Form4;
