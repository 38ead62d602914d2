// skintool inspect: prints the skin model that the program builds from a
// skin, one object per line in a stable format: image size, frames, margins,
// flags and colours of every object, the caption buttons and the colour
// tables. Images that the program draws while it builds the model (the combo
// box composite and the toolbar gradient) are only given their sizes here.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin/data/quick_ini.h"
#include "skin/data/skin_model_core.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_scale.h"
#include "skin_files.h"

namespace {

// The classic look's system colours, for resolving symbolic colours
// without a running system.
constexpr TSkinColour CLASSIC_SYSTEM_COLOURS[] = {
    SkinRgb(212, 208, 200), SkinRgb(58, 110, 165), SkinRgb(10, 36, 106), SkinRgb(128, 128, 128),
    SkinRgb(212, 208, 200), SkinRgb(255, 255, 255), SkinRgb(0, 0, 0), SkinRgb(0, 0, 0),
    SkinRgb(0, 0, 0), SkinRgb(255, 255, 255), SkinRgb(212, 208, 200), SkinRgb(212, 208, 200),
    SkinRgb(128, 128, 128), SkinRgb(10, 36, 106), SkinRgb(255, 255, 255), SkinRgb(212, 208, 200),
    SkinRgb(128, 128, 128), SkinRgb(128, 128, 128), SkinRgb(0, 0, 0), SkinRgb(212, 208, 200),
    SkinRgb(255, 255, 255), SkinRgb(64, 64, 64), SkinRgb(212, 208, 200), SkinRgb(0, 0, 0),
    SkinRgb(255, 255, 225),
};

// Answers without a display: a fixed arrow width, the classic colours, and
// drawn images of the right size filled with magenta.
class THostComposer : public TSkinComposer {
public:
    explicit THostComposer(int arrowWidth) : FArrowWidth(arrowWidth) {}

    int ScrollArrowWidth() override { return FArrowWidth; }

    TSkinColour ResolveColour(TSkinColour colour) override {
        if (!IsSkinSystemColour(colour)) return colour & 0xFFFFFF;
        const unsigned index = colour & 0xFF;
        return index < std::size(CLASSIC_SYSTEM_COLOURS) ? CLASSIC_SYSTEM_COLOURS[index] : 0;
    }

    TBmpImage ComposeComboStrip(const TDataSkinObject& sunkEdge, const TDataSkinObject&, const TDataSkinObject*,
                                int) override {
        return Blank(50 * std::max(sunkEdge.Frame, 1), 21);
    }

    TBmpImage Gradient(int width, int height, TSkinColour, TSkinColour) override { return Blank(width, height); }

    TSkinColour Blend(TSkinColour colour1, TSkinColour colour2, int weight) override {
        const TSkinColour a = ResolveColour(colour1), b = ResolveColour(colour2);
        const int d = weight < 100 ? 100 : 1000;
        TSkinColour result = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int c = (static_cast<int>(a >> shift & 0xFF) * weight +
                           static_cast<int>(b >> shift & 0xFF) * (d - weight) + d / 2) / d;
            result |= static_cast<TSkinColour>(std::clamp(c, 0, 255)) << shift;
        }
        return result;
    }

    int Saturation(TSkinColour colour) override {
        const TSkinColour c = ResolveColour(colour);
        const int r = c & 0xFF, g = c >> 8 & 0xFF, b = c >> 16 & 0xFF;
        const int high = std::max({r, g, b}), low = std::min({r, g, b});
        if (high <= 159) return 200;
        return static_cast<int>(std::nearbyint(255.0 * (high - low) / high));
    }

private:
    static TBmpImage Blank(int width, int height) {
        TBmpImage image;
        image.Width = width;
        image.Height = height;
        image.BitCount = 24;
        image.Pixels.assign(static_cast<std::size_t>(width) * height, 0xFF00FF);
        return image;
    }

    int FArrowWidth;
};

std::string Colour(TSkinColour c) {
    if (IsSkinSystemColour(c)) return "system:" + std::to_string(c & 0xFF);
    if (c == SKIN_NO_COLOUR) return "none";
    return std::to_string(c & 0xFF) + " " + std::to_string(c >> 8 & 0xFF) + " " + std::to_string(c >> 16 & 0xFF);
}

// The image's size, and the pictures the skin ships for other scales.
std::string Image(const TSkinImage& image) {
    if (image.Empty()) return "none";
    std::string text = std::to_string(image.Width()) + "x" + std::to_string(image.Height());
    const char* separator = " (";
    for (const auto& variant : image.Variants()) {
        text += separator + std::string("at ") + std::to_string(variant.Dpi) + " " + std::to_string(variant.Image.Width) +
                "x" + std::to_string(variant.Image.Height);
        separator = ", ";
    }
    if (!image.Variants().empty()) text += ")";
    return text;
}

// The fields every object has.
std::string Common(const TDataSkinObject& o) {
    char margins[64];
    std::snprintf(margins, sizeof(margins), "%d,%d,%d,%d", o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight);
    return "image " + Image(o.Bitmap) + " frames " + std::to_string(o.Frame) + " margins " + margins + " tile " +
           std::to_string(o.Tile) + " trans " + std::to_string(o.Trans) + " style " + std::to_string(o.Style) +
           " colours " + std::to_string(o.NormalColour) + "," + std::to_string(o.MouseOverColour) + "," +
           std::to_string(o.PressedColour) + " text " + Colour(o.NormalColour2) + "/" + Colour(o.MouseOverColour2) +
           "/" + Colour(o.PressedColour2);
}

void PrintObject(const char* kind, const TDataSkinObject* o, const std::string& name) {
    if (!o) {
        std::printf("%s %s: absent\n", kind, name.c_str());
        return;
    }
    std::string extra;
    if (auto* border = dynamic_cast<const TDataSkinBorder*>(o)) extra += " image2 " + Image(border->Bitmap2);
    if (auto* label = dynamic_cast<const TDataSkinBoxLabel*>(o))
        extra += " background " + std::to_string(label->BackgroundLeftShift) + "," +
                 std::to_string(label->BackgroundRightShift) + " align " + std::to_string(label->BackgroundAlignment);
    if (auto* b = dynamic_cast<const TDataSkinButton*>(o))
        extra += " check " + Image(b->CheckBitmap) + "/" + std::to_string(b->CheckButtonFrame) + " radio " +
                 Image(b->RadioBitmap) + "/" + std::to_string(b->RadioButtonFrame) + " given " +
                 std::to_string(b->HasNormalColour2) + std::to_string(b->HasMouseOverColour2) +
                 std::to_string(b->HasPressedColour2);
    if (auto* t = dynamic_cast<const TDataSkinTitle*>(o))
        extra += " align " + std::to_string(t->TextAlignment) + " textbackground " +
                 std::to_string(t->Textbackground) + " fontheight " + std::to_string(t->FontHeight) + " back " +
                 std::to_string(t->TXTBackleft) + "," + std::to_string(t->TXTBackRight) + " active " +
                 Colour(t->ActiveTextColour) + " inactive " + Colour(t->InactiveTextColour);
    std::printf("%s %s: %s%s\n", kind, name.c_str(), Common(*o).c_str(), extra.c_str());
}

void PrintModel(const TSkinModel& model) {
    std::printf("skin %s\n", model.SkinName.c_str());
    for (int side = 0; side < SKIN_BORDER_COUNT; ++side)
        PrintObject("border", model.Border(static_cast<TSkinBorderSide>(side)),
                    SkinBorderName(static_cast<TSkinBorderSide>(side)));
    PrintObject("title", model.Title.get(), "Title");
    PrintObject("section", model.Buttons.get(), "Buttons");
    for (int s = 0; s < SKIN_SECTION_COUNT; ++s)
        PrintObject("section", model.Object(static_cast<TSkinSection>(s)), SkinSectionName(static_cast<TSkinSection>(s)));
    for (std::size_t i = 0; i < model.CaptionButtons.size(); ++i) {
        const TDataSkinSysButton& b = *model.CaptionButtons[i];
        std::printf("caption-button %zu %s: action %d align %d x %d y %d combine %d visibility %d/%d %s\n", i + 1,
                    b.Name.c_str(), b.Action, b.Align, b.Xcoord, b.Ycoord, b.CombineOp, b.Visibility, b.Visibility1,
                    Common(b).c_str());
    }
    for (int i = 0; i < SKIN_COLOUR_COUNT; ++i) {
        const char* key = SkinColourKey(i);
        std::printf("colour %d %s: %s%s\n", i, *key ? key : (i == scTopSample ? "(sampled)" : "(unused)"),
                    Colour(model.Colours[i]).c_str(), model.ColourGiven[i] ? " given" : "");
    }
    for (std::size_t i = 0; i < model.NumberedColours.size(); ++i)
        std::printf("numbered-colour %zu: %s\n", i, Colour(model.NumberedColours[i]).c_str());
    for (int i = 0; i < SKIN_CUSTOM_COLOUR_COUNT; ++i)
        std::printf("custom-colour %d: %s\n", i, Colour(model.CustomColours[i]).c_str());
}

}  // namespace

// skintool inspect <file> [--arrow N] [--dpi N]
int InspectCommand(const std::vector<std::string>& args) {
    std::string path;
    int arrow = 17;
    int dpi = SKIN_DESIGN_DPI;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--arrow" && i + 1 < args.size()) {
            arrow = std::atoi(args[++i].c_str());
        } else if (args[i] == "--dpi" && i + 1 < args.size()) {
            dpi = std::atoi(args[++i].c_str());
            if (dpi < 24 || dpi > SKIN_MAX_VARIANT_DPI) {
                std::fprintf(stderr, "skintool: --dpi takes a scale from 24 to %d pixels an inch\n", SKIN_MAX_VARIANT_DPI);
                return 2;
            }
        } else if (path.empty() && args[i].rfind("--", 0) != 0) {
            path = args[i];
        } else {
            std::fprintf(stderr, "usage: skintool inspect <file> [--arrow N] [--dpi N]\n");
            return 2;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: skintool inspect <file> [--arrow N] [--dpi N]\n");
        return 2;
    }

    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadWholeFile(path, bytes, error)) {
        std::fprintf(stderr, "skintool: %s\n", error.c_str());
        return 1;
    }
    const bool framed = IsFramedSkinStream(bytes.data(), bytes.size());
    TSkinReader reader;
    if (!reader.Load(bytes.data() + (framed ? 4 : 0), bytes.size() - (framed ? 4 : 0))) {
        std::fprintf(stderr, "skintool: %s: %s\n", path.c_str(), reader.LastError().c_str());
        return 1;
    }
    std::string text;
    reader.GetDescription(text);
    TQuickIni ini;
    ini.LoadFromBuffer(text.data(), text.size());
    TSkinModel model;
    THostComposer composer(arrow);
    BuildSkinModel(model, ini, reader, composer);
    if (dpi == SKIN_DESIGN_DPI) {
        PrintModel(model);
    } else {
        std::printf("scale %d\n", dpi);
        PrintModel(*ScaleSkinModel(model, dpi));
    }
    return 0;
}
