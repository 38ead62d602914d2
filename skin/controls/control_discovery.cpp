// Control discovery and skinner assignment: the walk over a skinned window's
// controls, the decision table for framework controls, the Skin3rd kind
// keywords and the table for bare child windows.
#include "skin/controls/control_discovery.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/tool_bar.h"
#include "skin/controls/list_view_skinner.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/form/control_skinning.h"
#include "skin/form/form_skinner.h"

namespace {

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Class names are plain ASCII: compared here without the system's locale
// rules, which cost a conversion to UTF-16 per call (the decision table asks
// this some forty times per control, for every ancestor class).
bool SameAsciiText(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const auto x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x != y && std::tolower(x) != std::tolower(y)) return false;
        if (!x) return true;
    }
}

// Whether `object`'s class or an ancestor is called `name` (case ignored).
// Kinds of other libraries and of the data-aware framework are recognised
// this way, without naming their classes.
bool IsA(const TObject* object, const char* name)
{
    for (const TClassInfo* info = object ? &object->ClassInfo() : nullptr; info; info = info->Parent)
        if (SameAsciiText(info->Name, name)) return true;
    return false;
}

std::string WindowClassName(HWND window)
{
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The kind of a "button" window by its type bits, tested in this order:
// owner-drawn (all of bits $B), group box (bits 7) or bitmap, check box
// (bits 3, bit 2 or bits 5), radio button (bits 9 or bit 4), else push.
enum TButtonKind { bkOwnerDrawn, bkGroupOrBitmap, bkCheck, bkRadio, bkPush };

TButtonKind ButtonKindOf(LONG style)
{
    auto all = [style](LONG bits) { return (style & bits) == bits; };
    if (all(0xB)) return bkOwnerDrawn;
    if (all(0x7) || (style & BS_BITMAP)) return bkGroupOrBitmap;
    if (all(0x3) || (style & 0x2) || all(0x5)) return bkCheck;
    if (all(0x9) || (style & 0x4)) return bkRadio;
    return bkPush;
}

// One walk of a form skinner's window. Its helpers are open to the rows of
// the decision table below.
class TDiscovery {
public:
    explicit TDiscovery(TWinSkinForm& form) : FForm(form), FData(form.SkinData()) {}

    void SkinForm(TCustomForm* form);
    void SkinPlainWindow(HWND window);
    void DispatchControl(TControl* control, TWinControl* parent);
    void DispatchWindow(HWND window);

    TWinSkinForm& Form() const { return FForm; }
    bool Has(TSkinControlType type) const { return FData && (FData->SkinControls() & SkinControl(type)); }
    bool HasTabs() const { return FData && FData->Object(ssTabs) != nullptr; }
    bool HasSkinner(const TControl* control) const;
    bool HasWindowSkinner(HWND window) const;
    // A skinner of class `name` for `control`, attached; null when none.
    TSkinControl* Make(const char* name, TControl* control, bool colourManaged = false, int kind = 0,
                       const std::string& property = std::string());
    TSkinControl* MakeForWindow(const char* name, HWND window, int kind = 0);
    void DispatchChildren(TControl* control);
    void ChildrenGet(TControl* control, const char* name, bool colourManaged = false, int kind = 0);
    // The Skin3rd table: true when it handles the class.
    bool ThirdParty(TControl* control, const std::string& upperName);
    // The decision table: the number of the row that decided, 0 for none.
    int Rules(TControl* control, const std::string& upperName);
    bool HasScrollBars(TControl* control) const;
    // The items of `menu` (a TMenu, or nothing) are drawn from the skin.
    void SkinMenu(TObject* menu);
    // Row 2: the items of a control's own drop-down menu are drawn skinned.
    void SkinDropDownMenu(TControl* control);
    // Row 3: every band of a cool bar takes the face colour.
    void ColourCoolBands(TControl* control);
    // Row 20: a tool bar's background, buttons and menus from the skin.
    void SkinToolBar(TControl* control);

private:
    TWinSkinForm& FForm;
    TSkinData* FData;
};

bool TDiscovery::HasSkinner(const TControl* control) const
{
    for (TSkinControl* skinner : FForm.ControlSkinners())
        if (skinner->Serves(nullptr, control)) return true;
    const auto* windowed = As<TWinControl>(const_cast<TControl*>(control));
    if (windowed && windowed->HandleAllocated() && SendMessageA(windowed->HandleIfAllocated(), SKM_QUERYSKIN, 0, 0) == 1)
        return true;
    return false;
}

bool TDiscovery::HasWindowSkinner(HWND window) const
{
    for (TSkinControl* skinner : FForm.ControlSkinners())
        if (skinner->Window() == window && skinner->LifeState() != lsWindowGone) return true;
    return false;
}

TSkinControl* TDiscovery::Make(const char* name, TControl* control, bool colourManaged, int kind,
                               const std::string& property)
{
    if (!control || !SkinnerAvailable(name)) return nullptr;
    TSkinControl* skinner = NewSkinner(name, control);
    if (!skinner) return nullptr;
    try {
        skinner->Configure(kind, property);
        skinner->AttachControl(&FForm, FData, colourManaged, FForm.ControlCanvas());
    } catch (...) {
    }
    if (!skinner->Attached() || !skinner->WantsSkin()) {
        delete skinner;
        return nullptr;
    }
    return skinner;
}

TSkinControl* TDiscovery::MakeForWindow(const char* name, HWND window, int kind)
{
    if (!window || !SkinnerAvailable(name)) return nullptr;
    TSkinControl* skinner = NewSkinner(name, nullptr);
    if (!skinner) return nullptr;
    try {
        skinner->Configure(kind, std::string());
        skinner->AttachWindow(window, FData, &FForm, FForm.ControlCanvas());
    } catch (...) {
    }
    if (!skinner->Attached() || !skinner->WantsSkin()) {
        delete skinner;
        return nullptr;
    }
    return skinner;
}

void TDiscovery::DispatchChildren(TControl* control)
{
    auto* windowed = As<TWinControl>(control);
    if (!windowed) return;
    std::vector<TControl*> children;
    for (int i = 0; i < windowed->ControlCount(); ++i) children.push_back(windowed->Controls(i));
    for (TControl* child : children) DispatchControl(child, windowed);
}

void TDiscovery::ChildrenGet(TControl* control, const char* name, bool colourManaged, int kind)
{
    auto* windowed = As<TWinControl>(control);
    if (!windowed) return;
    std::vector<TControl*> children;
    for (int i = 0; i < windowed->ControlCount(); ++i) children.push_back(windowed->Controls(i));
    for (TControl* child : children)
        if (!HasSkinner(child)) Make(name, child, colourManaged, kind);
}

bool TDiscovery::HasScrollBars(TControl* control) const
{
    auto* windowed = As<TWinControl>(control);
    if (!windowed) return false;
    if (windowed->HandleAllocated() &&
        (GetWindowLongA(windowed->HandleIfAllocated(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)))
        return true;
    return IsA(control, "TListBox") || IsA(control, "TMemo") || IsA(control, "TCustomListBox") ||
           IsA(control, "TCustomListView") || IsA(control, "TCustomTreeView");
}

void TDiscovery::SkinMenu(TObject* menu)
{
    auto* popup = As<TMenu>(menu);
    if (popup && popup->Tag() != FData->DisableTag()) FForm.SkinMenuItems(popup);
}

void TDiscovery::SkinDropDownMenu(TControl* control)
{
    SkinMenu(GetObjectPropByName(control, "DropdownMenu"));
    // A button that drops its menu down is drawn as a skinned menu button
    // too, so that a menu button is not left plain.
    if (IsA(control, "TMenuButton") && Has(xcButton)) Make("TSkinMenuButton", control);
}

void TDiscovery::ColourCoolBands(TControl* control)
{
    // The bands are painted in their own colours over the bar: each band
    // takes the face colour (and gets its own back from the skinner).
    Make("TSkinCoolBar", control);
}

void TDiscovery::SkinToolBar(TControl* control)
{
    // Flat, drawn from the skin through its drawing events, on the face
    // colour; the drop-down menus of its buttons and its own context menu
    // draw their items from the skin.
    Make("TSkinToolBar", control, true);
    if (auto* bar = As<TToolBar>(control))
        for (int i = 0; i < bar->ButtonCount(); ++i) SkinMenu(bar->Buttons(i)->DropdownMenu());
    SkinMenu(control->PopupMenu());
}

// ---- framework forms ------------------------------------------------------------

void TDiscovery::SkinForm(TCustomForm* form)
{
    std::vector<TControl*> controls;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* control = As<TControl>(form->Components(i))) controls.push_back(control);
    for (TControl* control : controls) DispatchControl(control, form);

    std::vector<TWinControl*> tabOrder;
    form->GetTabOrderList(tabOrder);
    for (TWinControl* control : tabOrder) {
        if (!control->HandleAllocated() || control->Tag() == FData->DisableTag()) continue;
        if (SendMessageA(control->HandleIfAllocated(), SKM_QUERYSKIN, 0, 0) == 1) continue;
        DispatchControl(control, control->Parent());
    }
}

void TDiscovery::DispatchControl(TControl* control, TWinControl* parent)
{
    (void)parent;
    if (!control || !FData) return;
    // 1. Controls tagged to stay plain; in a radio or check group, its
    //    buttons stay plain too.
    if (control->Tag() == FData->DisableTag()) {
        auto* windowed = As<TWinControl>(control);
        const std::string lower = Lower(control->ClassName());
        if (windowed && (lower.find("radiogroup") != std::string::npos || lower.find("checkgroup") != std::string::npos))
            for (int i = 0; i < windowed->ControlCount(); ++i) windowed->Controls(i)->SetTag(FData->DisableTag());
        return;
    }
    // 2. No parent, or already skinned.
    if (!control->Parent() || HasSkinner(control)) return;
    // 3. The class name; a window for a windowed control.
    const std::string name = Upper(control->ClassName());
    if (auto* windowed = As<TWinControl>(control)) {
        try {
            windowed->HandleNeeded();
        } catch (...) {
            return;
        }
    }
    // 4. The application's own choice.
    if (FData->OnSkinControl) {
        TComponent* chosen = nullptr;
        try {
            FData->OnSkinControl(&FForm, FData, FForm.Form(), control, name, chosen);
        } catch (...) {
            chosen = nullptr;
        }
        if (auto* skinner = As<TSkinControl>(chosen)) {
            const auto& listed = FForm.ControlSkinners();
            if (std::find(listed.begin(), listed.end(), skinner) == listed.end())
                skinner->AttachControl(&FForm, FData, skinner->ColourManaged(), FForm.ControlCanvas());
            if (IsA(control, "TCustomPanel")) DispatchChildren(control);
            return;
        }
    }
    // 5. The class-name table; some classes are never skinned.
    if (ThirdParty(control, name)) return;
    if (name == "TDBCOMBOBOXEH" || name == "TFRDESIGNERPAGE" || name == "TFRPBOX") return;
    // 6. The decision table.
    Rules(control, name);
}

}  // namespace

// ---- the decision table -------------------------------------------------------------
//
// One row per kind of control, in the order they are tried. A row decides
// when its control matches and its condition holds (mostly a member of
// SkinControls); a control whose kind is switched off goes on to the later
// rows, so a memo with the scroll-bar family off and edits on is skinned as
// an edit. Rows without a condition always decide.

namespace {

using TDiscoveryMatch = bool (*)(TControl* c, const std::string& n);
using TDiscoveryHolds = bool (*)(const TDiscovery& d, TControl* c);
using TDiscoveryApply = void (*)(TDiscovery& d, TControl* c);

struct TDiscoveryRule {
    int Number;
    TDiscoveryMatch Matches;
    TDiscoveryHolds Holds;  // null: always
    TDiscoveryApply Apply;
};

template <TSkinControlType Type>
bool With(const TDiscovery& d, TControl*) { return d.Has(Type); }

bool WithTabs(const TDiscovery& d, TControl*) { return d.Has(xcTab) && d.HasTabs(); }

bool IsCheckBox(TControl* c, const std::string&) { return IsA(c, "TCustomCheckBox") || IsA(c, "TCheckBox"); }
bool IsRadioButton(TControl* c, const std::string&) { return IsA(c, "TRadioButton"); }
// A memo is the framework's edit of many lines.
bool IsEdit(TControl* c, const std::string&) { return IsA(c, "TCustomEdit") || IsA(c, "TCustomMemo"); }

template <const char* Name>
bool Kind(TControl* c, const std::string&) { return IsA(c, Name); }

constexpr char K_TAB_CONTROL[] = "TCustomTabControl", K_PAGE_CONTROL[] = "TPageControl",
               K_TAB_SHEET[] = "TTabSheet", K_TRACK_BAR[] = "TTrackBar", K_RADIO_GROUP[] = "TCustomRadioGroup",
               K_GROUP_BOX[] = "TCustomGroupBox", K_TOOL_BAR[] = "TToolBar", K_COOL_BAR[] = "TCoolBar",
               K_STATUS_BAR[] = "TCustomStatusBar", K_PROGRESS[] = "TProgressBar", K_SCROLL_BAR[] = "TScrollBar",
               K_COMBO[] = "TCustomComboBox", K_PICKER[] = "TDateTimePicker", K_BIT_BTN[] = "TBitBtn",
               K_SPEED[] = "TSpeedButton", K_PANEL[] = "TCustomPanel", K_LIST_VIEW[] = "TCustomListView",
               K_MEMO[] = "TCustomMemo", K_GRID[] = "TCustomGrid", K_BUTTON[] = "TButton", K_LABEL[] = "TLabel";

bool IsHeader(TControl* c, const std::string&) { return IsA(c, "THeaderControl") || IsA(c, "TCustomHeaderControl"); }

template <const char* A, const char* B = nullptr, const char* C = nullptr>
bool Named(TControl*, const std::string& n) { return n == A || (B && n == B) || (C && n == C); }

constexpr char N_TABSET[] = "TTABSET", N_NOTEBOOK[] = "TTABBEDNOTEBOOK", N_MVCPANEL[] = "TMVCPANEL",
               N_UPDOWN[] = "TUPDOWN", N_SPIN[] = "TSPINBUTTON", N_MEDIA[] = "TMEDIAPLAYER",
               N_NAVIGATOR[] = "TDBNAVIGATOR", N_RZDBCHECK[] = "TRZDBCHECKBOX", N_RZCHECK[] = "TRZCHECKBOX",
               N_RZRADIO[] = "TRZRADIOBUTTON", N_RZDBRADIO[] = "TRZDBRADIOBUTTON", N_CXDBCHECK[] = "TCXDBCHECKBOX",
               N_CXCHECK[] = "TCXCHECKBOX", N_TNTCOMBO[] = "TTNTCOMBOBOX", N_RICHEDIT[] = "TRICHEDIT",
               N_WWRICHEDIT[] = "TWWDBRICHEDIT", N_DXMEMO[] = "TDXDBMEMO", N_DXTREE[] = "TDXTREELIST",
               N_DXDBTREE[] = "TDXDBTREELIST", N_DXGRID[] = "TDXDBGRID", N_DCEDIT[] = "TDCEDIT",
               N_DCDBEDIT[] = "TDCDBEDIT";

// A control with a drop-down menu of its own.
bool CarriesDropDownMenu(TControl* c, const std::string&)
{
    return IsA(c, "TMenuButton") || GetObjectPropByName(c, "DropdownMenu") != nullptr;
}

template <const char* Skinner, bool ColourManaged = false, int KindOf = 0>
void Give(TDiscovery& d, TControl* c) { d.Make(Skinner, c, ColourManaged, KindOf); }

constexpr char S_TAB_SHEET[] = "TSkinTabSheet", S_TAB[] = "TSkinTab", S_TAB31[] = "TSkinTab31",
               S_HEADER[] = "TSkinHeader", S_CHECK[] = "TSkinCheckBox", S_TRACK[] = "TSkinTrackBar",
               S_UPDOWN[] = "TSkinUpDown", S_MP[] = "TSkinMP", S_OBJ_IMAGE[] = "TSkinObjImage",
               S_RADIO[] = "TSkinRadioButton", S_STATUS[] = "TSkinStatusBar", S_PROGRESS[] = "TSkinProgress",
               S_SC_CONTROL[] = "TSkinScControl", S_COMBO[] = "TSkinComBox", S_SCROLL[] = "TSkinScrollBar",
               S_SPEED[] = "TSkinSpeedButton", S_LIST_VIEW[] = "TSkinListView", S_BUTTON[] = "TSkinButton",
               S_EDIT[] = "TSkinEdit", S_LABEL[] = "TSkinLabel";

void SkinTabControl(TDiscovery& d, TControl* c)
{
    if (!IsA(c, "TPageControl")) {
        d.Make("TSkinTab", c, false, 2);
        return;
    }
    const std::string style = GetLowerPropByName(c, "Style");
    d.Make(style == "tsbuttons" || style == "tsflatbuttons" ? "TSkinTabBtn" : "TSkinTab", c);
}

void SkinRadioGroup(TDiscovery& d, TControl* c)
{
    d.ChildrenGet(c, "TSkinRadioButton");
    d.Make("TSkinGroupBox", c, true);
}

void SkinNavigator(TDiscovery& d, TControl* c)
{
    d.Make("TSkinBox", c, true);
    d.DispatchChildren(c);
}

void SkinGroupBox(TDiscovery& d, TControl* c)
{
    d.DispatchChildren(c);
    d.Make("TSkinGroupBox", c);
}

void SkinPanel(TDiscovery& d, TControl* c)
{
    d.DispatchChildren(c);
    d.Make("TSkinBox", c, true);
}

// A time, or a picker that steps its fields with arrows, is an edit with
// an up-down; a picker that drops a calendar down is a combo box.
void SkinPicker(TDiscovery& d, TControl* c)
{
    bool upDown = GetLowerPropByName(c, "Kind") == "dtktime";
    if (FindPropInfo(c, "DateMode"))
        upDown = upDown || GetLowerPropByName(c, "DateMode") == "dmupdown";
    else if (auto* windowed = As<TWinControl>(c))
        upDown = upDown || (GetWindowLongA(windowed->Handle(), GWL_STYLE) & DTS_UPDOWN);
    d.Make(upDown ? "TSkinEdit" : "TSkinDateTime", c);
}

void SkinBitButton(TDiscovery& d, TControl* c)
{
    if (d.Has(xcBitBtn)) d.Make("TSkinBitButton", c);
}

void SkinFrameOrForm(TDiscovery& d, TControl* c)
{
    if (IsA(c, "TCustomFrame")) {
        d.DispatchChildren(c);
    } else if (IsA(c, "TCustomForm")) {
        d.Make("TSkinBox", c, true);
        d.DispatchChildren(c);
    }
}

void SkinDcEdit(TDiscovery& d, TControl* c)
{
    const int buttons = GetOrdPropByName(c, "NumButtons");
    if (buttons == 1 && d.Has(xcCombo)) d.Make("TSkinComBox", c);
    if (buttons == 0 && d.Has(xcEdit))
        if (auto* windowed = As<TWinControl>(c)) d.MakeForWindow("TSkinEdit", windowed->Handle());
}

bool HasScrollBarsRule(const TDiscovery& d, TControl* c) { return d.Has(xcScrollbar) && d.HasScrollBars(c); }
bool AnyControl(TControl*, const std::string&) { return true; }
bool NotDcEdit(TControl*, const std::string& n) { return n != N_DCEDIT && n != N_DCDBEDIT; }
bool FrameSkinned(const TDiscovery& d, TControl*) { return d.Form().SkinFrame(); }

const TDiscoveryRule RULES[] = {
    {1, Kind<K_TAB_CONTROL>, WithTabs, SkinTabControl},
    {2, CarriesDropDownMenu, FrameSkinned, [](TDiscovery& d, TControl* c) { d.SkinDropDownMenu(c); }},
    {3, Kind<K_COOL_BAR>, With<xcToolbar>, [](TDiscovery& d, TControl* c) { d.ColourCoolBands(c); }},
    {4, Named<N_TABSET>, WithTabs, Give<S_TAB31>},
    {5, Kind<K_TAB_SHEET>, WithTabs, Give<S_TAB_SHEET>},
    {6, Named<N_NOTEBOOK>, WithTabs, Give<S_TAB>},
    {7, Named<N_MVCPANEL>, nullptr, [](TDiscovery& d, TControl* c) { d.DispatchChildren(c); }},
    {8, IsHeader, With<xcPanel>, Give<S_HEADER>},
    {9, IsCheckBox, With<xcCheckBox>, Give<S_CHECK>},
    {10, Kind<K_TRACK_BAR>, With<xcTrackBar>, Give<S_TRACK>},
    {11, Named<N_UPDOWN, N_SPIN>, With<xcSpin>, Give<S_UPDOWN>},
    {12, Named<N_MEDIA>, With<xcButton>, Give<S_MP>},
    {13, Kind<K_RADIO_GROUP>, With<xcRadioButton>, SkinRadioGroup},
    {14, Named<N_NAVIGATOR>, With<xcPanel>, SkinNavigator},
    {15, Named<N_RZDBCHECK, N_RZCHECK>, With<xcCheckBox>, Give<S_OBJ_IMAGE, true, 1>},
    {16, Named<N_RZRADIO, N_RZDBRADIO>, With<xcRadioButton>, Give<S_OBJ_IMAGE, true, 2>},
    {17, Named<N_CXDBCHECK, N_CXCHECK>, With<xcCheckBox>, Give<S_OBJ_IMAGE, true, 3>},
    {18, Kind<K_GROUP_BOX>, With<xcPanel>, SkinGroupBox},
    {19, IsRadioButton, With<xcRadioButton>, Give<S_RADIO>},
    {20, Kind<K_TOOL_BAR>, With<xcToolbar>, [](TDiscovery& d, TControl* c) { d.SkinToolBar(c); }},
    {21, Kind<K_STATUS_BAR>, With<xcStatusBar>, Give<S_STATUS>},
    {22, Kind<K_PROGRESS>, With<xcProgress>, Give<S_PROGRESS>},
    {23, Kind<K_SCROLL_BAR>, With<xcScrollbar>, Give<S_SC_CONTROL>},
    {24, Named<N_TNTCOMBO>, With<xcCombo>, Give<S_COMBO>},
    {25, Kind<K_COMBO>, With<xcCombo>, Give<S_COMBO>},
    {26, Kind<K_PICKER>, With<xcEdit>, SkinPicker},
    {27, Named<N_RICHEDIT>, With<xcScrollbar>, Give<S_SCROLL>},
    {28, Named<N_WWRICHEDIT, N_DXMEMO>, With<xcScrollbar>, Give<S_SCROLL>},
    {29, Kind<K_BIT_BTN>, nullptr, SkinBitButton},
    {30, Kind<K_SPEED>, With<xcSpeedButton>, Give<S_SPEED>},
    {31, Kind<K_PANEL>, With<xcPanel>, SkinPanel},
    {32, Named<N_DXTREE, N_DXDBTREE, N_DXGRID>, With<xcScrollbar>, Give<S_SCROLL>},
    {33, Kind<K_LIST_VIEW>, With<xcScrollbar>, Give<S_LIST_VIEW>},
    {34, Kind<K_MEMO>, With<xcScrollbar>, Give<S_SCROLL>},
    {35, Kind<K_GRID>, With<xcScrollbar>, Give<S_SCROLL>},
    {36, AnyControl, HasScrollBarsRule, Give<S_SCROLL>},
    {37, Kind<K_BUTTON>, With<xcButton>, Give<S_BUTTON>},
    {38, IsEdit, With<xcEdit>, Give<S_EDIT>},
    // Labels are painted on the skinned surface in the skin's text colours
    // (a rule of this program's own, ahead of the two that end the walk).
    {41, Kind<K_LABEL>, With<xcPanel>, Give<S_LABEL>},
    {39, NotDcEdit, nullptr, SkinFrameOrForm},
    {40, AnyControl, nullptr, SkinDcEdit},
};

}  // namespace

int TDiscovery::Rules(TControl* c, const std::string& n)
{
    for (const TDiscoveryRule& rule : RULES) {
        if (!rule.Matches(c, n) || (rule.Holds && !rule.Holds(*this, c))) continue;
        rule.Apply(*this, c);
        return rule.Number;
    }
    return 0;
}

namespace {

// ---- the Skin3rd table ----------------------------------------------------------------

bool TDiscovery::ThirdParty(TControl* c, const std::string& upperName)
{
    const std::string kind = FData->ThirdPartyKind(upperName);
    if (kind.empty()) return false;
    if (kind == "nil") return true;
    auto* windowed = As<TWinControl>(c);
    auto groupChildren = [&](const char* plainSkinner, int objImageKind) {
        if (!windowed) return;
        std::vector<TControl*> children;
        for (int i = 0; i < windowed->ControlCount(); ++i) children.push_back(windowed->Controls(i));
        for (TControl* child : children) {
            if (HasSkinner(child)) continue;
            if (Upper(child->ClassName()).find("TRZ") != std::string::npos)
                Make("TSkinObjImage", child, true, objImageKind);
            else
                Make(plainSkinner, child);
        }
    };

    if (kind == "combobox") {
        if (Has(xcCombo)) Make("TSkinComBox", c);
    } else if (kind == "comboboxex") {
        if (Has(xcCombo)) Make("TSkinComBox", c, false, 1);
    } else if (kind == "edit") {
        if (Has(xcEdit) && windowed) {
            RECT window{}, client{};
            GetWindowRect(windowed->Handle(), &window);
            GetClientRect(windowed->Handle(), &client);
            if (window.right - window.left != client.right || window.bottom - window.top != client.bottom)
                Make("TSkinEdit", c);
        }
    } else if (kind == "radiobutton") {
        if (Has(xcRadioButton)) Make("TSkinRadioButton", c);
    } else if (kind == "panel") {
        if (Has(xcPanel)) {
            SetPropByName(c, "Transparent", "True");
            Make("TSkinBox", c, true);
        }
    } else if (kind == "trackbar") {
        if (Has(xcButton)) {
            SetPropByName(c, "Transparent", "True");
            Make("TSkinTrackBar", c);
        }
    } else if (kind == "button") {
        if (Has(xcButton)) Make("TSkinButton", c);
    } else if (kind == "datetimepicker") {
        if (Has(xcCombo)) Make("TSkinDateTime", c);
    } else if (kind == "mediaplayer") {
        if (Has(xcButton)) Make("TSkinMP", c);
    } else if (kind == "bitbtn") {
        if (Has(xcButton)) {
            if (upperName == "TCXBUTTON" && GetLowerPropByName(c, "Kind") == "cxbkdropdownbutton")
                Make("TSkinMenuButton", c);
            else
                Make("TSkinBitButton", c);
        }
    } else if (kind == "pngbitbtn") {
        if (Has(xcButton)) Make("TSkinBitButton", c, false, 0, "PngImage");
    } else if (kind == "pngspeedbutton") {
        if (Has(xcButton)) Make("TSkinSpeedButton", c, false, 0, "PngImage");
    } else if (kind == "menubtn") {
        if (Has(xcButton)) Make("TSkinMenuButton", c);
    } else if (kind == "speedbutton") {
        if (Has(xcSpeedButton)) Make("TSkinSpeedButton", c);
    } else if (kind == "tab") {
        if (Has(xcTab) && HasTabs()) Make("TSkinTab", c);
    } else if (kind == "progress") {
        if (Has(xcProgress)) Make("TSkinProgress", c);
    } else if (kind == "scrollbar") {
        if (Has(xcScrollbar)) {
            Make("TSkinScrollBar", c);
            DispatchChildren(c);
        }
    } else if (kind == "singlescrollbar") {
        if (Has(xcScrollbar)) Make("TSkinScrollBar", c, false, 1);
    } else if (kind == "embedscrollbar") {
        if (Has(xcScrollbar) && windowed) {
            std::vector<TControl*> children;
            for (int i = 0; i < windowed->ControlCount(); ++i) children.push_back(windowed->Controls(i));
            for (TControl* child : children) {
                if (HasSkinner(child)) continue;
                if (IsA(child, "TScrollBox"))
                    Make("TSkinScControl", child);
                else if (HasScrollBars(child))
                    Make("TSkinScrollBar", child);
            }
        }
    } else if (kind == "container") {
        DispatchChildren(c);
    } else if (kind == "groupbox") {
        if (Has(xcGroupBox)) Make("TSkinGroupBox", c, true);
    } else if (kind == "advpagecontrol") {
        if (Has(xcTab)) Make("TSkinAdvPage", c, true, 4);
    } else if (kind == "radiogroup") {
        if (Has(xcGroupBox)) {
            if (Has(xcRadioButton)) groupChildren("TSkinRadioButton", 2);
            Make("TSkinGroupBox", c, true);
        }
    } else if (kind == "checkgroup") {
        if (Has(xcPanel)) {
            if (Has(xcRadioButton)) groupChildren("TSkinCheckBox", 1);
            if (Has(xcGroupBox)) Make("TSkinGroupBox", c, true);
        }
    } else if (kind == "checkbox") {
        if (Has(xcCheckBox)) Make("TSkinCheckBox", c);
    }
    // Any other keyword is handled too: the control stays as it is.
    return true;
}

// ---- plain windows ------------------------------------------------------------------------

void TDiscovery::SkinPlainWindow(HWND window)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_STYLE) & WS_CHILD) children.push_back(child);
    for (HWND child : children) DispatchWindow(child);
}

void TDiscovery::DispatchWindow(HWND window)
{
    if (!window || !FData || HasWindowSkinner(window)) return;
    const std::string k = Lower(WindowClassName(window));
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (k == "#32770") {
        if (!(style & WS_TABSTOP)) {
            SkinPlainWindow(window);
            MakeForWindow("TSkinBoxH", window);
        }
        return;
    }
    // Panels of the framework (and of its Unicode kin): their children are
    // skinned, and the control behind the window takes the face colour (and
    // gets its own back when the skin goes).
    const bool panel = k == "tpanel" || k == "ttntpanel.unicodeclass" || k == "ttntsilentpaintpanel.unicodeclass";
    if (panel || k == "tsilentpaintpanel") {
        if (panel) SkinPlainWindow(window);
        if (TWinControl* control = FindControl(window); control && !HasSkinner(control))
            Make("TSkinBox", control, true);
        return;
    }
    if (k == "comboboxex32") {
        if (Has(xcCombo)) MakeForWindow("TSkinComBox", GetWindow(window, GW_CHILD));
        return;
    }
    const std::string name = BareWindowSkinnerName(k, style);
    if (name.empty()) return;
    struct TNeed {
        const char* Skinner;
        TSkinControlType Type;
        bool Always;
    };
    static const TNeed NEEDS[] = {
        {"TSkinCheckBox", xcCheckBox, false}, {"TSkinRadioButton", xcRadioButton, false},
        {"TSkinButton", xcButton, false},     {"TSkinComBox", xcCombo, false},
        {"TSkinTab", xcTab, false},           {"TSkinEdit", xcEdit, false},
        {"TSkinSizer", xcButton, true},       {"TSkinProgress", xcProgress, true},
        {"TSkinBoxH", xcPanel, true},
    };
    for (const TNeed& need : NEEDS) {
        if (name != need.Skinner) continue;
        if (need.Always || Has(need.Type)) MakeForWindow(need.Skinner, window);
        return;
    }
}

}  // namespace

std::string BareWindowSkinnerName(const std::string& className, LONG style)
{
    const std::string k = Lower(className);
    if (k == "button") {
        switch (ButtonKindOf(style)) {
        case bkOwnerDrawn:
        case bkGroupOrBitmap: return std::string();
        case bkCheck: return "TSkinCheckBox";
        case bkRadio: return "TSkinRadioButton";
        case bkPush: return "TSkinButton";
        }
    }
    if (k == "combobox") return (style & 0x3) == CBS_SIMPLE ? std::string() : "TSkinComBox";
    if (k == "scrollbar") return (style & WS_TABSTOP) ? std::string() : "TSkinSizer";
    if (k == "tcheckbox") return "TSkinCheckBox";
    if (k == "tcombobox") return "TSkinComBox";
    if (k == "tbutton") return "TSkinButton";
    if (k == "tprogressbar") return "TSkinProgress";
    if (k == "systabcontrol32") return (style & TCS_OWNERDRAWFIXED) ? std::string() : "TSkinTab";
    if (k == "toolbarwindow32") return "TSkinBoxH";
    if (k == "edit") return "TSkinEdit";
    return std::string();
}

// ---- the form skinner's control skinning --------------------------------------------------

namespace {

class TControlDiscovery : public TControlSkinning {
public:
    void SkinChildControls(TWinSkinForm& form) override
    {
        if (!form.SkinData()) return;
        // Skinners of windows that have gone go first.
        std::vector<TSkinControl*> gone;
        for (TSkinControl* skinner : form.ControlSkinners())
            if (skinner->LifeState() == lsWindowGone) gone.push_back(skinner);
        for (TSkinControl* skinner : gone) skinner->Free();

        TDiscovery discovery(form);
        if (auto* framework = As<TCustomForm>(form.Form()))
            discovery.SkinForm(framework);
        else
            discovery.SkinPlainWindow(form.Handle());
    }

    void FreeControlSkinners(TWinSkinForm& form) override
    {
        const bool windowGoing = form.SkinState() == fssDetaching || form.SkinState() == fssDestroyed ||
                                 (form.Form() && form.Form()->HasState(csDestroying));
        std::vector<TSkinControl*> skinners = form.ControlSkinners();
        for (auto it = skinners.rbegin(); it != skinners.rend(); ++it) {
            TSkinControl* skinner = *it;
            // A skinner may take others it made along with it (a combo box
            // its list's scroll bars): only those still listed are freed here.
            const std::vector<TSkinControl*>& listed = form.ControlSkinners();
            if (std::find(listed.begin(), listed.end(), skinner) == listed.end()) continue;
            try {
                if (!windowGoing && skinner->LifeState() != lsWindowGone) skinner->Detach();
            } catch (...) {
            }
            skinner->Free();
        }
    }

    void ReloadControlSkins(TWinSkinForm& form) override
    {
        std::vector<TSkinControl*> skinners = form.ControlSkinners();
        for (TSkinControl* skinner : skinners) {
            try {
                skinner->SkinChanged();
            } catch (...) {
            }
        }
    }

    TSkinControl* FindControlSkinner(const TWinSkinForm& form, HWND control) override
    {
        for (TSkinControl* skinner : form.ControlSkinners())
            if (skinner->Window() == control) return skinner;
        return nullptr;
    }

    void SkinChildWindow(TWinSkinForm& form, HWND window) override
    {
        if (!form.SkinData()) return;
        TDiscovery(form).DispatchWindow(window);
    }

    void ReskinScrollBar(TWinSkinForm& form, HWND control) override
    {
        TSkinControl* old = FindControlSkinner(form, control);
        if (!old) return;
        // A list view gets the list-view kind again: its new header is
        // skinned with it.
        const char* kind = As<TSkinListView>(old) ? "TSkinListView" : "TSkinScrollBar";
        if (!SkinnerAvailable(kind)) return;
        TControl* target = old->Control();
        old->Detach();
        old->Free();
        TSkinControl* skinner = NewSkinner(kind, target);
        if (!skinner) return;
        if (target)
            skinner->AttachControl(&form, form.SkinData(), false, form.ControlCanvas());
        else
            skinner->AttachWindow(control, form.SkinData(), &form, form.ControlCanvas());
        if (!skinner->Attached()) delete skinner;
    }
};

TControlDiscovery Discovery;

struct TControlSkinningRegistrar {
    TControlSkinningRegistrar() { RegisterControlSkinning(); }
} ControlSkinningRegistrar;

}  // namespace

void RegisterControlSkinning()
{
    SetControlSkinning(&Discovery);
}

extern "C" void RavelbookControlSkinning()
{
    RegisterControlSkinning();
}

void SkinControlNow(TWinSkinForm& form, TControl* control)
{
    if (!form.SkinData() || !control) return;
    TDiscovery(form).DispatchControl(control, control->Parent());
}

void SkinWindowNow(TWinSkinForm& form, HWND window)
{
    if (!form.SkinData()) return;
    TDiscovery(form).DispatchWindow(window);
}
