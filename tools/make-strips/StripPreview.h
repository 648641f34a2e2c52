#pragma once
#include "StripLevel.h"
#include "StripSet.h"
#include "gfx/Bitmap.h"
#include <vector>

// An enlarged picture of the strips at work, for a person to judge the shapes: for each level
// a few pieces cut from a plain picture and bevelled as the player does it, once laid a little
// apart and once assembled.
gfx::Bitmap StripPreview(const std::vector<std::vector<Strip>>& levels, int zoom);
