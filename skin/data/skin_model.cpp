// The skin model on Windows (see skin_model.h).
#include "skin/data/skin_model.h"

#include <algorithm>

#include "framework/display_scale.h"
#include "framework/gdi_handles.h"
#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"

namespace {

// A 32-bit DIB section selected into its own memory DC, for composing.
class TComposeSurface {
public:
    TComposeSurface(int width, int height, COLORREF fill) : FWidth(width), FHeight(height)
    {
        FBitmap = skin::MakeDibSection(width, height, 32);
        if (FDC.IsNull() || FBitmap.IsNull()) return;
        FOld = SelectObject(FDC, FBitmap);
        RECT all{0, 0, width, height};
        Fill(all, fill);
    }
    TComposeSurface(const TComposeSurface&) = delete;
    TComposeSurface& operator=(const TComposeSurface&) = delete;
    ~TComposeSurface()
    {
        if (FOld) SelectObject(FDC, FOld);
    }

    bool Ok() const { return FOld != nullptr; }
    HDC DC() const { return FDC; }

    void Fill(const RECT& rect, COLORREF colour)
    {
        TGdiBrush brush(CreateSolidBrush(colour));
        FillRect(FDC, &rect, brush);
    }

    // The pixels as a skin image (0x00RRGGBB, top row first).
    TBmpImage Image()
    {
        TBmpImage image;
        if (!Ok()) return image;
        GdiFlush();
        SelectObject(FDC, FOld);   // ReadPixels wants the bitmap out of every DC
        skin::TPixels pixels;
        const bool read = skin::ReadPixels(FBitmap, pixels);
        FOld = SelectObject(FDC, FBitmap);
        if (!read) return image;
        image.Width = pixels.Width;
        image.Height = pixels.Height;
        image.BitCount = 24;
        image.Pixels.reserve(pixels.Data.size());
        for (std::uint32_t p : pixels.Data) image.Pixels.push_back(p & 0xFFFFFF);
        return image;
    }

private:
    int FWidth;
    int FHeight;
    TMemoryDC FDC;
    TGdiBitmap FBitmap;
    HGDIOBJ FOld = nullptr;
};

constexpr int COMBO_CELL_WIDTH = 50;
constexpr int COMBO_CELL_HEIGHT = 21;

}  // namespace

RECT SkinMargins(const TDataSkinObject& object)
{
    return RECT{object.LeftWidth, object.TopHeight, object.RightWidth, object.BottomHeight};
}

// The loaded model is the skin's 96-pixel design (a scaled copy is made per
// display scale), so the combo box composite is built for the arrow width
// at 96, not the system's scaled one (which the scaled copy would scale a
// second time).
int TGdiSkinComposer::ScrollArrowWidth() { return UnscaleFromDpi(GetSystemMetrics(SM_CXHSCROLL), SystemDpi()); }

TSkinColour TGdiSkinComposer::ResolveColour(TSkinColour colour) { return skin::ResolveColour(colour); }

TSkinColour TGdiSkinComposer::Blend(TSkinColour colour1, TSkinColour colour2, int weight)
{
    return skin::BlendColours(colour1, colour2, weight);
}

int TGdiSkinComposer::Saturation(TSkinColour colour) { return skin::Saturation(skin::ResolveColour(colour)); }

TBmpImage TGdiSkinComposer::ComposeComboStrip(const TDataSkinObject& sunkEdge, const TDataSkinObject& comboButton,
                                              const TDataSkinObject* extraImages, int buttonWidth)
{
    const int frames = std::max(sunkEdge.Frame, 1);
    TComposeSurface strip(COMBO_CELL_WIDTH * frames, COMBO_CELL_HEIGHT, skin::TRANSPARENT_COLOUR);
    if (!strip.Ok()) return TBmpImage();
    const RECT cellRect{0, 0, COMBO_CELL_WIDTH, COMBO_CELL_HEIGHT};
    const RECT buttonRect{COMBO_CELL_WIDTH - buttonWidth, 0, COMBO_CELL_WIDTH, COMBO_CELL_HEIGHT};
    const RECT editRect{2, 2, COMBO_CELL_WIDTH - 1 - buttonWidth, 18};
    for (int k = 1; k <= frames; ++k) {
        TComposeSurface cell(COMBO_CELL_WIDTH, COMBO_CELL_HEIGHT, skin::TRANSPARENT_COLOUR);
        if (!cell.Ok()) return TBmpImage();
        skin::DrawFrameBitmap(cell.DC(), cellRect, sunkEdge.Bitmap.Handle(), SkinMargins(sunkEdge), k, sunkEdge.Frame,
                              sunkEdge.Trans != 0, false, false);
        skin::DrawFrameBitmap(cell.DC(), buttonRect, comboButton.Bitmap.Handle(), SkinMargins(comboButton), k,
                              comboButton.Frame, true, false, false);
        if (extraImages)
            skin::DrawFrameCentred(cell.DC(), buttonRect, extraImages->Bitmap.Handle(), k, extraImages->Frame, true);
        cell.Fill(editRect, skin::TRANSPARENT_COLOUR);
        BitBlt(strip.DC(), COMBO_CELL_WIDTH * (k - 1), 0, COMBO_CELL_WIDTH, COMBO_CELL_HEIGHT, cell.DC(), 0, 0,
               SRCCOPY);
    }
    return strip.Image();
}

TBmpImage TGdiSkinComposer::Gradient(int width, int height, TSkinColour from, TSkinColour to)
{
    TComposeSurface surface(width, height, skin::ResolveColour(from));
    if (!surface.Ok()) return TBmpImage();
    skin::GradientFill(surface.DC(), RECT{0, 0, width, height}, from, to, true);
    return surface.Image();
}

void BuildSkinModelFromReader(TSkinModel& model, const TSkinReader& reader)
{
    std::string text;
    reader.GetDescription(text);
    TQuickIni ini;
    ini.LoadFromBuffer(text.data(), text.size());
    TGdiSkinComposer composer;
    BuildSkinModel(model, ini, reader, composer);
}
