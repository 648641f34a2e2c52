#pragma once
#include "gfx/Bitmap.h"
#include "gfx/Rect.h"
#include "puzzle/MaskDevice.h"
#include <cstdint>

namespace puzzle {

// One jigsaw piece. Its tile lives in the shared PieceSheet at (Column, Row) x CellSize;
// Mask is its outline in the current orientation: 0 inside the piece, 1 outside.
class TPuzzle {
public:
    TPuzzle(int x, int y, int width, int height);

    gfx::Rect Bounds;
    std::int32_t HomeX = 0;
    std::int32_t HomeY = 0;
    std::uint8_t KnobTop = 0;
    std::uint8_t KnobLeft = 0;
    std::uint8_t KnobRight = 0;
    std::uint8_t KnobBottom = 0;
    std::uint8_t BorderTop = 0;
    std::uint8_t BorderLeft = 0;
    std::uint8_t BorderRight = 0;
    std::uint8_t BorderBottom = 0;
    std::int16_t Column = 0;
    std::int16_t Row = 0;
    std::int16_t Group = 0;
    std::uint8_t Reserved = 0;
    std::uint8_t Turns = 0;
    gfx::Bitmap Mask; // null until BuildShape

    bool hasMask() const { return !Mask.isNull(); }

    // Gives a freshly cut piece its outline and bevels its tile in pieceSheet; called once per
    // piece, with Turns 0. body is (KnobSize, KnobSize, CellSize - KnobSize, CellSize - KnobSize).
    // Throws OutOfMemoryError when the mask cannot be made (the piece then has no mask and the
    // sheet is untouched) and ResourceNotFoundError for a level without strips.
    void BuildShape(const gfx::Rect& body, gfx::Bitmap& pieceSheet, int level, int lastColumnTrim,
                    int lastRowTrim, MaskDevice& device);

    // True when the board point lies on the outline (inside Bounds on a 0 bit of the mask).
    bool HitTest(int x, int y) const;
    // The tile through the mask at Bounds; destination pixels outside the piece are unchanged.
    void Draw(gfx::Bitmap& dest, const gfx::Bitmap& pieceSheet) const;
    // As Draw, changing only the pixels inside clip.
    void DrawClipped(gfx::Bitmap& dest, const gfx::Rect& clip, const gfx::Bitmap& pieceSheet) const;
    // Starts loading what Draw reads: the tile, the mask and the area under Bounds.
    void Prefetch(const gfx::Bitmap& dest, const gfx::Bitmap& pieceSheet) const;
    // Blackens the outline shifted 2 pixels right and down.
    void DrawShadow(gfx::Bitmap& dest) const;
    // A quarter turn of tile and mask in place, 90 counter-clockwise and 270 clockwise on the
    // screen, counted in Turns; only this piece's tile of the sheet changes. Other angles do
    // nothing. Allocates nothing.
    void Rotate(int angle, gfx::Bitmap& pieceSheet);
    // Rotate by 90 twice, in one step: tile and mask turned half round, Turns up by 2.
    void HalfTurn(gfx::Bitmap& pieceSheet);
    void RotateMask(int angle);

    // Pieces are the same piece when their home positions are equal.
    bool sameAs(const TPuzzle& other) const { return HomeX == other.HomeX && HomeY == other.HomeY; }

private:
    gfx::Rect tileRect() const;
};

} // namespace puzzle
