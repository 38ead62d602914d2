// Control discovery and skinner assignment: the walk over a skinned window's
// controls, the decision table for framework controls, the Skin3rd kind
// keywords and the table for bare child windows.
#include "skin/controls/control_discovery.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/forms.h"
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

// Whether `object`'s class or an ancestor is called `name` (case ignored).
// Kinds of other libraries and of the data-aware framework are recognised
// this way, without naming their classes.
bool IsA(const TObject* object, const char* name)
{
    for (const TClassInfo* info = object ? &object->ClassInfo() : nullptr; info; info = info->Parent)
        if (lstrcmpiA(info->Name, name) == 0) return true;
    return false;
}

std::string WindowClassName(HWND window)
{
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The button type bits of a "button" window, in the order they are tested.
enum TButtonKind { bkOwnerDrawn, bkGroupOrBitmap, bkCheck, bkRadio, bkPush };

TButtonKind ButtonKindOf(LONG style)
{
    const LONG type = style & 0x0F;
    if ((type & BS_OWNERDRAW) == BS_OWNERDRAW) return bkOwnerDrawn;
    if ((type & BS_GROUPBOX) == BS_GROUPBOX || (style & BS_BITMAP)) return bkGroupOrBitmap;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) return bkCheck;
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) return bkRadio;
    return bkPush;
}

// One walk of a form skinner's window.
class TDiscovery {
public:
    explicit TDiscovery(TWinSkinForm& form) : FForm(form), FData(form.SkinData()) {}

    void SkinForm(TCustomForm* form);
    void SkinPlainWindow(HWND window);
    void DispatchControl(TControl* control, TWinControl* parent);
    void DispatchWindow(HWND window);

private:
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
    void Rules(TControl* control, const std::string& upperName);
    bool HasScrollBars(TControl* control) const;

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
        skinner->AttachControl(&FForm, FData, colourManaged, nullptr);
    } catch (...) {
    }
    if (!skinner->Attached()) {
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
        skinner->AttachWindow(window, FData, &FForm, nullptr);
    } catch (...) {
    }
    if (!skinner->Attached()) {
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
                skinner->AttachControl(&FForm, FData, skinner->ColourManaged(), nullptr);
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

void TDiscovery::Rules(TControl* c, const std::string& n)
{
    if (IsA(c, "TCustomTabControl")) {
        if (Has(xcTab) && HasTabs()) {
            if (!IsA(c, "TPageControl"))
                Make("TSkinTab", c, false, 2);
            else if (GetLowerPropByName(c, "Style") == "tsbuttons" || GetLowerPropByName(c, "Style") == "tsflatbuttons")
                Make("TSkinTabBtn", c);
            else
                Make("TSkinTab", c);
        }
        return;
    }
    // A button with its own drop-down menu: the menu's items are drawn by the
    // menu skinning; the button itself is the "menubtn" kind.
    if (IsA(c, "TMenuButton") && FForm.SkinFrame()) return;
    if (IsA(c, "TCoolBar")) {
        if (Has(xcToolbar)) SetPropByName(c, "Color", std::to_string(static_cast<int>(FData->FaceColour())));
        return;
    }
    if (n == "TTABSET") {
        if (Has(xcTab) && HasTabs()) Make("TSkinTab31", c);
        return;
    }
    if (IsA(c, "TTabSheet")) {
        if (Has(xcTab) && HasTabs()) Make("TSkinTabSheet", c);
        return;
    }
    if (n == "TTABBEDNOTEBOOK") {
        if (Has(xcTab) && HasTabs()) Make("TSkinTab", c);
        return;
    }
    if (n == "TMVCPANEL") return DispatchChildren(c);
    if (IsA(c, "THeaderControl") || IsA(c, "TCustomHeaderControl")) {
        if (Has(xcPanel)) Make("TSkinHeader", c);
        return;
    }
    if (IsA(c, "TCustomCheckBox") || IsA(c, "TCheckBox")) {
        if (Has(xcCheckBox)) Make("TSkinCheckBox", c);
        return;
    }
    if (IsA(c, "TTrackBar")) {
        if (Has(xcTrackBar)) Make("TSkinTrackBar", c);
        return;
    }
    if (n == "TUPDOWN" || n == "TSPINBUTTON") {
        if (Has(xcSpin)) Make("TSkinUpDown", c);
        return;
    }
    if (n == "TMEDIAPLAYER") {
        if (Has(xcButton)) Make("TSkinMP", c);
        return;
    }
    if (IsA(c, "TCustomRadioGroup")) {
        if (Has(xcRadioButton)) {
            ChildrenGet(c, "TSkinRadioButton");
            Make("TSkinGroupBox", c, true);
        }
        return;
    }
    if (n == "TDBNAVIGATOR") {
        if (Has(xcPanel)) {
            Make("TSkinBox", c, true);
            DispatchChildren(c);
        }
        return;
    }
    if (n == "TRZDBCHECKBOX" || n == "TRZCHECKBOX") {
        if (Has(xcCheckBox)) Make("TSkinObjImage", c, true, 1);
        return;
    }
    if (n == "TRZRADIOBUTTON" || n == "TRZDBRADIOBUTTON") {
        if (Has(xcRadioButton)) Make("TSkinObjImage", c, true, 2);
        return;
    }
    if (n == "TCXDBCHECKBOX" || n == "TCXCHECKBOX") {
        if (Has(xcCheckBox)) Make("TSkinObjImage", c, true, 3);
        return;
    }
    if (IsA(c, "TCustomGroupBox")) {
        if (Has(xcPanel)) {
            DispatchChildren(c);
            Make("TSkinGroupBox", c);
        }
        return;
    }
    if (IsA(c, "TRadioButton")) {
        if (Has(xcRadioButton)) Make("TSkinRadioButton", c);
        return;
    }
    if (IsA(c, "TToolBar")) {
        if (Has(xcToolbar)) {
            SetPropByName(c, "Flat", "True");
            Make("TSkinBox", c);
        }
        return;
    }
    if (IsA(c, "TCustomStatusBar")) {
        if (Has(xcStatusBar)) Make("TSkinStatusBar", c);
        return;
    }
    if (IsA(c, "TProgressBar")) {
        if (Has(xcProgress)) Make("TSkinProgress", c);
        return;
    }
    if (IsA(c, "TScrollBar")) {
        if (Has(xcScrollbar)) Make("TSkinScControl", c);
        return;
    }
    if (n == "TTNTCOMBOBOX" || IsA(c, "TCustomComboBox")) {
        if (Has(xcCombo)) Make("TSkinComBox", c);
        return;
    }
    if (IsA(c, "TDateTimePicker")) {
        if (Has(xcEdit)) {
            // An up-down picker is an edit with arrows; a drop-down one a
            // combo box with a calendar.
            if (GetLowerPropByName(c, "DateMode") == "dmupdown")
                Make("TSkinEdit", c);
            else
                Make("TSkinDateTime", c);
        }
        return;
    }
    if (n == "TRICHEDIT" || n == "TWWDBRICHEDIT" || n == "TDXDBMEMO") {
        if (Has(xcScrollbar)) Make("TSkinScrollBar", c);
        return;
    }
    if (IsA(c, "TBitBtn")) {
        if (Has(xcBitBtn)) Make("TSkinBitButton", c);
        return;
    }
    if (IsA(c, "TSpeedButton")) {
        if (Has(xcSpeedButton)) Make("TSkinSpeedButton", c);
        return;
    }
    // Labels are painted on the skinned surface in the skin's text colours.
    if (IsA(c, "TLabel")) {
        if (Has(xcPanel)) Make("TSkinLabel", c);
        return;
    }
    if (IsA(c, "TCustomPanel")) {
        if (Has(xcPanel)) {
            DispatchChildren(c);
            Make("TSkinBox", c, true);
        }
        return;
    }
    if (n == "TDXTREELIST" || n == "TDXDBTREELIST" || n == "TDXDBGRID") {
        if (Has(xcScrollbar)) Make("TSkinScrollBar", c);
        return;
    }
    if (IsA(c, "TCustomListView")) {
        if (Has(xcScrollbar)) Make("TSkinListView", c);
        return;
    }
    if (IsA(c, "TCustomMemo") || IsA(c, "TCustomGrid") || HasScrollBars(c)) {
        if (Has(xcScrollbar)) Make("TSkinScrollBar", c);
        return;
    }
    if (IsA(c, "TButton")) {
        if (Has(xcButton)) Make("TSkinButton", c);
        return;
    }
    if (IsA(c, "TCustomEdit")) {
        if (Has(xcEdit)) Make("TSkinEdit", c);
        return;
    }
    if (n != "TDCEDIT" && n != "TDCDBEDIT") {
        if (IsA(c, "TCustomFrame")) {
            DispatchChildren(c);
        } else if (IsA(c, "TCustomForm")) {
            Make("TSkinBox", c, true);
            DispatchChildren(c);
        }
        return;
    }
    const int buttons = GetOrdPropByName(c, "NumButtons");
    if (buttons == 1 && Has(xcCombo)) Make("TSkinComBox", c);
    if (buttons == 0 && Has(xcEdit)) {
        if (auto* windowed = As<TWinControl>(c)) MakeForWindow("TSkinEdit", windowed->Handle());
    }
}

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
    if (k == "tpanel" || k == "ttntpanel.unicodeclass" || k == "ttntsilentpaintpanel.unicodeclass") {
        SkinPlainWindow(window);
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
        if (!old || !SkinnerAvailable("TSkinScrollBar")) return;
        TControl* target = old->Control();
        const bool listView = old->ClassName() == "TSkinListView";
        old->Detach();
        old->Free();
        TSkinControl* skinner = NewSkinner("TSkinScrollBar", target);
        if (!skinner) return;
        skinner->Configure(listView ? 2 : 0, std::string());
        if (target)
            skinner->AttachControl(&form, form.SkinData(), false, nullptr);
        else
            skinner->AttachWindow(control, form.SkinData(), &form, nullptr);
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
