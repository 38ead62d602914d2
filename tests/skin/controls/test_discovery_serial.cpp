// Control discovery on skinned forms: every Skin3rd keyword gives a control
// of its class that keyword's skinner (where the class alone would get
// another or none), the decision table's rows decide only while their kind
// is switched on (a control whose kind is off goes on to the later rows), a
// picker is told apart by its kind, and plain windows are decided by their
// class name and button type bits.
#include "control_skin_support.h"

#include <commctrl.h>

#include <map>

#include "framework/buttons.h"
#include "framework/combo_box.h"
#include "framework/ext_controls.h"
#include "framework/group_box.h"
#include "framework/list_box.h"
#include "framework/memo.h"
#include "framework/radio_group.h"
#include "framework/range_controls.h"
#include "framework/std_controls.h"
#include "framework/tab_control.h"
#include "skin/controls/scrollbar_skinner.h"

namespace {

using namespace controltest;

// Controls of classes of their own, so that one Skin3rd line names each.
#define KIND_CLASS(Name, Base)                 \
    class Name : public Base {                 \
        DECLARE_CLASS_INLINE(Name, Base)       \
    public:                                    \
        explicit Name(TComponent* owner) : Base(owner) {} \
    };
KIND_CLASS(TKindCombo, TComboBox)
KIND_CLASS(TKindComboEx, TComboBox)
KIND_CLASS(TKindEditMemo, TMemo)
KIND_CLASS(TKindRadio, TRadioButton)
KIND_CLASS(TKindPanel, TPanel)
KIND_CLASS(TKindTrack, TTrackBar)
KIND_CLASS(TKindButtonPanel, TPanel)
KIND_CLASS(TKindPicker, TDateTimePicker)
KIND_CLASS(TKindBitBtn, TButton)
KIND_CLASS(TKindPngBitBtn, TBitBtn)
KIND_CLASS(TKindPngSpeed, TSpeedButton)
KIND_CLASS(TKindMenuBtn, TBitBtn)
KIND_CLASS(TKindSpeed, TSpeedButton)
KIND_CLASS(TKindTab, TTabControl)
KIND_CLASS(TKindProgress, TProgressBar)
KIND_CLASS(TKindScroll, TPanel)
KIND_CLASS(TKindSingle, TListBox)
KIND_CLASS(TKindEmbed, TPanel)
KIND_CLASS(TKindContainer, TPanel)
KIND_CLASS(TKindGroup, TPanel)
KIND_CLASS(TKindRadioGroup, TPanel)
KIND_CLASS(TKindCheckGroup, TPanel)
KIND_CLASS(TKindCheck, TCheckBox)
KIND_CLASS(TKindNil, TEdit)
KIND_CLASS(TKindUnknown, TButton)
KIND_CLASS(TSilentPaintPanel, TPanel)
#undef KIND_CLASS

template <class T>
T* Put(TForm* form, TWinControl* parent, int x, int y, int w = 80, int h = 24)
{
    auto* control = new T(form);
    control->SetParent(parent);
    control->SetBounds(x, y, w, h);
    return control;
}

class DiscoveryTest : public ControlSkinTest {
protected:
    std::string ClassOf(TForm* form, const TControl* control, HWND window = nullptr)
    {
        TSkinControl* s = SkinnerFor(SkinnerOf(form->Handle()), control, window);
        return s ? s->ClassName() : std::string("none");
    }
};

TEST_F(DiscoveryTest, EverySkin3rdKeywordGivesItsSkinner)
{
    std::map<std::string, TControl*> c;   // keyword -> control
    std::map<std::string, TControl*> kid; // keyword -> a child of the control
    TForm* form = SkinnedForm([&](TForm* f) {
        for (const char* line :
             {"TKindCombo=combobox", "TKindComboEx=comboboxex", "TKindEditMemo=edit", "TKindRadio=radiobutton",
              "TKindPanel=panel", "TKindTrack=trackbar", "TKindButtonPanel=button", "TKindPicker=datetimepicker",
              "TKindBitBtn=bitbtn", "TKindPngBitBtn=pngbitbtn",
              "TKindPngSpeed=pngspeedbutton", "TKindMenuBtn=menubtn", "TKindSpeed=speedbutton", "TKindTab=tab",
              "TKindProgress=progress", "TKindScroll=scrollbar", "TKindSingle=singlescrollbar",
              "TKindEmbed=embedscrollbar", "TKindContainer=container", "TKindGroup=groupbox",
              "TKindRadioGroup=radiogroup", "TKindCheckGroup=checkgroup", "TKindCheck=checkbox", "TKindNil=nil",
              "TKindUnknown=nosuchkind"})
            FSkin->Skin3rd()->Add(line);
        // Track bars are switched off: the keyword's own condition holds.
        FSkin->SetSkinControls(FSkin->SkinControls() & ~SkinControl(xcTrackBar));
        int x = 4, y = 4;
        auto next = [&]() {
            const int at = y;
            y += 28;
            if (y > 280) {
                y = 4;
                x += 100;
            }
            return at;
        };
        c["combobox"] = Put<TKindCombo>(f, f, x, next());
        c["comboboxex"] = Put<TKindComboEx>(f, f, x, next());
        auto* memo = Put<TKindEditMemo>(f, f, x, next());
        memo->SetScrollBars(ssVertical);
        c["edit"] = memo;
        c["radiobutton"] = Put<TKindRadio>(f, f, x, next());
        c["panel"] = Put<TKindPanel>(f, f, x, next());
        c["trackbar"] = Put<TKindTrack>(f, f, x, next());
        c["button"] = Put<TKindButtonPanel>(f, f, x, next());
        auto* time = Put<TKindPicker>(f, f, x, next());
        time->SetKind(dtkTime);
        c["datetimepicker"] = time;
        c["bitbtn"] = Put<TKindBitBtn>(f, f, x, next());
        c["pngbitbtn"] = Put<TKindPngBitBtn>(f, f, x, next());
        c["pngspeedbutton"] = Put<TKindPngSpeed>(f, f, x, next());
        c["menubtn"] = Put<TKindMenuBtn>(f, f, x, next());
        c["speedbutton"] = Put<TKindSpeed>(f, f, x, next());
        auto* tab = Put<TKindTab>(f, f, x, next());
        tab->Tabs()->Add("A");
        c["tab"] = tab;
        c["progress"] = Put<TKindProgress>(f, f, x, next());
        c["scrollbar"] = Put<TKindScroll>(f, f, x, next(), 80, 60);
        kid["scrollbar"] = Put<TButton>(f, static_cast<TWinControl*>(c["scrollbar"]), 2, 2, 40, 20);
        y += 40;
        c["singlescrollbar"] = Put<TKindSingle>(f, f, x, next());
        c["embedscrollbar"] = Put<TKindEmbed>(f, f, x, next(), 80, 60);
        kid["embedscrollbar"] = Put<TListBox>(f, static_cast<TWinControl*>(c["embedscrollbar"]), 2, 2, 60, 50);
        y += 40;
        c["container"] = Put<TKindContainer>(f, f, x, next(), 80, 60);
        kid["container"] = Put<TButton>(f, static_cast<TWinControl*>(c["container"]), 2, 2, 40, 20);
        y += 40;
        c["groupbox"] = Put<TKindGroup>(f, f, x, next());
        c["radiogroup"] = Put<TKindRadioGroup>(f, f, x, next(), 80, 60);
        kid["radiogroup"] = Put<TRadioButton>(f, static_cast<TWinControl*>(c["radiogroup"]), 2, 2, 60, 20);
        y += 40;
        c["checkgroup"] = Put<TKindCheckGroup>(f, f, x, next(), 80, 60);
        kid["checkgroup"] = Put<TCheckBox>(f, static_cast<TWinControl*>(c["checkgroup"]), 2, 2, 60, 20);
        y += 40;
        c["checkbox"] = Put<TKindCheck>(f, f, x, next());
        c["nil"] = Put<TKindNil>(f, f, x, next());
        c["nosuchkind"] = Put<TKindUnknown>(f, f, x, next());
    });
    const std::map<std::string, std::string> expected = {
        {"combobox", "TSkinComBox"},        {"comboboxex", "TSkinComBox"},
        {"edit", "TSkinEdit"},              {"radiobutton", "TSkinRadioButton"},
        {"panel", "TSkinBox"},              {"trackbar", "TSkinTrackBar"},
        {"button", "TSkinButton"},          {"datetimepicker", "TSkinDateTime"},
        {"bitbtn", "TSkinBitButton"},
        {"pngbitbtn", "TSkinBitButton"},    {"pngspeedbutton", "TSkinSpeedButton"},
        {"menubtn", "TSkinMenuButton"},     {"speedbutton", "TSkinSpeedButton"},
        {"tab", "TSkinTab"},                {"progress", "TSkinProgress"},
        {"scrollbar", "TSkinScrollbar"},    {"singlescrollbar", "TSkinScrollbar"},
        {"embedscrollbar", "none"},         {"container", "none"},
        {"groupbox", "TSkinGroupBox"},      {"radiogroup", "TSkinGroupBox"},
        {"checkgroup", "TSkinGroupBox"},    {"checkbox", "TSkinCheckBox"},
        {"nil", "none"},                    {"nosuchkind", "none"},
    };
    for (const auto& [keyword, skinner] : expected) EXPECT_EQ(ClassOf(form, c[keyword]), skinner) << keyword;
    const std::map<std::string, std::string> children = {
        {"scrollbar", "TSkinButton"},      {"embedscrollbar", "TSkinScrollbar"}, {"container", "TSkinButton"},
        {"radiogroup", "TSkinRadioButton"}, {"checkgroup", "TSkinCheckBox"},
    };
    for (const auto& [keyword, skinner] : children) EXPECT_EQ(ClassOf(form, kid[keyword]), skinner) << keyword;

    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    EXPECT_TRUE(dynamic_cast<TSkinScrollbar*>(SkinnerFor(skinner, c["singlescrollbar"]))->SingleBar());
    EXPECT_FALSE(dynamic_cast<TSkinScrollbar*>(SkinnerFor(skinner, c["scrollbar"]))->SingleBar());
    for (const char* managed : {"panel", "groupbox", "radiogroup", "checkgroup"})
        EXPECT_TRUE(SkinnerFor(skinner, c[managed])->ColourManaged()) << managed;
    EXPECT_EQ(GetLowerPropByName(c["panel"], "Color"), std::to_string(static_cast<int>(FSkin->FaceColour())));
}

TEST_F(DiscoveryTest, ARowDecidesOnlyWhileItsKindIsSwitchedOn)
{
    struct TCase {
        const char* What;
        TSkinControlTypes Off;
        const char* Memo;
        const char* Group;
        const char* GroupButton;
        const char* BitBtn;
        const char* Picker;
        const char* Time;
    };
    const TCase cases[] = {
        {"all on", 0, "TSkinScrollbar", "TSkinGroupBox", "TSkinRadioButton", "TSkinBitButton", "TSkinDateTime",
         "TSkinEdit"},
        {"no scroll bars", SkinControl(xcScrollbar), "TSkinEdit", "TSkinGroupBox", "TSkinRadioButton",
         "TSkinBitButton", "TSkinDateTime", "TSkinEdit"},
        {"no scroll bars nor edits", SkinControl(xcScrollbar) | SkinControl(xcEdit), "none", "TSkinGroupBox",
         "TSkinRadioButton", "TSkinBitButton", "none", "none"},
        {"no radio buttons", SkinControl(xcRadioButton), "TSkinScrollbar", "TSkinGroupBox", "none",
         "TSkinBitButton", "TSkinDateTime", "TSkinEdit"},
        {"no radio buttons nor panels", SkinControl(xcRadioButton) | SkinControl(xcPanel), "TSkinScrollbar",
         "none", "none", "TSkinBitButton", "TSkinDateTime", "TSkinEdit"},
        // A bitmap button never becomes a plain button.
        {"no bitmap buttons", SkinControl(xcBitBtn), "TSkinScrollbar", "TSkinGroupBox", "TSkinRadioButton",
         "none", "TSkinDateTime", "TSkinEdit"},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.What);
        TMemo* memo = nullptr;
        TRadioGroup* group = nullptr;
        TBitBtn* bit = nullptr;
        TDateTimePicker* picker = nullptr;
        TDateTimePicker* time = nullptr;
        TForm* form = SkinnedForm([&](TForm* f) {
            FSkin->SetSkinControls(DEFAULT_SKIN_CONTROLS & ~test.Off);
            memo = Put<TMemo>(f, f, 10, 10, 150, 80);
            group = Put<TRadioGroup>(f, f, 170, 10, 150, 80);
            group->Items()->Add("收入");
            group->Items()->Add("支出");
            bit = Put<TBitBtn>(f, f, 10, 100);
            picker = Put<TDateTimePicker>(f, f, 10, 130, 150, 24);
            time = Put<TDateTimePicker>(f, f, 10, 160, 150, 24);
            time->SetKind(dtkTime);
        });
        EXPECT_EQ(ClassOf(form, memo), test.Memo);
        EXPECT_EQ(ClassOf(form, group), test.Group);
        ASSERT_GT(group->ButtonCount(), 0);
        EXPECT_EQ(ClassOf(form, group->Button(0)), test.GroupButton);
        EXPECT_EQ(ClassOf(form, bit), test.BitBtn);
        EXPECT_EQ(ClassOf(form, picker), test.Picker);
        EXPECT_EQ(ClassOf(form, time), test.Time);
        // Row 13 colours its group; row 18 (radio buttons off) does not.
        if (std::string(test.Group) == "TSkinGroupBox")
            EXPECT_EQ(SkinnerFor(SkinnerOf(form->Handle()), group)->ColourManaged(),
                      !(test.Off & SkinControl(xcRadioButton)));
        Forms.pop_back();
        delete form;
        Pump(20);
        FreeSkinManager();
    }
}

TEST_F(DiscoveryTest, PlainWindowsByClassNameAndButtonTypeBits)
{
    struct TButtonCase {
        LONG Style;
        const char* Skinner;
    };
    const TButtonCase buttons[] = {
        {BS_PUSHBUTTON, "TSkinButton"},        {BS_DEFPUSHBUTTON, "TSkinButton"},
        {BS_CHECKBOX, "TSkinCheckBox"},        {BS_AUTOCHECKBOX, "TSkinCheckBox"},
        {BS_3STATE, "TSkinCheckBox"},          {BS_AUTO3STATE, "TSkinCheckBox"},
        {BS_RADIOBUTTON, "TSkinRadioButton"},  {BS_AUTORADIOBUTTON, "TSkinRadioButton"},
        {BS_GROUPBOX, ""},                     {BS_OWNERDRAW, ""},
        {BS_PUSHBUTTON | BS_BITMAP, ""},       {BS_AUTOCHECKBOX | BS_LEFTTEXT, "TSkinCheckBox"},
        {BS_PUSHBOX, "TSkinCheckBox"},         {BS_USERBUTTON, "TSkinButton"},
        {BS_AUTORADIOBUTTON | BS_PUSHLIKE, "TSkinRadioButton"},
    };
    for (const TButtonCase& b : buttons)
        EXPECT_EQ(BareWindowSkinnerName("Button", WS_CHILD | b.Style), b.Skinner) << std::hex << b.Style;
    EXPECT_EQ(BareWindowSkinnerName("ComboBox", CBS_SIMPLE), "");
    EXPECT_EQ(BareWindowSkinnerName("ComboBox", CBS_DROPDOWNLIST), "TSkinComBox");
    EXPECT_EQ(BareWindowSkinnerName("ScrollBar", WS_TABSTOP), "");
    EXPECT_EQ(BareWindowSkinnerName("SysTabControl32", TCS_OWNERDRAWFIXED), "");

    // Framework panels met as windows take the face colour, and their own
    // back when the skin goes.
    TPanel* panel = nullptr;
    TSilentPaintPanel* silent = nullptr;
    TButton* inside = nullptr;
    TForm* form = SkinnedForm([&](TForm* f) {
        FSkin->SetSkinControls(DEFAULT_SKIN_CONTROLS & ~SkinControl(xcPanel));
        panel = Put<TPanel>(f, f, 10, 10, 120, 60);
        inside = Put<TButton>(f, panel, 4, 4, 60, 24);
        silent = Put<TSilentPaintPanel>(f, f, 10, 80, 120, 60);
        panel->SetColor(clRed);
        silent->SetColor(clBlue);
    });
    TWinSkinForm* skinner = SkinnerOf(form->Handle());
    ASSERT_EQ(ClassOf(form, panel), "none") << "panels are off for framework controls";
    EXPECT_EQ(ClassOf(form, inside), "TSkinButton");
    const int face = static_cast<int>(FSkin->FaceColour());
    SkinWindowNow(*skinner, panel->Handle());
    SkinWindowNow(*skinner, silent->Handle());
    EXPECT_EQ(static_cast<int>(panel->Color()), face);
    EXPECT_EQ(static_cast<int>(silent->Color()), face);
    const size_t count = skinner->ControlSkinners().size();
    SkinWindowNow(*skinner, panel->Handle());
    EXPECT_EQ(skinner->ControlSkinners().size(), count) << "once only";
    FSkin->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(form));
    EXPECT_EQ(panel->Color(), clRed);
    EXPECT_EQ(silent->Color(), clBlue);
}

}  // namespace
