// The skin engine's drawing toolkit in one include: frame geometry, frame
// drawing and the colour and bitmap helpers, all in namespace skin.
#pragma once

#include "skin/data/frame_draw.h"
#include "skin/data/frame_geometry.h"
#include "skin/data/image_utils.h"
