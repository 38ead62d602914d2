// The gallery's page of tabs: page controls with tabs at the top (one with
// close boxes) and drawn as flat buttons, tab controls with tabs at the
// bottom, left and right, one whose tabs do not fit and scroll, a tab set,
// and a page control that paints its tabs from pictures.
#include <string>

#include "framework/adv_page_control.h"
#include "framework/page_control.h"
#include "framework/std_controls.h"
#include "framework/tab_control.h"
#include "framework/tab_set.h"
#include "gallery/gallery_pages.h"

namespace {

TPageControl* Pages(TGalleryPage& page, const char* name, int x, int y, int w, int h, TTabStyle style,
                    TPageControl* pages = nullptr)
{
    if (!pages) pages = new TPageControl(page.Form);
    pages->SetName(name);
    pages->SetParent(page.Sheet);
    pages->SetBounds(x, y, w, h);
    pages->SetStyle(style);
    for (const char* caption : {"Ledger", "Tools", "About"}) {
        auto* sheet = new TTabSheet(page.Form);
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
        auto* label = new TLabel(page.Form);
        label->SetParent(sheet);
        label->SetCaption(std::string("The ") + caption + " page");
        label->SetBounds(10, 10, label->Width(), label->Height());
    }
    pages->SetActivePageIndex(0);
    return pages;
}

TTabControl* Tabs(TGalleryPage& page, const char* name, int x, int y, int w, int h, TTabPosition position, int count)
{
    auto* tabs = new TTabControl(page.Form);
    tabs->SetName(name);
    tabs->SetParent(page.Sheet);
    tabs->SetBounds(x, y, w, h);
    tabs->SetTabPosition(position);
    for (int i = 0; i < count; ++i) tabs->Tabs()->Add("Tab " + std::to_string(i + 1));
    tabs->SetTabIndex(1);
    return tabs;
}

void BuildTabs(TGalleryPage& page)
{
    Pages(page, "TabsPages", 12, 8, 200, 110, tsTabs);
    Pages(page, "TabsButtons", 224, 8, 200, 110, tsFlatButtons);
    // Tabs painted by the page control itself, from the pictures the skin
    // gives it (the gallery names its class in the skin's class table).
    Pages(page, "TabsPainted", 436, 8, 184, 110, tsTabs, new TAdvPageControl(page.Form));
    TPageControl* closing = Pages(page, "TabsClosing", 12, 126, 260, 110, tsTabs);
    closing->SetTag(7777);
    Tabs(page, "TabsBottom", 284, 126, 260, 110, tpBottom, 3);
    Tabs(page, "TabsLeft", 12, 244, 160, 110, tpLeft, 3);
    Tabs(page, "TabsRight", 184, 244, 160, 110, tpRight, 3);
    Tabs(page, "TabsScrolling", 356, 244, 188, 60, tpTop, 9);
    // A tab set: a strip of tabs hanging from the top, drawn by the control.
    auto* set = new TTabSet(page.Form);
    set->SetName("TabsSet");
    set->SetParent(page.Sheet);
    set->SetBounds(356, 312, 188, 22);
    for (const char* caption : {"Income", "Spending", "Both"}) set->Tabs()->Add(caption);
    set->SetTabIndex(0);
}

}  // namespace

GALLERY_PAGE(40, "Tabs", BuildTabs);
