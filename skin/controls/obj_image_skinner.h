// TSkinObjImage: the skinner of check boxes and radio buttons that paint
// their own glyphs from a picture they are given (they have no system
// button window to paint over). It repaints nothing itself: it builds a
// strip of glyph frames from the skin's check or radio image in the frame
// order the control expects and hands it to the control, which then draws
// its glyph from the skin; with the colour managed it also puts the
// control on the face colour and its caption in the skin's text colour.
//
// Kinds (set by control discovery):
//   1  check glyphs, a strip of 9 frames into CustomGlyphs:
//      clear, checked, grayed; the same pressed; the same disabled
//   2  radio glyphs, a strip of 6 frames into CustomGlyphs:
//      the skin's frames 1, 2, 1, 2, 3, 4 (clear, checked; pressed; disabled)
//   3  check glyphs, a strip of 6 frames into Properties.Glyph:
//      clear, checked, grayed; the same disabled
// Kinds 1 and 2 also set the control's transparentcolor to magenta and its
// UseCustomGlyphs off and on again, so that it reloads its glyphs.
//
// Everything it changes (the pictures, UseCustomGlyphs, transparentcolor,
// the colour, the font's colour) is given back as it was on Detach.
#pragma once

#include <memory>
#include <string>

#include "skin/controls/skin_control.h"
#include "skin/controls/text_colours.h"

class TSkinObjImage : public TSkinControl {
    DECLARE_CLASS(TSkinObjImage, TSkinControl)
public:
    explicit TSkinObjImage(TComponent* owner);
    ~TSkinObjImage() override;

    void Configure(int kind, const std::string& property) override;
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void Detach() override;
    void SkinChanged() override;

    int Mode() const { return FMode; }

    // The skin frames (counted from 1, in the skin's check or radio strip of
    // `frameCount` frames) that make up the strip of kind `mode`, in order;
    // empty for an unknown kind.
    static std::vector<int> StripFrames(int mode, int frameCount);

private:
    // Builds the strip of this kind from the skin and gives it to the
    // control; nothing when the skin lacks the image.
    void HandOverGlyphs();
    // The picture the strip goes into: CustomGlyphs, or Properties.Glyph.
    TBitmap* GlyphPicture() const;
    void TakeFontColour();

    BYTE FMode = 0;
    // What the control had before.
    bool FSaved = false;
    std::unique_ptr<TBitmap> FSavedPicture;
    std::string FSavedUseCustomGlyphs;
    int FSavedTransparentColour = -1;
    TTakenFontColour FFontColour;  // the control's caption colour, given back on detach
};
