// TSkinData, the skin component (see skin_component.h).
#include "skin/data/skin_component.h"

#include <algorithm>
#include <cstring>

#include "framework/application.h"
#include "framework/display_scale.h"
#include "framework/forms.h"
#include "framework/sysutils.h"
#include "skin/data/image_utils.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_model.h"
#include "skin/data/skin_manager.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_scale.h"

// ---- enumerations and published properties -----------------------------------

const TEnumInfo SkinControlTypeEnum{
    "TSkinControlType",
    {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
     "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn", "xcSpeedButton", "xcSpin",
     "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab", "xcTrackBar", "xcSystemMenu", "xcFastReport"}};

const TEnumInfo SkinOptionEnum{
    "TSkinOption",
    {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround", "xoNoFocusRect",
     "xoToolbarBK", "xoToolbarButton", "xoMDIChildBorder", "xoMenuBG", "xoCaptionButtonHint", "xoFormScrollbar"}};

const TEnumInfo SkinFormTypeEnum{"TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"}};

using PSkin = TPropBuilder<TSkinData>;
IMPLEMENT_CLASS(TSkinData,
    PSkin::Bool("Active", &TSkinData::Active, &TSkinData::SetActive),
    PSkin::Integer("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag),
    PSkin::Set("SkinControls", SkinControlTypeEnum, &TSkinData::SkinControls, &TSkinData::SetSkinControls),
    PSkin::Set("Options", SkinOptionEnum, &TSkinData::Options, &TSkinData::SetOptions),
    PSkin::Object("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd),
    PSkin::String("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile),
    PSkin::String("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore),
    PSkin::Enum("SkinFormtype", SkinFormTypeEnum, &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype),
    PSkin::String("Version", &TSkinData::Version, &TSkinData::SetVersion),
    PSkin::Bool("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate),
    PSkin::Bool("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge))

// ---- platform shims ------------------------------------------------------------

namespace {

// Numbers every model any skin of the program takes, so that no two share one.
unsigned NextModelGeneration()
{
    static unsigned generations = 0;
    return ++generations;
}

void* LookUpUser32(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) user32 = LoadLibraryA("user32.dll");
    return user32 ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : nullptr;
}

}  // namespace

TGetScrollBarInfoProc SkinGetScrollBarInfoProc =
    reinterpret_cast<TGetScrollBarInfoProc>(LookUpUser32("GetScrollBarInfo"));
TTrackMouseEventProc SkinTrackMouseEventProc =
    reinterpret_cast<TTrackMouseEventProc>(LookUpUser32("TrackMouseEvent"));

bool SkinGetScrollBarInfo(HWND window, LONG idObject, SCROLLBARINFO& info)
{
    if (!SkinGetScrollBarInfoProc) return false;
    info.cbSize = sizeof(SCROLLBARINFO);
    return SkinGetScrollBarInfoProc(window, idObject, &info) != FALSE;
}

void SkinTrackMouseLeave(HWND window)
{
    if (!SkinTrackMouseEventProc) return;
    // Asking again for a window already tracked costs a look for the window
    // under the pointer and a timer; a query is answered at once.
    TRACKMOUSEEVENT current{};
    current.cbSize = sizeof(current);
    current.dwFlags = TME_QUERY;
    if (SkinTrackMouseEventProc(&current) && (current.dwFlags & TME_LEAVE) && current.hwndTrack == window) return;
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof(request);   // 16 bytes
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    SkinTrackMouseEventProc(&request);
}

// ---- the caption hint window ------------------------------------------------------

namespace {

constexpr const char* HINT_WINDOW_CLASS = "TSkinHintWindow";
constexpr int HINT_MAX_WIDTH = 500;
// How long a requested skin pass waits, so that a burst of changes runs once.
constexpr unsigned MANAGER_PASS_DELAY_MS = 250;
constexpr int HINT_PADDING_X = 3;
constexpr int HINT_PADDING_Y = 1;

HFONT HintFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

void PaintHint(HWND window, HDC dc);

LRESULT CALLBACK HintWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_ERASEBKGND: return 1;
    case WM_PRINTCLIENT:
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(window, &ps);
        try {
            PaintHint(window, dc);
        } catch (...) {
            // Nothing may leave a window procedure; the hint just stays blank.
        }
        if (!wParam) EndPaint(window, &ps);
        return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Painting of the hint: the info colours and the window text, word-wrapped.
void PaintHint(HWND window, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    HGDIOBJ oldFont = SelectObject(dc, HintFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&client, -HINT_PADDING_X, -HINT_PADDING_Y);
    DrawTextA(dc, text.c_str(), -1, &client, DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

HWND CreateHintWindow()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = HintWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = HINT_WINDOW_CLASS;
        return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (!registered) return nullptr;
    return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, HINT_WINDOW_CLASS, "", WS_POPUP | WS_BORDER, 0, 0, 0, 0,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

// ---- messages ----------------------------------------------------------------------------

const char* DefaultSkinMessage(TSkinMessage message)
{
    switch (message) {
    case smNotFound: return "The skin file \"%1\" was not found.\nThe current skin stays.";
    case smCannotRead: return "The skin file \"%1\" cannot be read.\nThe current skin stays.";
    case smCannotUse: return "The skin file \"%1\" cannot be used: %2\nThe current skin stays.";
    case smDamaged: return SKIN_MSG_DAMAGED;
    case smEmpty: return "The skin file is empty: it is damaged.";
    case smTooManyFiles: return SKIN_MSG_TOO_MANY_FILES;
    case smOverBudget: return SKIN_MSG_OVER_BUDGET;
    case smMissingImage: return "Its description names the image \"%1\", which the skin does not hold.";
    case smNoBorder: return "Its window border \"%1\" cannot be built.";
    case smOlderNote: return "";
    }
    return "";
}

const std::string& TSkinData::MessageText(TSkinMessage message) const
{
    return FMessages[message];
}

void TSkinData::SetMessageText(TSkinMessage message, const std::string& text)
{
    if (message < 0 || message >= SKIN_MESSAGE_COUNT) return;
    FMessages[message] = text.empty() ? std::string(DefaultSkinMessage(message)) : text;
}

std::string TSkinData::SkinMessage(TSkinMessage message, const std::string& first, const std::string& second) const
{
    const std::string& text = MessageText(message);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? first : second;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// ---- the component ---------------------------------------------------------------------

TSkinData::TSkinData(TComponent* owner) : TComponent(owner), FModel(std::make_unique<TSkinModel>())
{
    OnBeforeSkinForm = nullptr;
    OnAfterSkinForm = nullptr;
    FSkinFormtype = sfMainform;
    FNoSkin = true;
    for (int i = 0; i < SKIN_MESSAGE_COUNT; ++i) FMessages[i] = DefaultSkinMessage(static_cast<TSkinMessage>(i));

    FIconBitmap = std::make_unique<TBitmap>();
    FIconBitmap->SetPixelFormat(pf24bit);
    FSkin3rd = std::make_unique<TStringList>();
    for (int i = 0; i < BuiltInSkin3rdCount(); ++i) FSkin3rd->Add(BuiltInSkin3rdLine(i));

    FMenuUpdate = true;
    FMenuMerge = false;
    FOptions = DEFAULT_SKIN_OPTIONS;
    FDisableTag = SKIN_DATA_DEFAULT_DISABLE_TAG;
    FSkinControls = DEFAULT_SKIN_CONTROLS;

    MakeMenuGlyphs();
    FVersion = SKIN_DATA_VERSION;
    FMaximizedSize = SIZE{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    FHintWindow = CreateHintWindow();
    FHintShowing = false;
    RecreateFaceBrush();
}

TSkinData::~TSkinData()
{
    if (FMenuGlyphs) ImageList_Destroy(FMenuGlyphs);
    DetachManager();
    if (FHintWindow) DestroyWindow(FHintWindow);
}

void TSkinData::SetSkin3rd(TStringList* value)
{
    if (value && value != FSkin3rd.get()) FSkin3rd->Assign(*value);
}

std::string TSkinData::SkinStore() const
{
    return Designing() && const_cast<TMemoryStream&>(FStoredSkin).Size() > 0 ? "(Good)" : "(none)";
}

void TSkinData::SetActive(bool value)
{
    if (value == FActive) return;
    FActive = value;
    if (Designing() || HasState(csLoading)) return;
    switch (FSkinFormtype) {
    case sfMainform:
        if (value && FNoSkin) return;
        RequestManagerPass(value ? 1 : 2);
        break;
    case sfOnlyThisForm:
        if (value && FNoSkin) return;
        RequestManagerPass(value ? 1 : 2);
        break;
    case sfDialog:
    case sfDLL: break;
    }
}

void TSkinData::SetSkinFile(const std::string& value)
{
    if (Designing()) {
        FNoSkin = true;
        FSkinFile = value;
        if (!value.empty()) FStoredSkin.Clear();
        return;
    }
    FSkinFile = value;
    if (value.empty()) return;
    if (!FileExists(value)) {
        ShowSkinFileMessage(SkinMessage(smNotFound, value));
        return;
    }
    TMemoryStream bytes;
    try {
        bytes.LoadFromFile(value);
    } catch (const std::exception&) {
        ShowSkinFileMessage(SkinMessage(smCannotRead, value));
        return;
    }
    if (bytes.Size() == 0) {
        ShowSkinFileMessage(SkinMessage(smCannotUse, value, SkinMessage(smEmpty)));
        return;
    }
    std::string problem;
    std::unique_ptr<TSkinModel> model =
        ReadModel(static_cast<const std::uint8_t*>(bytes.Memory()), static_cast<std::size_t>(bytes.Size()), problem);
    if (!model) {
        if (!problem.empty()) ShowSkinFileMessage(SkinMessage(smCannotUse, value, problem));
        return;
    }
    FStoredSkin.SetSize(bytes.Size());
    if (bytes.Size() > 0) std::memcpy(FStoredSkin.Memory(), bytes.Memory(), static_cast<std::size_t>(bytes.Size()));
    FStoredSkin.SetPosition(0);
    UseModel(std::move(model));
    if (!HasState(csLoading)) ApplyNewSkinFile();
}

const TSkinModel& TSkinData::ModelFor(UINT dpi) const
{
    if (dpi == 0 || dpi == DesignDpi || FNoSkin) return *FModel;
    auto found = FScaledModels.find(dpi);
    if (found != FScaledModels.end()) return *found->second;
    try {
        auto scaled = ScaleSkinModel(*FModel, static_cast<int>(dpi));
        return *FScaledModels.emplace(dpi, std::move(scaled)).first->second;
    } catch (...) {
        // Out of memory for the larger images: the skin as it is drawn at 96
        // is still usable.
        return *FModel;
    }
}

void TSkinData::SkinPassDone()
{
    FRetiredModel.reset();
    FRetiredScaledModels.clear();
    FRetiredFaceBrush.Reset(nullptr);
}

void TSkinData::ShowSkinFileMessage(const std::string& text)
{
    if (Application)
        Application->MessageBox(text.c_str(), Application->Title().c_str(), MB_OK | MB_ICONEXCLAMATION);
    else
        MessageBoxA(GetActiveWindow(), text.c_str(), "", MB_OK | MB_ICONEXCLAMATION);
}

TSkinBudget TSkinData::ScreenBudget()
{
    TSkinBudget budget;
    const std::uint64_t width = std::max(GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CXSCREEN));
    const std::uint64_t height = std::max(GetSystemMetrics(SM_CYVIRTUALSCREEN), GetSystemMetrics(SM_CYSCREEN));
    budget.MaxImagePixels = std::max<std::uint64_t>(width * height, 1920u * 1200u);
    return budget;
}

std::unique_ptr<TSkinModel> TSkinData::ReadModel(const std::uint8_t* data, std::size_t size, std::string& problem)
{
    problem.clear();
    try {
        TSkinReader reader;
        reader.SetBudget(ScreenBudget());
        if (!reader.Load(data, size)) {
            switch (reader.LastResult()) {
            case TSkinLoadResult::UnknownVersion: {
                // The message as it has always read, and the program's
                // own words after it.
                std::string text = SKIN_MSG_OLDER_SKIN;
                if (!MessageText(smOlderNote).empty()) text += "\r\n" + MessageText(smOlderNote);
                if (Application)
                    Application->MessageBox(text, Application->Title(), MB_OK);
                else
                    MessageBoxA(GetActiveWindow(), text.c_str(), "", MB_OK);
                break;
            }
            case TSkinLoadResult::TooManyFiles: problem = SkinMessage(smTooManyFiles); break;
            case TSkinLoadResult::OverBudget: problem = SkinMessage(smOverBudget); break;
            default: problem = SkinMessage(smDamaged); break;
            }
            return nullptr;
        }
        if (!reader.Complete()) {
            problem = SkinMessage(smDamaged);
            return nullptr;
        }
        auto model = std::make_unique<TSkinModel>();
        BuildSkinModelFromReader(*model, reader);
        if (reader.OverBudget()) {
            problem = SkinMessage(smOverBudget);
            return nullptr;
        }
        // A description that names an image the skin does not hold would
        // draw windows without their parts: refused. Sections it does not
        // have at all are optional and keep the ordinary look.
        if (!reader.MissingImages().empty()) {
            problem = SkinMessage(smMissingImage, reader.MissingImages().front());
            return nullptr;
        }
        // A window border the description names is what every skinned
        // window is drawn in: one that cannot be built (its value names no
        // image this program reads) is refused too.
        std::string description;
        reader.GetDescription(description);
        TQuickIni ini;
        ini.LoadFromBuffer(description.data(), description.size());
        static const struct {
            TSkinBorderSide Side;
            const char* Name;
        } borders[] = {{sbTop, "Top"}, {sbBottom, "Bottom"}, {sbLeft, "Left"}, {sbRight, "Right"}};
        for (const auto& border : borders) {
            const TDataSkinBorder* object = model->Border(border.Side);
            const bool named = !ini.ReadString("Personality", border.Name, "").empty();
            if (named && (!object || object->Bitmap.Empty())) {
                problem = SkinMessage(smNoBorder, border.Name);
                return nullptr;
            }
        }
        return model;
    } catch (const std::bad_alloc&) {
        problem = SkinMessage(smOverBudget);
    } catch (...) {
        problem = SkinMessage(smDamaged);
    }
    return nullptr;
}

void TSkinData::UseModel(std::unique_ptr<TSkinModel> model)
{
    // What a skinner took from the old model stays readable until the
    // manager's pass has given every skinner the new one.
    FRetiredModel = std::move(FModel);
    FRetiredScaledModels = std::move(FScaledModels);
    FScaledModels.clear();
    FModel = std::move(model);
    FModelGeneration = NextModelGeneration();
    FRetiredFaceBrush = std::move(FFaceBrush);
    RecreateFaceBrush();
    FNoSkin = false;
}

void TSkinData::ReadSkinStream(TStream& stream)
{
    std::int32_t count = 0;
    stream.ReadBuffer(&count, sizeof(count));
    if (count <= 0) return;
    if (count > stream.Size() - stream.Position()) throw EReadError("Stream read error");
    FStoredSkin.SetSize(count);
    FStoredSkin.SetPosition(0);
    stream.ReadBuffer(FStoredSkin.Memory(), count);
    if (!Designing()) LoadSkin();
}

void TSkinData::WriteSkinStream(TStream& stream) const
{
    auto& stored = const_cast<TMemoryStream&>(FStoredSkin);
    const auto count = static_cast<std::int32_t>(stored.Size());
    stream.WriteBuffer(&count, sizeof(count));
    if (count > 0) stream.WriteBuffer(stored.Memory(), count);
}

bool TSkinData::LoadSkin()
{
    FNoSkin = true;
    if (Designing()) return false;
    std::string problem;
    std::unique_ptr<TSkinModel> model = ReadModel(static_cast<const std::uint8_t*>(FStoredSkin.Memory()),
                                                  static_cast<std::size_t>(FStoredSkin.Size()), problem);
    if (!model) return false;   // a skin that cannot be read leaves the ordinary look
    UseModel(std::move(model));
    return true;
}

void TSkinData::Loaded()
{
    inherited::Loaded();
    if (Designing()) return;
    if (!SkinGetScrollBarInfoProc) FSkinControls &= ~SkinControl(xcScrollbar);
    AttachManager();
    MakeCaptionFont();
    StartManager();
    if (FSkinFormtype == sfMainform) {
        if (FActive && FNoSkin) FActive = false;
        if (FSkinControls & SkinControl(xcMainMenu))
            FSkinControls &= ~SkinControl(xcMenuItem);
        else
            FSkinControls &= ~SkinControl(xcSystemMenu);
        MakeIconBitmap();
    }
}

std::string TSkinData::ThirdPartyKind(const std::string& className) const
{
    // Discovery asks this for every control: the table is lower-cased once
    // for each state of the list, not at every question.
    if (FSkin3rdLowered.empty() != (FSkin3rd->Count() == 0) || FSkin3rdLoweredFrom != FSkin3rd->Generation()) {
        FSkin3rdLowered.clear();
        for (int i = 0; i < FSkin3rd->Count(); ++i) FSkin3rdLowered.push_back(SkinLowerCase(FSkin3rd->Get(i)));
        FSkin3rdLoweredFrom = FSkin3rd->Generation();
    }
    const std::string prefix = SkinLowerCase(className) + "=";
    for (const std::string& line : FSkin3rdLowered)
        if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size(), 50);
    return std::string();
}

void TSkinData::ShowCaptionHint(const RECT& rect, const std::string& text)
{
    if (!(FOptions & SkinOption(xoCaptionButtonHint)) || FHintShowing || !FHintWindow) return;
    SetWindowTextA(FHintWindow, text.c_str());
    RECT bounds{0, 0, HINT_MAX_WIDTH, 0};
    {
        TWindowDC dc = TWindowDC::Client(FHintWindow);
        HGDIOBJ oldFont = SelectObject(dc, HintFont());
        DrawTextA(dc, text.c_str(), -1, &bounds, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }
    const int width = bounds.right - bounds.left + 2 * HINT_PADDING_X + 2 * GetSystemMetrics(SM_CXBORDER);
    const int height = bounds.bottom - bounds.top + 2 * HINT_PADDING_Y + 2 * GetSystemMetrics(SM_CYBORDER);
    SetWindowPos(FHintWindow, HWND_TOPMOST, rect.left, rect.top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(FHintWindow, nullptr, TRUE);
    FHintShowing = true;
}

void TSkinData::HideCaptionHint()
{
    if (!FHintShowing) return;
    if (FHintWindow) ShowWindow(FHintWindow, SW_HIDE);
    FHintShowing = false;
}

void TSkinData::MakeCaptionFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    auto font = std::make_unique<TFont>();
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        font->SetLogFont(metrics.lfCaptionFont);
    FCaptionFont = std::move(font);
}

void TSkinData::MakeIconBitmap()
{
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The program's icon at the small size (the system picks the small
    // image of the icon), else the application's icon, else the system's.
    HICON icon = static_cast<HICON>(LoadImageA(instance, "MAINICON", IMAGE_ICON, width, height, 0));
    const bool owned = icon != nullptr;
    if (!icon && Application) icon = Application->Icon();
    if (!icon) icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));

    auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
    {
        TGdiBrush magenta(CreateSolidBrush(skin::TRANSPARENT_COLOUR));
        HDC dc = bitmap->Canvas()->Handle();
        RECT all{0, 0, width, height};
        FillRect(dc, &all, magenta);
        if (icon) DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    }
    bitmap->SetTransparentColor(clFuchsia);
    bitmap->SetTransparent(true);
    if (owned) DestroyIcon(icon);
    FIconBitmap = std::move(bitmap);
}

void TSkinData::MakeMenuGlyphs()
{
    FMenuGlyphs = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0);
    if (!FMenuGlyphs) return;
    HBITMAP glyphs = LoadSkinMenuGlyphs(GetModuleHandleA(nullptr));
    if (!glyphs) return;
    ImageList_AddMasked(FMenuGlyphs, glyphs, RGB(255, 255, 255));
    DeleteObject(glyphs);
}

void TSkinData::RecreateFaceBrush()
{
    FFaceBrush.Reset(CreateSolidBrush(skin::ResolveColour(FModel->FaceColour())));
}

// ---- the skin manager's side ------------------------------------------------------------
//
// The skin manager is made by the first component that finishes loading; every
// component registers with it. The main component installs its hook and
// starts skinning; the others switch skinning on and may skin their own form.

void TSkinData::AttachManager()
{
    TSkinManage* manager = CreateSkinManager();
    manager->RegisterSkinData(this);
    FManagerAttached = true;
}

void TSkinData::StartManager()
{
    TSkinManage* manager = SkinManager();
    if (!manager) return;
    if (FSkinFormtype != sfMainform) {
        manager->Skinning = true;
        ++manager->RunState;
        auto* owner = As<TCustomForm>(Owner());
        if (owner && FActive) {
            try {
                manager->SkinWindow(owner->Handle());
            } catch (...) {
                // A form without a window yet is skinned when it is activated.
            }
        }
        return;
    }
    manager->InstallHook();
    if (FActive && !FNoSkin) {
        manager->ActingSkinData = this;
        manager->RequestPass(spSkin, MANAGER_PASS_DELAY_MS);
    }
}

void TSkinData::RequestManagerPass(int pass)
{
    TSkinManage* manager = SkinManager();
    if (!manager) return;
    manager->ActingSkinData = this;
    manager->RequestPass(pass, MANAGER_PASS_DELAY_MS);
    if (FSkinFormtype == sfMainform && pass == spSkin) manager->RunState = SKIN_RUN_STARTED;
}

void TSkinData::ApplyNewSkinFile()
{
    if (!FManagerAttached) Loaded();
    TSkinManage* manager = SkinManager();
    if (!manager) return;
    manager->ActingSkinData = this;
    manager->RefreshSkin(this);
    if (manager->RunState == SKIN_RUN_STARTED) manager->RequestPass(spRefresh, MANAGER_PASS_DELAY_MS);
}

void TSkinData::DetachManager()
{
    if (FManagerAttached)
        if (TSkinManage* manager = SkinManager()) manager->UnregisterSkinData(this);
    FManagerAttached = false;
}
