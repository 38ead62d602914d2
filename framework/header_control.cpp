// Header controls and their sections (see header_control.h).
#include "framework/header_control.h"

#include <commctrl.h>

#include <algorithm>

const TEnumInfo HeaderSectionStyleEnum{"THeaderSectionStyle", {"hsText", "hsOwnerDraw"}};

namespace {

// The window's format bits for a section.
int SectionFormat(const THeaderSection& section)
{
    static const int alignments[] = {HDF_LEFT, HDF_RIGHT, HDF_CENTER};
    int format = alignments[section.Alignment()];
    format |= section.Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING;
    if (section.ImageIndex() >= 0) format |= HDF_IMAGE;
    return format;
}

// The item of the notification and the section it names, for both the 8-bit
// and the wide form of the header's notifications (which form comes depends
// on what the parent window asks for).
struct THeaderNotice {
    int Item = -1;
    HDITEMA* ItemA = nullptr;
    HDITEMW* ItemW = nullptr;
    bool HasWidth() const
    {
        return ItemA ? (ItemA->mask & HDI_WIDTH) != 0 : ItemW ? (ItemW->mask & HDI_WIDTH) != 0 : false;
    }
    int Width() const { return ItemA ? ItemA->cxy : ItemW ? ItemW->cxy : 0; }
    void SetWidth(int width) const
    {
        if (ItemA) ItemA->cxy = width;
        if (ItemW) ItemW->cxy = width;
    }
};

THeaderNotice ReadNotice(LPARAM lParam, bool wide)
{
    THeaderNotice notice;
    if (wide) {
        auto* header = reinterpret_cast<NMHEADERW*>(lParam);
        notice.Item = header->iItem;
        notice.ItemW = header->pitem;
    } else {
        auto* header = reinterpret_cast<NMHEADERA*>(lParam);
        notice.Item = header->iItem;
        notice.ItemA = header->pitem;
    }
    return notice;
}

}  // namespace

// ---- THeaderSection -------------------------------------------------------------------------

using PHeaderSection = TPropBuilder<THeaderSection>;
IMPLEMENT_CLASS(THeaderSection,
    PHeaderSection::Enum("Alignment", AlignmentEnum, &THeaderSection::Alignment, &THeaderSection::SetAlignment),
    PHeaderSection::Bool("AllowClick", &THeaderSection::AllowClick, &THeaderSection::SetAllowClick),
    PHeaderSection::Integer("ImageIndex", &THeaderSection::ImageIndex, &THeaderSection::SetImageIndex),
    PHeaderSection::Integer("MaxWidth", &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth),
    PHeaderSection::Integer("MinWidth", &THeaderSection::MinWidth, &THeaderSection::SetMinWidth),
    PHeaderSection::Enum("Style", HeaderSectionStyleEnum, &THeaderSection::Style, &THeaderSection::SetStyle),
    PHeaderSection::String("Text", &THeaderSection::Text, &THeaderSection::SetText),
    PHeaderSection::Integer("Width", &THeaderSection::Width, &THeaderSection::SetWidth))

int THeaderSection::Index() const
{
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this) return i;
    return -1;
}

int THeaderSection::Width() const
{
    int index = Index();
    return index >= 0 ? FCollection->FHeader->WindowWidth(index) : FWidth;
}

int THeaderSection::Left() const
{
    int left = 0;
    for (int i = 0; i < Index(); ++i) left += FCollection->Items(i)->Width();
    return left;
}

void THeaderSection::SetText(const std::string& value)
{
    FText = value;
    FCollection->FHeader->UpdateSection(Index(), false);
}

void THeaderSection::SetWidth(int value)
{
    FWidth = std::clamp(value, FMinWidth, std::max(FMinWidth, FMaxWidth));
    FCollection->FHeader->UpdateSection(Index(), false);
}

void THeaderSection::SetMinWidth(int value)
{
    FMinWidth = std::max(value, 0);
    if (Width() < FMinWidth) SetWidth(FMinWidth);
}

void THeaderSection::SetMaxWidth(int value)
{
    FMaxWidth = std::max(value, FMinWidth);
    if (Width() > FMaxWidth) SetWidth(FMaxWidth);
}

void THeaderSection::SetAlignment(TAlignment value)
{
    FAlignment = value;
    FCollection->FHeader->UpdateSection(Index(), false);
}

void THeaderSection::SetImageIndex(int value)
{
    FImageIndex = std::max(value, -1);
    FCollection->FHeader->UpdateSection(Index(), false);
}

void THeaderSection::SetStyle(THeaderSectionStyle value)
{
    FStyle = value;
    FCollection->FHeader->UpdateSection(Index(), false);
}

// ---- THeaderSections ------------------------------------------------------------------------

IMPLEMENT_CLASS(THeaderSections,
    TPropBuilder<THeaderSections>::Integer("Count", &THeaderSections::Count, nullptr))

THeaderSections::~THeaderSections() = default;

THeaderSection* THeaderSections::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return FItems[index].get();
}

THeaderSection* THeaderSections::Add() { return Insert(Count()); }

THeaderSection* THeaderSections::Insert(int index)
{
    if (index < 0 || index > Count()) throw EListError(Format("List index out of bounds (%d)", index));
    FItems.insert(FItems.begin() + index, std::make_unique<THeaderSection>(this));
    FHeader->UpdateSection(index, true);
    return FItems[index].get();
}

void THeaderSections::Delete(int index)
{
    Items(index);
    if (HWND window = FHeader->HandleIfAllocated()) ::SendMessageA(window, HDM_DELETEITEM, index, 0);
    FItems.erase(FItems.begin() + index);
}

void THeaderSections::Clear()
{
    while (Count() > 0) Delete(Count() - 1);
}

// ---- THeaderControl -------------------------------------------------------------------------

using PHeaderControl = TPropBuilder<THeaderControl>;
IMPLEMENT_CLASS(THeaderControl,
    PHeaderControl::Enum("Align", AlignEnum, &THeaderControl::Align, &THeaderControl::SetAlign),
    PHeaderControl::Object("Font", &THeaderControl::Font, &THeaderControl::SetFont),
    PHeaderControl::Bool("FullDrag", &THeaderControl::FullDrag, &THeaderControl::SetFullDrag),
    PHeaderControl::Bool("HotTrack", &THeaderControl::HotTrack, &THeaderControl::SetHotTrack),
    PHeaderControl::Object("Images", &THeaderControl::Images, &THeaderControl::SetImages),
    PHeaderControl::Bool("ParentFont", &THeaderControl::ParentFont, &THeaderControl::SetParentFont),
    PHeaderControl::Object("Sections", &THeaderControl::Sections, &THeaderControl::SetSections))

THeaderControl::THeaderControl(TComponent* owner)
    : TWinControl(owner), FSections(std::make_unique<THeaderSections>(this))
{
    FControlStyle = csDoubleClicks;
    FAlign = alTop;
    FWidth = 300;
    FHeight = 17;
}

THeaderControl::~THeaderControl()
{
    SetImages(nullptr);
    // The window goes first, while the sections it reports are still here.
    DestroyHandle();
}

void THeaderControl::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_HEADERA);
    p.Style |= HDS_HORZ | HDS_BUTTONS;
    if (FHotTrack) p.Style |= HDS_HOTTRACK;
    if (FFullDrag) p.Style |= HDS_FULLDRAG;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void THeaderControl::CreateWindowDone()
{
    if (FImages) ::SendMessageA(FHandle, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
    UpdateSections();
}

void THeaderControl::DestroyWnd()
{
    // The widths the user dragged stay with the sections.
    for (auto& section : FSections->FItems) section->FWidth = WindowWidth(section->Index());
    TWinControl::DestroyWnd();
}

void THeaderControl::SetSections(THeaderSections* value)
{
    if (!value || value == FSections.get()) return;
    FSections->Clear();
    for (int i = 0; i < value->Count(); ++i) {
        const THeaderSection* from = value->Items(i);
        THeaderSection* to = FSections->Add();
        to->FText = from->FText;
        to->FWidth = from->Width();
        to->FMinWidth = from->FMinWidth;
        to->FMaxWidth = from->FMaxWidth;
        to->FAlignment = from->FAlignment;
        to->FImageIndex = from->FImageIndex;
        to->FAllowClick = from->FAllowClick;
        to->FStyle = from->FStyle;
        UpdateSection(i, false);
    }
}

void THeaderControl::SetImages(TCustomImageList* value)
{
    if (value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages) FImages->FreeNotification(this);
    if (FHandle)
        ::SendMessageA(FHandle, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages ? FImages->Handle() : nullptr));
}

void THeaderControl::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        if (FHandle) ::SendMessageA(FHandle, HDM_SETIMAGELIST, 0, 0);
    }
}

void THeaderControl::SetHotTrack(bool value)
{
    if (value == FHotTrack) return;
    FHotTrack = value;
    RecreateWnd();
}

void THeaderControl::SetFullDrag(bool value)
{
    if (value == FFullDrag) return;
    FFullDrag = value;
    RecreateWnd();
}

int THeaderControl::WindowWidth(int index) const
{
    if (index < 0 || index >= FSections->Count()) return 0;
    if (!FHandle || FRebuilding) return FSections->FItems[index]->FWidth;
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    if (!::SendMessageA(FHandle, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
        return FSections->FItems[index]->FWidth;
    return item.cxy;
}

void THeaderControl::UpdateSection(int index, bool insert)
{
    if (!FHandle || index < 0 || index >= FSections->Count()) return;
    THeaderSection& section = *FSections->FItems[index];
    HDITEMA item{};
    // The image index goes to the window only when the section has an image:
    // a header given HDI_IMAGE on insertion sets HDF_IMAGE itself, and -1 is
    // the callback index there, not "no image".
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH | HDI_LPARAM;
    if (section.FImageIndex >= 0 || !insert) item.mask |= HDI_IMAGE;
    item.pszText = const_cast<char*>(section.FText.c_str());
    item.cchTextMax = static_cast<int>(section.FText.size());
    item.fmt = SectionFormat(section);
    item.cxy = section.FWidth;
    item.lParam = reinterpret_cast<LPARAM>(&section);
    item.iImage = section.FImageIndex >= 0 ? section.FImageIndex : I_IMAGENONE;
    ::SendMessageA(FHandle, insert ? HDM_INSERTITEMA : HDM_SETITEMA, index, reinterpret_cast<LPARAM>(&item));
}

void THeaderControl::UpdateSections()
{
    if (!FHandle) return;
    FRebuilding = true;
    while (::SendMessageA(FHandle, HDM_GETITEMCOUNT, 0, 0) > 0) ::SendMessageA(FHandle, HDM_DELETEITEM, 0, 0);
    for (int i = 0; i < FSections->Count(); ++i) UpdateSection(i, true);
    FRebuilding = false;
}

int THeaderControl::Clamp(const THeaderSection* section, int width) const
{
    return std::clamp(width, section->FMinWidth, std::max(section->FMinWidth, section->FMaxWidth));
}

int THeaderControl::SectionAt(int x, int y) const
{
    if (!FHandle) return -1;
    HDHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    int index = static_cast<int>(::SendMessageA(FHandle, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & (HHT_ONHEADER | HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? index : -1;
}

void THeaderControl::SectionClick(THeaderSection* section)
{
    if (OnSectionClick) OnSectionClick(this, section);
}

void THeaderControl::SectionResize(THeaderSection* section)
{
    if (OnSectionResize) OnSectionResize(this, section);
}

void THeaderControl::SectionTrack(THeaderSection* section, int width, TSectionTrackState state)
{
    if (OnSectionTrack) OnSectionTrack(this, section, width, state);
}

void THeaderControl::WndProc(TMessage& m)
{
    if (m.Msg == CN_NOTIFY && !FRebuilding) {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        UINT code = header->code;
        bool wide = code == HDN_ITEMCLICKW || code == HDN_BEGINTRACKW || code == HDN_TRACKW ||
                    code == HDN_ENDTRACKW || code == HDN_ITEMCHANGINGW || code == HDN_ITEMCHANGEDW;
        THeaderNotice notice = ReadNotice(m.LParam, wide);
        THeaderSection* section = notice.Item >= 0 && notice.Item < FSections->Count()
                                      ? FSections->FItems[notice.Item].get()
                                      : nullptr;
        m.Result = 0;
        if (!section) return;
        switch (code) {
        case HDN_ITEMCLICKA:
        case HDN_ITEMCLICKW:
            if (section->FAllowClick) SectionClick(section);
            return;
        case HDN_BEGINTRACKA:
        case HDN_BEGINTRACKW:
            SectionTrack(section, section->Width(), tsTrackBegin);
            return;
        case HDN_TRACKA:
        case HDN_TRACKW:
        case HDN_ITEMCHANGINGA:
        case HDN_ITEMCHANGINGW:
            if (notice.HasWidth()) {
                int width = Clamp(section, notice.Width());
                notice.SetWidth(width);
                if (code == HDN_TRACKA || code == HDN_TRACKW) SectionTrack(section, width, tsTrackMove);
            }
            return;
        case HDN_ENDTRACKA:
        case HDN_ENDTRACKW:
            SectionTrack(section, Clamp(section, notice.HasWidth() ? notice.Width() : section->Width()), tsTrackEnd);
            return;
        case HDN_ITEMCHANGEDA:
        case HDN_ITEMCHANGEDW:
            if (notice.HasWidth()) {
                int width = WindowWidth(notice.Item);
                int allowed = Clamp(section, width);
                // Whatever got past the limits is put back at the limit.
                if (allowed != width) {
                    section->FWidth = allowed;
                    UpdateSection(notice.Item, false);
                    return;
                }
                section->FWidth = width;
                SectionResize(section);
            }
            return;
        }
        return;
    }
    TWinControl::WndProc(m);
}

void THeaderControl::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0) return;
    TWinControl::ChangeScale(multiplier, divisor);
    constexpr int NoLimit = 10000;  // a section's MaxWidth when none is set
    for (int i = 0; i < FSections->Count(); ++i) {
        THeaderSection* section = FSections->Items(i);
        const int width = MulDiv(section->Width(), multiplier, divisor);
        const int minWidth = MulDiv(section->MinWidth(), multiplier, divisor);
        const int maxWidth = section->MaxWidth() >= NoLimit ? section->MaxWidth()
                                                            : MulDiv(section->MaxWidth(), multiplier, divisor);
        // The limits first, loosened so that none clamps the others on the way.
        section->SetMinWidth(0);
        section->SetMaxWidth(maxWidth);
        section->SetMinWidth(minWidth);
        section->SetWidth(width);
    }
}
