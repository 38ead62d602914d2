// Whole windows read back from their window DC, frame included, and saved
// as PNG files in the build's screenshots folder for people to look at.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cctype>
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

// build/screenshots/ of the source tree, as Wine reaches it; at a display
// scale other than 96 pixels an inch its subfolder dpi<N>/ (dpi144/), so that
// the pictures of each scale lie side by side.
inline std::string ScreenshotFolder()
{
    std::string folder = RAVELBOOK_SOURCE_DIR "/build/screenshots/";
    if (folder[0] == '/') folder = "Z:" + folder;
    CreateDirectoryA(folder.c_str(), nullptr);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpi != 96 && dpi > 0) {
        folder += "dpi" + std::to_string(dpi) + "/";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return folder;
}

namespace capturedetail {

inline std::uint32_t Crc32(const unsigned char* data, size_t size, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void PutBig32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

inline void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBig32(out, Crc32(reinterpret_cast<const unsigned char*>(body.data()), body.size()));
}

}  // namespace capturedetail

// Saves `capture` as a PNG file (24-bit colour, the image data in stored
// deflate blocks: no compression library is needed, and the README's
// script makes small copies). Every picture the tests save is a PNG.
inline bool SavePng(const TCapture& capture, const std::string& path)
{
    using namespace capturedetail;
    std::string raw;
    raw.reserve(static_cast<size_t>(capture.Height) * (1 + 3 * static_cast<size_t>(capture.Width)));
    for (int y = 0; y < capture.Height; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < capture.Width; ++x) {
            const std::uint32_t pixel = capture.At(x, y);
            raw += static_cast<char>((pixel >> 16) & 0xFF);
            raw += static_cast<char>((pixel >> 8) & 0xFF);
            raw += static_cast<char>(pixel & 0xFF);
        }
    }
    std::string z = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        const bool last = at + n >= raw.size();
        z += static_cast<char>(last ? 1 : 0);
        z += static_cast<char>(n & 0xFF);
        z += static_cast<char>(n >> 8);
        z += static_cast<char>(~n & 0xFF);
        z += static_cast<char>((~n >> 8) & 0xFF);
        z.append(raw, at, n);
        if (last) break;
    }
    PutBig32(z, (b << 16) | a);
    std::string header;
    PutBig32(header, static_cast<std::uint32_t>(capture.Width));
    PutBig32(header, static_cast<std::uint32_t>(capture.Height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    std::string file = "\x89PNG\r\n\x1a\n";
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", z);
    PutChunk(file, "IEND", std::string());
    std::ofstream out(path, std::ios::binary);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    return out.good();
}

// A screenshot's file name made plain: lower-case letters, digits and single
// underscores ("Check boxes, radio buttons" becomes "check_boxes_radio_buttons").
inline std::string PlainPictureName(const std::string& text)
{
    std::string name;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) && u < 0x80)
            name += static_cast<char>(std::tolower(u));
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name;
}

// Older callers name a ".bmp" file: the picture is saved as PNG beside it,
// under the same name with ".png", so every screenshot has one format.
inline bool SaveBmp(const TCapture& capture, const std::string& path)
{
    std::string png = path;
    const size_t dot = png.rfind('.');
    if (dot != std::string::npos && png.find_first_of("/\\", dot) == std::string::npos) png.erase(dot);
    return SavePng(capture, png + ".png");
}
