#pragma once
#include "game/Game.h"
#include "support/ScreenWindow.h"
#include <memory>

namespace testing_support {

// A game on a board of a given size with hand-made pieces: each piece's mask is its body
// square (KnobSize inside the tile on every side) and its tile in the sheet has one colour of
// its own, so tests can place and draw pieces without cutting a picture.
class BoardFixture {
public:
    BoardFixture(int boardWidth, int boardHeight, int level = 1);

    // Records like a RecordingWindow; keeps a screen image only once told to watch the game.
    ScreenWindow window;
    game::Game game;

    // Makes an empty piece list and a sheet for columns x rows tiles.
    void startBoard(int columns, int rows);
    // Adds the piece of (column, row) at the top of the z-order at (x, y), in group (default:
    // a group of its own). Returns it.
    game::TPuzzle& addPiece(int column, int row, int x, int y, int group = 0);
    // The colour of the tile of (column, row).
    static gfx::Color tileColor(int column, int row);

private:
    int m_columns = 0;
};

} // namespace testing_support
