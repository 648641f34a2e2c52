#include "RealPiece.h"
#include "BenchPicture.h"
#include "game/PieceGrid.h"
#include "puzzle/MaskDevice.h"

namespace bench {
namespace {

int cellOf(int level) { return game::PieceGrid::SizesOf(level).cellSize; }

} // namespace

RealPiece::RealPiece(int level)
    : sheet(benchPicture(3 * cellOf(level), 3 * cellOf(level)))
    , piece(0, 0, cellOf(level), cellOf(level))
{
    const int c = cellOf(level), k = game::PieceGrid::SizesOf(level).knobSize;
    piece.Column = 1;
    piece.Row = 1;
    piece.KnobTop = 1;
    piece.KnobRight = 1;
    piece.KnobBottom = 0;
    piece.KnobLeft = 0;
    puzzle::MaskDevice device;
    piece.BuildShape({k, k, c - k, c - k}, sheet, level, 0, 0, device);
}

gfx::Rect RealPiece::tile() const
{
    const int c = cellSize();
    return gfx::Rect::fromSize(piece.Column * c, piece.Row * c, c, c);
}

} // namespace bench
