#pragma once
#include "gfx/Bitmap.h"
#include "puzzle/TPuzzle.h"

namespace bench {

// A middle piece of a 3 x 3 sheet at one level, cut by BuildShape from the real strips, with a
// knob at its top and right and a socket at its bottom and left. The sheet holds a picture.
class RealPiece {
public:
    explicit RealPiece(int level);

    int cellSize() const { return piece.Bounds.width(); }
    gfx::Rect tile() const; // the piece's square in the sheet

    gfx::Bitmap sheet; // Bgr24
    puzzle::TPuzzle piece;
};

} // namespace bench
