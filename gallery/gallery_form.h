// The skin gallery's main window: the program's stored skin on a form with
// one page per control family, a check box that switches the skin
// component's Active off and on, and a button that opens a plain dialog
// ("#32770") of standard controls.
#pragma once

#include <string>

#include "framework/combo_box.h"
#include "framework/ext_controls.h"
#include "framework/forms.h"
#include "framework/page_control.h"
#include "framework/std_controls.h"
#include "gallery/gallery_pages.h"

class TSkinData;

class TGalleryForm : public TForm {
    DECLARE_CLASS_INLINE(TGalleryForm, TForm)
public:
    // Loads GallerySkinFile, when one is named, instead of the stored skin.
    explicit TGalleryForm(TComponent* owner);

    TSkinData* SkinData1 = nullptr;
    TPanel* PanelTop = nullptr;
    TCheckBox* CheckBoxActive = nullptr;
    TButton* ButtonDialog = nullptr;
    TLabel* LabelSkin = nullptr;
    // The skin chooser: the skins beside the program and "None" (Active off).
    TComboBox* ComboBoxSkin = nullptr;
    TPageControl* PageControl1 = nullptr;

    // Shows the page titled `title`; false when there is none.
    bool ShowPage(const std::string& title);
    // The plain dialog (made on first use, modeless); null when it cannot
    // be made.
    HWND ShowPlainDialog();
    HWND PlainDialog() const { return FDialog; }

private:
    void ActiveClick(TObject* sender);
    void SkinChosen(TObject* sender);
    void DialogClick(TObject* sender);
    void BuildPages();
    HWND FDialog = nullptr;
};

extern TGalleryForm* GalleryForm;
// The skin file the next gallery form loads (from the command line).
extern std::string GallerySkinFile;
// Gives the gallery's skin component its stored properties and skin; the
// program's stored skin resource unless replaced (tests read the skin from
// the build's file).
extern void (*GalleryConfigureSkin)(TSkinData& skin);

// The skins the chooser offers, as file names in GallerySkinsFolder, and
// the folder itself ("skins\" beside the program unless set; with its
// trailing separator).
extern const char* const GALLERY_SKINS[3];
extern std::string GallerySkinsFolder;

// The text shown for a skin file option that could not be loaded.
std::string GallerySkinFileMessage(const std::string& file, bool loaded);
// The skin file named on a command line ("--skin FILE", "-skin FILE",
// "/skin FILE" or "--skin=FILE"; quotes allowed); empty when none.
std::string GallerySkinFileOption(const std::string& commandLine);
