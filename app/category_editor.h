// The category editor: the list of item categories kept in XMLB.txt.
//
// XMLB.txt is GBK text; a file in UTF-8 is read as such and written back in
// GBK at the first change. A file that is neither cannot be read cleanly: its
// lines are shown as they stand, but "+" and "-" are refused with a message
// and the file is never written back.
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

#include <memory>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/group_box.h"
#include "framework/list_box.h"
#include "framework/std_controls.h"

// The categories XMLB.txt is seeded with, in order.
extern const std::vector<std::string> DEFAULT_CATEGORIES;
// Why "+" and "-" are refused on a file that was not read cleanly.
extern const char* const CATEGORY_FILE_UNREADABLE;

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
    // text) and offers every category in both, in order (a long list waits
    // until the box's list is opened, see list_filling.h).
    void RefillEntryEditorChoices();
    // The categories as XMLB.txt holds them, in order.
    std::vector<std::string> Categories() const;

private:
    // True when the file was read cleanly; else says why it is left alone.
    bool CanWriteBack() const;
    // Writes `lines` to XMLB.txt and makes them the categories (the file
    // first: a failed write leaves everything as it was).
    // A UTF-8 file gets its own lines back, `utf8` (the same lines as the
    // file holds them, so that characters GBK lacks stay as they were).
    void Store(std::vector<std::string> lines, std::vector<std::string> utf8);

    // The file's lines, shared with the entry editor's pending choices; a
    // line added at the end of the file is added here in place.
    std::shared_ptr<std::vector<std::string>> FCategories = std::make_shared<std::vector<std::string>>();
    bool FReadCleanly = true;
    // A UTF-8 file with characters GBK lacks is written back as UTF-8, from
    // its own lines.
    bool FUtf8File = false;
    bool FByteOrderMark = false;
    std::vector<std::string> FUtf8Lines;
    // The file's size when last read or written, and whether its bytes are
    // in the encoding its new lines are written in (GBK, or UTF-8 for the
    // file above): "+" then only appends the new line.
    long long FFileSize = -1;
    bool FAppendable = false;
};

extern TForm4* Form4;
