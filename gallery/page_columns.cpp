// The gallery's page of column headers, list views and the media player: a
// header control with a right-aligned and an image section, a report view
// of 500 entries under its column header, the same kind of entries as small
// icons and as large icons, and a media player's button bar with some
// buttons enabled and some coloured.
#include <string>

#include "framework/header_control.h"
#include "framework/image_list.h"
#include "framework/list_view.h"
#include "framework/media_player.h"
#include "gallery/gallery_pages.h"

namespace {

// Pictures of one size in four colours: a filled square with a dark edge.
TImageList* MakeImages(TGalleryPage& page, const char* name, int size)
{
    auto* images = new TImageList(page.Form);
    images->SetName(name);
    images->SetWidth(size);
    images->SetHeight(size);
    const TColor colours[] = {0x3C8C3C, 0x2A6FD0, 0x2030C0, 0x808080};
    for (TColor colour : colours) {
        TBitmap picture(size, size, pf24bit);
        TCanvas* canvas = picture.Canvas();
        canvas->Brush()->SetColor(clFuchsia);
        canvas->FillRect(RECT{0, 0, size, size});
        canvas->Brush()->SetColor(colour);
        canvas->Pen()->SetColor(0x303030);
        canvas->Rectangle(1, 1, size - 1, size - 1);
        images->AddMasked(&picture, clFuchsia);
    }
    return images;
}

TListView* MakeList(TGalleryPage& page, const char* name, TViewStyle style, int x, int y, int w, int h)
{
    auto* list = new TListView(page.Form);
    list->SetName(name);
    list->SetParent(page.Sheet);
    list->SetBounds(x, y, w, h);
    list->SetViewStyle(style);
    list->SetReadOnly(true);
    return list;
}

void BuildColumns(TGalleryPage& page)
{
    TImageList* small = MakeImages(page, "ColumnsSmallImages", 16);
    TImageList* large = MakeImages(page, "ColumnsLargeImages", 32);

    auto* header = new THeaderControl(page.Form);
    header->SetName("ColumnsHeader");
    header->SetParent(page.Sheet);
    header->SetAlign(alNone);
    header->SetBounds(12, 8, 400, 22);
    header->SetImages(small);
    const struct {
        const char* Text;
        int Width;
        TAlignment Alignment;
        int Image;
    } sections[] = {
        {"Item", 150, taLeftJustify, -1},
        {"Amount", 90, taRightJustify, -1},
        {"Category", 110, taLeftJustify, 1},
    };
    for (const auto& s : sections) {
        THeaderSection* section = header->Sections()->Add();
        section->SetText(s.Text);
        section->SetWidth(s.Width);
        section->SetAlignment(s.Alignment);
        section->SetImageIndex(s.Image);
    }

    const char* categories[] = {"Food", "Salary", "Rent", "Travel", "Books"};
    TListView* report = MakeList(page, "ColumnsReport", vsReport, 12, 40, 400, 236);
    report->SetRowSelect(true);
    report->SetGridLines(true);
    report->SetSmallImages(small);
    const struct {
        const char* Caption;
        int Width;
        TAlignment Alignment;
    } columns[] = {{"Item", 130, taLeftJustify}, {"Amount", 80, taRightJustify}, {"Category", 90, taLeftJustify},
                   {"Date", 90, taLeftJustify}};
    for (const auto& c : columns) {
        TListColumn* column = report->Columns()->Add();
        column->SetCaption(c.Caption);
        column->SetWidth(c.Width);
        column->SetAlignment(c.Alignment);
    }
    report->Items()->BeginUpdate();
    for (int i = 0; i < 500; ++i) {
        TListItem* item = report->Items()->Add();
        item->SetCaption("Entry " + std::to_string(i + 1));
        item->SetImageIndex(i % 4);
        item->SubItems()->Add(std::to_string((i * 37) % 900 + 10));
        item->SubItems()->Add(categories[i % 5]);
        item->SubItems()->Add(Format("2026-%02d-%02d", i % 12 + 1, i % 28 + 1));
    }
    report->Items()->EndUpdate();
    report->SetItemIndex(2);

    TListView* smallIcons = MakeList(page, "ColumnsSmallIcons", vsSmallIcon, 424, 8, 196, 110);
    smallIcons->SetSmallImages(small);
    TListView* icons = MakeList(page, "ColumnsIcons", vsIcon, 424, 126, 196, 150);
    icons->SetLargeImages(large);
    for (int i = 0; i < 12; ++i) {
        for (TListView* list : {smallIcons, icons}) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(categories[i % 5]);
            item->SetImageIndex(i % 4);
        }
    }

    auto* player = new TMediaPlayer(page.Form);
    player->SetName("ColumnsPlayer");
    player->SetParent(page.Sheet);
    player->SetBounds(12, 290, 300, 30);
    player->SetAutoEnable(false);
    player->SetEnabledButtons(MPButton(btPlay) | MPButton(btPause) | MPButton(btStop) | MPButton(btNext) |
                              MPButton(btPrev));
    player->SetColoredButtons(MPButton(btPlay) | MPButton(btStop) | MPButton(btRecord));
}

}  // namespace

GALLERY_PAGE(70, "Lists", BuildColumns);
