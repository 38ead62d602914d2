// Skin objects and their images (see skin_objects.h).
#include "skin/data/skin_objects.h"

#include <utility>

#ifdef _WIN32
#include "skin/data/skin_reader_win.h"
#endif

TSkinImage::TSkinImage(TBmpImage image) : FImage(std::move(image)) {}

TSkinImage::TSkinImage(const TSkinImage& other) : FImage(other.FImage), FVariants(other.FVariants) {}

TSkinImage& TSkinImage::operator=(const TSkinImage& other) {
    if (this != &other) {
        FreeHandle();
        FImage = other.FImage;
        FVariants = other.FVariants;
    }
    return *this;
}

TSkinImage::TSkinImage(TSkinImage&& other) noexcept
    : FImage(std::move(other.FImage)), FVariants(std::move(other.FVariants)),
      FHandle(std::exchange(other.FHandle, nullptr)) {
    other.FImage = TBmpImage();
    other.FVariants.clear();
}

TSkinImage& TSkinImage::operator=(TSkinImage&& other) noexcept {
    if (this != &other) {
        FreeHandle();
        FImage = std::move(other.FImage);
        other.FImage = TBmpImage();
        FVariants = std::move(other.FVariants);
        other.FVariants.clear();
        FHandle = std::exchange(other.FHandle, nullptr);
    }
    return *this;
}

TSkinImage::~TSkinImage() { FreeHandle(); }

TSkinColour TSkinImage::Colour(int x, int y) const {
    if (x < 0 || y < 0 || x >= FImage.Width || y >= FImage.Height) return 0;
    const std::uint32_t p = FImage.Pixel(x, y);   // 0x00RRGGBB
    return SkinRgb(static_cast<int>(p >> 16), static_cast<int>(p >> 8), static_cast<int>(p));
}

void TSkinImage::Assign(TBmpImage image) {
    FreeHandle();
    FImage = std::move(image);
    FVariants.clear();
}

void TSkinImage::AddVariant(int dpi, TBmpImage image) {
    auto at = FVariants.begin();
    while (at != FVariants.end() && at->Dpi < dpi) ++at;
    if (at != FVariants.end() && at->Dpi == dpi)
        at->Image = std::move(image);
    else
        FVariants.insert(at, TScaleVariant{dpi, std::move(image)});
}

void TSkinImage::Clear() { Assign(TBmpImage()); }

#ifdef _WIN32
HBITMAP TSkinImage::Handle() const {
    if (!FHandle && !Empty()) FHandle = CreateBitmapFromImage(FImage);
    return static_cast<HBITMAP>(FHandle);
}

void TSkinImage::FreeHandle() noexcept {
    if (FHandle) DeleteObject(static_cast<HBITMAP>(FHandle));
    FHandle = nullptr;
}
#else
void TSkinImage::FreeHandle() noexcept { FHandle = nullptr; }
#endif

TDataSkinObject::TDataSkinObject(const std::string& name) : Name(name) {}

TDataSkinObject::~TDataSkinObject() = default;
