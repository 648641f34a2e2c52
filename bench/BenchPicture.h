#pragma once
#include "gfx/Bitmap.h"

namespace bench {

// A w x h Bgr24 picture with what photographs have: broad gradients, a few shapes and fine
// grain, so that decoding and copying see realistic data. The same size gives the same picture.
gfx::Bitmap benchPicture(int w, int h);

} // namespace bench
