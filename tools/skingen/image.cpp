// Pixel buffer and BMP encoding of the skin generator.
#include "image.h"

#include <fstream>

namespace skingen {

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}

uint8_t MixChannel(int under, int over, int alpha) {
  return uint8_t((under * (255 - alpha) + over * alpha + 127) / 255);
}

}  // namespace

TRgb Mix(TRgb under, TRgb over, int alpha) {
  if (alpha <= 0) return under;
  if (alpha >= 255) return over;
  return TRgb{MixChannel(under.R, over.R, alpha), MixChannel(under.G, over.G, alpha),
              MixChannel(under.B, over.B, alpha)};
}

TRgb Lerp(TRgb from, TRgb to, int i, int n) {
  if (n <= 0) return from;
  auto channel = [&](int a, int b) { return uint8_t((a * (n - i) + b * i + n / 2) / n); };
  return TRgb{channel(from.R, to.R), channel(from.G, to.G), channel(from.B, to.B)};
}

TImage::TImage(int width, int height, TRgb fill)
    : FWidth(width), FHeight(height), FPixels(size_t(width) * size_t(height), fill) {}

TRgb TImage::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return MAGENTA;
  return FPixels[size_t(y) * FWidth + x];
}

void TImage::Set(int x, int y, TRgb c) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[size_t(y) * FWidth + x] = c;
}

void TImage::Blend(int x, int y, TRgb c, int alpha) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  TRgb& p = FPixels[size_t(y) * FWidth + x];
  p = Mix(p, c, alpha);
}

void TImage::Paste(const TImage& src, int x, int y) {
  for (int sy = 0; sy < src.Height(); ++sy)
    for (int sx = 0; sx < src.Width(); ++sx) Set(x + sx, y + sy, src.Get(sx, sy));
}

std::vector<uint8_t> TImage::EncodeBmp() const {
  const uint32_t rowBytes = (uint32_t(FWidth) * 3 + 3) & ~3u;
  const uint32_t pixelBytes = rowBytes * uint32_t(FHeight);
  const uint32_t headerBytes = 14 + 40;

  std::vector<uint8_t> out;
  out.reserve(headerBytes + pixelBytes);
  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  PutU32(out, headerBytes + pixelBytes);
  PutU16(out, 0);
  PutU16(out, 0);
  PutU32(out, headerBytes);
  // BITMAPINFOHEADER: positive height = bottom-up rows.
  PutU32(out, 40);
  PutU32(out, uint32_t(FWidth));
  PutU32(out, uint32_t(FHeight));
  PutU16(out, 1);   // planes
  PutU16(out, 24);  // bits per pixel
  PutU32(out, 0);   // BI_RGB
  PutU32(out, pixelBytes);
  PutU32(out, 2835);  // 72 dpi, in pixels per metre
  PutU32(out, 2835);
  PutU32(out, 0);  // colours used
  PutU32(out, 0);  // important colours

  for (int y = FHeight - 1; y >= 0; --y) {
    for (int x = 0; x < FWidth; ++x) {
      const TRgb& p = FPixels[size_t(y) * FWidth + x];
      out.push_back(p.B);
      out.push_back(p.G);
      out.push_back(p.R);
    }
    for (uint32_t pad = uint32_t(FWidth) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

bool SaveBmp(const TImage& image, const std::string& path) {
  const std::vector<uint8_t> bytes = image.EncodeBmp();
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return bool(file);
}

}  // namespace skingen
