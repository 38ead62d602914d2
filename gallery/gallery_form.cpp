// The skin gallery's main window and its plain dialog.
#include "gallery/gallery_form.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/sysutils.h"
#include "skin/data/skin_component.h"
#include "skin/data/stored_skin.h"

TGalleryForm* GalleryForm = nullptr;

// ---- the page list ------------------------------------------------------------------

namespace {

std::vector<TGalleryPageEntry>& PageList()
{
    static std::vector<TGalleryPageEntry> pages;
    return pages;
}

constexpr int FORM_CLIENT_WIDTH = 640;
constexpr int FORM_CLIENT_HEIGHT = 440;
constexpr int TOP_PANEL_HEIGHT = 36;

}  // namespace

TGalleryPageRegistrar::TGalleryPageRegistrar(int order, const char* title, TGalleryPageBuilder build)
{
    PageList().push_back(TGalleryPageEntry{order, title, build});
}

std::vector<TGalleryPageEntry> GalleryPages()
{
    std::vector<TGalleryPageEntry> pages = PageList();
    std::stable_sort(pages.begin(), pages.end(),
                     [](const TGalleryPageEntry& a, const TGalleryPageEntry& b) { return a.Order < b.Order; });
    return pages;
}

// ---- the command line -----------------------------------------------------------------

std::string GallerySkinFileOption(const std::string& commandLine)
{
    // Split into words, keeping quoted words whole.
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, any = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (any) words.push_back(word);
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(word);
    auto isOption = [](std::string w) {
        for (char& c : w) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return w == "--skin" || w == "-skin" || w == "/skin";
    };
    for (size_t i = 0; i < words.size(); ++i) {
        if (isOption(words[i]) && i + 1 < words.size()) return words[i + 1];
        if (words[i].size() > 7 && isOption(words[i].substr(0, 6)) && words[i][6] == '=') return words[i].substr(7);
    }
    return std::string();
}

std::string GallerySkinFileMessage(const std::string& file, bool loaded)
{
    if (loaded) return "Skin: " + file;
    return "Skin file not loaded (" + file + "): showing the stored skin";
}

// ---- the form -------------------------------------------------------------------------------

std::string GallerySkinFile;
const char* const GALLERY_SKINS[3] = {"ravelbook.skn", "paper.skn", "dusk.skn"};
std::string GallerySkinsFolder;
void (*GalleryConfigureSkin)(TSkinData& skin) = [](TSkinData& skin) { ConfigureStoredSkin(skin); };

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner)
{
    const std::string skinFile = GallerySkinFile;
    SetName("GalleryForm");
    SetCaption("Ravelbook skin gallery");
    SetPosition(poDesktopCenter);
    SetBounds(0, 0, FORM_CLIENT_WIDTH + 16, FORM_CLIENT_HEIGHT + 40);
    SetClientSize(FORM_CLIENT_WIDTH, FORM_CLIENT_HEIGHT);
    // An English program: a Latin interface font (8 points).
    Font()->SetName("Tahoma");
    Font()->SetHeight(-11);

    // The skin component first, as on the ledger's main window.
    SkinData1 = new TSkinData(this);
    SkinData1->SetName("SkinData1");
    GalleryConfigureSkin(*SkinData1);
    // The page control with painted tabs is the "advpagecontrol" kind of the
    // class-name table.
    SkinData1->Skin3rd()->Add("TAdvPageControl=advpagecontrol");
    std::string skinText = "Skin: stored";
    if (!skinFile.empty()) {
        const bool exists = FileExists(skinFile);
        if (exists) SkinData1->SetSkinFile(skinFile);
        skinText = GallerySkinFileMessage(skinFile, exists && !SkinData1->NoSkin());
    }

    PanelTop = new TPanel(this);
    PanelTop->SetName("PanelTop");
    PanelTop->SetParent(this);
    PanelTop->SetAlign(alTop);
    PanelTop->SetHeight(TOP_PANEL_HEIGHT);
    PanelTop->SetCaption("");
    PanelTop->SetBevelOuter(bvNone);

    CheckBoxActive = new TCheckBox(this);
    CheckBoxActive->SetName("CheckBoxActive");
    CheckBoxActive->SetParent(PanelTop);
    CheckBoxActive->SetBounds(10, 9, 110, 18);
    CheckBoxActive->SetCaption("Skin active");
    CheckBoxActive->SetChecked(true);
    CheckBoxActive->OnClick = [this](TObject* sender) { ActiveClick(sender); };

    ButtonDialog = new TButton(this);
    ButtonDialog->SetName("ButtonDialog");
    ButtonDialog->SetParent(PanelTop);
    ButtonDialog->SetBounds(130, 6, 110, 24);
    ButtonDialog->SetCaption("Plain dialog...");
    ButtonDialog->OnClick = [this](TObject* sender) { DialogClick(sender); };

    ComboBoxSkin = new TComboBox(this);
    ComboBoxSkin->SetName("ComboBoxSkin");
    ComboBoxSkin->SetParent(PanelTop);
    ComboBoxSkin->SetStyle(csDropDownList);
    ComboBoxSkin->SetBounds(252, 7, 110, 22);
    for (const char* name : {"Ravelbook", "Paper", "Dusk", "None"}) ComboBoxSkin->Items()->Add(name);
    ComboBoxSkin->SetItemIndex(0);
    ComboBoxSkin->OnChange = [this](TObject* sender) { SkinChosen(sender); };

    LabelSkin = new TLabel(this);
    LabelSkin->SetName("LabelSkin");
    LabelSkin->SetParent(PanelTop);
    LabelSkin->SetBounds(372, 11, 260, 16);
    LabelSkin->SetCaption(skinText);

    PageControl1 = new TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetParent(this);
    PageControl1->SetAlign(alClient);
    BuildPages();
}

void TGalleryForm::BuildPages()
{
    int index = 0;
    for (const TGalleryPageEntry& entry : GalleryPages()) {
        auto* sheet = new TTabSheet(this);
        sheet->SetName("Page" + std::to_string(++index));
        sheet->SetPageControl(PageControl1);
        sheet->SetCaption(entry.Title);
        TGalleryPage page;
        page.Form = this;
        page.Sheet = sheet;
        page.Width = FORM_CLIENT_WIDTH - 8;
        page.Height = FORM_CLIENT_HEIGHT - TOP_PANEL_HEIGHT - 30;
        entry.Build(page);
    }
    if (PageControl1->PageCount() > 0) PageControl1->SetActivePageIndex(0);
}

bool TGalleryForm::ShowPage(const std::string& title)
{
    for (int i = 0; i < PageControl1->PageCount(); ++i) {
        if (PageControl1->Pages(i)->Caption() == title) {
            PageControl1->SetActivePageIndex(i);
            return true;
        }
    }
    return false;
}

void TGalleryForm::ActiveClick(TObject*)
{
    SkinData1->SetActive(CheckBoxActive->Checked());
}

// A skin of the chooser is loaded from its file (a file that cannot be used
// says so and the skin stays); "None" switches the skin component off.
void TGalleryForm::SkinChosen(TObject*)
{
    const int index = ComboBoxSkin->ItemIndex();
    if (index < 0) return;
    if (index >= 3) {
        SkinData1->SetActive(false);
        CheckBoxActive->SetChecked(false);
        LabelSkin->SetCaption("Skin: none");
        return;
    }
    const std::string folder = GallerySkinsFolder.empty() ? ProgramFolder() + "skins\\" : GallerySkinsFolder;
    SkinData1->SetSkinFile(folder + GALLERY_SKINS[index]);
    if (!SkinData1->NoSkin()) {
        SkinData1->SetActive(true);
        CheckBoxActive->SetChecked(true);
    }
    LabelSkin->SetCaption("Skin: " + SkinData1->Model().SkinName);
}

void TGalleryForm::DialogClick(TObject*)
{
    if (HWND dialog = ShowPlainDialog()) SetForegroundWindow(dialog);
}

// ---- the plain dialog ----------------------------------------------------------------------------

namespace {

// An in-memory dialog template: DLGTEMPLATE, then the items, each
// DWORD-aligned; texts and class names as UTF-16.
class TDialogTemplate {
public:
    TDialogTemplate(const wchar_t* caption, DWORD style, short cx, short cy)
    {
        DLGTEMPLATE head{};
        head.style = style | DS_SETFONT;
        head.cx = cx;
        head.cy = cy;
        Put(&head, sizeof head);
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        Text(caption);
        Word(9);  // point size, then the face
        Text(L"SimSun");
    }
    void Item(const wchar_t* className, const wchar_t* text, DWORD style, short x, short y, short cx, short cy, WORD id)
    {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = id;
        Put(&item, sizeof item);
        Text(className);
        Text(text);
        Word(0);  // no creation data
        ++reinterpret_cast<DLGTEMPLATE*>(FBytes.data())->cdit;
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FBytes.data()); }

private:
    void Put(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        FBytes.insert(FBytes.end(), bytes, bytes + size);
    }
    void Word(WORD value) { Put(&value, sizeof value); }
    void Text(const wchar_t* text) { Put(text, (wcslen(text) + 1) * sizeof(wchar_t)); }
    void Align()
    {
        while (FBytes.size() % 4) FBytes.push_back(0);
    }
    std::vector<unsigned char> FBytes;
};

INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        CheckDlgButton(dialog, 103, BST_CHECKED);
        CheckRadioButton(dialog, 104, 105, 104);
        SendDlgItemMessageW(dialog, 107, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"First"));
        SendDlgItemMessageW(dialog, 107, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Second"));
        SendDlgItemMessageW(dialog, 107, CB_SETCURSEL, 0, 0);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ShowWindow(dialog, SW_HIDE);
            return TRUE;
        }
        if (LOWORD(wParam) == 102) {
            // "Count": each click adds one to the number in the edit.
            const UINT value = GetDlgItemInt(dialog, 106, nullptr, FALSE);
            SetDlgItemInt(dialog, 106, value + 1, FALSE);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        ShowWindow(dialog, SW_HIDE);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

HWND TGalleryForm::ShowPlainDialog()
{
    if (!FDialog || !IsWindow(FDialog)) {
        TDialogTemplate dialog(L"Plain dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 220, 150);
        dialog.Item(L"STATIC", L"Standard controls of a dialog window:", SS_LEFT, 8, 8, 200, 10, 100);
        dialog.Item(L"BUTTON", L"Group", BS_GROUPBOX, 8, 22, 100, 60, 101);
        dialog.Item(L"BUTTON", L"Check box", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 36, 84, 12, 103);
        dialog.Item(L"BUTTON", L"Radio one", BS_AUTORADIOBUTTON | WS_TABSTOP, 16, 50, 84, 12, 104);
        dialog.Item(L"BUTTON", L"Radio two", BS_AUTORADIOBUTTON, 16, 64, 84, 12, 105);
        dialog.Item(L"EDIT", L"0", ES_LEFT | WS_BORDER | WS_TABSTOP, 116, 26, 96, 14, 106);
        dialog.Item(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 116, 46, 96, 60, 107);
        dialog.Item(L"BUTTON", L"Count", BS_PUSHBUTTON | WS_TABSTOP, 116, 66, 96, 16, 102);
        dialog.Item(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 104, 128, 50, 16, IDOK);
        dialog.Item(L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 162, 128, 50, 16, IDCANCEL);
        FDialog = CreateDialogIndirectParamW(GetModuleHandleA(nullptr), dialog.Get(), Handle(), PlainDialogProc, 0);
    }
    if (FDialog) ShowWindow(FDialog, SW_SHOW);
    return FDialog;
}
