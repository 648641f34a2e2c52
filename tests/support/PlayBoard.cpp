#include "support/PlayBoard.h"
#include <gtest/gtest.h>

namespace testing_support {

PlayBoard::PlayBoard(int boardWidth, int boardHeight, int level)
    : BoardFixture(boardWidth, boardHeight, level)
{
    game.Picture = std::make_unique<gfx::Bitmap>(1, 1, gfx::PixelFormat::Bgr24);
    window.watch(game);
}

void PlayBoard::press(int x, int y, game::MouseButton button, game::Modifiers modifiers)
{
    game.FormMouseDown(button, modifiers, x, y);
    window.paint();
}

void PlayBoard::move(int x, int y)
{
    game.FormMouseMove(x, y);
    window.paint();
}

void PlayBoard::release(int x, int y)
{
    game.FormMouseUp(x, y);
    window.paint();
}

Point PlayBoard::grab(const game::TPuzzle& piece) const
{
    if (std::optional<Point> p = grabPoint(game, piece))
        return *p;
    ADD_FAILURE() << "no point of piece (" << piece.Column << "," << piece.Row << ") can be pressed";
    return {(piece.Bounds.left + piece.Bounds.right) / 2, (piece.Bounds.top + piece.Bounds.bottom) / 2};
}

void PlayBoard::drag(const game::TPuzzle& piece, int dx, int dy, int steps)
{
    const Point p = grab(piece);
    press(p);
    for (int i = 1; i <= steps; ++i)
        move(p.x + dx * i / steps, p.y + dy * i / steps);
    release(p.x + dx, p.y + dy);
}

void PlayBoard::turn(const game::TPuzzle& piece, int angle)
{
    const Point p = grab(piece);
    if (angle == 270)
        press(p, game::MouseButton::Right);
    else
        press(p, game::MouseButton::Left, {.shift = true});
    release(p.x, p.y);
}

void PlayBoard::show()
{
    game.RedrawBoard();
    window.paint();
}

game::TPuzzle* PlayBoard::at(int column, int row) const
{
    for (game::TPuzzle* p : zOrder())
        if (p->Column == column && p->Row == row)
            return p;
    return nullptr;
}

std::vector<game::TPuzzle*> PlayBoard::zOrder() const { return zOrderOf(game); }

} // namespace testing_support
