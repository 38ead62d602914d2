// The Windows side of the skin container reader: the message for a container
// of an unknown version, and skin bitmaps as GDI bitmaps.
#pragma once

#include <windows.h>

#include <string>

#include "skin/data/bmp_file.h"
#include "skin/data/skin_reader.h"

class TBitmap;
class TMemoryStream;

// TSkinReader::Load, and for a container of an unknown version the modal
// message "This is Older Skin File" / "Please update to new version !" with
// `caption` as its title. Other failures are only reported by the result.
bool LoadSkinContainer(TSkinReader& reader, const std::uint8_t* data, std::size_t size,
                       const std::string& caption);
// The same for the whole of `compressed` (its position plays no part).
bool LoadSkinContainer(TSkinReader& reader, TMemoryStream& compressed, const std::string& caption);

// A bottom-up 24-bit DIB section with the image's pixels; null when the
// image is empty or the section cannot be made. The caller owns it.
HBITMAP CreateBitmapFromImage(const TBmpImage& image);

// Loads the bitmap named by a skin description value (see
// TSkinReader::GetBitmapFile) into `bitmap`, or empties `bitmap` when the
// value names nothing loadable. True when an image was loaded.
bool LoadSkinBitmap(const TSkinReader& reader, const std::string& value, TBitmap& bitmap);
