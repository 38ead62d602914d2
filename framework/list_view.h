// List views: items shown as large icons, small icons, a list, or a report
// of rows under column headers.
//
// TListView superclasses the common control SysListView32 (window class
// "TListView"). Its Items are TListItem objects: a caption, the texts of the
// other columns (SubItems), an image and a user value (Data). The window
// holds one row per item that asks back for its texts when it draws them, so
// a long list costs the window little and a changed caption shows at the
// next paint. Columns are the report view's columns, shown by the window's
// header child (a SysHeader32 window the list view makes itself); a width
// the user dragged is read back from the window.
//
// ViewStyle changes the look without making a new window. SmallImages gives
// the pictures of the small-icon, list and report views, LargeImages those
// of the icon view.
//
// Events: OnColumnClick when a column header is clicked, OnSelectItem when
// an item is selected or unselected (by the user or from code), OnDblClick
// on a double click, OnCompare while CustomSort sorts.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/image_list.h"
#include "framework/std_controls.h"
#include "framework/string_list.h"

class TCustomListView;
class TListColumns;
class TListViewItems;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
extern const TEnumInfo ViewStyleEnum;
// BorderStyle of controls that have only these two (bsNone, bsSingle of
// TFormBorderStyle).
extern const TEnumInfo ControlBorderStyleEnum;

class TListColumn : public TPersistent {
    DECLARE_CLASS(TListColumn, TPersistent)
public:
    explicit TListColumn(TListColumns* collection) : FCollection(collection) {}

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    // The width in pixels: the window's when it has one.
    int Width() const;
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int Index() const;

private:
    friend class TListColumns;
    friend class TCustomListView;
    TListColumns* FCollection;
    std::string FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TPersistent {
    DECLARE_CLASS(TListColumns, TPersistent)
public:
    explicit TListColumns(TCustomListView* owner) : FOwner(owner) {}
    ~TListColumns() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EListError for a bad index.
    TListColumn* Items(int index) const;
    TListColumn* operator[](int index) const { return Items(index); }
    TListColumn* Add();
    void Delete(int index);
    void Clear();
    TCustomListView* Owner() const { return FOwner; }

private:
    friend class TListColumn;
    friend class TCustomListView;
    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListColumn>> FItems;
};

class TListItem : public TPersistent {
    DECLARE_CLASS(TListItem, TPersistent)
public:
    explicit TListItem(TListViewItems* owner);
    ~TListItem() override;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    // The texts of the second and later columns. Changing them repaints
    // the item.
    TStringList* SubItems() const { return FSubItems.get(); }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);
    // Its position in the list, -1 once it is taken out.
    int Index() const;
    // Scrolls the view until the item is shown.
    void MakeVisible(bool partialOk = false);
    // Its rectangle in the list view's client area (empty without a window).
    RECT DisplayRect() const;
    TListViewItems* Owner() const { return FOwner; }

private:
    friend class TListViewItems;
    friend class TCustomListView;
    void Changed();

    TListViewItems* FOwner;
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
    int FImageIndex = -1;
    void* FData = nullptr;
    bool FSelected = false;  // kept while there is no window
};

class TListViewItems : public TPersistent {
    DECLARE_CLASS(TListViewItems, TPersistent)
public:
    explicit TListViewItems(TCustomListView* owner) : FOwner(owner) {}
    ~TListViewItems() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EListError for a bad index.
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add() { return Insert(Count()); }
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    // While updating, the window does not repaint (nested pairs count).
    void BeginUpdate();
    void EndUpdate();
    int IndexOf(const TListItem* item) const;
    TCustomListView* Owner() const { return FOwner; }

private:
    friend class TListItem;
    friend class TCustomListView;
    TCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FUpdateCount = 0;
};

using TLVColumnClickEvent = std::function<void(TObject* sender, TListColumn* column)>;
using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;
using TLVCompareEvent = std::function<void(TObject* sender, TListItem* item1, TListItem* item2, int& compare)>;

class TCustomListView : public TWinControl {
    DECLARE_CLASS(TCustomListView, TWinControl)
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return FColumns.get(); }
    void SetColumns(TListColumns* value);
    TListViewItems* Items() const { return FItems.get(); }
    void SetItems(TListViewItems* value);
    TViewStyle ViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle value);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    // With ReadOnly the user cannot edit captions in place.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* value);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* value);

    // The first selected item, or null; selecting one (null: none) clears
    // the others.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int value);
    int SelCount() const;
    // The first item shown (report and list views), or null.
    TListItem* TopItem() const;
    // The number of rows a page of the report view shows.
    int VisibleRowCount() const;
    // Scrolls the view by pixels (report view: dy is rounded to rows).
    void Scroll(int dx, int dy);
    // The item at a client point, or null.
    TListItem* GetItemAt(int x, int y) const;
    // The header window of the report view (the list view's own child), or null.
    HWND HeaderWindow() const;

    // Sorts the items by caption, or by OnCompare (see CustomSort).
    void AlphaSort();
    // Sorts the items with `compare` (negative: item1 first), or with
    // OnCompare when `compare` is empty.
    void CustomSort(const std::function<int(TListItem*, TListItem*)>& compare = {});

    void WndProc(TMessage& message) override;
    // The columns' widths scale with the control.
    void ChangeScale(int multiplier, int divisor) override;
    void Notification(TComponent* component, TOperation operation) override;

    TLVColumnClickEvent OnColumnClick;
    TLVSelectItemEvent OnSelectItem;
    TLVCompareEvent OnCompare;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;
    virtual void ColumnClick(TListColumn* column);
    virtual void SelectItem(TListItem* item, bool selected);

private:
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItem;
    friend class TListViewItems;
    void UpdateColumn(int index, bool insert);
    void InsertWindowItem(int index, TListItem* item);
    void RedrawItem(const TListItem* item);
    void UpdateExtendedStyle();
    void UpdateStyle(DWORD mask, DWORD bits);
    void UpdateImages();
    // Answers the window's request for the text or image of an item.
    void GetDispInfo(LPARAM lParam, bool wide);
    // Puts the items in the order of the window's rows after it sorted them.
    void ReadOrderBack();
    int ColumnWindowWidth(int index) const;

    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TListViewItems> FItems;
    TViewStyle FViewStyle = vsIcon;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FMultiSelect = false;
    bool FHideSelection = true;
    bool FReadOnly = false;
    bool FShowColumnHeaders = true;
    TCustomImageList* FSmallImages = nullptr;
    TCustomImageList* FLargeImages = nullptr;
    bool FRebuilding = false;
    std::string FDispText;    // the text last handed to the window
    std::wstring FDispTextW;
};

class TListView : public TCustomListView {
    DECLARE_CLASS_INLINE(TListView, TCustomListView)
public:
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};
