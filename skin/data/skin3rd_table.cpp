// The built-in class-name table of the skin component: controls of other
// widget libraries and the kind of standard control each one is skinned as.
// Three classes are listed twice; the first line of a class is the one found.
#include "skin/data/skin_component.h"

#include <string>
#include <vector>

namespace {

struct TThirdPartyLine {
    const char* ClassName;
    const char* Kind;
};

constexpr TThirdPartyLine SKIN3RD[] = {
    {"TCategoryButtons", "Scrollbar"},
    {"TPngSpeedbutton", "PngSpeedButton"},
    {"TPngBitBtn", "PngBitBtn"},
    {"TVirtualStringTree", "Scrollbar"},
    {"TVirtualDrawTree", "Scrollbar"},
    {"TTBXDockablePanel", "Panel"},
    {"TAdvPanelGroup", "Scrollbar"},
    {"TComboboxex", "ComboBox"},
    {"TRxSpeedButton", "SpeedButton"},
    {"THTMLViewer", "Scrollbar"},
    {"TDBCtrlGrid", "Scrollbar"},
    {"TfrSpeedButton", "SpeedButton"},
    {"TfrTBButton", "SpeedButton"},
    {"TControlBar", "Panel"},
    {"TTBDock", "Panel"},
    {"TTBToolbar", "Panel"},
    {"TImageEnMView", "Scrollbar"},
    {"TImageEnView", "Scrollbar"},
    {"TAdvMemo", "Scrollbar"},
    {"TDBAdvMemo", "Scrollbar"},
    {"TcxDBLookupComboBox", "ComboBox"},
    {"TcxDBComboBox", "ComboBox"},
    {"TcxDBDateEdit", "ComboBox"},
    {"TcxDBImageComboBox", "ComboBox"},
    {"TcxDBCalcEdit", "ComboBox"},
    {"TcxDBBlobEdit", "ComboBox"},
    {"TcxDBPopupEdit", "ComboBox"},
    {"TcxDBFontNameComboBox", "ComboBox"},
    {"TcxDBShellComboBox", "ComboBox"},
    {"TRxLookupEdit", "ComboBox"},
    {"TRxDBLookupCombo", "ComboBox"},
    {"TRzGroup", "Panel"},
    {"TRzButton", "Button"},
    {"TRzBitbtn", "BitBtn"},
    {"TRzMenuButton", "MenuBtn"},
    {"TRzCheckGroup", "CheckGroup"},
    {"TRzRadioGroup", "RadioGroup"},
    {"TRzButtonEdit", "Edit"},
    {"TRzDBRadioGroup", "RadioGroup"},
    {"TRzDBRadioButton", "RadioButton"},
    {"TRzDateTimeEdit", "ComboBox"},
    {"TRzColorEdit", "ComboBox"},
    {"TRzDateTimePicker", "ComboBox"},
    {"TRzDBDateTimeEdit", "ComboBox"},
    {"TRzDbColorEdit", "ComboBox"},
    {"TRzDBDateTimePicker", "ComboBox"},
    {"TLMDButton", "BitBtn"},
    {"TLMDGroupBox", "GroupBox"},
    {"TDBCheckboxEh", "CheckBox"},
    {"TDBCheckboxEh", "CheckBox"},
    {"TLMDCHECKBOX", "CheckBox"},
    {"TLMDDBCHECKBOX", "CheckBox"},
    {"TLMDRadiobutton", "RadioButton"},
    {"TLMDCalculator", "Panel"},
    {"TLMDGROUPBOX", "Panel"},
    {"TLMDSIMPLEPANEL", "Panel"},
    {"TLMDDBCalendar", "Panel"},
    {"TLMDButtonPanel", "Panel"},
    {"TLMDLMDCalculator", "Panel"},
    {"TLMDHeaderPanel", "Panel"},
    {"TLMDTechnicalLine", "Panel"},
    {"TLMDLMDClock", "Panel"},
    {"TLMDTrackbar", "Panel"},
    {"TLMDListCombobox", "ComboBox"},
    {"TLMDCheckListCombobox", "ComboBox"},
    {"TLMDHeaderListCombobox", "ComboBox"},
    {"TLMDImageCombobox", "ComboBox"},
    {"TLMDColorCombobox", "ComboBox"},
    {"TLMDFontCombobox", "ComboBox"},
    {"TLMDFontSizeCombobox", "ComboBox"},
    {"TLMDFontSizeCombobox", "ComboBox"},
    {"TLMDPrinterCombobox", "ComboBox"},
    {"TLMDDriveCombobox", "ComboBox"},
    {"TLMDCalculatorComboBox", "ComboBox"},
    {"TLMDTrackBarComboBox", "ComboBox"},
    {"TLMDCalendarComboBox", "ComboBox"},
    {"TLMDTreeComboBox", "ComboBox"},
    {"TLMDRADIOGROUP", "RadioGroup"},
    {"TLMDCheckGroup", "CheckGroup"},
    {"TLMDDBRADIOGROUP", "RadioGroup"},
    {"TLMDDBCheckGroup", "CheckGroup"},
    {"TLMDCalculatorEdit", "Edit"},
    {"TLMDEDIT", "Edit"},
    {"TLMDMASKEDIT", "Edit"},
    {"TLMDBROWSEEDIT", "Edit"},
    {"TLMDEXTSPINEDIT", "Edit"},
    {"TLMDCALENDAREDIT", "Edit"},
    {"TLMDFILEOPENEDIT", "Edit"},
    {"TLMDFILESAVEEDIT", "Edit"},
    {"TLMDCOLOREDIT", "Edit"},
    {"TLMDDBEDIT", "Edit"},
    {"TLMDDBMASKEDIT", "Edit"},
    {"TLMDDBEXTSPINEDIT", "Edit"},
    {"TLMDDBSPINEDIT", "Edit"},
    {"TLMDDBEDITDBLookup", "Edit"},
    {"TLMDEDITDBLookup", "Edit"},
    {"TDBLookupCombobox", "ComboBox"},
    {"TWWDBCombobox", "ComboBox"},
    {"TWWDBLookupCombo", "ComboBox"},
    {"TWWDBCombobox", "ComboBox"},
    {"TWWKeyCombo", "ComboBox"},
    {"TWWTempKeyCombo", "ComboBox"},
    {"TWWDBDateTimePicker", "ComboBox"},
    {"TWWRADIOGROUP", "RadioGroup"},
    {"TWWDBEDIT", "Edit"},
    {"TcxButton", "BitBtn"},
    {"TcxDBRadioGroup", "RadioGroup"},
    {"TcxRadioGroup", "RadioGroup"},
    {"TcxGroupbox", "GroupBox"},
    {"TOVCPICTUREFIELD", "Edit"},
    {"TOVCDBPICTUREFIELD", "Edit"},
    {"TOVCSLIDEREDIT", "Edit"},
    {"TOVCDBSLIDEREDIT", "Edit"},
    {"TOVCSIMPLEFIELD", "Edit"},
    {"TOVCDBSIMPLEFIELD", "Edit"},
    {"TO32DBFLEXEDIT", "Edit"},
    {"TOVCNUMERICFIELD", "Edit"},
    {"TOVCDBNUMERICFIELD", "Edit"},
};

constexpr int SKIN3RD_COUNT = static_cast<int>(sizeof(SKIN3RD) / sizeof(SKIN3RD[0]));
static_assert(SKIN3RD_COUNT == 118, "the class-name table has 118 lines");

}  // namespace

int BuiltInSkin3rdCount() { return SKIN3RD_COUNT; }

const char* BuiltInSkin3rdLine(int index)
{
    static const auto lines = [] {
        std::vector<std::string> all;
        for (const TThirdPartyLine& l : SKIN3RD) all.push_back(std::string(l.ClassName) + "=" + l.Kind);
        return all;
    }();
    return index >= 0 && index < SKIN3RD_COUNT ? lines[static_cast<std::size_t>(index)].c_str() : "";
}
