#pragma once
#include "game/Game.h"
#include "support/ScreenWindow.h"
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct Point {
    int x = 0;
    int y = 0;
};

// The pieces from the bottom of the z-order to the top; empty without a piece list.
std::vector<game::TPuzzle*> zOrderOf(const game::Game& game);

// The rules of a board in play that every event must keep:
// - every piece is in Pieces exactly once, and there are pieceCount of them;
// - Selection is empty when no group is held, and otherwise holds exactly the held group,
//   which lies at the top of the z-order;
// - Turns is 0 to 3 and the same for every piece of a group, and joined pieces lie at their
//   home offsets from each other, turned by their Turns;
// - the back buffer equals a full RedrawBoard of the same state, less the held group if any.
// The redraw is made on the real back buffer and undone afterwards, invalidation included.
::testing::AssertionResult BoardIsSound(game::Game& game, std::size_t pieceCount);

// After the window has painted what it was asked to: the screen shows the back buffer, and
// while a group is held, the back buffer with the group and its shadows drawn over it.
::testing::AssertionResult ScreenShowsBoard(game::Game& game, ScreenWindow& window);

// "x,y" of the first pixel in which a and b differ, or nothing when they are equal
// (a different size counts as a difference at 0,0).
std::optional<std::string> firstDifference(const gfx::Bitmap& a, const gfx::Bitmap& b);

// A screen offset after `turns` counter-clockwise quarter turns: (dx, dy) becomes (dy, -dx)
// per turn, y growing downward.
Point turnedOffset(int dx, int dy, int turns);

// A point where a press picks piece (it is the topmost piece whose outline covers it), inside
// the area the pointer is confined to during a drag; the one nearest the piece's centre.
std::optional<Point> grabPoint(const game::Game& game, const game::TPuzzle& piece);

} // namespace testing_support
