#pragma once
#include "SideShape.h"
#include "StripSide.h"
#include "gfx/Bitmap.h"
#include <cstdint>

// Codes of a shading strip, indices of the standard 16-colour palette.
enum ShadingCode : std::uint32_t {
    kHighlight = 1, // dark red: the outline faces up or left
    kShadow = 2,    // dark green: the outline faces down or right
    kOutside = 3,   // olive: not the piece
    kPlain = 12,    // blue: inside, away from the outline
};

// The shading strip of a side's shape, lit from the upper left.
//
// A pixel of the piece lies on the outline when one of its four neighbours is not the piece.
// Beyond the body edge the body continues, and in a corner square the triangle on the body
// side (with its diagonal) is the piece's other strip, so neither counts as outline: a mark
// there would be a seam in the middle of the piece. Beyond the band's far edge and the strip's
// ends lies the neighbour, so those do count.
//
// An outline pixel is lit when its outside neighbours (of the eight) lie more up and left than
// down and right, shaded in the opposite case. Where they balance, as along an outline that
// faces up-right or down-left, the pixel takes the highlight in the upper (or left) half of the
// side and the shadow in the other half; on a knob's head that rule holds for the whole head,
// so the head is lit on its upper (or left) half and shaded on the other.
gfx::Bitmap ShadingStrip(const SideShape& shape, StripSide side, bool knob);
