// A skin for the bar tests whose every frame is one solid colour, so a pixel
// read back names the frame that was drawn there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/streams.h"
#include "skin/data/skin_component.h"
#include "tests/skin/data/skin_model_support.h"

namespace bartest {

using skintest::Px;

// Frame k (from 1) of the 23-frame "Scrollbar" strip: red k * 10.
constexpr std::uint32_t ScrollFrame(int k) { return Px(k * 10, 1, 1); }
// Frames of the tracks: green k * 40; of the thumbs: blue k * 40.
constexpr std::uint32_t TrackFrame(int k) { return Px(1, k * 40, 1); }
constexpr std::uint32_t ThumbFrame(int k) { return Px(1, 1, k * 40); }
// Progress: empty 1, filled 2; up-down frames 1..8: red and green k * 20.
constexpr std::uint32_t ProgressFrame(int k) { return Px(k * 60, k * 60, 2); }
constexpr std::uint32_t UpDownFrameColour(int k) { return Px(k * 20, k * 20, 3); }
constexpr std::uint32_t FACE = Px(229, 229, 229);

// The colour as GetPixel reports it.
constexpr COLORREF Ref(std::uint32_t px) { return RGB(px >> 16 & 0xFF, px >> 8 & 0xFF, px & 0xFF); }

inline skintest::TTestSkin BarSkin()
{
    auto frames = [](int count, int width, int height, std::uint32_t (*colour)(int)) {
        std::vector<std::uint32_t> colours;
        for (int k = 1; k <= count; ++k) colours.push_back(colour(k));
        return skintest::SolidFrames(width, height, colours);
    };
    skintest::TTestSkin skin;
    skin.Ini =
        "[TitlebarSkin]\nSkinName=Bars\n"
        "[Colours]\nButtonFace=229 229 229\nButtonShadow=167 167 167\nButtonDkShadow=64 64 64\n"
        "[Scrollbar]\nImage=scroll.bmp\n"
        "[HorzScroll]\nImage=htrack.bmp\n"
        "[VertScroll]\nImage=vtrack.bmp\n"
        "[HorzScrollThumb]\nImage=hthumb.bmp\nFrameCount=3\n"
        "[VertScrollThumb]\nImage=vthumb.bmp\nFrameCount=3\n"
        "[Progress]\nBitmap=progress.bmp\n"
        "[UpDown.Vert]\nImage=updown.bmp\n";
    skin.Images = {
        {"scroll.bmp", frames(23, 16, 16, ScrollFrame)},
        {"htrack.bmp", frames(4, 10, 16, TrackFrame)},
        {"vtrack.bmp", frames(4, 16, 10, TrackFrame)},
        {"hthumb.bmp", frames(3, 10, 16, ThumbFrame)},
        {"vthumb.bmp", frames(3, 16, 10, ThumbFrame)},
        {"progress.bmp", frames(2, 10, 10, ProgressFrame)},
        {"updown.bmp", frames(8, 10, 10, UpDownFrameColour)},
    };
    return skin;
}

// Loads `skin` into `data` as the stored skin of a form.
inline bool LoadSkin(TSkinData& data, const skintest::TTestSkin& skin)
{
    const skintest::TBytes stored = skin.Stored();
    TMemoryStream in;
    in.WriteBuffer(stored.data(), static_cast<std::int64_t>(stored.size()));
    in.SetPosition(0);
    data.ReadSkinStream(in);
    return !data.NoSkin();
}

}  // namespace bartest
