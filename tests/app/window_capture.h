// Whole windows read back from their window DC, frame included, and saved
// as BMP files in the build's screenshots folder for people to look at.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "framework/gdi_handles.h"
#include "skin/data/image_utils.h"

// A window's pixels as 0x00RRGGBB, top row first.
struct TCapture {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels;
    std::uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x] & 0xFFFFFF; }
    size_t DistinctColours() const
    {
        std::set<std::uint32_t> colours;
        for (std::uint32_t pixel : Pixels) colours.insert(pixel & 0xFFFFFF);
        return colours.size();
    }
    bool operator==(const TCapture&) const = default;
};

inline TCapture CaptureWindow(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    TCapture capture;
    capture.Width = r.right - r.left;
    capture.Height = r.bottom - r.top;
    void* bits = nullptr;
    TGdiBitmap bitmap = skin::MakeDibSection(capture.Width, capture.Height, 32, &bits);
    if (bitmap.IsNull()) return capture;
    HDC windowDc = GetWindowDC(window);
    {
        TMemoryDC memory(windowDc);
        TSelectObject selected(memory, bitmap);
        BitBlt(memory, 0, 0, capture.Width, capture.Height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* data = static_cast<const std::uint32_t*>(bits);
        capture.Pixels.assign(data, data + static_cast<size_t>(capture.Width) * capture.Height);
    }
    ReleaseDC(window, windowDc);
    return capture;
}

// build/screenshots/ of the source tree, as Wine reaches it.
inline std::string ScreenshotFolder()
{
    std::string folder = RAVELBOOK_SOURCE_DIR "/build/screenshots/";
    if (folder[0] == '/') folder = "Z:" + folder;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

inline bool SaveBmp(const TCapture& capture, const std::string& path)
{
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = capture.Width;
    header.biHeight = -capture.Height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + capture.Pixels.size() * 4);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    // GDI leaves the fourth byte 0; viewers read it as alpha, so it is made opaque.
    std::vector<std::uint32_t> opaque(capture.Pixels);
    for (std::uint32_t& pixel : opaque) pixel |= 0xFF000000u;
    out.write(reinterpret_cast<const char*>(opaque.data()), static_cast<std::streamsize>(opaque.size() * 4));
    return out.good();
}
