#pragma once
#include "support/BoardChecks.h"
#include "support/BoardFixture.h"
#include <vector>

namespace testing_support {

// A board fixture played through the mouse handlers, as a user would: a picture is loaded (so
// the left button works), the window keeps a screen image, and every event is followed by the
// paint that the event loop would do next.
class PlayBoard : public BoardFixture {
public:
    PlayBoard(int boardWidth, int boardHeight, int level = 1);

    void press(int x, int y, game::MouseButton button = game::MouseButton::Left, game::Modifiers modifiers = {});
    void press(Point p, game::MouseButton button = game::MouseButton::Left, game::Modifiers modifiers = {})
    {
        press(p.x, p.y, button, modifiers);
    }
    void move(int x, int y);
    void release(int x, int y);

    // Where a press picks piece; a test failure (and the piece's centre) when nothing of it shows.
    Point grab(const game::TPuzzle& piece) const;
    // Presses on piece, moves the pointer by (dx, dy) in `steps` equal moves, and releases.
    void drag(const game::TPuzzle& piece, int dx, int dy, int steps = 2);
    // Drags piece so that its top-left corner lands at (x, y).
    void dragTo(const game::TPuzzle& piece, int x, int y) { drag(piece, x - piece.Bounds.left, y - piece.Bounds.top); }
    // A quarter turn by the buttons: 270 a right click, 90 a left click with Shift.
    void turn(const game::TPuzzle& piece, int angle);

    // A full redraw of the board, shown as the window would after it.
    void show();
    // The board's rules (BoardIsSound) for the pieces on it, and what the screen shows.
    ::testing::AssertionResult sound() { return BoardIsSound(game, zOrder().size()); }
    ::testing::AssertionResult onScreen() { return ScreenShowsBoard(game, window); }

    game::TPuzzle* at(int column, int row) const;
    std::vector<game::TPuzzle*> zOrder() const;
};

} // namespace testing_support
