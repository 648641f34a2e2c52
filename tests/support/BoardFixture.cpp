#include "support/BoardFixture.h"
#include "gfx/Raster.h"

namespace testing_support {

BoardFixture::BoardFixture(int boardWidth, int boardHeight, int level)
    : window(boardWidth, boardHeight)
    , game(window)
{
    game.SetLevel(level);
    game.CreateBuffers(boardWidth, boardHeight);
}

gfx::Color BoardFixture::tileColor(int column, int row)
{
    return gfx::rgb(40 + 20 * (column % 10), 60 + 15 * (row % 10), 200 - 10 * ((column + row) % 10));
}

void BoardFixture::startBoard(int columns, int rows)
{
    m_columns = columns;
    game.Pieces = std::make_unique<game::Pieces>();
    int c = game.CellSize;
    game.PieceSheet = std::make_unique<gfx::Bitmap>(columns * c, rows * c, gfx::PixelFormat::Bgr24);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            gfx::fillRect(*game.PieceSheet, gfx::Rect::fromSize(column * c, row * c, c, c), tileColor(column, row));
    game.Columns = columns;
    game.Rows = rows;
    game.NoPuzzle = false;
}

game::TPuzzle& BoardFixture::addPiece(int column, int row, int x, int y, int group)
{
    int c = game.CellSize, k = game.KnobSize;
    auto piece = std::make_unique<game::TPuzzle>(x, y, c, c);
    piece->Column = std::int16_t(column);
    piece->Row = std::int16_t(row);
    piece->HomeX = column * (c - k) - k;
    piece->HomeY = row * (c - k) - k;
    piece->Group = std::int16_t(group ? group : row * m_columns + column + 1);
    piece->Mask = gfx::Bitmap(c, c, gfx::PixelFormat::Mono1);
    gfx::patBlt(piece->Mask, piece->Mask.rect(), gfx::Pattern::White);
    gfx::patBlt(piece->Mask, {k, k, c - k, c - k}, gfx::Pattern::Black);
    game::TPuzzle& ref = *piece;
    game.Pieces->AddAtTail(std::move(piece));
    return ref;
}

} // namespace testing_support
