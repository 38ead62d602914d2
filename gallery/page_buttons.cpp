// The gallery's page of push buttons: plain buttons in each of their looks,
// bitmap buttons with glyphs in every layout, speed buttons (plain, flat,
// grouped, disabled) and a menu button. A click on any of them counts in
// the label at the bottom, so a button that still works shows it.
#include <string>

#include "framework/buttons.h"
#include "framework/gdi_handles.h"
#include "gallery/gallery_glyphs.h"
#include "gallery/gallery_pages.h"

namespace {

int Clicks = 0;

void BuildButtons(TGalleryPage& page)
{
    TTabSheet* sheet = page.Sheet;
    auto* clicks = GalleryPlace<TLabel>(page, sheet, "ButtonsClicks", "Clicks: 0", 12, page.Height - 40, 300, 16);
    auto count = [clicks](TObject*) { clicks->SetCaption("Clicks: " + std::to_string(++Clicks)); };

    // Plain push buttons.
    GalleryPlace<TLabel>(page, sheet, "ButtonsPlainLabel", "Push buttons", 12, 8, 200, 16);
    auto* normal = GalleryPlace<TButton>(page, sheet, "ButtonsNormal", "Normal", 12, 28, 90, 26);
    auto* byDefault = GalleryPlace<TButton>(page, sheet, "ButtonsDefault", "Default", 110, 28, 90, 26);
    byDefault->SetDefault(true);
    auto* disabled = GalleryPlace<TButton>(page, sheet, "ButtonsDisabled", "Disabled", 208, 28, 90, 26);
    disabled->SetEnabled(false);
    auto* twoLines = GalleryPlace<TButton>(page, sheet, "ButtonsTwoLines", "Two||lines", 306, 22, 90, 38);
    auto* transparent = GalleryPlace<TButton>(page, sheet, "ButtonsTransparent", "Tag 5555", 404, 28, 90, 26);
    transparent->SetTag(5555);
    for (TButton* button : {normal, byDefault, disabled, twoLines, transparent}) button->OnClick = count;

    // Bitmap buttons: the four layouts, and the disabled glyph made from one
    // image or taken from the second.
    GalleryPlace<TLabel>(page, sheet, "ButtonsBitLabel", "Bitmap buttons", 12, 70, 200, 16);
    const struct {
        const char* Name;
        const char* Caption;
        TButtonLayout Layout;
        int X, Y, W, H;
    } bits[] = {
        {"ButtonsGlyphLeft", "Left", blGlyphLeft, 12, 90, 100, 30},
        {"ButtonsGlyphRight", "Right", blGlyphRight, 120, 90, 100, 30},
        {"ButtonsGlyphTop", "Top", blGlyphTop, 228, 84, 80, 48},
        {"ButtonsGlyphBottom", "Bottom", blGlyphBottom, 316, 84, 80, 48},
    };
    for (const auto& b : bits) {
        auto* button = GalleryPlace<TBitBtn>(page, sheet, b.Name, b.Caption, b.X, b.Y, b.W, b.H);
        TBitmap glyph;
        MakeGalleryGlyph(glyph, 1);
        button->SetGlyph(&glyph);
        button->SetLayout(b.Layout);
        button->OnClick = count;
    }
    auto* embossed = GalleryPlace<TBitBtn>(page, sheet, "ButtonsGlyphEmbossed", "One image", 404, 90, 100, 30);
    {
        TBitmap glyph;
        MakeGalleryGlyph(glyph, 1);
        embossed->SetGlyph(&glyph);
    }
    embossed->SetEnabled(false);
    auto* second = GalleryPlace<TBitBtn>(page, sheet, "ButtonsGlyphSecond", "Two images", 512, 90, 100, 30);
    {
        TBitmap glyph;
        MakeGalleryGlyph(glyph, 2);
        second->SetGlyph(&glyph);
        second->SetNumGlyphs(2);
    }
    second->SetEnabled(false);

    // Speed buttons: plain, flat, a group of two, disabled.
    GalleryPlace<TLabel>(page, sheet, "ButtonsSpeedLabel", "Speed buttons", 12, 146, 200, 16);
    auto* speed = GalleryPlace<TSpeedButton>(page, sheet, "ButtonsSpeed", "Speed", 12, 166, 80, 26);
    auto* flat = GalleryPlace<TSpeedButton>(page, sheet, "ButtonsSpeedFlat", "Flat", 100, 166, 80, 26);
    flat->SetFlat(true);
    auto* groupA = GalleryPlace<TSpeedButton>(page, sheet, "ButtonsSpeedGroupA", "", 188, 166, 30, 26);
    auto* groupB = GalleryPlace<TSpeedButton>(page, sheet, "ButtonsSpeedGroupB", "", 220, 166, 30, 26);
    for (TSpeedButton* button : {groupA, groupB}) {
        TBitmap glyph;
        MakeGalleryGlyph(glyph, 1);
        button->SetGlyph(&glyph);
        button->SetGroupIndex(1);
    }
    groupA->SetDown(true);
    auto* speedDisabled = GalleryPlace<TSpeedButton>(page, sheet, "ButtonsSpeedDisabled", "Off", 258, 166, 80, 26);
    {
        TBitmap glyph;
        MakeGalleryGlyph(glyph, 1);
        speedDisabled->SetGlyph(&glyph);
    }
    speedDisabled->SetEnabled(false);
    for (TSpeedButton* button : {speed, flat, groupA, groupB, speedDisabled}) button->OnClick = count;

    // A menu button.
    GalleryPlace<TLabel>(page, sheet, "ButtonsMenuLabel", "Menu button", 12, 206, 200, 16);
    auto* menu = GalleryPlace<TMenuButton>(page, sheet, "ButtonsMenu", "Choose", 12, 226, 110, 28);
    {
        TBitmap glyph;
        MakeGalleryGlyph(glyph, 1);
        menu->SetGlyph(&glyph);
    }
    menu->OnClick = count;
}

}  // namespace

GALLERY_PAGE(10, "Buttons", BuildButtons);
