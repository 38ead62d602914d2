// A skin model at another display scale.
//
// A skin is drawn for 96 pixels an inch. At any other scale the program
// draws from a copy of the model in which every image is resampled once and
// every size the skinners place things by (margins, border ends, caption
// button positions, the caption text's offsets and font height, the group
// box label's shifts) is scaled by dpi / 96, so that the skinners' own
// arithmetic stays as it is.
//
// Images are resampled frame by frame and, inside a frame, piece by piece
// along the object's margins (the nine slices): the corners scale to the
// scaled margins exactly and the middle takes the rest, so the pieces that
// the frame routines cut meet without seams. Whole factors repeat pixels
// (nearest); other factors interpolate linearly inside each piece. Magenta is
// the transparency key of every skin image: a magenta pixel is never blended
// into its neighbours, and a resampled pixel is either exactly magenta or a
// blend of non-magenta pixels only, so no pink fringes appear.
//
// Standard-library C++ only (the skin tool checks shipped pictures with it).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skin/data/skin_model_core.h"

// `value` (96-DPI pixels) at `dpi`: value * dpi / 96 rounded half away from
// zero, the same arithmetic as the display-scale helpers of the program.
int SkinScaled(int value, int dpi);

// How one image of a skin object is laid out: its frames (side by side, or
// stacked) and the margins the frame routines cut each frame by.
struct TSkinImageLayout {
    std::string Name;            // "Top", "Buttons.CheckButton", "BUTTON1", ...
    const TSkinImage* Image = nullptr;
    int Frames = 1;
    bool Stacked = false;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Every image of `model` with its layout, in a fixed order.
std::vector<TSkinImageLayout> SkinImageLayouts(const TSkinModel& model);

// The size a picture of `layout`'s image must have at `dpi`: each frame's
// size scaled (SkinScaled), times the frame count along the frames' axis.
void ScaledImageSize(const TSkinImageLayout& layout, int dpi, int& width, int& height);

// `image` (frames laid out as `layout` says, with its margins) resampled so
// that each frame is `frameWidth` x `frameHeight` and each margin is
// `margins` (left, top, right, bottom) pixels. Whole multiples repeat
// pixels; anything else interpolates inside each piece, magenta kept exact.
TBmpImage ResampleSlicedImage(const TBmpImage& image, const TSkinImageLayout& layout, int frameWidth,
                              int frameHeight, const int margins[4]);

// The image of `layout` at `dpi`: from the smallest shipped picture at or
// above `dpi` whose size fits (ScaledImageSize at its own scale), else from
// the 96 image.
TSkinImage ScaleSkinImage(const TSkinImageLayout& layout, int dpi);

// The whole model at `dpi` (above or below 96). At 96 a copy of the model.
std::unique_ptr<TSkinModel> ScaleSkinModel(const TSkinModel& model, int dpi);
