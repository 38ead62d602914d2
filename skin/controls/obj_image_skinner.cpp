// The skinner of self-drawing check boxes and radio buttons (see
// obj_image_skinner.h).
#include "skin/controls/obj_image_skinner.h"

#include <algorithm>
#include <vector>

#include "skin/controls/check_drawing.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/controls/text_colours.h"
#include "skin/data/skin_model.h"

IMPLEMENT_CLASS(TSkinObjImage)
DEFINE_SKINNER(TSkinObjImage, TSkinObjImage)

namespace {

enum : int { moCheck = 1, moRadio = 2, moPropertiesCheck = 3 };

// The skin's frames by state (before the older layouts are mapped).
constexpr int CLEAR = 1, CHECKED = 2, CLEAR_DISABLED = 3, CHECKED_DISABLED = 4;

// Magenta, as transparentcolor takes it: a decimal number.
const char* const MAGENTA_TEXT = "16711935";

}  // namespace

TSkinObjImage::TSkinObjImage(TComponent* owner) : TSkinControl(owner) {}

TSkinObjImage::~TSkinObjImage() = default;

void TSkinObjImage::Configure(int kind, const std::string&)
{
    FMode = static_cast<BYTE>(kind);
}

std::vector<int> TSkinObjImage::StripFrames(int mode, int frameCount)
{
    const bool radio = mode == moRadio;
    auto at = [&](int index) { return std::clamp(skin::MapCheckFrame(index, frameCount, radio), 1, frameCount); };
    // A grayed box: the checked-and-disabled frame, except in the older
    // twelve-frame layout, which has grayed frames of its own.
    auto grayed = [&](bool disabled) {
        if (frameCount == 12) return disabled ? 12 : 9;
        return at(CHECKED_DISABLED);
    };
    switch (mode) {
    case moCheck:
        return {at(CLEAR), at(CHECKED), grayed(false), at(CLEAR), at(CHECKED), grayed(false),
                at(CLEAR_DISABLED), at(CHECKED_DISABLED), grayed(true)};
    case moRadio:
        return {at(CLEAR), at(CHECKED), at(CLEAR), at(CHECKED), at(CLEAR_DISABLED), at(CHECKED_DISABLED)};
    case moPropertiesCheck:
        return {at(CLEAR), at(CHECKED), grayed(false), at(CLEAR_DISABLED), at(CHECKED_DISABLED), grayed(true)};
    default:
        return {};
    }
}

TBitmap* TSkinObjImage::GlyphPicture() const
{
    if (!FControl) return nullptr;
    if (FMode == moPropertiesCheck) {
        TObject* properties = GetObjectPropByName(FControl, "Properties");
        return static_cast<TBitmap*>(GetObjectPropByName(properties, "Glyph", &TBitmap::StaticClassInfo()));
    }
    return static_cast<TBitmap*>(GetObjectPropByName(FControl, "CustomGlyphs", &TBitmap::StaticClassInfo()));
}

void TSkinObjImage::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (FAttached) return;
    TSkinControl::AttachControl(formSkinner, skinData, colourManaged, canvas);
    if (!FAttached || !FControl) return;
    if (TBitmap* picture = GlyphPicture()) {
        FSavedPicture = std::make_unique<TBitmap>();
        FSavedPicture->Assign(*picture);
        FSavedUseCustomGlyphs = GetEnumPropByName(FControl, "UseCustomGlyphs");
        FSavedTransparentColour = GetOrdPropByName(FControl, "transparentcolor");
        FSaved = true;
    }
    TakeFontColour();
    HandOverGlyphs();
}

void TSkinObjImage::TakeFontColour()
{
    if (!FColourManaged || !FControl) return;
    TFont* font = FFontColour.Take(FControl);
    if (!font) return;
    // The control draws its caption on the face colour it was given.
    const COLORREF colour =
        SkinCaptionColour(FSkinData, FFontColour.Kept(font->Color()), SkinColourRgb(FSkinData, scButtonFace));
    font->SetColor(static_cast<TColor>(colour));
}

void TSkinObjImage::HandOverGlyphs()
{
    TBitmap* picture = GlyphPicture();
    // The control draws its glyph pictures at its own scale, as pictures
    // made for 96 DPI: it is given the skin's frames at their design size (a
    // strip already at the display's scale would be enlarged twice).
    TDataSkinButton* buttons = FSkinData ? FSkinData->Model().Buttons.get() : nullptr;
    if (!picture || !buttons) return;
    const bool radio = FMode == moRadio;
    const TSkinImage& image = radio ? buttons->RadioBitmap : buttons->CheckBitmap;
    const int frameCount = std::max(radio ? buttons->RadioButtonFrame : buttons->CheckButtonFrame, 1);
    const std::vector<int> frames = StripFrames(FMode, frameCount);
    HBITMAP source = image.Handle();
    const int w = image.Width() / frameCount, h = image.Height();
    if (frames.empty() || !source || w <= 0 || h <= 0) return;

    TBitmap strip(w * static_cast<int>(frames.size()), h, pf24bit);
    {
        TMemoryDC from(nullptr);
        TSelectObject selected(from, source);
        HDC to = strip.Canvas()->Handle();
        for (size_t i = 0; i < frames.size(); ++i)
            BitBlt(to, static_cast<int>(i) * w, 0, w, h, from, (frames[i] - 1) * w, 0, SRCCOPY);
    }
    strip.SetTransparentColor(clFuchsia);
    picture->Assign(strip);
    if (FMode != moPropertiesCheck) {
        SetPropByName(FControl, "transparentcolor", MAGENTA_TEXT);
        SetPropByName(FControl, "UseCustomGlyphs", "false");
        SetPropByName(FControl, "UseCustomGlyphs", "true");
    }
    FControl->Invalidate();
}

void TSkinObjImage::SkinChanged()
{
    TSkinControl::SkinChanged();
    TakeFontColour();
    HandOverGlyphs();
}

void TSkinObjImage::Detach()
{
    if (!FActive) return;
    TSkinControl::Detach();
    if (FLifeState == lsWindowGone || !FControl) return;
    if (FSaved) {
        if (TBitmap* picture = GlyphPicture()) picture->Assign(*FSavedPicture);
        if (FSavedTransparentColour != -1)
            SetPropByName(FControl, "transparentcolor", std::to_string(FSavedTransparentColour));
        if (!FSavedUseCustomGlyphs.empty()) SetPropByName(FControl, "UseCustomGlyphs", FSavedUseCustomGlyphs);
    }
    FFontColour.GiveBack(FControl);
    FControl->Invalidate();
}
