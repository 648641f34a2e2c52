#include "game/Game.h"
#include "gfx/Raster.h"

namespace game {

void Game::CreateBuffers(int w, int h)
{
    // The new back buffer shows the whole board: a group still held would be drawn into it and
    // then dragged away from its own copy, and the pointer's confinement is for the old size.
    AbandonHold();
    FrameBuffer.reset();
    BackBuffer.reset();
    BoardWidth = w;
    BoardHeight = h;
    FrameBuffer = std::make_unique<gfx::Bitmap>(w, h, gfx::PixelFormat::Bgrx32);
    BackBuffer = std::make_unique<gfx::Bitmap>(w, h, gfx::PixelFormat::Bgrx32);
    RedrawBoard();
}

gfx::Rect Game::GhostRect() const
{
    if (!GhostPicture)
        return {};
    int gw = GhostPicture->width(), gh = GhostPicture->height();
    return gfx::Rect::fromSize((BoardWidth - gw) / 2, (BoardHeight - gh) / 2, gw, gh);
}

void Game::RedrawBoard()
{
    if (BackBuffer) {
        gfx::fillRect(*BackBuffer, {0, 0, BoardWidth, BoardHeight}, BackgroundColor);
        if (GhostPicture && ShowOriginal) {
            gfx::Rect g = GhostRect();
            gfx::bitBlt(*BackBuffer, g.left, g.top, g.width(), g.height(), *GhostPicture, 0, 0, gfx::Rop::Copy);
        }
        if (Pieces && PieceSheet) {
            auto walk = Pieces->fromBottom();
            while (TPuzzle* piece = walk.Next())
                piece->Draw(*BackBuffer, *PieceSheet);
        }
    }
    m_window.InvalidateWindow();
}

void Game::DestroyPieces()
{
    if (!Pieces)
        return;
    // A hold must never outlive its pieces.
    Selection.Flush();
    PickedPiece = nullptr;
    Pieces->Flush();
    Pieces.reset();
    NoPuzzle = true;
}

} // namespace game
