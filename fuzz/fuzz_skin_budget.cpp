// Fuzzes loading a whole skin under the memory budget the program keeps to:
// a compressed container is read and its model built, and however the
// container lies about its sizes (run-length coded images that claim
// thousands of pixels a side, 1001 entries naming the same image, a decoded
// size far above what it holds), no image beyond the per-image limit may
// reach the model and the images handed out together stay within the total.
#include <cstddef>
#include <cstdint>

#include <string>

#include "skin/data/quick_ini.h"
#include "skin/data/skin_model_core.h"
#include "skin/data/skin_reader.h"

namespace {

// The build's drawing needs, answered without drawing.
class TFuzzComposer : public TSkinComposer {
public:
    int ScrollArrowWidth() override { return 16; }
    TSkinColour ResolveColour(TSkinColour colour) override { return colour & 0xFFFFFF; }
    TBmpImage ComposeComboStrip(const TDataSkinObject&, const TDataSkinObject&, const TDataSkinObject*,
                                int) override { return TBmpImage(); }
    TBmpImage Gradient(int, int, TSkinColour, TSkinColour) override { return TBmpImage(); }
    TSkinColour Blend(TSkinColour colour1, TSkinColour, int) override { return colour1; }
    int Saturation(TSkinColour) override { return 0; }
};

constexpr std::uint64_t MAX_IMAGE = 1u << 18;
constexpr std::uint64_t MAX_TOTAL = 1u << 20;

void CheckImage(const TSkinImage& image) {
    if (static_cast<std::uint64_t>(image.Width()) * static_cast<std::uint64_t>(image.Height()) > MAX_IMAGE)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TSkinReader reader;
    TSkinBudget budget;
    budget.MaxContainerBytes = 4u << 20;
    budget.MaxImagePixels = MAX_IMAGE;
    budget.MaxTotalPixels = MAX_TOTAL;
    reader.SetBudget(budget);
    if (!reader.Load(data, size)) return 0;
    if (reader.Data().size() > budget.MaxContainerBytes) __builtin_trap();
    std::string text;
    reader.GetDescription(text);
    TQuickIni ini;
    ini.LoadFromBuffer(text.data(), text.size());
    TSkinModel model;
    TFuzzComposer composer;
    BuildSkinModel(model, ini, reader, composer);
    if (reader.PixelsHandedOut() > MAX_TOTAL) __builtin_trap();
    for (const auto& border : model.Borders) CheckImage(border->Bitmap);
    for (const auto& section : model.Sections)
        if (section) CheckImage(section->Bitmap);
    for (const auto& button : model.CaptionButtons) CheckImage(button->Bitmap);
    return 0;
}
