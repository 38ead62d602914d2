// Status bars and their panels (see status_bar.h).
#include "framework/status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/forms.h"

const TEnumInfo StatusPanelBevelEnum{"TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"}};
const TEnumInfo StatusPanelStyleEnum{"TStatusPanelStyle", {"psText", "psOwnerDraw"}};

// ---- TStatusPanel -------------------------------------------------------------------------

using PStatusPanel = TPropBuilder<TStatusPanel>;
IMPLEMENT_CLASS(TStatusPanel,
    PStatusPanel::Enum("Alignment", AlignmentEnum, &TStatusPanel::Alignment, &TStatusPanel::SetAlignment),
    PStatusPanel::Enum("Bevel", StatusPanelBevelEnum, &TStatusPanel::Bevel, &TStatusPanel::SetBevel),
    PStatusPanel::Enum("Style", StatusPanelStyleEnum, &TStatusPanel::Style, &TStatusPanel::SetStyle),
    PStatusPanel::String("Text", &TStatusPanel::Text, &TStatusPanel::SetText),
    PStatusPanel::Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth))

int TStatusPanel::Index() const
{
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this) return i;
    return -1;
}

void TStatusPanel::SetText(const std::string& value)
{
    if (value == FText) return;
    FText = value;
    FCollection->Changed(Index());
}

void TStatusPanel::SetWidth(int value)
{
    value = std::max(value, 0);
    if (value == FWidth) return;
    FWidth = value;
    FCollection->Changed(-1);
}

void TStatusPanel::SetAlignment(TAlignment value)
{
    if (value == FAlignment) return;
    FAlignment = value;
    FCollection->Changed(Index());
}

void TStatusPanel::SetBevel(TStatusPanelBevel value)
{
    if (value == FBevel) return;
    FBevel = value;
    FCollection->Changed(Index());
}

void TStatusPanel::SetStyle(TStatusPanelStyle value)
{
    if (value == FStyle) return;
    FStyle = value;
    FCollection->Changed(Index());
}

void TStatusPanel::Assign(const TPersistent& source)
{
    const auto* other = As<TStatusPanel>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    FText = other->FText;
    FWidth = other->FWidth;
    FAlignment = other->FAlignment;
    FBevel = other->FBevel;
    FStyle = other->FStyle;
    FCollection->Changed(-1);
}

// ---- TStatusPanels ------------------------------------------------------------------------

IMPLEMENT_CLASS(TStatusPanels,
    TPropBuilder<TStatusPanels>::Integer("Count", &TStatusPanels::Count, nullptr))

TStatusPanels::~TStatusPanels() = default;

TStatusPanel* TStatusPanels::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return FItems[index].get();
}

TStatusPanel* TStatusPanels::Add()
{
    FItems.push_back(std::make_unique<TStatusPanel>(this));
    Changed(-1);
    return FItems.back().get();
}

void TStatusPanels::Delete(int index)
{
    Items(index);
    FItems.erase(FItems.begin() + index);
    Changed(-1);
}

void TStatusPanels::Clear()
{
    FItems.clear();
    Changed(-1);
}

void TStatusPanels::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FPending) {
        FPending = false;
        Changed(-1);
    }
}

void TStatusPanels::Assign(const TPersistent& source)
{
    const auto* other = As<TStatusPanels>(const_cast<TPersistent*>(&source));
    if (!other) return TPersistent::Assign(source);
    if (other == this) return;
    BeginUpdate();
    FItems.clear();
    for (int i = 0; i < other->Count(); ++i) Add()->Assign(*other->Items(i));
    FPending = true;
    EndUpdate();
}

void TStatusPanels::Changed(int panel)
{
    if (FUpdateCount > 0) {
        FPending = true;
        return;
    }
    if (panel >= 0)
        FBar->UpdatePanelText(panel);
    else
        FBar->UpdatePanels();
}

// ---- TCustomStatusBar -----------------------------------------------------------------------

using PStatusBar = TPropBuilder<TCustomStatusBar>;
IMPLEMENT_CLASS(TCustomStatusBar,
    PStatusBar::Integer("Color", &TCustomStatusBar::Color, &TCustomStatusBar::SetColor),
    PStatusBar::Object("Font", &TCustomStatusBar::Font, &TCustomStatusBar::SetFont),
    PStatusBar::Object("Panels", &TCustomStatusBar::Panels, &TCustomStatusBar::SetPanels),
    PStatusBar::Bool("ParentFont", &TCustomStatusBar::ParentFont, &TCustomStatusBar::SetParentFont),
    PStatusBar::Bool("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel),
    PStatusBar::String("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText),
    PStatusBar::Bool("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip))

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), FPanels(std::make_unique<TStatusPanels>(this))
{
    FControlStyle = csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque;
    FAlign = alBottom;
    FWidth = 150;
    FHeight = 19;
}

TCustomStatusBar::~TCustomStatusBar()
{
    SetComponentState(csDestroying);
    DestroyHandle();
}

void TCustomStatusBar::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, STATUSCLASSNAMEA);
    // The framework places the bar (Align), at the height it was given.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    // A grip only on a form the user can resize.
    TCustomForm* form = GetParentForm(this);
    if (FSizeGrip && form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin))
        p.Style |= SBARS_SIZEGRIP;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomStatusBar::CreateWindowDone() { UpdatePanels(); }

void TCustomStatusBar::SetPanels(TStatusPanels* panels)
{
    if (panels) FPanels->Assign(*panels);
}

void TCustomStatusBar::SetSimplePanel(bool value)
{
    if (value == FSimplePanel) return;
    FSimplePanel = value;
    UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::string& value)
{
    if (value == FSimpleText) return;
    FSimpleText = value;
    if (FHandle && (FSimplePanel || !FPanels->Count()))
        ::SendMessageA(FHandle, SB_SETTEXTA, FSimplePanel ? SB_SIMPLEID : 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool value)
{
    if (value == FSizeGrip) return;
    FSizeGrip = value;
    RecreateWnd();
}

void TCustomStatusBar::UpdatePanels()
{
    if (!FHandle) return;
    ::SendMessageA(FHandle, SB_SIMPLE, FSimplePanel, 0);
    if (FSimplePanel) {
        ::SendMessageA(FHandle, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
        return;
    }
    int count = FPanels->Count();
    if (!count) {
        int whole = -1;
        ::SendMessageA(FHandle, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&whole));
        ::SendMessageA(FHandle, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(FSimpleText.c_str()));
        return;
    }
    std::vector<int> edges(static_cast<size_t>(count));
    int right = 0;
    for (int i = 0; i < count; ++i) {
        right += FPanels->Items(i)->Width();
        edges[i] = right;
    }
    ::SendMessageA(FHandle, SB_SETPARTS, count, reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < count; ++i) UpdatePanelText(i);
}

void TCustomStatusBar::UpdatePanelText(int index)
{
    if (!FHandle || FSimplePanel || index < 0 || index >= FPanels->Count()) return;
    TStatusPanel* panel = FPanels->Items(index);
    static const WPARAM bevels[] = {SBT_NOBORDERS, 0, SBT_POPOUT};
    WPARAM flags = static_cast<WPARAM>(index) | bevels[panel->Bevel()];
    if (panel->Style() == psOwnerDraw) {
        ::SendMessageA(FHandle, SB_SETTEXTA, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel));
        return;
    }
    // The bar centres what follows one tab and right-aligns what follows two.
    static const char* const prefixes[] = {"", "\t\t", "\t"};
    std::string text = prefixes[panel->Alignment()] + panel->Text();
    ::SendMessageA(FHandle, SB_SETTEXTA, flags, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect)
{
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

void TCustomStatusBar::WndProc(TMessage& m)
{
    if (m.Msg == CN_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (item && static_cast<int>(item->itemID) >= 0 && static_cast<int>(item->itemID) < FPanels->Count()) {
            DrawPanel(FPanels->Items(static_cast<int>(item->itemID)), item->rcItem);
            m.Result = TRUE;
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomStatusBar::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0) return;
    TWinControl::ChangeScale(multiplier, divisor);
    FPanels->BeginUpdate();
    for (int i = 0; i < FPanels->Count(); ++i) {
        TStatusPanel* panel = FPanels->Items(i);
        panel->SetWidth(MulDiv(panel->Width(), multiplier, divisor));
    }
    FPanels->EndUpdate();
}
