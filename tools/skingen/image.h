// An RGB pixel buffer for the skin generator, and its encoding as a Windows
// BMP file (24 bits per pixel, bottom-up rows, no compression), the form the
// program's skin loader reads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

struct TRgb {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;

  friend bool operator==(const TRgb&, const TRgb&) = default;
};

constexpr TRgb Grey(int level) {
  return TRgb{uint8_t(level), uint8_t(level), uint8_t(level)};
}

// The colour key of every skin bitmap: pixels of exactly this colour are
// not drawn by the program (and are cut out of window regions).
constexpr TRgb MAGENTA{255, 0, 255};

// Mixes `over` onto `under`; alpha 0 keeps `under`, 255 gives `over`.
// Rounds to nearest so that repeated runs give identical bytes.
TRgb Mix(TRgb under, TRgb over, int alpha);

// Linear interpolation between two colours, step `i` of `n` (i in 0..n).
TRgb Lerp(TRgb from, TRgb to, int i, int n);

// A rectangular pixel buffer. Invariant: Pixels.size() == Width * Height,
// row 0 is the top row. Writes outside the buffer are ignored, so drawing
// code may clip against the image edges without checks of its own.
class TImage {
public:
  TImage(int width, int height, TRgb fill = MAGENTA);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  TRgb Get(int x, int y) const;
  void Set(int x, int y, TRgb c);
  // Mixes `c` onto the pixel with the given alpha (0..255).
  void Blend(int x, int y, TRgb c, int alpha);

  // Copies `src` with its top-left corner at (x, y).
  void Paste(const TImage& src, int x, int y);

  // The whole file: BITMAPFILEHEADER, BITMAPINFOHEADER, bottom-up rows of
  // B, G, R bytes padded to a multiple of four bytes.
  std::vector<uint8_t> EncodeBmp() const;

private:
  int FWidth;
  int FHeight;
  std::vector<TRgb> FPixels;
};

// Writes the image as a BMP file; false when the file cannot be written.
bool SaveBmp(const TImage& image, const std::string& path);

}  // namespace skingen
