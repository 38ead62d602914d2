// skintool's consistency check of a skin: every image key of the description
// names a BMP file of the skin, frame counts divide image widths, and margins
// fit inside one frame. Messages name the section and key at fault.
#pragma once

#include <string>
#include <vector>

#include "skin_files.h"

struct TCheckReport {
    std::vector<std::string> Errors;     // the skin will not look as its author meant
    std::vector<std::string> Warnings;   // legal, but probably not meant
    int ImagesChecked = 0;
};

TCheckReport CheckSkin(const TSkinSource& source);
