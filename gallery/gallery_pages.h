// The pages of the skin gallery.
//
// Each control family shows its controls on a page of its own, made by one
// file gallery/page_<family>.cpp that registers the page when the program
// starts:
//
//     static void BuildButtons(TGalleryPage& page) { ... }
//     GALLERY_PAGE(10, "Buttons", BuildButtons);
//
// Pages appear in the order of their numbers. A builder makes its controls
// owned by page.Form and placed on page.Sheet (or on each other), as the
// program's own forms do; the skinner of each control comes from control
// discovery like anywhere else. Nothing else needs to change to add a page.
#pragma once

#include <string>
#include <vector>

#include "framework/forms.h"
#include "framework/page_control.h"

struct TGalleryPage {
    TForm* Form = nullptr;        // owns every control of the page
    TTabSheet* Sheet = nullptr;   // the page's surface (client size below)
    int Width = 0;
    int Height = 0;
    // Named controls of the page that tests look for (Form->FindComponent
    // finds them too): "<Page><Role>", e.g. "ButtonsNormal".
};

using TGalleryPageBuilder = void (*)(TGalleryPage& page);

// A new control of the page: owned by the page's form, named, placed on
// `parent` at the given bounds, with its caption.
template <class T>
T* GalleryPlace(TGalleryPage& page, TWinControl* parent, const char* name, const char* caption, int x, int y, int w,
                int h)
{
    auto* control = new T(page.Form);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(x, y, w, h);
    control->SetCaption(caption);
    return control;
}

struct TGalleryPageEntry {
    int Order;
    const char* Title;
    TGalleryPageBuilder Build;
};

// Every registered page, in order.
std::vector<TGalleryPageEntry> GalleryPages();

struct TGalleryPageRegistrar {
    TGalleryPageRegistrar(int order, const char* title, TGalleryPageBuilder build);
};

#define GALLERY_PAGE_JOIN2(a, b) a##b
#define GALLERY_PAGE_JOIN(a, b) GALLERY_PAGE_JOIN2(a, b)
#define GALLERY_PAGE(order, title, build) \
    static TGalleryPageRegistrar GALLERY_PAGE_JOIN(GalleryPageRegistrar, __LINE__)(order, title, build)
