// The skin objects: one per section of a skin description, each with its
// margins, an image of side-by-side frames, transparency and tiling
// settings and colours. Every skinner draws from these.
//
// The objects are plain data and build on every platform (the skin tool
// prints them); only TSkinImage::Handle, the GDI form of an image, is
// Windows-only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/bmp_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

// A colour of the skin: plain red-green-blue with red in the low byte, or a
// symbolic system colour (0x80000000 | index), resolved when drawn.
using TSkinColour = std::uint32_t;

inline constexpr TSkinColour SKIN_SYSTEM_COLOUR = 0x80000000u;
inline constexpr TSkinColour SKIN_MAGENTA = 0xFF00FFu;
inline constexpr TSkinColour SKIN_WHITE = 0xFFFFFFu;
inline constexpr TSkinColour SKIN_NO_COLOUR = 0x1FFFFFFFu;   // "not given"

constexpr TSkinColour SkinSystemColour(int index) { return SKIN_SYSTEM_COLOUR | static_cast<TSkinColour>(index); }
constexpr bool IsSkinSystemColour(TSkinColour colour) { return (colour & SKIN_SYSTEM_COLOUR) != 0; }
constexpr TSkinColour SkinRgb(int r, int g, int b) {
    return static_cast<TSkinColour>(r & 0xFF) | static_cast<TSkinColour>(g & 0xFF) << 8 |
           static_cast<TSkinColour>(b & 0xFF) << 16;
}

// An image of a skin object. Holds the pixels; on Windows it also makes, on
// first use, a 24-bit DIB section of them that stays valid until the image
// changes or goes away. Copying copies the pixels only.
class TSkinImage {
public:
    TSkinImage() = default;
    explicit TSkinImage(TBmpImage image);
    TSkinImage(const TSkinImage& other);
    TSkinImage& operator=(const TSkinImage& other);
    TSkinImage(TSkinImage&& other) noexcept;
    TSkinImage& operator=(TSkinImage&& other) noexcept;
    ~TSkinImage();

    int Width() const { return FImage.Width; }
    int Height() const { return FImage.Height; }
    bool Empty() const { return FImage.Width <= 0 || FImage.Height <= 0; }
    // The pixels, top row first, each 0x00RRGGBB (as TBmpImage holds them).
    const TBmpImage& Image() const { return FImage; }
    // Pixel (x, y) as a skin colour (red in the low byte); black outside the image.
    TSkinColour Colour(int x, int y) const;

    void Assign(TBmpImage image);
    void Clear();

    // Larger pictures of the same image that the skin ships for a display
    // scale (pixels an inch above 96), ascending by scale. A scaled model
    // starts from the smallest one at or above its scale instead of
    // enlarging the 96 image. Assigning new pixels drops them.
    struct TScaleVariant {
        int Dpi = 0;
        TBmpImage Image;
    };
    const std::vector<TScaleVariant>& Variants() const { return FVariants; }
    void AddVariant(int dpi, TBmpImage image);

#ifdef _WIN32
    // The image as a bitmap that is selected into no device context; null
    // when the image is empty or the bitmap cannot be made. Owned by this
    // object.
    HBITMAP Handle() const;
#endif

private:
    void FreeHandle() noexcept;

    TBmpImage FImage;
    std::vector<TScaleVariant> FVariants;
    mutable void* FHandle = nullptr;   // HBITMAP, made on demand
};

// The common part of every skin object. Frames are numbered from 1.
class TDataSkinObject {
public:
    explicit TDataSkinObject(const std::string& name);
    virtual ~TDataSkinObject();
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    std::int32_t LeftWidth = 0;      // margins in pixels, unscaled
    std::int32_t TopHeight = 0;
    std::int32_t RightWidth = 0;
    std::int32_t BottomHeight = 0;
    TSkinImage Bitmap;               // Frame frames side by side (or stacked)
    std::int32_t Trans = 0;          // nonzero: magenta is transparent
    std::int32_t Tile = 0;           // 0 stretches the middle, 1 tiles it
    std::string Name;                // the section (or key) it was made for
    std::int32_t Frame = 0;          // number of frames in Bitmap
    std::int32_t Style = 0;          // variant selector of some skinners
    std::int32_t NormalColour = -1;  // indices into the numbered colour table, -1 = none
    std::int32_t MouseOverColour = -1;
    std::int32_t PressedColour = -1;
    TSkinColour NormalColour2 = 0;   // text colours of the three states
    TSkinColour MouseOverColour2 = 0;
    TSkinColour PressedColour2 = 0;
};

// A section with a second image (window borders, tabs, up-down buttons, the
// combo box button, the progress bar).
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    TSkinImage Bitmap2;
};

// The group box label.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    std::int32_t BackgroundLeftShift = 0;
    std::int32_t BackgroundRightShift = 0;
    std::int32_t BackgroundAlignment = 0;
};

// Push buttons, with the check box and radio button images.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    TSkinImage CheckBitmap;
    TSkinImage RadioBitmap;
    std::int32_t RadioButtonFrame = 0;
    std::int32_t CheckButtonFrame = 0;
    bool HasNormalColour2 = false;   // the colour key was given
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

// The caption text: where it goes and its colours.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    std::int32_t TextAlignment = 0;
    std::int32_t Textbackground = 0;
    std::int32_t FontHeight = 0;
    std::int32_t TXTBackleft = 0;
    std::int32_t TXTBackRight = 0;
    TSkinColour ActiveTextColour = SKIN_NO_COLOUR;
    TSkinColour InactiveTextColour = SKIN_NO_COLOUR;
};

// A caption button (close, maximize, ..., and the MDI child buttons).
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    std::int32_t Action = 0;
    std::int32_t Align = 0;
    std::int32_t Xcoord = 0;
    std::int32_t Ycoord = 0;
    std::int32_t CombineOp = 0;
    std::int32_t Visibility = 0;
    std::int32_t Visibility1 = 0;
};
