// skingen: draws every bitmap of Ravelbook's skin into a folder.
//
//   skingen <outdir> [ravelbook|paper|dusk]
//   skingen --media-player <outdir>
//
// Writes one 24-bit BMP file per image of the named skin (the program's own
// stored skin when no name is given; see skin_images.cpp for the lists), or
// per picture of the media player's buttons. The output depends on nothing
// but this program, so a build always packs the same skin. Exit status 0 on
// success, 1 on a usage error or when a file cannot be written.
#include <cstdio>
#include <filesystem>
#include <string>

#include "skin_images.h"

int main(int argc, char** argv) {
  const bool mediaPlayer = argc == 3 && std::string(argv[1]) == "--media-player";
  const std::vector<skingen::TSkinImage>* images =
      mediaPlayer                ? &skingen::MediaPlayerImages()
      : argc == 2 || argc == 3 ? skingen::SkinImagesByName(argc == 3 ? argv[2] : "ravelbook")
                               : nullptr;
  if (!images) {
    std::fprintf(stderr, "usage: skingen <outdir> [ravelbook|paper|dusk] | skingen --media-player <outdir>\n");
    return 1;
  }
  const std::filesystem::path outDir = mediaPlayer ? argv[2] : argv[1];
  std::error_code error;
  std::filesystem::create_directories(outDir, error);
  if (error) {
    std::fprintf(stderr, "skingen: cannot create %s: %s\n", outDir.string().c_str(), error.message().c_str());
    return 1;
  }
  for (const skingen::TSkinImage& entry : *images) {
    const skingen::TImage image = entry.Draw();
    if (image.Width() != entry.Width || image.Height() != entry.Height) {
      std::fprintf(stderr, "skingen: %s drawn %dx%d, expected %dx%d\n", entry.FileName, image.Width(),
                   image.Height(), entry.Width, entry.Height);
      return 1;
    }
    const std::string path = (outDir / entry.FileName).string();
    if (!skingen::SaveBmp(image, path)) {
      std::fprintf(stderr, "skingen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
