// Cool bars and their bands (see cool_bar.h).
#include "framework/cool_bar.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "framework/gdi_handles.h"
#include "framework/sysutils.h"

// ---- TCoolBand ----------------------------------------------------------------------------------

using PCoolBand = TPropBuilder<TCoolBand>;
IMPLEMENT_CLASS(TCoolBand,
    PCoolBand::Bool("Break", &TCoolBand::Break, &TCoolBand::SetBreak),
    PCoolBand::Integer("Color", &TCoolBand::Color, &TCoolBand::SetColor),
    PCoolBand::Object("Control", &TCoolBand::Control, &TCoolBand::SetControl),
    PCoolBand::String("Text", &TCoolBand::Text, &TCoolBand::SetText),
    PCoolBand::Integer("Width", &TCoolBand::Width, &TCoolBand::SetWidth))

int TCoolBand::Index() const
{
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this) return i;
    return -1;
}

void TCoolBand::SetText(const std::string& value)
{
    FText = value;
    FCollection->FBar->UpdateBand(Index(), false, RBBIM_TEXT);
}

void TCoolBand::SetColor(TColor value)
{
    FColor = value;
    FCollection->FBar->UpdateBand(Index(), false, RBBIM_COLORS);
}

void TCoolBand::SetTextColor(TColor value)
{
    FTextColor = value;
    FCollection->FBar->UpdateBand(Index(), false, RBBIM_COLORS);
}

void TCoolBand::SetWidth(int value)
{
    FWidth = std::max(value, 0);
    FCollection->FBar->UpdateBand(Index(), false, RBBIM_SIZE);
}

void TCoolBand::SetBreak(bool value)
{
    FBreak = value;
    FCollection->FBar->UpdateBand(Index(), false, RBBIM_STYLE);
}

void TCoolBand::SetControl(TWinControl* control)
{
    TCoolBar* bar = FCollection->FBar;
    if (FControl) FControl->RemoveFreeNotification(bar);
    FControl = control;
    if (FControl) {
        FControl->FreeNotification(bar);
        FControl->SetParent(bar);
    }
    bar->UpdateBand(Index(), false, RBBIM_CHILD | RBBIM_CHILDSIZE);
}

// ---- TCoolBands ---------------------------------------------------------------------------------

IMPLEMENT_CLASS(TCoolBands, TPropBuilder<TCoolBands>::Integer("Count", &TCoolBands::Count, nullptr))

TCoolBands::~TCoolBands() = default;

TCoolBand* TCoolBands::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return FItems[index].get();
}

TCoolBand* TCoolBands::Add()
{
    FItems.push_back(std::make_unique<TCoolBand>(this));
    FBar->UpdateBand(Count() - 1, true);
    return FItems.back().get();
}

void TCoolBands::Delete(int index)
{
    Items(index);
    if (HWND window = FBar->HandleIfAllocated()) ::SendMessageA(window, RB_DELETEBAND, index, 0);
    FItems.erase(FItems.begin() + index);
}

// ---- TCoolBar -----------------------------------------------------------------------------------

using PCoolBar = TPropBuilder<TCoolBar>;
IMPLEMENT_CLASS(TCoolBar,
    PCoolBar::Enum("Align", AlignEnum, &TCoolBar::Align, &TCoolBar::SetAlign),
    PCoolBar::Object("Bands", &TCoolBar::Bands, nullptr),
    PCoolBar::Integer("Color", &TCoolBar::Color, &TCoolBar::SetColor),
    PCoolBar::Object("Font", &TCoolBar::Font, &TCoolBar::SetFont),
    PCoolBar::Bool("ParentFont", &TCoolBar::ParentFont, &TCoolBar::SetParentFont))

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner), FBands(std::make_unique<TCoolBands>(this))
{
    FAlign = alTop;
    FWidth = 300;
    FHeight = 30;
}

TCoolBar::~TCoolBar()
{
    for (auto& band : FBands->FItems)
        if (band->FControl) band->FControl->RemoveFreeNotification(this);
    DestroyHandle();
}

void TCoolBar::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, REBARCLASSNAMEA);
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | RBS_VARHEIGHT | RBS_BANDBORDERS | WS_CLIPCHILDREN;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCoolBar::CreateWindowDone()
{
    REBARINFO info{};
    info.cbSize = sizeof info;
    ::SendMessageA(FHandle, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    for (int i = 0; i < FBands->Count(); ++i) UpdateBand(i, true);
}

void TCoolBar::UpdateBand(int index, bool insert, UINT mask)
{
    if (!FHandle || index < 0 || index >= FBands->Count()) return;
    TCoolBand& band = *FBands->FItems[index];
    REBARBANDINFOA item{};
    item.cbSize = sizeof item;
    // An update writes only what changed: the window has laid the band and
    // its child out since, and their sizes are its own now.
    item.fMask = insert ? RBBIM_STYLE | RBBIM_COLORS | RBBIM_TEXT | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE |
                              RBBIM_LPARAM
                        : mask;
    item.fStyle = RBBS_CHILDEDGE | (band.FBreak ? RBBS_BREAK : 0);
    item.clrFore = ColorToRGB(band.FTextColor);
    item.clrBack = ColorToRGB(band.FColor);
    item.lpText = const_cast<char*>(band.FText.c_str());
    HWND child = nullptr;
    if (band.FControl && band.FControl->Parent() == this) {
        band.FControl->HandleNeeded();
        child = band.FControl->HandleIfAllocated();
    }
    item.hwndChild = child;
    item.cxMinChild = 0;
    item.cyMinChild = band.FControl ? band.FControl->Height() : 20;
    item.cx = band.FWidth;
    item.lParam = reinterpret_cast<LPARAM>(&band);
    ::SendMessageA(FHandle, insert ? RB_INSERTBANDA : RB_SETBANDINFOA, insert ? static_cast<WPARAM>(-1) : index,
                   reinterpret_cast<LPARAM>(&item));
    ::InvalidateRect(FHandle, nullptr, TRUE);
}

RECT TCoolBar::BandRect(int index) const
{
    RECT rect{};
    if (FHandle) ::SendMessageA(FHandle, RB_GETRECT, index, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void TCoolBar::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    for (int i = 0; i < FBands->Count(); ++i) {
        TCoolBand& band = *FBands->FItems[i];
        if (band.FControl != component) continue;
        band.FControl = nullptr;
        UpdateBand(i, false, RBBIM_CHILD | RBBIM_CHILDSIZE);
    }
}

void TCoolBar::WndProc(TMessage& m)
{
    // The bar's own colour where there is no band; the common control then
    // paints each band in the band's colour.
    if (m.Msg == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(FHandle, &client);
        TGdiBrush brush(CreateSolidBrush(ColorToRGB(Color())));
        ::FillRect(reinterpret_cast<HDC>(m.WParam), &client, brush);
        DefaultHandler(m);
        m.Result = 1;
        return;
    }
    TWinControl::WndProc(m);
}
