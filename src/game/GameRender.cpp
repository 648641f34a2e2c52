#include "game/Game.h"
#include "gfx/Raster.h"

namespace game {

void Game::CreateBuffers(int w, int h)
{
    // The new back buffer shows the whole board: a group still held would be drawn into it and
    // then dragged away from its own copy, and the pointer's confinement is for the old size.
    AbandonHold();
    BoardWidth = w;
    BoardHeight = h;
    // Buffers of the same size are kept: a new one's pixels would be redrawn all the same.
    if (!BackBuffer || BackBuffer->width() != w || BackBuffer->height() != h) {
        FrameBuffer.reset();
        BackBuffer.reset();
        FrameBuffer = std::make_unique<gfx::Bitmap>(w, h, gfx::PixelFormat::Bgrx32);
        BackBuffer = std::make_unique<gfx::Bitmap>(w, h, gfx::PixelFormat::Bgrx32);
    }
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
        if (GhostPicture && ShowOriginal) {
            // The faded picture covers its rectangle whole.
            gfx::Rect g = GhostRect();
            gfx::fillAround(*BackBuffer, {0, 0, BoardWidth, BoardHeight}, g, BackgroundColor);
            gfx::bitBlt(*BackBuffer, g.left, g.top, g.width(), g.height(), *GhostPicture, 0, 0, gfx::Rop::Copy);
        } else {
            gfx::fillRect(*BackBuffer, {0, 0, BoardWidth, BoardHeight}, BackgroundColor);
        }
        if (Pieces && PieceSheet) {
            // The next piece's tile and board area load while this piece is drawn.
            auto walk = Pieces->fromBottom();
            TPuzzle* piece = walk.Next();
            while (piece) {
                TPuzzle* next = walk.Next();
                if (next)
                    next->Prefetch(*BackBuffer, *PieceSheet);
                piece->Draw(*BackBuffer, *PieceSheet);
                piece = next;
            }
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
