// Extended combo boxes (see combo_box_ex.h).
#include "framework/combo_box_ex.h"

const TEnumInfo ComboBoxExStyleEnum{"TComboBoxExStyle", {"csExDropDown", "csExSimple", "csExDropDownList"}};

using PComboBoxEx = TPropBuilder<TComboBoxEx>;
IMPLEMENT_CLASS(TComboBoxEx,
    PComboBoxEx::Integer("Color", &TComboBoxEx::Color, &TComboBoxEx::SetColor),
    PComboBoxEx::Object("Font", &TComboBoxEx::Font, &TComboBoxEx::SetFont),
    PComboBoxEx::Integer("ItemIndex", &TComboBoxEx::ItemIndex, &TComboBoxEx::SetItemIndex),
    PComboBoxEx::Object("ItemsEx", &TComboBoxEx::Items, &TComboBoxEx::SetItems),
    PComboBoxEx::Bool("ParentFont", &TComboBoxEx::ParentFont, &TComboBoxEx::SetParentFont),
    PComboBoxEx::Enum("Style", ComboBoxExStyleEnum, &TComboBoxEx::Style, &TComboBoxEx::SetStyle),
    PComboBoxEx::String("Text", &TComboBoxEx::Text, &TComboBoxEx::SetText))

TComboBoxEx::TComboBoxEx(TComponent* owner) : TWinControl(owner), FItems(std::make_unique<TStringList>())
{
    FControlStyle = csSetCaption | csDoubleClicks;
    FWidth = 145;
    FHeight = 22;
    FTabStop = true;
    FColor = clWindow;
    FBrush->SetColor(clWindow);
    FItems->OnChange = [this](TObject*) { UpdateItems(); };
}

TComboBoxEx::~TComboBoxEx()
{
    FItems->OnChange = nullptr;
    SetComponentState(csDestroying);
    DestroyHandle();
}

void TComboBoxEx::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_USEREX_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_COMBOBOXEXA);
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST};
    // The window's height is that of the opened box; the system sizes the
    // closed part from the font.
    p.Style |= styles[FStyle] | WS_VSCROLL;
    p.Caption.clear();
}

void TComboBoxEx::CreateWindowDone()
{
    if (FImages) ::SendMessageA(FHandle, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages));
    UpdateItems();
}

void TComboBoxEx::DestroyWnd()
{
    FItemIndex = ItemIndex();
    TWinControl::DestroyWnd();
}

void TComboBoxEx::UpdateItems()
{
    if (!FHandle || HasState(csDestroying)) return;
    int chosen = FItemIndex;
    ::SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < FItems->Count(); ++i) {
        std::string text = FItems->Get(i);
        COMBOBOXEXITEMA item{};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
        item.iItem = i;
        item.pszText = text.data();
        item.iImage = item.iSelectedImage = FImages ? i : -1;
        ::SendMessageA(FHandle, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (chosen >= FItems->Count()) chosen = -1;
    ::SendMessageA(FHandle, CB_SETCURSEL, chosen, 0);
}

void TComboBoxEx::SetStyle(TComboBoxExStyle value)
{
    if (value == FStyle) return;
    FStyle = value;
    RecreateWnd();
}

void TComboBoxEx::SetItems(TStrings* items)
{
    if (items) FItems->Assign(*items);
}

int TComboBoxEx::ItemIndex() const
{
    if (!FHandle) return FItemIndex;
    return static_cast<int>(::SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
}

void TComboBoxEx::SetItemIndex(int value)
{
    if (value < 0 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    if (FHandle) {
        // The control tells of its own edit's new text as if the user had
        // typed it; a choice the program makes is not a change to report.
        FSettingIndex = true;
        ::SendMessageA(FHandle, CB_SETCURSEL, value, 0);
        FSettingIndex = false;
    }
    Perform(CM_TEXTCHANGED);
}

void TComboBoxEx::SetImages(HIMAGELIST images)
{
    FImages = images;
    if (FHandle) {
        ::SendMessageA(FHandle, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
        UpdateItems();
    }
}

HWND TComboBoxEx::ComboHandle() const
{
    return FHandle ? reinterpret_cast<HWND>(::SendMessageA(FHandle, CBEM_GETCOMBOCONTROL, 0, 0)) : nullptr;
}

void TComboBoxEx::WndProc(TMessage& m)
{
    if (m.Msg == CN_COMMAND) {
        if (FSettingIndex) return;
        switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
            FItemIndex = ItemIndex();
            Click();
            if (OnSelect) OnSelect(this);
            if (OnChange) OnChange(this);
            break;
        case CBN_EDITCHANGE:
            if (OnChange) OnChange(this);
            break;
        }
        return;
    }
    TWinControl::WndProc(m);
}
