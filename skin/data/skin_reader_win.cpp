// The Windows side of the skin container reader (see skin_reader_win.h).
#include "skin/data/skin_reader_win.h"

#include <cstring>
#include <vector>

#include "framework/graphics.h"
#include "framework/streams.h"

bool LoadSkinContainer(TSkinReader& reader, const std::uint8_t* data, std::size_t size,
                       const std::string& caption) {
    if (reader.Load(data, size)) return true;
    if (reader.LastResult() == TSkinLoadResult::UnknownVersion)
        MessageBoxA(GetActiveWindow(), SKIN_MSG_OLDER_SKIN, caption.c_str(), MB_OK);
    return false;
}

bool LoadSkinContainer(TSkinReader& reader, TMemoryStream& compressed, const std::string& caption) {
    return LoadSkinContainer(reader, static_cast<const std::uint8_t*>(compressed.Memory()),
                             static_cast<std::size_t>(compressed.Size()), caption);
}

HBITMAP CreateBitmapFromImage(const TBmpImage& image) {
    if (image.Width <= 0 || image.Height <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.Width;
    info.bmiHeader.biHeight = image.Height;   // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    const std::size_t stride = ((static_cast<std::size_t>(image.Width) * 24 + 31) / 32) * 4;
    for (int y = 0; y < image.Height; ++y) {
        auto* line = static_cast<std::uint8_t*>(bits) + static_cast<std::size_t>(image.Height - 1 - y) * stride;
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t c = image.Pixel(x, y);
            line[3 * x] = static_cast<std::uint8_t>(c);
            line[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            line[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    GdiFlush();
    return bitmap;
}

bool LoadSkinBitmap(const TSkinReader& reader, const std::string& value, TBitmap& bitmap) {
    std::vector<std::uint8_t> file;
    TBmpImage image;
    HBITMAP handle = nullptr;
    if (reader.GetBitmapFile(value, file) && ParseBmp(file.data(), file.size(), image))
        handle = CreateBitmapFromImage(image);
    bitmap.SetHandle(handle);
    return handle != nullptr;
}
