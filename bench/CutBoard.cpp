#include "CutBoard.h"
#include "BenchPicture.h"
#include <memory>
#include <stdexcept>

namespace bench {

CutBoard::CutBoard(const Layout& layout)
    : window(layout.boardWidth, layout.boardHeight)
    , game(window)
{
    game.SetLevel(layout.level);
    game.Arrangement = layout.arrangement;
    game.RotatePieces = layout.rotatePieces;
    game.ShowOriginal = true;
    game.RandomGenerator.Seed(20240611);
    game.PictureWidth = layout.pictureWidth;
    game.PictureHeight = layout.pictureHeight;
    if (!game.ComputeGrid())
        throw std::invalid_argument("picture too small for a puzzle");
    m_picture = benchPicture(game.PictureWidth, game.PictureHeight);
    game.CreateBuffers(layout.boardWidth, layout.boardHeight);
    cut();
}

void CutBoard::prepareCut()
{
    game.DestroyPieces();
    game.PieceSheet.reset();
    game.Picture = std::make_unique<gfx::Bitmap>(m_picture);
    game.GhostPicture = std::make_unique<gfx::Bitmap>(m_picture);
    game.NoPuzzle = false;
}

void CutBoard::cut()
{
    prepareCut();
    if (!game.CutPieces())
        throw std::runtime_error("the cut failed");
}

} // namespace bench
