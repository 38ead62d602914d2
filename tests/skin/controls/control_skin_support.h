// Helpers for the control skinner tests: a skinned form with controls on it,
// waiting for skinning to start and stop, reading a control's pixels back
// and drawing what a skin frame should look like.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../../app/window_capture.h"
#include "../form/form_skin_support.h"
#include "framework/display_scale.h"
#include "framework/gdi_handles.h"
#include "skin/controls/control_discovery.h"
#include "skin/controls/skin_control.h"
#include "skin/data/image_utils.h"

namespace controltest {

// The skin as the tests' windows draw it: at the display's scale (their
// windows never change monitor).
inline const TSkinModel& ScaledSkin(const TSkinData* skin) { return skin->ModelFor(WindowDpi(nullptr)); }

using namespace formtest;

// A window's pixels (0x00RRGGBB, top row first), read from its window DC.
using TPixelsOf = TCapture;

inline bool SamePixels(const TPixelsOf& a, const TPixelsOf& b)
{
    if (a.Width != b.Width || a.Height != b.Height) return false;
    for (size_t i = 0; i < a.Pixels.size(); ++i)
        if ((a.Pixels[i] & 0xFFFFFF) != (b.Pixels[i] & 0xFFFFFF)) return false;
    return true;
}

// A COLORREF in the pixel order of TPixelsOf (0x00RRGGBB).
inline std::uint32_t Dib(COLORREF colour)
{
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// Reads `window` (frame included) after letting it paint.
inline TPixelsOf ReadWindow(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    return CaptureWindow(window);
}

// The pixels of `rect` (client coordinates) of `window` as it shows them now.
inline TPixelsOf WindowPart(HWND window, const RECT& rect)
{
    const TPixelsOf all = ReadWindow(window);
    TPixelsOf part;
    part.Width = rect.right - rect.left;
    part.Height = rect.bottom - rect.top;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) part.Pixels.push_back(all.At(x, y));
    return part;
}

// A column of a window's pixels: x = `rect`.left + `dx`, from its top to its
// bottom (0x00RRGGBB).
inline std::vector<std::uint32_t> WindowColumn(HWND window, const RECT& rect, int dx)
{
    const TPixelsOf now = ReadWindow(window);
    std::vector<std::uint32_t> column;
    for (int y = rect.top; y < rect.bottom; ++y) column.push_back(now.At(rect.left + dx, y));
    return column;
}

// Column `x` of a top-down 32-bit DIB of `width` x `height` (0x00RRGGBB).
inline std::vector<std::uint32_t> DibColumn(const void* bits, int width, int height, int x)
{
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> column;
    for (int y = 0; y < height; ++y) column.push_back(data[y * width + x] & 0xFFFFFF);
    return column;
}

// What frame `index` of the skin's "Buttons" strip looks like at
// width x height over the face colour, in the skin at `dpi` (0: the
// display's).
inline TPixelsOf ExpectedButtonFrame(TSkinData* skin, int width, int height, int index, UINT dpi = 0)
{
    TPixelsOf expected;
    expected.Width = width;
    expected.Height = height;
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(width, height, 32, &bits);
    TMemoryDC memory(nullptr);
    TSelectObject selected(memory, bitmap);
    RECT rect{0, 0, width, height};
    TGdiBrush face(CreateSolidBrush(SkinColourRgb(skin, scButtonFace)));
    FillRect(memory, &rect, face);
    DrawObjectFrame(memory, rect, 5, index, (dpi ? skin->ModelFor(dpi) : ScaledSkin(skin)).Buttons.get());
    GdiFlush();
    const auto* data = static_cast<const std::uint32_t*>(bits);
    expected.Pixels.assign(data, data + static_cast<size_t>(width) * height);
    return expected;
}

// Whether the border band of `margin` pixels (where no caption is drawn)
// of `actual` is `expected`'s; `differences` counts the pixels that are not.
inline bool BorderMatches(const TPixelsOf& actual, const TPixelsOf& expected, int margin, int* differences = nullptr)
{
    if (actual.Width != expected.Width || actual.Height != expected.Height) return false;
    int wrong = 0;
    for (int y = 0; y < actual.Height; ++y)
        for (int x = 0; x < actual.Width; ++x) {
            const bool border = x < margin || y < margin || x >= actual.Width - margin || y >= actual.Height - margin;
            if (border && actual.At(x, y) != expected.At(x, y)) ++wrong;
        }
    if (differences) *differences = wrong;
    return wrong == 0;
}

// The skinner of a control or window on `form`, or null.
inline TSkinControl* SkinnerFor(TWinSkinForm* form, const TControl* control, HWND window = nullptr)
{
    if (!form) return nullptr;
    for (TSkinControl* skinner : form->ControlSkinners())
        if (skinner->Serves(window, control)) return skinner;
    return nullptr;
}

// Every test starts with the control skinning installed and no manager.
class ControlSkinTest : public SkinTest {
protected:
    void SetUp() override
    {
        RegisterControlSkinning();
        SkinTest::SetUp();
        // The pointer starts where no test form is: where an earlier program
        // left it, it would make a control hot.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    // A skinned main form; `build` puts controls on it before it is shown.
    // The form keeps the pixels the test gives its controls at every display
    // scale unless `scaled` (the skin is still drawn at the window's scale):
    // the tests place and read controls in those pixels.
    template <class F>
    TForm* SkinnedForm(F build, bool active = true, bool scaled = false)
    {
        TForm* form = new TForm(nullptr);
        form->SetScaled(scaled);
        form->SetBounds(100, 80, 520, 360);
        form->SetCaption("Ravelbook");
        FSkin = new TSkinData(form);
        FSkin->BeginLoading();
        TMemoryStream stream;
        const skintest::TBytes bytes = skintest::StoredSkinBytes();
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        ConfigureStoredSkin(*FSkin, stream);
        if (!active) FSkin->SetActive(false);
        build(form);
        form->FinishCreation();
        Keep(form);
        form->Show();
        if (active) WaitSkinned(form);
        else Pump(50);
        return form;
    }
    bool WaitSkinned(TForm* form)
    {
        return PumpUntil([&] {
            TWinSkinForm* skinner = SkinnerOf(form->Handle());
            return skinner && skinner->SkinState() == fssSkinned;
        });
    }
    bool WaitUnskinned(TForm* form)
    {
        return PumpUntil([&] { return SkinnerOf(form->Handle()) == nullptr; }) && (Pump(30), true);
    }
    TSkinData* FSkin = nullptr;
};

}  // namespace controltest
