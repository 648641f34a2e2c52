#include "support/BoardChecks.h"
#include "support/PlayBoard.h"
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using game::TPuzzle;
using testing_support::BoardIsSound;
using testing_support::PlayBoard;
using testing_support::Point;
using testing_support::ScreenShowsBoard;

namespace {

struct GameCase {
    int level, columns, rows;
    bool rotate;
    std::uint32_t seed;
};

std::string nameOf(const GameCase& c)
{
    return "level " + std::to_string(c.level) + ", " + std::to_string(c.columns) + "x" + std::to_string(c.rows)
         + (c.rotate ? ", turning" : ", upright");
}

// A game cut from a small patterned picture and played with the mouse handlers only, every
// event followed by the window's paint and a check of the board's rules.
class PlayedGame : public PlayBoard {
public:
    explicit PlayedGame(const GameCase& c)
        : PlayBoard(640, 480, c.level)
    {
        game.RandomGenerator.Seed(c.seed);
        const int step = game.CellSize - game.KnobSize;
        game.PictureWidth = c.columns * step;
        game.PictureHeight = c.rows * step;
        EXPECT_TRUE(game.ComputeGrid());
        EXPECT_EQ(game.Columns, c.columns);
        EXPECT_EQ(game.Rows, c.rows);
        game.Picture = std::make_unique<gfx::Bitmap>(game.PictureWidth, game.PictureHeight, gfx::PixelFormat::Bgr24);
        for (int y = 0; y < game.PictureHeight; ++y)
            for (int x = 0; x < game.PictureWidth; ++x)
                game.Picture->setValue(x, y, gfx::rgb(x * 5, y * 7, (x ^ y) & 0xFF));
        game.GhostPicture = std::make_unique<gfx::Bitmap>(*game.Picture);
        game.RotatePieces = c.rotate;
        game.Arrangement = 3;
        game.NoPuzzle = false;
        EXPECT_TRUE(game.CutPieces());
        window.paint();
        m_count = std::size_t(c.columns * c.rows);
    }

    // Checks the board; false (with a failure recorded) when a rule is broken.
    bool check(const std::string& step)
    {
        ::testing::AssertionResult board = BoardIsSound(game, m_count);
        ::testing::AssertionResult screen = ScreenShowsBoard(game, window);
        EXPECT_TRUE(board) << step;
        EXPECT_TRUE(screen) << step;
        return board && screen;
    }

    // Where piece must lie in the finished puzzle, turned `turns` times and centred on the board.
    Point home(const TPuzzle& piece, int turns) const
    {
        int x = piece.HomeX, y = piece.HomeY;
        int w = pictureWidth(), h = pictureHeight();
        for (int t = 0; t < turns; ++t) {
            // A quarter turn counter-clockwise of the w x h picture: pixel (X, Y) goes to
            // (Y, w - 1 - X), so a tile's corner goes from (x, y) to (y, w - x - CellSize).
            std::tie(x, y) = std::pair(y, w - x - game.CellSize);
            std::swap(w, h);
        }
        return {(game.BoardWidth - w) / 2 + x, (game.BoardHeight - h) / 2 + y};
    }
    // The assembled picture area on the board.
    gfx::Rect pictureArea(int turns) const
    {
        const bool across = turns % 2 == 1;
        const int w = across ? pictureHeight() : pictureWidth(), h = across ? pictureWidth() : pictureHeight();
        return gfx::Rect::fromSize((game.BoardWidth - w) / 2, (game.BoardHeight - h) / 2, w, h);
    }

    bool turnUntil(TPuzzle& piece, int turns, const std::string& step)
    {
        for (int i = 0; i < 4 && piece.Turns != turns; ++i) {
            const Point p = grab(piece);
            press(p, game::MouseButton::Right);
            release(p.x, p.y);
            if (!check(step + ", turned"))
                return false;
        }
        return piece.Turns == turns;
    }

    // Drags piece (and its group) so that its top-left lands at to, checking every event.
    bool dragChecked(TPuzzle& piece, Point to, const std::string& step)
    {
        const Point p = grab(piece);
        const int dx = to.x - piece.Bounds.left, dy = to.y - piece.Bounds.top;
        press(p);
        bool ok = check(step + ", lifted");
        for (int i = 1; i <= 3 && ok; ++i) {
            move(p.x + dx * i / 3, p.y + dy * i / 3);
            ok = check(step + ", moved");
        }
        release(p.x + dx, p.y + dy);
        return check(step + ", dropped") && ok;
    }

    std::size_t groupSize(std::int16_t group) const
    {
        std::size_t n = 0;
        for (const TPuzzle* p : zOrder())
            n += p->Group == group;
        return n;
    }

    // A piece outside the group that borders a piece of it in the picture and shows somewhere.
    TPuzzle* nextPiece(std::int16_t group) const
    {
        const std::vector<TPuzzle*> pieces = zOrder();
        for (TPuzzle* p : pieces) {
            if (p->Group == group || !testing_support::grabPoint(game, *p))
                continue;
            for (const TPuzzle* q : pieces)
                if (q->Group == group && std::abs(q->Column - p->Column) + std::abs(q->Row - p->Row) == 1)
                    return p;
        }
        return nullptr;
    }

    // How many pieces' outlines cover (x, y).
    int coverage(int x, int y) const
    {
        int n = 0;
        for (const TPuzzle* p : zOrder())
            n += p->HitTest(x, y);
        return n;
    }

private:
    int pictureWidth() const { return game.Columns * (game.CellSize - game.KnobSize) - game.LastColumnTrim; }
    int pictureHeight() const { return game.Rows * (game.CellSize - game.KnobSize) - game.LastRowTrim; }

    std::size_t m_count = 0;
};

} // namespace

TEST(FullGameTest, APuzzleIsSolvedWithTheMouseAtEveryLevel)
{
    const GameCase cases[] = {
        {1, 3, 3, true, 11},  {1, 3, 3, false, 12}, {2, 3, 3, true, 21},  {2, 3, 3, false, 22},
        {3, 4, 3, true, 31},  {3, 4, 3, false, 32}, {4, 4, 3, true, 41},  {4, 4, 3, false, 42},
    };
    const Point slips[] = {{3, -2}, {-5, 5}, {0, 4}, {5, 0}, {-2, -5}, {4, 3}};
    for (const GameCase& c : cases) {
        SCOPED_TRACE(nameOf(c));
        PlayedGame g(c);
        ASSERT_TRUE(g.check("cut"));
        std::vector<TPuzzle*> pieces = g.zOrder();
        ASSERT_EQ(pieces.size(), std::size_t(c.columns * c.rows));

        TPuzzle& anchor = *g.at(0, 0);
        const int turns = anchor.Turns;
        if (!c.rotate) {
            for (const TPuzzle* p : pieces)
                ASSERT_EQ(p->Turns, 0) << "turning is off";
        }
        ASSERT_TRUE(g.dragChecked(anchor, g.home(anchor, turns), "anchor"));

        for (std::size_t round = 0; g.groupSize(anchor.Group) < pieces.size(); ++round) {
            ASSERT_LT(round, 3 * pieces.size()) << "the puzzle does not come together";
            TPuzzle* p = g.nextPiece(anchor.Group);
            ASSERT_TRUE(p) << "no piece left to take";
            const std::string step = "piece (" + std::to_string(p->Column) + "," + std::to_string(p->Row) + ")";
            ASSERT_TRUE(g.turnUntil(*p, turns, step));
            if (p->Group == anchor.Group)
                continue; // the turn brought it into place
            const Point to = g.home(*p, turns);
            const Point slip = slips[round % std::size(slips)];
            ASSERT_TRUE(g.dragChecked(*p, {to.x + slip.x, to.y + slip.y}, step));
            EXPECT_EQ(p->Group, anchor.Group) << step << " did not join";
            EXPECT_EQ(p->Bounds.left, to.x) << step;
            EXPECT_EQ(p->Bounds.top, to.y) << step;
        }

        ASSERT_EQ(g.window.messages.size(), 1u);
        EXPECT_EQ(g.window.messages[0].text, "Congratulations. You solved the puzzle.");
        EXPECT_EQ(g.window.messages[0].icon, game::MessageIcon::Information);
        EXPECT_TRUE(g.game.NoPuzzle);

        // The finished pieces fit: every pixel of the picture lies on exactly one piece, and
        // none lies beside it.
        const gfx::Rect area = g.pictureArea(turns);
        for (int y = area.top - 1; y <= area.bottom; ++y)
            for (int x = area.left - 1; x <= area.right; ++x) {
                const bool inside = area.contains(x, y);
                ASSERT_EQ(g.coverage(x, y), inside ? 1 : 0) << "at " << x << "," << y;
            }

        // Playing on after the solve says nothing more.
        ASSERT_TRUE(g.dragChecked(anchor, {anchor.Bounds.left + 30, anchor.Bounds.top - 20}, "after"));
        EXPECT_EQ(g.window.messages.size(), 1u);
    }
}

TEST(FullGameTest, ANewGameInTheMiddleOfADragLetsGoOfTheOldPieces)
{
    PlayedGame g({2, 3, 3, true, 5});
    TPuzzle& held = *g.at(1, 1);
    const Point p = g.grab(held);
    g.press(p);
    g.move(p.x + 40, p.y + 30);
    ASSERT_TRUE(g.game.Holding());
    const int releases = g.window.releases;

    g.game.NewGameMenuClick(); // held now points at a deleted piece; nothing may touch it
    g.window.paint();
    EXPECT_FALSE(g.game.Holding());
    EXPECT_EQ(g.window.releases, releases + 1);
    EXPECT_FALSE(g.game.NoPuzzle);
    EXPECT_TRUE(g.check("new game"));

    g.move(p.x + 60, p.y + 50);
    g.release(p.x + 60, p.y + 50);
    EXPECT_TRUE(g.check("the old gesture ends"));
    EXPECT_TRUE(g.window.messages.empty());
}
