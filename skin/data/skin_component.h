// TSkinData: the component a form carries to get a skinned user interface.
// It holds the skin (stored with the form as "SkinStream", or read from a
// skin file), builds the skin model from it and hands it to the skin
// manager, which decides which windows are skinned. Its published
// properties are the whole configuration of the skin engine.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "framework/classes.h"
#include "framework/graphics.h"
#include "framework/streams.h"
#include "framework/string_list.h"
#include "skin/data/skin_model_core.h"
#include "skin/data/skin_reader.h"

class TControl;
class TSkinData;

// Kinds of windows and controls that can be skinned (bit i of the set is
// value i).
enum TSkinControlType {
    xcMainMenu,      // 0
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,     // 9
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,    // 20
    xcFastReport,    // 21
};
using TSkinControlTypes = unsigned;
constexpr TSkinControlTypes SkinControl(TSkinControlType t) { return 1u << t; }
constexpr TSkinControlTypes ALL_SKIN_CONTROLS = (1u << (xcFastReport + 1)) - 1;
// What a new component skins: everything but menu items and report previews.
constexpr TSkinControlTypes DEFAULT_SKIN_CONTROLS =
    ALL_SKIN_CONTROLS & ~SkinControl(xcMenuItem) & ~SkinControl(xcFastReport);
extern const TEnumInfo SkinControlTypeEnum;

// Behaviour switches.
enum TSkinOption {
    xoMDIScrollbar,        // 0
    xoMenuMerge,
    xoTransparent,
    xoPreview,             // 3
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoToolbarButton,
    xoMDIChildBorder,      // 8
    xoMenuBG,
    xoCaptionButtonHint,   // 10
    xoFormScrollbar,       // 11
};
using TSkinOptions = unsigned;
constexpr TSkinOptions SkinOption(TSkinOption o) { return 1u << o; }
constexpr TSkinOptions DEFAULT_SKIN_OPTIONS =
    SkinOption(xoPreview) | SkinOption(xoToolbarBK) | SkinOption(xoCaptionButtonHint);
extern const TEnumInfo SkinOptionEnum;

// Which windows a component serves.
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };
extern const TEnumInfo SkinFormTypeEnum;

// Decides per window class whether a window is skinned.
using TOnFormSkin = std::function<void(TObject* sender, const std::string& aName, bool& DoSkin)>;
// Lets the application supply its own skinner for a control.
using TOnSkinControl = std::function<void(TComponent* sender, TSkinData* skinData, TControl* form, TControl* control,
                                          const std::string& controlClass, TComponent*& skinnedControl)>;
// Runs before and after a form is skinned.
using TOnSkinForm = std::function<void(TObject* sender, HWND ahwnd, const std::string& aName)>;

inline constexpr const char* SKIN_DATA_VERSION = "5.40.07.15";
inline constexpr int SKIN_DATA_DEFAULT_DISABLE_TAG = 99;
// The bitmap resource with the system menu's glyphs.
inline constexpr const char* SKIN_MENU_GLYPHS_RESOURCE = "LUMORAMENU";

// The built-in class-name table: "ClassName=Kind" lines for controls of
// other libraries.
int BuiltInSkin3rdCount();
const char* BuiltInSkin3rdLine(int index);

// The platform functions the control skinners use, looked up by name in
// "user32.dll" when the program starts; null on a system without them.
using TGetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TTrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
extern TGetScrollBarInfoProc SkinGetScrollBarInfoProc;
extern TTrackMouseEventProc SkinTrackMouseEventProc;
// GetScrollBarInfo; false when the platform lacks it.
bool SkinGetScrollBarInfo(HWND window, LONG idObject, SCROLLBARINFO& info);
// Asks for WM_MOUSELEAVE on `window`; nothing when the platform lacks it.
void SkinTrackMouseLeave(HWND window);

// The 64 x 16 one-bit picture of the system menu's glyphs (restore, maximize,
// minimize, close), white where nothing is drawn: the program's resource
// when it has one, else the same picture drawn here. The caller owns it.
HBITMAP LoadSkinMenuGlyphs(HINSTANCE instance);

// The messages the component shows when a skin cannot be used. Each has an
// English text of its own; a program in another language gives its texts
// with TSkinData::SetMessageText. In the texts, %1 stands for the skin
// file's name and %2 for what is wrong (itself one of the texts, filled in
// with the image or border it names as %1).
enum TSkinMessage {
    smNotFound,      // the file is not there
    smCannotRead,    // the file cannot be opened or read
    smCannotUse,     // the file was read but holds no usable skin (%1 file, %2 why)
    smDamaged,       // why: the container is damaged
    smEmpty,         // why: the file is empty
    smTooManyFiles,  // why: more than 1001 files listed
    smOverBudget,    // why: the images need too much memory
    smMissingImage,  // why: the description names an image (%1) the container lacks
    smNoBorder,      // why: a window border (%1) cannot be built
    smOlderNote,     // added after the unknown-version message; empty in English
};
inline constexpr int SKIN_MESSAGE_COUNT = smOlderNote + 1;
// The English text of each message.
const char* DefaultSkinMessage(TSkinMessage message);

class TSkinData : public TComponent {
    DECLARE_CLASS(TSkinData, TComponent)
public:
    explicit TSkinData(TComponent* owner);
    ~TSkinData() override;

    // ---- published properties ---------------------------------------------
    bool Active() const { return FActive; }
    void SetActive(bool value);
    int DisableTag() const { return FDisableTag; }
    void SetDisableTag(int value) { FDisableTag = value; }
    TSkinControlTypes SkinControls() const { return FSkinControls; }
    void SetSkinControls(TSkinControlTypes value) { FSkinControls = value & ALL_SKIN_CONTROLS; }
    TSkinOptions Options() const { return FOptions; }
    void SetOptions(TSkinOptions value) { FOptions = value & ((1u << (xoFormScrollbar + 1)) - 1); }
    TStringList* Skin3rd() const { return FSkin3rd.get(); }
    void SetSkin3rd(TStringList* value);
    const std::string& SkinFile() const { return FSkinFile; }
    // At run time a file that loads replaces the stored skin and the model at
    // once, and every window skinned with this component takes the new skin
    // in the manager's next pass. A file that is missing, damaged, of an
    // unknown version or beyond the memory budget (TSkinBudget) shows a
    // message saying so and leaves the skin, the model and the skinning as
    // they were.
    void SetSkinFile(const std::string& value);
    // "(Good)" in the designer when a skin is stored, else "(none)"; writing
    // changes nothing.
    std::string SkinStore() const;
    void SetSkinStore(const std::string&) {}
    TSkinFormType SkinFormtype() const { return FSkinFormtype; }
    void SetSkinFormtype(TSkinFormType value) { FSkinFormtype = value; }
    const std::string& Version() const { return FVersion; }
    void SetVersion(const std::string&) {}
    bool MenuUpdate() const { return FMenuUpdate; }
    void SetMenuUpdate(bool value) { FMenuUpdate = value; }
    bool MenuMerge() const { return FMenuMerge; }
    void SetMenuMerge(bool value) { FMenuMerge = value; }

    // ---- events ----------------------------------------------------------------
    TOnFormSkin OnFormSkin;
    TNotifyEvent OnSkinChanged;
    TOnSkinControl OnSkinControl;
    TOnSkinForm OnBeforeSkinForm;
    TOnSkinForm OnAfterSkinForm;

    // ---- the stored skin -------------------------------------------------------
    // Reads the "SkinStream" property: a 32-bit byte count, then that many
    // bytes of compressed container; a count above 0 is loaded at once.
    // Throws EReadError when the stream ends early.
    void ReadSkinStream(TStream& stream);
    // Writes the "SkinStream" property: the count, then the bytes.
    void WriteSkinStream(TStream& stream) const;
    TMemoryStream& StoredSkin() { return FStoredSkin; }
    // Rebuilds the model from the stored skin. False (the model untouched,
    // the no-skin flag set) when the container cannot be read or its images
    // pass the memory budget; an unknown version also shows the "Older Skin
    // File" message.
    bool LoadSkin();
    // The limits loading a skin keeps to: TSkinBudget's, with one image at
    // most the size of the screen (and never less than 1920 x 1200 pixels).
    static TSkinBudget ScreenBudget();
    // Called by the skin manager when a pass has run: the model a new skin
    // replaced is kept until then, so nothing drawn before the pass ever
    // reads freed objects.
    void SkinPassDone();
    // True until a model has been built from a skin.
    bool NoSkin() const { return FNoSkin; }

    // The text of `message` (see TSkinMessage), the English one until a
    // program gives its own; an empty text goes back to the English one.
    const std::string& MessageText(TSkinMessage message) const;
    void SetMessageText(TSkinMessage message, const std::string& text);
    // `message` with %1 and %2 replaced by `first` and `second`.
    std::string SkinMessage(TSkinMessage message, const std::string& first = std::string(),
                            const std::string& second = std::string()) const;

    void Loaded() override;

    // ---- what the skinners read ------------------------------------------------
    const TSkinModel& Model() const { return *FModel; }
    // The model at a display scale (pixels an inch): the loaded model itself
    // at 96 (and while no skin is loaded), else a copy with every image
    // resampled and every size scaled, made on first use and kept until the
    // skin changes. Skinners ask for their window's scale (WindowDpi).
    const TSkinModel& ModelFor(UINT dpi) const;
    // The scaled models made so far (for tests and the benchmark).
    std::size_t ScaledModelCount() const { return FScaledModels.size(); }
    TDataSkinObject* Object(TSkinSection section) const { return FModel->Object(section); }
    TDataSkinBorder* Border(TSkinBorderSide side) const { return FModel->Border(side); }
    TDataSkinTitle* Title() const { return FModel->Title.get(); }
    TDataSkinButton* Buttons() const { return FModel->Buttons.get(); }
    TSkinColour FaceColour() const { return FModel->FaceColour(); }
    HBRUSH FaceBrush() const { return FFaceBrush; }
    // Changes with every skin this component uses, and no other skin's model
    // of the program has the same number: a picture composed from the model
    // is stale once it changed, and one kept under the number is this model's.
    unsigned ModelGeneration() const { return FModelGeneration; }
    // The control kind that the class-name table gives `className` ("edit",
    // "combobox", "nil", ...), in lower case; empty when the table has no line.
    std::string ThirdPartyKind(const std::string& className) const;

    TFont* CaptionFont() const { return FCaptionFont.get(); }
    TBitmap* IconBitmap() const { return FIconBitmap.get(); }
    HIMAGELIST MenuGlyphs() const { return FMenuGlyphs; }
    SIZE MaximizedSize() const { return FMaximizedSize; }

    // The gate of non-client painting: a form skinner closes it while a menu
    // change passes through and paints its frame only while it is open.
    bool NCPaintOpen() const { return FNCPaintOpen; }
    void SetNCPaintOpen(bool value) { FNCPaintOpen = value; }

    // The window the skin manager is deciding on (for OnFormSkin).
    HWND DecidingWindow() const { return FDecidingWindow; }
    void SetDecidingWindow(HWND window) { FDecidingWindow = window; }

    // Caption-button hints: shown at `rect`'s top-left corner when
    // xoCaptionButtonHint is set and no hint is showing.
    void ShowCaptionHint(const RECT& rect, const std::string& text);
    void HideCaptionHint();
    bool CaptionHintShowing() const { return FHintShowing; }
    HWND CaptionHintWindow() const { return FHintWindow; }

private:
    // A model built from a compressed container, or null: the container
    // cannot be read, or its description names images it does not hold, or
    // a window border cannot be built (an unknown version has shown its
    // message; any other fault is described in `problem`).
    std::unique_ptr<TSkinModel> ReadModel(const std::uint8_t* data, std::size_t size, std::string& problem);
    // Puts `model` in place of the current one (kept until the next pass).
    void UseModel(std::unique_ptr<TSkinModel> model);
    void ShowSkinFileMessage(const std::string& text);
    void MakeCaptionFont();
    void MakeIconBitmap();
    void MakeMenuGlyphs();
    void RecreateFaceBrush();
    bool Designing() const { return HasState(csDesigning); }

    // The skin manager's side of the component. The manager takes these
    // over; until it exists they only keep the component's own state.
    void AttachManager();
    void StartManager();
    void RequestManagerPass(int pass);
    void ApplyNewSkinFile();
    void DetachManager();

    bool FActive = false;
    int FDisableTag = SKIN_DATA_DEFAULT_DISABLE_TAG;
    TSkinControlTypes FSkinControls = DEFAULT_SKIN_CONTROLS;
    TSkinOptions FOptions = DEFAULT_SKIN_OPTIONS;
    std::unique_ptr<TStringList> FSkin3rd;
    // Skin3rd's lines in lower case, as of the list's generation noted.
    mutable std::vector<std::string> FSkin3rdLowered;
    mutable unsigned FSkin3rdLoweredFrom = 0;
    std::string FMessages[SKIN_MESSAGE_COUNT];
    std::string FSkinFile;
    TSkinFormType FSkinFormtype = sfMainform;
    std::string FVersion;
    bool FMenuUpdate = true;
    bool FMenuMerge = false;

    TMemoryStream FStoredSkin;
    bool FNoSkin = true;
    std::unique_ptr<TSkinModel> FModel;
    std::unique_ptr<TSkinModel> FRetiredModel;
    mutable std::map<UINT, std::unique_ptr<TSkinModel>> FScaledModels;
    std::map<UINT, std::unique_ptr<TSkinModel>> FRetiredScaledModels;
    unsigned FModelGeneration = 0;
    TGdiBrush FFaceBrush;
    TGdiBrush FRetiredFaceBrush;
    std::unique_ptr<TFont> FCaptionFont;
    std::unique_ptr<TBitmap> FIconBitmap;
    HIMAGELIST FMenuGlyphs = nullptr;
    bool FNCPaintOpen = true;
    SIZE FMaximizedSize{0, 0};
    HWND FHintWindow = nullptr;
    bool FHintShowing = false;
    HWND FDecidingWindow = nullptr;
    bool FManagerAttached = false;
};
