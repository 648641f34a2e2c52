#pragma once
#include "BenchWindow.h"
#include "game/Game.h"

namespace bench {

// A game whose puzzle is cut from a generated picture by the game's own CutPieces, on a board of
// a given size: what the player holds after CreatePuzzle, without the picture file.
class CutBoard {
public:
    struct Layout {
        int pictureWidth;
        int pictureHeight;
        int level = 4;
        int boardWidth = 1920;
        int boardHeight = 1080;
        int arrangement = 3;
        bool rotatePieces = true;
    };

    explicit CutBoard(const Layout& layout);

    // Puts back what a cut uses up: the pictures as CreatePuzzle leaves them, no pieces.
    void prepareCut();
    void cut(); // prepareCut and CutPieces

    int pieceCount() const { return game.Columns * game.Rows; }

    BenchWindow window;
    game::Game game;

private:
    gfx::Bitmap m_picture;
};

} // namespace bench
