// The gallery's page of scrolling controls: a long list box, a memo with a
// vertical and a horizontal bar, a list box that cannot scroll (disabled
// bar) and a disabled memo; each shows the skinned scroll-bar overlays.
#include <string>

#include "framework/list_box.h"
#include "framework/memo.h"
#include "gallery/gallery_pages.h"

namespace {

template <class T>
T* Place(TGalleryPage& page, const char* name, int x, int y, int w, int h)
{
    auto* control = new T(page.Form);
    control->SetName(name);
    control->SetParent(page.Sheet);
    control->SetBounds(x, y, w, h);
    return control;
}

void BuildScrolling(TGalleryPage& page)
{
    auto* list = Place<TListBox>(page, "ScrollingList", 12, 10, 170, 220);
    for (int i = 1; i <= 500; ++i) list->Items()->Add("Entry " + std::to_string(i));
    list->SetItemIndex(0);

    auto* memo = Place<TMemo>(page, "ScrollingMemo", 194, 10, 220, 220);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->Lines()->BeginUpdate();
    for (int i = 1; i <= 300; ++i)
        memo->Lines()->Add("Line " + std::to_string(i) + ": a remark long enough to scroll sideways in the memo");
    memo->Lines()->EndUpdate();

    auto* shortList = Place<TListBox>(page, "ScrollingShortList", 426, 10, 150, 100);
    shortList->Items()->Add("Only");
    shortList->Items()->Add("three");
    shortList->Items()->Add("lines");

    auto* memoOff = Place<TMemo>(page, "ScrollingMemoOff", 426, 120, 150, 110);
    memoOff->SetScrollBars(ssVertical);
    for (int i = 1; i <= 40; ++i) memoOff->Lines()->Add("Disabled " + std::to_string(i));
    memoOff->SetEnabled(false);
}

}  // namespace

GALLERY_PAGE(80, "Scrolling", BuildScrolling);
