// A long game of random user actions on a level-4 puzzle on a large board: presses of every
// button with every modifier, moves (also beyond the board), releases, aimed drags that join
// pieces, turns, the three layouts, the faded picture, new games and full screen, many of them
// in the middle of a drag. After every action the board must keep its rules (BoardChecks.h);
// the back buffer and the screen are compared with a full redraw every kFullCheckEvery actions
// and at the first idle moment after each join.
//
// CI runs it with a fixed seed. `make soak` runs it with a seed from the clock and many more
// actions; TOVANTA_SOAK_SEED (a number, or "time") and TOVANTA_SOAK_ACTIONS choose them, and
// the seed is printed so that a failure can be replayed.
#include "game/Game.h"
#include "gfx/JpegEncoder.h"
#include "support/BoardChecks.h"
#include "support/PackageBuilder.h"
#include "support/PlayerMessages.h"
#include "support/ScratchFolder.h"
#include "support/ScreenWindow.h"
#include <chrono>
#include <cstdlib>
#include <deque>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <optional>
#include <random>
#include <algorithm>
#include <sstream>

using game::MouseButton;
using game::TPuzzle;
using testing_support::PackageBuilder;
using testing_support::Point;
using testing_support::ScreenWindow;

namespace {

constexpr int kBoardWidth = 1600, kBoardHeight = 1000;
// Full screen takes the caption and the frame away: the client area grows by their size.
constexpr int kFullScreenHeight = kBoardHeight + 38;
constexpr std::uint32_t kDefaultSeed = 20240611;
constexpr long kDefaultActions = 20000;
constexpr long kFullCheckEvery = 200;

long fromEnvironment(const char* name, long fallback)
{
    const char* v = std::getenv(name);
    if (!v || !*v)
        return fallback;
    if (std::string(v) == "time")
        return long(std::chrono::system_clock::now().time_since_epoch() / std::chrono::seconds(1) % 2000000000);
    return std::strtol(v, nullptr, 10);
}

// The picture: smooth gradients under a grid of dots, so that every piece differs from its
// neighbours and a piece drawn in the wrong place or orientation shows in the comparisons.
std::vector<std::uint8_t> pictureFile()
{
    const int w = 640, h = 440;
    gfx::Bitmap b(w, h, gfx::PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setValue(x, y, gfx::rgb(x * 255 / w, y * 255 / h, (x % 17 < 3 && y % 13 < 3) ? 255 : (x + y) % 90));
    return gfx::EncodeJpeg(b, 90);
}

// The game, its window and the random user, with a trail of the last actions for a report.
class Soak {
public:
    Soak(std::uint32_t seed, const std::string& programPath, const std::string& extractFolder)
        : window(kBoardWidth, kBoardHeight)
        , game(window)
        , m_random(seed)
    {
        game.ProgramPath = programPath;
        game.TempFolder = extractFolder;
        window.watch(game);
        game.FormShow(seed);
        window.paint();
        m_pieces = std::size_t(game.Columns * game.Rows);
    }

    ScreenWindow window;
    game::Game game;

    std::size_t pieceCount() const { return m_pieces; }
    bool built() const { return game.Pieces != nullptr; }
    std::string trail() const
    {
        std::string s;
        for (const std::string& a : m_trail)
            s += "\n    " + a;
        return s;
    }

    // One random action followed by the paint that the event loop would do next. An aimed drag
    // mostly goes on to its end, but anything may come in between.
    void act()
    {
        const int roll = below(1000);
        if (game.Holding() && m_plan && roll < 850)
            m_planDone < m_planSteps ? move() : release();
        else if (roll < 300)
            aimedPress();
        else if (roll < 450)
            randomPress();
        else if (roll < 600)
            turnPress();
        else if (roll < 800)
            move();
        else if (roll < 985)
            release();
        else
            command(roll - 985);
        window.paint();
    }

    int groups() const
    {
        std::vector<int> ids;
        for (const TPuzzle* p : testing_support::zOrderOf(game))
            ids.push_back(p->Group);
        std::sort(ids.begin(), ids.end());
        return int(std::unique(ids.begin(), ids.end()) - ids.begin());
    }

    int solvedMessages() const
    {
        int n = 0;
        for (const auto& m : window.messages)
            n += m.text == testing_support::kPuzzleSolved;
        return n;
    }

private:
    int below(int n) { return int(m_random() % unsigned(n)); }
    void note(std::string what)
    {
        m_trail.push_back(std::move(what));
        if (m_trail.size() > 12)
            m_trail.pop_front();
    }
    std::string at(int x, int y) { return " at " + std::to_string(x) + "," + std::to_string(y); }

    TPuzzle* randomPiece()
    {
        const auto pieces = testing_support::zOrderOf(game);
        return pieces.empty() ? nullptr : pieces[std::size_t(below(int(pieces.size())))];
    }
    // The centre of a piece's body, where a press takes it unless another piece covers it.
    static Point centre(const TPuzzle& p) { return {(p.Bounds.left + p.Bounds.right) / 2, (p.Bounds.top + p.Bounds.bottom) / 2}; }
    // The pointer stays where the window's confinement keeps it during a hold.
    Point confined(Point p) const
    {
        if (!game.Holding())
            return p;
        return {std::clamp(p.x, 1, game.BoardWidth - 3), std::clamp(p.y, 1, game.BoardHeight - 3)};
    }

    void press(Point p, MouseButton button, game::Modifiers modifiers, const char* why)
    {
        note(std::string(why) + " press " + std::to_string(int(button)) + (modifiers.any() ? " with a modifier" : "") + at(p.x, p.y));
        m_pointer = p;
        game.FormMouseDown(button, modifiers, p.x, p.y);
    }

    // A left press on a piece beside a picture neighbour of another group, planning the moves
    // that take it to within a few pixels of its place next to that neighbour.
    void aimedPress()
    {
        TPuzzle* s = randomPiece();
        if (!s || game.Holding())
            return randomPress();
        std::map<std::pair<int, int>, TPuzzle*> byPlace;
        for (TPuzzle* p : testing_support::zOrderOf(game))
            byPlace[{p->Column, p->Row}] = p;
        const std::pair<int, int> sides[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        const auto [dc, dr] = sides[below(4)];
        auto it = byPlace.find({s->Column + dc, s->Row + dr});
        if (it == byPlace.end() || it->second->Group == s->Group)
            return randomPress();
        const TPuzzle& n = *it->second;
        if (n.Turns != s->Turns) { // first turn s the way that brings it nearer to n's Turns
            const bool counterClockwise = (n.Turns - s->Turns + 4) % 4 == 1;
            m_plan.reset();
            return press(centre(*s), counterClockwise ? MouseButton::Left : MouseButton::Right,
                         game::Modifiers{.shift = counterClockwise}, "aligning");
        }
        const Point offset = testing_support::turnedOffset(s->HomeX - n.HomeX, s->HomeY - n.HomeY, n.Turns);
        const int jitter = 7; // the tolerance is 5: some land, some miss
        m_plan = Point{n.Bounds.left + offset.x - s->Bounds.left + below(2 * jitter + 1) - jitter,
                       n.Bounds.top + offset.y - s->Bounds.top + below(2 * jitter + 1) - jitter};
        m_planSteps = 1 + below(3);
        m_planDone = 0;
        m_planFrom = centre(*s);
        press(m_planFrom, MouseButton::Left, {}, "aimed");
    }

    void randomPress()
    {
        const MouseButton buttons[] = {MouseButton::Left, MouseButton::Left, MouseButton::Left, MouseButton::Right,
                                       MouseButton::Middle};
        const game::Modifiers modifiers{below(8) == 0, below(8) == 0, below(8) == 0};
        Point p{below(kBoardWidth), below(kBoardHeight)};
        if (TPuzzle* piece = randomPiece(); piece && below(4) != 0)
            p = {centre(*piece).x + below(31) - 15, centre(*piece).y + below(31) - 15};
        if (!game.Holding()) // a second button during a drag changes nothing
            m_plan.reset();
        press(p, buttons[below(5)], modifiers, "random");
    }

    void turnPress()
    {
        TPuzzle* piece = randomPiece();
        if (!piece)
            return randomPress();
        const bool clockwise = below(2) == 0;
        game::Modifiers modifiers;
        (below(3) == 0 ? modifiers.shift : below(2) == 0 ? modifiers.ctrl : modifiers.alt) = true;
        press(centre(*piece), clockwise ? MouseButton::Right : MouseButton::Left, clockwise ? game::Modifiers{} : modifiers,
              "turning");
    }

    void move()
    {
        Point to{m_pointer.x + below(121) - 60, m_pointer.y + below(121) - 60};
        if (m_plan && m_planDone < m_planSteps) {
            ++m_planDone;
            to = {m_planFrom.x + m_plan->x * m_planDone / m_planSteps, m_planFrom.y + m_plan->y * m_planDone / m_planSteps};
        } else if (below(30) == 0) {
            to = {below(2) ? -40 - below(200) : kBoardWidth + below(200), below(kBoardHeight + 400) - 200};
        }
        m_pointer = confined(to);
        note("move" + at(m_pointer.x, m_pointer.y));
        game.FormMouseMove(m_pointer.x, m_pointer.y);
    }

    void release()
    {
        m_plan.reset();
        note("release" + at(m_pointer.x, m_pointer.y));
        game.FormMouseUp(m_pointer.x, m_pointer.y);
    }

    // roll: 0 to 14, so that commands come about once in 70 actions.
    void command(int roll)
    {
        if (roll < 2) {
            note("arrange in grid");
            game.ArrangeGridMenuClick();
        } else if (roll < 4) {
            note("random");
            game.RandomMenuClick();
        } else if (roll < 6) {
            note("random at edge");
            game.RandomEdgeMenuClick();
        } else if (roll < 10) {
            note("show original image");
            game.ShoworiginalMenuClick();
        } else if (roll < 11) {
            if (below(16) != 0) // a new game once in some sixteen thousand actions
                return fullScreen();
            note("new game");
            game.NewGameMenuClick();
        } else {
            fullScreen();
        }
    }

    // As the window does on F12: its client area changes size and the resize re-creates the
    // buffers; the pieces stay where they are.
    void fullScreen()
    {
        window.clientHeight = window.clientHeight == kBoardHeight ? kFullScreenHeight : kBoardHeight;
        note("full screen: client " + std::to_string(window.clientWidth) + " x " + std::to_string(window.clientHeight));
        game.CreateBuffers(window.clientWidth, window.clientHeight);
    }

    std::mt19937 m_random;
    std::size_t m_pieces = 0;
    Point m_pointer{kBoardWidth / 2, kBoardHeight / 2};
    std::optional<Point> m_plan; // the displacement an aimed drag is to make
    Point m_planFrom;
    int m_planSteps = 0; // the moves it takes
    int m_planDone = 0;
    std::deque<std::string> m_trail;
};

// The rules of BoardChecks.h without the comparison with a full redraw, which it makes only
// when there is a back buffer: cheap enough for every action.
::testing::AssertionResult rulesHold(game::Game& game, std::size_t pieces)
{
    std::unique_ptr<gfx::Bitmap> back = std::move(game.BackBuffer);
    ::testing::AssertionResult result = testing_support::BoardIsSound(game, pieces);
    game.BackBuffer = std::move(back);
    return result;
}

} // namespace

TEST(SoakTest, TensOfThousandsOfRandomActionsKeepTheBoardSound)
{
    const auto seed = std::uint32_t(fromEnvironment("TOVANTA_SOAK_SEED", kDefaultSeed));
    const long actions = fromEnvironment("TOVANTA_SOAK_ACTIONS", kDefaultActions);
    std::cout << "soak: seed " << seed << ", " << actions << " actions (replay with TOVANTA_SOAK_SEED=" << seed
              << " TOVANTA_SOAK_ACTIONS=" << actions << ")" << std::endl;

    testing_support::ScratchFolder folder;
    PackageBuilder package;
    package.picture = pictureFile();
    package.trailer.LevelCode = 4;
    package.trailer.Arrangement = 3;
    Soak soak(seed, package.Write(folder.file("player")), folder.path());
    ASSERT_TRUE(soak.built()) << "the puzzle was not built";
    ASSERT_GT(soak.pieceCount(), 150u);

    int joins = 0, games = 1, fullChecks = 0, fewestGroups = int(soak.pieceCount());
    bool joinedSinceCheck = false;
    int groups = soak.groups();
    for (long i = 1; i <= actions; ++i) {
        const int groupsBefore = groups;
        const int solvedBefore = soak.solvedMessages();
        soak.act();
        // Only a failure spells out where it happened.
        auto where = [&] { return "after action " + std::to_string(i) + " of seed " + std::to_string(seed) + ":" + soak.trail(); };
        ASSERT_TRUE(soak.built()) << where();
        ASSERT_TRUE(rulesHold(soak.game, soak.pieceCount())) << where();
        groups = soak.groups();
        fewestGroups = std::min(fewestGroups, groups);
        if (groups < groupsBefore) {
            ++joins;
            joinedSinceCheck = true;
        }
        ASSERT_LE(soak.solvedMessages() - solvedBefore, 1) << where();
        if (groups == 1) {
            ASSERT_TRUE(soak.game.NoPuzzle) << "solved but not announced " << where();
        }

        const bool idle = !soak.game.Holding();
        if (i % kFullCheckEvery == 0 || (idle && joinedSinceCheck)) {
            ++fullChecks;
            joinedSinceCheck = false;
            ASSERT_TRUE(testing_support::BoardIsSound(soak.game, soak.pieceCount())) << where();
            ASSERT_TRUE(testing_support::ScreenShowsBoard(soak.game, soak.window)) << where();
        }
        if (soak.game.NoPuzzle && idle) { // solved: start again, as a player would
            soak.game.NewGameMenuClick();
            groups = soak.groups();
            ++games;
        }
    }
    std::cout << "soak: " << joins << " joins, " << games << " games, " << fullChecks << " full comparisons, "
              << fewestGroups << " groups at the least" << std::endl;
    EXPECT_GT(joins, 0) << "the aimed drags never joined anything: the soak would test little";
}
