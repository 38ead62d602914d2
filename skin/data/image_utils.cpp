// Colour maths, the gradient fill with its table cache, and whole-bitmap
// transforms (see image_utils.h).
#include "skin/data/image_utils.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace skin {

namespace {

int Channel(COLORREF c, int shift)
{
    return static_cast<int>((c >> shift) & 0xFF);
}

// Swaps between COLORREF (0x00BBGGRR) and DIB pixel (0x00RRGGBB) order.
std::uint32_t SwapRedBlue(std::uint32_t c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

BITMAPINFO TopDownInfo(int width, int height, int bitsPerPixel)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

int BitsPerPixel(HBITMAP bitmap)
{
    BITMAP bm{};
    if (!bitmap || GetObjectW(bitmap, sizeof(bm), &bm) != sizeof(bm))
        return 0;
    return bm.bmBitsPixel;
}

// Replaces `bitmap` by `pixels` written at `bitsPerPixel`.
bool Assign(TGdiBitmap& bitmap, const TPixels& pixels, int bitsPerPixel)
{
    TGdiBitmap result = MakeBitmap(pixels, bitsPerPixel);
    if (result.IsNull())
        return false;
    bitmap = std::move(result);
    return true;
}

template <typename TTransform>
bool Transform(TGdiBitmap& bitmap, int bitsPerPixel, TTransform transform)
{
    TPixels pixels;
    if (!ReadPixels(bitmap, pixels))
        return false;
    return Assign(bitmap, transform(pixels), bitsPerPixel);
}

// 32-bit sources stay 32-bit; everything else is written as 24-bit.
int KeptFormat(HBITMAP bitmap)
{
    return BitsPerPixel(bitmap) == 32 ? 32 : 24;
}

}  // namespace

COLORREF ResolveColour(COLORREF colour)
{
    if (IsSystemColour(colour))
        return GetSysColor(static_cast<int>(colour & 0xFF)) & 0x00FFFFFF;
    return colour & 0x00FFFFFF;
}

COLORREF BlendColours(COLORREF colour1, COLORREF colour2, int weight)
{
    const COLORREF c1 = ResolveColour(colour1), c2 = ResolveColour(colour2);
    const int d = weight < 100 ? 100 : 1000;
    COLORREF result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int mixed = (Channel(c1, shift) * weight + Channel(c2, shift) * (d - weight) + d / 2) / d;
        result |= static_cast<COLORREF>(std::clamp(mixed, 0, 255)) << shift;
    }
    return result;
}

int Saturation(COLORREF colour)
{
    const COLORREF c = ResolveColour(colour);
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    const int high = std::max({r, g, b}), low = std::min({r, g, b});
    if (high <= 159)
        return 200;
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<int>(std::nearbyint(255.0 * (high - low) / high));
}

std::vector<COLORREF> GradientColours(int count, COLORREF from, COLORREF to)
{
    std::vector<COLORREF> table;
    if (count <= 0)
        return table;
    table.resize(static_cast<size_t>(count));
    const int c = count - 1;
    for (int i = 0; i < count; ++i) {
        COLORREF entry = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int start = Channel(from, shift);
            const int delta = Channel(to, shift) - start;
            const int value = c == 0 ? start + delta / 2 : start + (c / 2 + i * delta) / c;
            entry |= static_cast<COLORREF>(value) << shift;
        }
        table[static_cast<size_t>(i)] = entry;
    }
    return table;
}

const std::vector<COLORREF>& TGradientCache::Lookup(int count, COLORREF from, COLORREF to)
{
    for (int k = 0; k < SLOTS; ++k) {
        const auto& table = FTables[static_cast<size_t>((FNext - 1 - k + 2 * SLOTS) % SLOTS)];
        if (static_cast<int>(table.size()) == count && table.front() == from && table.back() == to) {
            ++FHits;
            return table;
        }
    }
    auto& slot = FTables[static_cast<size_t>(FNext)];
    slot = GradientColours(count, from, to);
    FNext = (FNext + 1) % SLOTS;
    return slot;
}

void GradientFill(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical)
{
    if (!dc || !RectVisible(dc, &rect))
        return;
    from = ResolveColour(from);
    to = ResolveColour(to);

    const int n = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (n <= 0)
        return;
    RECT clip{};
    if (GetClipBox(dc, &clip) == ERROR)
        clip = rect;
    const int rectStart = vertical ? rect.top : rect.left;
    const int clipStart = vertical ? clip.top : clip.left;
    const int clipEnd = vertical ? clip.bottom : clip.right;
    const int first = rectStart < clipStart ? clipStart - rectStart : 0;
    const int last = clipEnd < rectStart + n ? clipEnd - rectStart - 1 : n - 1;
    if (first > last)
        return;

    static std::mutex cacheLock;
    static TGradientCache cache;
    std::vector<COLORREF> table;
    {
        std::lock_guard<std::mutex> guard(cacheLock);
        const auto& cached = cache.Lookup(n, from, to);
        table.assign(cached.begin() + first, cached.begin() + last + 1);
    }

    TGdiBrush brush;
    COLORREF brushColour = CLR_INVALID;
    for (int i = first; i <= last; ++i) {
        const COLORREF colour = table[static_cast<size_t>(i - first)];
        if (colour != brushColour) {
            brush.Reset(CreateSolidBrush(colour));
            brushColour = colour;
        }
        const RECT line = vertical ? RECT{rect.left, rect.top + i, rect.right, rect.top + i + 1}
                                   : RECT{rect.left + i, rect.top, rect.left + i + 1, rect.bottom};
        FillRect(dc, &line, brush);
    }
}

bool ReadPixels(HBITMAP bitmap, TPixels& pixels)
{
    pixels = TPixels{};
    BITMAP bm{};
    if (!bitmap || GetObjectW(bitmap, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    TPixels read;
    read.Width = bm.bmWidth;
    read.Height = bm.bmHeight;
    read.Data.resize(static_cast<size_t>(read.Width) * read.Height);
    BITMAPINFO info = TopDownInfo(read.Width, read.Height, 32);
    // Any DC serves for the colours of DIB_RGB_COLORS; a memory DC costs no
    // request to the window server, as one of the screen does.
    TMemoryDC screen(nullptr);
    if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(read.Height), read.Data.data(), &info, DIB_RGB_COLORS) !=
        read.Height)
        return false;
    pixels = std::move(read);
    return true;
}

TGdiBitmap MakeDibSection(int width, int height, int bitsPerPixel, void** bits)
{
    void* first = nullptr;
    TGdiBitmap result;
    if (width > 0 && height > 0) {
        BITMAPINFO info = TopDownInfo(width, height, bitsPerPixel);
        result.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &first, nullptr, 0));
        if (!first)
            result.Reset();
    }
    if (bits)
        *bits = result.IsNull() ? nullptr : first;
    return result;
}

TGdiBitmap MakeBitmap(const TPixels& pixels, int bitsPerPixel)
{
    if (pixels.Width <= 0 || pixels.Height <= 0 ||
        pixels.Data.size() != static_cast<size_t>(pixels.Width) * pixels.Height)
        return TGdiBitmap();
    if (bitsPerPixel != 32)
        bitsPerPixel = 24;
    void* bits = nullptr;
    TGdiBitmap result = MakeDibSection(pixels.Width, pixels.Height, bitsPerPixel, &bits);
    if (result.IsNull())
        return TGdiBitmap();
    auto* out = static_cast<std::uint8_t*>(bits);
    if (bitsPerPixel == 32) {
        std::copy(pixels.Data.begin(), pixels.Data.end(), reinterpret_cast<std::uint32_t*>(out));
    } else {
        const size_t stride = (static_cast<size_t>(pixels.Width) * 3 + 3) & ~size_t(3);
        for (int y = 0; y < pixels.Height; ++y) {
            std::uint8_t* row = out + stride * static_cast<size_t>(y);
            for (int x = 0; x < pixels.Width; ++x) {
                const std::uint32_t p = pixels.At(x, y);
                row[3 * x + 0] = static_cast<std::uint8_t>(p);
                row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
                row[3 * x + 2] = static_cast<std::uint8_t>(p >> 16);
            }
        }
    }
    GdiFlush();
    return result;
}

TGdiBitmap CopyBitmap(HBITMAP bitmap, int bitsPerPixel)
{
    TPixels pixels;
    if (!ReadPixels(bitmap, pixels))
        return TGdiBitmap();
    return MakeBitmap(pixels, bitsPerPixel);
}

TPixels MirroredPixels(const TPixels& source)
{
    TPixels out = source;
    for (int y = 0; y < source.Height; ++y)
        for (int x = 0; x < source.Width; ++x)
            out.At(x, y) = source.At(source.Width - 1 - x, y);
    return out;
}

TPixels FlippedPixels(const TPixels& source)
{
    TPixels out = source;
    for (int y = 0; y < source.Height; ++y)
        for (int x = 0; x < source.Width; ++x)
            out.At(x, y) = source.At(x, source.Height - 1 - y);
    return out;
}

TPixels RotatedLeftPixels(const TPixels& source)
{
    TPixels out;
    out.Width = source.Height;
    out.Height = source.Width;
    out.Data.resize(source.Data.size());
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x)
            out.At(x, y) = source.At(source.Width - 1 - y, x);
    return out;
}

TPixels RotatedRightPixels(const TPixels& source)
{
    TPixels out;
    out.Width = source.Height;
    out.Height = source.Width;
    out.Data.resize(source.Data.size());
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x)
            out.At(x, y) = source.At(y, source.Height - 1 - x);
    return out;
}

bool ReplaceColour(TGdiBitmap& bitmap, COLORREF colour)
{
    const std::uint32_t key = SwapRedBlue(TRANSPARENT_COLOUR);
    const std::uint32_t replacement = SwapRedBlue(ResolveColour(colour));
    return Transform(bitmap, 24, [&](TPixels pixels) {
        for (auto& p : pixels.Data)
            if ((p & 0x00FFFFFF) == key)
                p = replacement;
        return pixels;
    });
}

bool MirrorHorizontal(TGdiBitmap& bitmap)
{
    return Transform(bitmap, KeptFormat(bitmap), MirroredPixels);
}

bool FlipVertical(TGdiBitmap& bitmap)
{
    return Transform(bitmap, KeptFormat(bitmap), FlippedPixels);
}

bool RotateLeft(TGdiBitmap& bitmap)
{
    return Transform(bitmap, 24, RotatedLeftPixels);
}

bool RotateRight(TGdiBitmap& bitmap)
{
    return Transform(bitmap, 24, RotatedRightPixels);
}

}  // namespace skin
