// List views, their columns and items (see list_view.h).
#include "framework/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

const TEnumInfo ViewStyleEnum{"TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"}};
const TEnumInfo ControlBorderStyleEnum{"TBorderStyle", {"bsNone", "bsSingle"}};

namespace {

const DWORD VIEW_STYLES[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

// The comparison a sort runs, handed to the window's sort through its
// lParam.
struct TSortContext {
    const std::function<int(TListItem*, TListItem*)>* Compare;
};

int CALLBACK CompareItems(LPARAM item1, LPARAM item2, LPARAM context)
{
    try {
        const auto* sort = reinterpret_cast<const TSortContext*>(context);
        return (*sort->Compare)(reinterpret_cast<TListItem*>(item1), reinterpret_cast<TListItem*>(item2));
    } catch (...) {
        return 0;
    }
}

}  // namespace

// ---- TListColumn ----------------------------------------------------------------------------

using PListColumn = TPropBuilder<TListColumn>;
IMPLEMENT_CLASS(TListColumn,
    PListColumn::Enum("Alignment", AlignmentEnum, &TListColumn::Alignment, &TListColumn::SetAlignment),
    PListColumn::String("Caption", &TListColumn::Caption, &TListColumn::SetCaption),
    PListColumn::Integer("Width", &TListColumn::Width, &TListColumn::SetWidth))

int TListColumn::Index() const
{
    for (int i = 0; i < FCollection->Count(); ++i)
        if (FCollection->Items(i) == this) return i;
    return -1;
}

int TListColumn::Width() const
{
    int index = Index();
    return index >= 0 ? FCollection->FOwner->ColumnWindowWidth(index) : FWidth;
}

void TListColumn::SetCaption(const std::string& value)
{
    FCaption = value;
    FCollection->FOwner->UpdateColumn(Index(), false);
}

void TListColumn::SetWidth(int value)
{
    FWidth = std::max(value, 0);
    FCollection->FOwner->UpdateColumn(Index(), false);
}

void TListColumn::SetAlignment(TAlignment value)
{
    FAlignment = value;
    FCollection->FOwner->UpdateColumn(Index(), false);
}

// ---- TListColumns ---------------------------------------------------------------------------

IMPLEMENT_CLASS(TListColumns, TPropBuilder<TListColumns>::Integer("Count", &TListColumns::Count, nullptr))

TListColumns::~TListColumns() = default;

TListColumn* TListColumns::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return FItems[index].get();
}

TListColumn* TListColumns::Add()
{
    FItems.push_back(std::make_unique<TListColumn>(this));
    FOwner->UpdateColumn(Count() - 1, true);
    return FItems.back().get();
}

void TListColumns::Delete(int index)
{
    Items(index);
    if (HWND window = FOwner->HandleIfAllocated()) ::SendMessageA(window, LVM_DELETECOLUMN, index, 0);
    FItems.erase(FItems.begin() + index);
}

void TListColumns::Clear()
{
    while (Count() > 0) Delete(Count() - 1);
}

// ---- TListItem ------------------------------------------------------------------------------

using PListItem = TPropBuilder<TListItem>;
IMPLEMENT_CLASS(TListItem,
    PListItem::String("Caption", &TListItem::Caption, &TListItem::SetCaption),
    PListItem::Integer("ImageIndex", &TListItem::ImageIndex, &TListItem::SetImageIndex),
    PListItem::Bool("Selected", &TListItem::Selected, &TListItem::SetSelected),
    PListItem::Object("SubItems", &TListItem::SubItems, nullptr))

TListItem::TListItem(TListViewItems* owner) : FOwner(owner), FSubItems(std::make_unique<TStringList>())
{
    FSubItems->OnChange = [this](TObject*) { Changed(); };
}

TListItem::~TListItem() { FSubItems->OnChange = nullptr; }

int TListItem::Index() const { return FOwner->IndexOf(this); }

void TListItem::Changed() { FOwner->FOwner->RedrawItem(this); }

void TListItem::SetCaption(const std::string& value)
{
    if (value == FCaption) return;
    FCaption = value;
    if (HWND window = FOwner->FOwner->HandleIfAllocated()) {
        // The icon views place items by their captions' sizes.
        int index = Index();
        if (index >= 0) ::SendMessageA(window, LVM_UPDATE, index, 0);
        return;
    }
}

void TListItem::SetImageIndex(int value)
{
    if (value == FImageIndex) return;
    FImageIndex = value;
    Changed();
}

bool TListItem::Selected() const
{
    HWND window = FOwner->FOwner->HandleIfAllocated();
    int index = Index();
    if (!window || index < 0) return FSelected;
    return (::SendMessageA(window, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(bool value)
{
    FSelected = value;
    HWND window = FOwner->FOwner->HandleIfAllocated();
    int index = Index();
    if (!window || index < 0) return;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = value ? LVIS_SELECTED : 0;
    ::SendMessageA(window, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
}

bool TListItem::Focused() const
{
    HWND window = FOwner->FOwner->HandleIfAllocated();
    int index = Index();
    return window && index >= 0 && (::SendMessageA(window, LVM_GETITEMSTATE, index, LVIS_FOCUSED) & LVIS_FOCUSED);
}

void TListItem::SetFocused(bool value)
{
    HWND window = FOwner->FOwner->HandleIfAllocated();
    int index = Index();
    if (!window || index < 0) return;
    LVITEMA state{};
    state.stateMask = LVIS_FOCUSED;
    state.state = value ? LVIS_FOCUSED : 0;
    ::SendMessageA(window, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
}

void TListItem::MakeVisible(bool partialOk)
{
    HWND window = FOwner->FOwner->HandleIfAllocated();
    int index = Index();
    if (window && index >= 0) ::SendMessageA(window, LVM_ENSUREVISIBLE, index, partialOk);
}

RECT TListItem::DisplayRect() const
{
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    HWND window = FOwner->FOwner->HandleIfAllocated();
    int index = Index();
    if (!window || index < 0 || !::SendMessageA(window, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r)))
        return RECT{0, 0, 0, 0};
    return r;
}

// ---- TListViewItems -------------------------------------------------------------------------

IMPLEMENT_CLASS(TListViewItems, TPropBuilder<TListViewItems>::Integer("Count", &TListViewItems::Count, nullptr))

TListViewItems::~TListViewItems() = default;

TListItem* TListViewItems::Item(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", index));
    return FItems[index].get();
}

int TListViewItems::IndexOf(const TListItem* item) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == item) return static_cast<int>(i);
    return -1;
}

TListItem* TListViewItems::Insert(int index)
{
    if (index < 0 || index > Count()) throw EListError(Format("List index out of bounds (%d)", index));
    FItems.insert(FItems.begin() + index, std::make_unique<TListItem>(this));
    TListItem* item = FItems[index].get();
    FOwner->InsertWindowItem(index, item);
    return item;
}

void TListViewItems::Delete(int index)
{
    Item(index);
    if (HWND window = FOwner->HandleIfAllocated()) ::SendMessageA(window, LVM_DELETEITEM, index, 0);
    FItems.erase(FItems.begin() + index);
}

void TListViewItems::Clear()
{
    if (HWND window = FOwner->HandleIfAllocated()) ::SendMessageA(window, LVM_DELETEALLITEMS, 0, 0);
    FItems.clear();
}

void TListViewItems::BeginUpdate()
{
    if (FUpdateCount++ == 0)
        if (HWND window = FOwner->HandleIfAllocated()) ::SendMessageA(window, WM_SETREDRAW, FALSE, 0);
}

void TListViewItems::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) {
        if (HWND window = FOwner->HandleIfAllocated()) {
            ::SendMessageA(window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window, nullptr, TRUE);
        }
    }
}

// ---- TCustomListView ------------------------------------------------------------------------

using PListView = TPropBuilder<TCustomListView>;
IMPLEMENT_CLASS(TCustomListView,
    PListView::Enum("BorderStyle", ControlBorderStyleEnum, &TCustomListView::BorderStyle,
                    &TCustomListView::SetBorderStyle),
    PListView::Integer("Color", &TCustomListView::Color, &TCustomListView::SetColor),
    PListView::Object("Columns", &TCustomListView::Columns, &TCustomListView::SetColumns),
    PListView::Object("Font", &TCustomListView::Font, &TCustomListView::SetFont),
    PListView::Bool("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines),
    PListView::Bool("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection),
    PListView::Object("Items", &TCustomListView::Items, &TCustomListView::SetItems),
    PListView::Object("LargeImages", &TCustomListView::LargeImages, &TCustomListView::SetLargeImages),
    PListView::Bool("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect),
    PListView::Bool("ParentFont", &TCustomListView::ParentFont, &TCustomListView::SetParentFont),
    PListView::Bool("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly),
    PListView::Bool("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect),
    PListView::Bool("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders,
                    &TCustomListView::SetShowColumnHeaders),
    PListView::Object("SmallImages", &TCustomListView::SmallImages, &TCustomListView::SetSmallImages),
    PListView::Enum("ViewStyle", ViewStyleEnum, &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle))

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListViewItems>(this))
{
    FControlStyle = csCaptureMouse | csDoubleClicks;
    FWidth = 250;
    FHeight = 150;
    FTabStop = true;
    FColor = clWindow;
    FParentColor = false;
    FBrush->SetColor(clWindow);
}

TCustomListView::~TCustomListView()
{
    SetSmallImages(nullptr);
    SetLargeImages(nullptr);
    // The window goes first: it still asks for texts while it is destroyed.
    DestroyHandle();
}

void TCustomListView::CreateParams(TCreateParams& p)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(p);
    CreateSubClass(p, WC_LISTVIEWA);
    p.Style |= VIEW_STYLES[FViewStyle] | LVS_SHAREIMAGELISTS | WS_CLIPCHILDREN;
    if (!FHideSelection) p.Style |= LVS_SHOWSELALWAYS;
    if (!FMultiSelect) p.Style |= LVS_SINGLESEL;
    if (!FReadOnly) p.Style |= LVS_EDITLABELS;
    if (!FShowColumnHeaders) p.Style |= LVS_NOCOLUMNHEADER;
    if (FBorderStyle == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
    p.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateWindowDone()
{
    FRebuilding = true;
    ::SendMessageA(FHandle, LVM_SETBKCOLOR, 0, ColorToRGB(FColor));
    ::SendMessageA(FHandle, LVM_SETTEXTBKCOLOR, 0, ColorToRGB(FColor));
    ::SendMessageA(FHandle, LVM_SETTEXTCOLOR, 0, ColorToRGB(FFont->Color()));
    UpdateExtendedStyle();
    UpdateImages();
    for (int i = 0; i < FColumns->Count(); ++i) UpdateColumn(i, true);
    ::SendMessageA(FHandle, LVM_SETITEMCOUNT, FItems->Count(), 0);
    for (int i = 0; i < FItems->Count(); ++i) InsertWindowItem(i, FItems->FItems[i].get());
    FRebuilding = false;
    for (auto& item : FItems->FItems)
        if (item->FSelected) item->SetSelected(true);
}

void TCustomListView::DestroyWnd()
{
    for (auto& column : FColumns->FItems) column->FWidth = ColumnWindowWidth(column->Index());
    for (auto& item : FItems->FItems) item->FSelected = item->Selected();
    TWinControl::DestroyWnd();
}

void TCustomListView::SetColumns(TListColumns* value)
{
    if (!value || value == FColumns.get()) return;
    FColumns->Clear();
    for (int i = 0; i < value->Count(); ++i) {
        TListColumn* column = FColumns->Add();
        column->FCaption = value->Items(i)->Caption();
        column->FWidth = value->Items(i)->Width();
        column->FAlignment = value->Items(i)->Alignment();
        UpdateColumn(i, false);
    }
}

void TCustomListView::SetItems(TListViewItems* value)
{
    if (!value || value == FItems.get()) return;
    FItems->BeginUpdate();
    FItems->Clear();
    for (int i = 0; i < value->Count(); ++i) {
        const TListItem* from = value->Item(i);
        TListItem* to = FItems->Add();
        to->FCaption = from->Caption();
        to->FSubItems->Assign(*from->SubItems());
        to->FImageIndex = from->ImageIndex();
        to->FData = from->Data();
    }
    FItems->EndUpdate();
}

void TCustomListView::UpdateStyle(DWORD mask, DWORD bits)
{
    if (!FHandle) return;
    DWORD style = static_cast<DWORD>(GetWindowLongA(FHandle, GWL_STYLE));
    DWORD changed = (style & ~mask) | bits;
    if (changed == style) return;
    SetWindowLongA(FHandle, GWL_STYLE, static_cast<LONG>(changed));
    InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomListView::SetViewStyle(TViewStyle value)
{
    if (value == FViewStyle) return;
    FViewStyle = value;
    UpdateStyle(LVS_TYPEMASK, VIEW_STYLES[value]);
    if (FHandle) ::SendMessageA(FHandle, LVM_ARRANGE, LVA_DEFAULT, 0);
}

void TCustomListView::SetBorderStyle(TFormBorderStyle value)
{
    value = value == bsNone ? bsNone : bsSingle;
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomListView::SetRowSelect(bool value)
{
    FRowSelect = value;
    UpdateExtendedStyle();
}

void TCustomListView::SetGridLines(bool value)
{
    FGridLines = value;
    UpdateExtendedStyle();
}

void TCustomListView::UpdateExtendedStyle()
{
    if (!FHandle) return;
    DWORD bits = (FRowSelect ? LVS_EX_FULLROWSELECT : 0) | (FGridLines ? LVS_EX_GRIDLINES : 0);
    ::SendMessageA(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, bits);
}

void TCustomListView::SetMultiSelect(bool value)
{
    FMultiSelect = value;
    UpdateStyle(LVS_SINGLESEL, value ? 0 : LVS_SINGLESEL);
}

void TCustomListView::SetHideSelection(bool value)
{
    FHideSelection = value;
    UpdateStyle(LVS_SHOWSELALWAYS, value ? 0 : LVS_SHOWSELALWAYS);
}

void TCustomListView::SetReadOnly(bool value)
{
    FReadOnly = value;
    UpdateStyle(LVS_EDITLABELS, value ? 0 : LVS_EDITLABELS);
}

void TCustomListView::SetShowColumnHeaders(bool value)
{
    if (value == FShowColumnHeaders) return;
    FShowColumnHeaders = value;
    // The list view makes or drops its header only when it is made.
    RecreateWnd();
}

void TCustomListView::SetSmallImages(TCustomImageList* value)
{
    if (value == FSmallImages) return;
    if (FSmallImages && FSmallImages != FLargeImages) FSmallImages->RemoveFreeNotification(this);
    FSmallImages = value;
    if (FSmallImages) FSmallImages->FreeNotification(this);
    UpdateImages();
}

void TCustomListView::SetLargeImages(TCustomImageList* value)
{
    if (value == FLargeImages) return;
    if (FLargeImages && FLargeImages != FSmallImages) FLargeImages->RemoveFreeNotification(this);
    FLargeImages = value;
    if (FLargeImages) FLargeImages->FreeNotification(this);
    UpdateImages();
}

void TCustomListView::UpdateImages()
{
    if (!FHandle) return;
    ::SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_SMALL,
                   reinterpret_cast<LPARAM>(FSmallImages ? FSmallImages->Handle() : nullptr));
    ::SendMessageA(FHandle, LVM_SETIMAGELIST, LVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(FLargeImages ? FLargeImages->Handle() : nullptr));
}

void TCustomListView::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FSmallImages) FSmallImages = nullptr;
    if (component == FLargeImages) FLargeImages = nullptr;
    if (component == FSmallImages || component == FLargeImages || !FSmallImages || !FLargeImages) UpdateImages();
}

int TCustomListView::ColumnWindowWidth(int index) const
{
    if (index < 0 || index >= FColumns->Count()) return 0;
    if (!FHandle || FRebuilding) return FColumns->FItems[index]->FWidth;
    return static_cast<int>(::SendMessageA(FHandle, LVM_GETCOLUMNWIDTH, index, 0));
}

void TCustomListView::UpdateColumn(int index, bool insert)
{
    if (!FHandle || index < 0 || index >= FColumns->Count()) return;
    static const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_CENTER};
    TListColumn& column = *FColumns->FItems[index];
    LVCOLUMNA info{};
    info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    info.fmt = formats[column.FAlignment];
    info.cx = column.FWidth;
    info.pszText = const_cast<char*>(column.FCaption.c_str());
    info.iSubItem = index;
    ::SendMessageA(FHandle, insert ? LVM_INSERTCOLUMNA : LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&info));
}

void TCustomListView::InsertWindowItem(int index, TListItem* item)
{
    if (!FHandle) return;
    LVITEMA row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    row.iItem = index;
    row.pszText = LPSTR_TEXTCALLBACKA;
    row.iImage = I_IMAGECALLBACK;
    row.lParam = reinterpret_cast<LPARAM>(item);
    ::SendMessageA(FHandle, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
}

void TCustomListView::RedrawItem(const TListItem* item)
{
    int index = FItems->IndexOf(item);
    if (FHandle && index >= 0) ::SendMessageA(FHandle, LVM_REDRAWITEMS, index, index);
}

void TCustomListView::GetDispInfo(LPARAM lParam, bool wide)
{
    // Both forms start with the same header and item layout up to the text.
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
    LVITEMA& row = info->item;
    if (row.iItem < 0 || row.iItem >= FItems->Count()) return;
    const TListItem& item = *FItems->FItems[row.iItem];
    if ((row.mask & LVIF_IMAGE) && row.iSubItem == 0) row.iImage = item.FImageIndex;
    if (!(row.mask & LVIF_TEXT)) return;
    if (row.iSubItem == 0)
        FDispText = item.FCaption;
    else if (row.iSubItem - 1 < item.FSubItems->Count())
        FDispText = item.FSubItems->Get(row.iSubItem - 1);
    else
        FDispText.clear();
    if (wide) {
        auto& rowW = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
        FDispTextW = AnsiToWide(FDispText);
        if (rowW.pszText && rowW.cchTextMax > 0)
            lstrcpynW(rowW.pszText, FDispTextW.c_str(), rowW.cchTextMax);
        else
            rowW.pszText = const_cast<wchar_t*>(FDispTextW.c_str());
        return;
    }
    if (row.pszText && row.cchTextMax > 0)
        lstrcpynA(row.pszText, FDispText.c_str(), row.cchTextMax);
    else
        row.pszText = const_cast<char*>(FDispText.c_str());
}

TListItem* TCustomListView::Selected() const
{
    if (!FHandle) {
        for (auto& item : FItems->FItems)
            if (item->FSelected) return item.get();
        return nullptr;
    }
    int index = static_cast<int>(::SendMessageA(FHandle, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    return index >= 0 && index < FItems->Count() ? FItems->FItems[index].get() : nullptr;
}

void TCustomListView::SetSelected(TListItem* item)
{
    for (auto& other : FItems->FItems)
        if (other.get() != item && other->Selected()) other->SetSelected(false);
    if (item) {
        item->SetSelected(true);
        item->SetFocused(true);
    }
}

int TCustomListView::ItemIndex() const
{
    TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int value)
{
    SetSelected(value >= 0 && value < FItems->Count() ? FItems->FItems[value].get() : nullptr);
}

int TCustomListView::SelCount() const
{
    if (FHandle) return static_cast<int>(::SendMessageA(FHandle, LVM_GETSELECTEDCOUNT, 0, 0));
    return static_cast<int>(std::count_if(FItems->FItems.begin(), FItems->FItems.end(),
                                          [](const auto& item) { return item->FSelected; }));
}

TListItem* TCustomListView::TopItem() const
{
    if (!FHandle || (FViewStyle != vsReport && FViewStyle != vsList)) return nullptr;
    int index = static_cast<int>(::SendMessageA(FHandle, LVM_GETTOPINDEX, 0, 0));
    return index >= 0 && index < FItems->Count() ? FItems->FItems[index].get() : nullptr;
}

int TCustomListView::VisibleRowCount() const
{
    return FHandle ? static_cast<int>(::SendMessageA(FHandle, LVM_GETCOUNTPERPAGE, 0, 0)) : 0;
}

void TCustomListView::Scroll(int dx, int dy)
{
    if (FHandle) ::SendMessageA(FHandle, LVM_SCROLL, dx, dy);
}

TListItem* TCustomListView::GetItemAt(int x, int y) const
{
    if (!FHandle) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    int index = static_cast<int>(::SendMessageA(FHandle, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return index >= 0 && index < FItems->Count() && (hit.flags & LVHT_ONITEM) ? FItems->FItems[index].get() : nullptr;
}

HWND TCustomListView::HeaderWindow() const
{
    return FHandle ? reinterpret_cast<HWND>(::SendMessageA(FHandle, LVM_GETHEADER, 0, 0)) : nullptr;
}

void TCustomListView::AlphaSort()
{
    if (OnCompare) {
        CustomSort();
        return;
    }
    CustomSort([](TListItem* a, TListItem* b) { return lstrcmpiA(a->Caption().c_str(), b->Caption().c_str()); });
}

void TCustomListView::CustomSort(const std::function<int(TListItem*, TListItem*)>& compare)
{
    std::function<int(TListItem*, TListItem*)> order = compare;
    if (!order) {
        if (!OnCompare) return;
        order = [this](TListItem* a, TListItem* b) {
            int result = 0;
            OnCompare(this, a, b, result);
            return result;
        };
    }
    if (!FHandle) {
        std::stable_sort(FItems->FItems.begin(), FItems->FItems.end(),
                         [&order](const auto& a, const auto& b) { return order(a.get(), b.get()) < 0; });
        return;
    }
    TSortContext context{&order};
    ::SendMessageA(FHandle, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                   reinterpret_cast<LPARAM>(&CompareItems));
    ReadOrderBack();
}

void TCustomListView::ReadOrderBack()
{
    std::vector<TListItem*> rows;
    rows.reserve(FItems->FItems.size());
    for (int i = 0; i < FItems->Count(); ++i) {
        LVITEMA row{};
        row.mask = LVIF_PARAM;
        row.iItem = i;
        ::SendMessageA(FHandle, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&row));
        rows.push_back(reinterpret_cast<TListItem*>(row.lParam));
    }
    // The items move to the order of the rows; should the window hold
    // something that is not one of them, the order is left as it was.
    std::vector<std::unique_ptr<TListItem>> ordered;
    ordered.reserve(rows.size());
    std::vector<std::unique_ptr<TListItem>>& held = FItems->FItems;
    std::vector<TListItem*> sorted(rows);
    std::vector<TListItem*> mine;
    for (auto& item : held) mine.push_back(item.get());
    std::sort(sorted.begin(), sorted.end());
    std::sort(mine.begin(), mine.end());
    if (sorted != mine) return;
    // The same objects in the rows' order: ownership passes over one for one.
    for (auto& item : held) (void)item.release();
    for (TListItem* row : rows) ordered.emplace_back(row);
    held = std::move(ordered);
}

void TCustomListView::ColumnClick(TListColumn* column)
{
    if (OnColumnClick) OnColumnClick(this, column);
}

void TCustomListView::SelectItem(TListItem* item, bool selected)
{
    if (OnSelectItem) OnSelectItem(this, item, selected);
}

void TCustomListView::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        m.Result = 0;
        switch (header->code) {
        case LVN_GETDISPINFOA:
        case LVN_GETDISPINFOW:
            GetDispInfo(m.LParam, header->code == LVN_GETDISPINFOW);
            return;
        case LVN_COLUMNCLICK: {
            int index = reinterpret_cast<NMLISTVIEW*>(m.LParam)->iSubItem;
            if (index >= 0 && index < FColumns->Count()) ColumnClick(FColumns->FItems[index].get());
            return;
        }
        case LVN_ITEMCHANGED: {
            auto* change = reinterpret_cast<NMLISTVIEW*>(m.LParam);
            if (FRebuilding || !(change->uChanged & LVIF_STATE) ||
                !((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
                return;
            bool selected = (change->uNewState & LVIS_SELECTED) != 0;
            if (change->iItem >= 0 && change->iItem < FItems->Count())
                SelectItem(FItems->FItems[change->iItem].get(), selected);
            else if (change->iItem == -1)
                SelectItem(nullptr, selected);
            return;
        }
        case LVN_BEGINLABELEDITA:
        case LVN_BEGINLABELEDITW:
            m.Result = FReadOnly ? TRUE : FALSE;
            return;
        case LVN_ENDLABELEDITA:
        case LVN_ENDLABELEDITW: {
            auto* edit = reinterpret_cast<NMLVDISPINFOA*>(m.LParam);
            if (!edit->item.pszText || edit->item.iItem < 0 || edit->item.iItem >= FItems->Count()) return;
            std::string text = header->code == LVN_ENDLABELEDITW
                                   ? WideToAnsi(reinterpret_cast<NMLVDISPINFOW*>(m.LParam)->item.pszText)
                                   : std::string(edit->item.pszText);
            FItems->FItems[edit->item.iItem]->SetCaption(text);
            m.Result = TRUE;
            return;
        }
        case NM_DBLCLK:
            DblClick();
            return;
        }
        return;
    }
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
        TWinControl::WndProc(m);
        if (FHandle) {
            ::SendMessageA(FHandle, LVM_SETBKCOLOR, 0, ColorToRGB(FColor));
            ::SendMessageA(FHandle, LVM_SETTEXTBKCOLOR, 0, ColorToRGB(FColor));
            ::SendMessageA(FHandle, LVM_SETTEXTCOLOR, 0, ColorToRGB(FFont->Color()));
            InvalidateRect(FHandle, nullptr, TRUE);
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomListView::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0) return;
    TWinControl::ChangeScale(multiplier, divisor);
    for (int i = 0; i < FColumns->Count(); ++i) {
        TListColumn* column = FColumns->Items(i);
        column->SetWidth(MulDiv(column->Width(), multiplier, divisor));
    }
}
