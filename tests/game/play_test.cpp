#include "gfx/Raster.h"
#include "support/BoardChecks.h"
#include "support/PlayBoard.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

using game::Modifiers;
using game::MouseButton;
using game::TPuzzle;
using testing_support::BoardFixture;
using testing_support::PlayBoard;
using testing_support::Point;

namespace {

const gfx::Color kBoard = gfx::rgb(0, 128, 128);

// Level 1: tiles of 96 with bodies from 16 to 80 inside them.
struct Board : PlayBoard {
    explicit Board(int w = 400, int h = 300)
        : PlayBoard(w, h, 1)
    {
        game.BackgroundColor = kBoard;
        startBoard(4, 3);
    }
};

} // namespace

// --- picking up ---------------------------------------------------------------------------------

TEST(PickUpTest, PressOnNoOutlineHoldsNothingAndTheReleaseChangesNothing)
{
    struct Case {
        const char* what;
        Point point;
    };
    const Case cases[] = {
        {"bare board", {350, 250}},
        {"transparent corner of a lone tile", {12, 12}},
        {"corner of a higher tile over a lower tile's corner", {108, 108}},
        {"beside the bodies, inside three tiles", {95, 100}},
    };
    for (const Case& c : cases) {
        Board b;
        b.addPiece(0, 0, 10, 10);
        b.addPiece(1, 0, 100, 100);
        b.addPiece(2, 0, 95, 95); // on top: its corner covers the lower tile's corner
        b.show();
        const std::vector<TPuzzle*> before = b.zOrder();
        const gfx::Bitmap board = *b.game.BackBuffer;
        const gfx::Bitmap screen = b.window.screen();

        b.press(c.point);
        EXPECT_FALSE(b.game.Holding()) << c.what;
        EXPECT_TRUE(b.window.confinements.empty()) << c.what;
        b.move(c.point.x + 30, c.point.y + 20);
        b.release(c.point.x + 30, c.point.y + 20);

        EXPECT_EQ(b.zOrder(), before) << c.what;
        EXPECT_FALSE(testing_support::firstDifference(board, *b.game.BackBuffer)) << c.what;
        EXPECT_FALSE(testing_support::firstDifference(screen, b.window.screen())) << c.what;
        EXPECT_EQ(b.game.Selection.size(), 0u) << c.what;
        EXPECT_TRUE(b.sound()) << c.what;
    }
}

TEST(PickUpTest, TakesTheTopmostPieceWhoseOutlineCoversThePoint)
{
    struct Case {
        Point point;
        int column; // of the piece that must be picked
    };
    // (0,0) at 100,100 (body 116..180); (1,0) above it at 150,150 (body 166..230).
    const Case cases[] = {
        {{160, 160}, 0}, // inside the higher tile but off its body: the lower piece
        {{170, 170}, 1}, // both bodies: the higher piece
        {{120, 120}, 0},
        {{220, 220}, 1},
    };
    for (const Case& c : cases) {
        Board b;
        b.addPiece(0, 0, 100, 100);
        b.addPiece(1, 0, 150, 150);
        b.show();
        b.press(c.point);
        ASSERT_TRUE(b.game.Holding()) << c.point.x;
        EXPECT_EQ(b.game.PickedPiece, b.at(c.column, 0)) << c.point.x;
        EXPECT_EQ(b.zOrder().back(), b.at(c.column, 0)) << c.point.x;
        EXPECT_TRUE(b.sound()) << c.point.x; // the other piece's part under the lifted one is drawn again
        EXPECT_TRUE(b.onScreen()) << c.point.x;
        b.release(c.point.x, c.point.y);
    }
}

TEST(PickUpTest, AnyPieceOfAGroupLiftsTheWholeGroupAboveAllOthers)
{
    // z-order before: A(0,0) X(3,0) B(1,0) Y(0,2); A and B joined (group 20).
    for (int pressed : {0, 1}) {
        Board b;
        TPuzzle& a = b.addPiece(0, 0, 50, 50, 20);
        TPuzzle& x = b.addPiece(3, 0, 60, 120);
        TPuzzle& bb = b.addPiece(1, 0, 130, 50, 20);
        TPuzzle& y = b.addPiece(0, 2, 200, 90);
        b.show();
        const Point p = b.grab(pressed == 0 ? a : bb);
        b.press(p);

        ASSERT_TRUE(b.game.Holding());
        // Selection runs from the group's highest piece to its lowest, as it was before.
        EXPECT_EQ(std::vector<TPuzzle*>(b.game.Selection.begin(), b.game.Selection.end()),
                  (std::vector<TPuzzle*>{&bb, &a}));
        // Lifted in Selection order, so their own order turns round.
        EXPECT_EQ(b.zOrder(), (std::vector<TPuzzle*>{&x, &y, &bb, &a}));
        EXPECT_EQ(b.game.DragBounds, (gfx::Rect{50, 50, 226, 146}));
        EXPECT_TRUE(b.sound());
        EXPECT_TRUE(b.onScreen());

        b.release(p.x, p.y); // dropped at once: the group stays on top
        EXPECT_EQ(b.zOrder(), (std::vector<TPuzzle*>{&x, &y, &bb, &a}));
        EXPECT_EQ(a.Group, 20);
        EXPECT_EQ(x.Group, 4);
        EXPECT_TRUE(b.sound());
        EXPECT_TRUE(b.onScreen());
    }
}

TEST(PickUpTest, DragBoundsHoldTheGroupAndThePoint)
{
    Board b;
    b.addPiece(0, 0, 100, 100, 9);
    b.addPiece(0, 1, 100, 180, 9);
    b.addPiece(1, 1, 180, 180, 9);
    b.show();
    b.press(130, 130);
    EXPECT_EQ(b.game.DragBounds, (gfx::Rect{100, 100, 276, 276}));
    // The sweep reaches the group's size plus the shadow beyond both pointer positions.
    EXPECT_EQ(b.game.DragSweepRect(130, 130, 140, 120), (gfx::Rect{130 - 178, 120 - 178, 140 + 178, 130 + 178}));
    b.release(130, 130);
}

// --- dragging -----------------------------------------------------------------------------------

TEST(DragTest, TheShadowShowsAtTheLiftFollowsTheGroupAndGoesAtTheDrop)
{
    Board b;
    b.addPiece(0, 0, 100, 100); // body 116..180 both ways
    b.show();
    struct Pixel {
        int dx, dy; // from the body's top-left
        bool black;
    };
    // The body shifted by 2 right and down, where the body itself does not cover it.
    const Pixel pixels[] = {
        {64, 10, true}, {65, 10, true}, {10, 64, true}, {65, 65, true}, {1, 64, false}, {64, 1, false},
        {66, 10, false}, {10, 66, false}, {63, 63, false},
    };
    auto check = [&](int bodyLeft, int bodyTop, bool held, const char* when) {
        for (const Pixel& p : pixels) {
            const gfx::Color c = b.window.screen().colorAt(bodyLeft + p.dx, bodyTop + p.dy);
            const bool inBody = p.dx < 64 && p.dy < 64;
            const gfx::Color want =
                inBody ? BoardFixture::tileColor(0, 0) : held && p.black ? gfx::kBlack : kBoard;
            EXPECT_EQ(c, want) << when << " at +" << p.dx << ",+" << p.dy;
        }
    };
    b.press(150, 150);
    check(116, 116, true, "lifted");
    EXPECT_TRUE(b.onScreen());
    b.move(170, 140);
    check(136, 106, true, "moved");
    EXPECT_TRUE(b.onScreen());
    b.release(170, 140);
    check(136, 106, false, "dropped");
    EXPECT_TRUE(b.sound());
    EXPECT_TRUE(b.onScreen());
}

TEST(DragTest, AMoveWithoutDisplacementStillRecomposesAndCopies)
{
    Board b;
    b.addPiece(0, 0, 100, 100);
    b.addPiece(1, 0, 150, 120);
    b.show();
    b.press(130, 130);
    b.move(170, 150);
    // Spoil the composition buffer: only a fresh composition can show the right picture.
    gfx::fillRect(*b.game.FrameBuffer, b.game.FrameBuffer->rect(), gfx::kWhite);
    const std::size_t copies = b.window.copies.size();
    b.move(170, 150);
    ASSERT_EQ(b.window.copies.size(), copies + 1);
    EXPECT_EQ(b.window.copies.back(), b.game.DragSweepRect(170, 150, 170, 150));
    EXPECT_TRUE(b.onScreen());
    b.release(170, 150);
    EXPECT_TRUE(b.sound());
}

TEST(DragTest, TheGroupKeepsItsOffsetFromThePointerAndMayHangOverTheEdge)
{
    Board b;
    TPuzzle& a = b.addPiece(0, 0, 100, 100, 5);
    TPuzzle& c = b.addPiece(1, 0, 180, 100, 5);
    b.show();
    b.press(120, 120);
    const Point path[] = {{60, 40}, {2, 2}, {397, 297}, {250, 5}};
    for (const Point& p : path) {
        b.move(p.x, p.y);
        EXPECT_EQ(a.Bounds.left, 100 + p.x - 120);
        EXPECT_EQ(a.Bounds.top, 100 + p.y - 120);
        EXPECT_EQ(c.Bounds.left - a.Bounds.left, 80);
        EXPECT_EQ(c.Bounds.top, a.Bounds.top);
        EXPECT_EQ(b.game.LastMouseX, p.x);
        EXPECT_EQ(b.game.LastMouseY, p.y);
        EXPECT_TRUE(b.sound());
        EXPECT_TRUE(b.onScreen()) << p.x << "," << p.y;
    }
    b.release(250, 5);
    EXPECT_EQ(a.Bounds.top, -15);
    EXPECT_TRUE(b.sound());
    EXPECT_TRUE(b.onScreen());
}

TEST(DragTest, ThePointerIsConfinedInsideTheBoardUntilTheRelease)
{
    for (auto [w, h] : {std::pair(400, 300), std::pair(640, 480)}) {
        Board b(w, h);
        b.addPiece(0, 0, 100, 100);
        b.show();
        b.press(130, 130);
        ASSERT_EQ(b.window.confinements.size(), 1u);
        EXPECT_EQ(b.window.confinements[0], (gfx::Rect{1, 1, w - 2, h - 2}));
        EXPECT_EQ(b.window.releases, 0);
        b.move(150, 150);
        b.release(150, 150);
        EXPECT_EQ(b.window.releases, 1);
        b.release(150, 150); // a release without a hold only frees the pointer
        EXPECT_EQ(b.window.releases, 2);
        EXPECT_EQ(b.window.confinements.size(), 1u);
    }
}

TEST(DragTest, APressDuringADragIsIgnored)
{
    const std::pair<MouseButton, Modifiers> presses[] = {
        {MouseButton::Left, {}}, {MouseButton::Right, {}}, {MouseButton::Left, {.shift = true}},
        {MouseButton::Middle, {}}};
    for (auto [button, modifiers] : presses) {
        Board b;
        TPuzzle& a = b.addPiece(0, 0, 100, 100);
        TPuzzle& other = b.addPiece(2, 0, 250, 100);
        b.show();
        b.press(130, 130);
        b.move(140, 135);
        const std::vector<TPuzzle*> order = b.zOrder();
        b.press(b.grab(other), button, modifiers);
        b.press(150, 140, button, modifiers); // on the held piece itself
        EXPECT_EQ(b.game.PickedPiece, &a);
        EXPECT_EQ(b.game.Selection.size(), 1u);
        EXPECT_EQ(b.zOrder(), order);
        EXPECT_EQ(a.Turns, 0);
        EXPECT_EQ(other.Turns, 0);
        EXPECT_EQ(b.window.confinements.size(), 1u);
        EXPECT_TRUE(b.onScreen());
        b.move(145, 140);
        EXPECT_EQ(a.Bounds.left, 115);
        b.release(145, 140);
        EXPECT_FALSE(b.game.Holding());
        EXPECT_TRUE(b.sound());
    }
}

// --- press dispatch -----------------------------------------------------------------------------

TEST(PressTest, ButtonsAndModifiersDragTurnOrDoNothing)
{
    enum class Outcome { Drag, TurnLeft, TurnRight, Nothing };
    struct Case {
        MouseButton button;
        Modifiers modifiers;
        bool rotate;
        bool picture;
        Outcome outcome;
    };
    const Modifiers none{}, shift{.shift = true}, ctrl{.ctrl = true}, alt{.alt = true};
    const Case cases[] = {
        {MouseButton::Left, none, true, true, Outcome::Drag},
        {MouseButton::Left, none, false, true, Outcome::Drag},
        {MouseButton::Left, shift, true, true, Outcome::TurnLeft},
        {MouseButton::Left, ctrl, true, true, Outcome::TurnLeft},
        {MouseButton::Left, alt, true, true, Outcome::TurnLeft},
        {MouseButton::Left, {true, true, true}, true, true, Outcome::TurnLeft},
        {MouseButton::Left, shift, false, true, Outcome::Nothing},
        {MouseButton::Left, ctrl, false, true, Outcome::Nothing},
        {MouseButton::Left, alt, false, true, Outcome::Nothing},
        {MouseButton::Right, none, true, true, Outcome::TurnRight},
        {MouseButton::Right, shift, true, true, Outcome::TurnRight},
        {MouseButton::Right, none, false, true, Outcome::Nothing},
        {MouseButton::Right, ctrl, false, true, Outcome::Nothing},
        {MouseButton::Middle, none, true, true, Outcome::Nothing},
        {MouseButton::Middle, shift, true, true, Outcome::Nothing},
        {MouseButton::Left, none, true, false, Outcome::Nothing},
        {MouseButton::Left, shift, true, false, Outcome::Nothing},
        {MouseButton::Right, none, true, false, Outcome::TurnRight}, // the right button needs no picture
    };
    int i = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(i++));
        Board b;
        TPuzzle& low = b.addPiece(0, 0, 100, 100);
        TPuzzle& high = b.addPiece(1, 0, 190, 100); // over the low piece's margin, too far to join
        b.game.RotatePieces = c.rotate;
        if (!c.picture)
            b.game.Picture.reset();
        b.show();
        b.press(130, 130, c.button, c.modifiers);

        EXPECT_EQ(low.Turns, c.outcome == Outcome::TurnLeft ? 1 : c.outcome == Outcome::TurnRight ? 3 : 0);
        EXPECT_EQ(b.game.Holding(), c.outcome == Outcome::Drag);
        EXPECT_EQ(b.window.confinements.size(), c.outcome == Outcome::Drag ? 1u : 0u);
        const bool lifted = c.outcome != Outcome::Nothing;
        EXPECT_EQ(b.zOrder(), lifted ? (std::vector<TPuzzle*>{&high, &low}) : (std::vector<TPuzzle*>{&low, &high}));
        EXPECT_EQ(low.Bounds, gfx::Rect::fromSize(100, 100, 96, 96));
        EXPECT_TRUE(b.onScreen());
        b.release(130, 130);
        EXPECT_TRUE(b.sound());
        EXPECT_TRUE(b.onScreen());
    }
}

TEST(PressTest, WithoutAPuzzleNoButtonDoesAnything)
{
    for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle})
        for (Modifiers modifiers : {Modifiers{}, Modifiers{.ctrl = true}}) {
            Board b;
            b.game.Pieces.reset();
            b.show();
            const int invalidations = b.window.invalidations;
            b.press(130, 130, button, modifiers);
            b.move(150, 150);
            b.release(150, 150);
            EXPECT_FALSE(b.game.Holding());
            EXPECT_TRUE(b.window.confinements.empty());
            EXPECT_EQ(b.window.invalidations, invalidations);
        }
}

// --- commands given while a group is held -------------------------------------------------------

TEST(HoldTest, ACommandDuringADragEndsTheHoldAndLeavesAWholeBoard)
{
    struct Case {
        const char* what;
        std::function<void(game::Game&)> command;
        bool rebuilds; // the held pieces are gone afterwards
    };
    const Case cases[] = {
        {"ending the hold alone", [](game::Game& g) { g.AbandonHold(); }, false},
        {"arrange in grid", [](game::Game& g) { g.ArrangeGridMenuClick(); }, false},
        {"random", [](game::Game& g) { g.RandomMenuClick(); }, false},
        {"random at edge", [](game::Game& g) { g.RandomEdgeMenuClick(); }, false},
        {"show original image", [](game::Game& g) { g.ShoworiginalMenuClick(); }, false},
        {"buffers at the same size", [](game::Game& g) { g.CreateBuffers(g.BoardWidth, g.BoardHeight); }, false},
        {"buffers at full screen", [](game::Game& g) { g.CreateBuffers(500, 380); }, false},
        {"buffers shrunk", [](game::Game& g) { g.CreateBuffers(300, 200); }, false},
        // Without a picture size the new game fails, after destroying the held pieces.
        {"new game", [](game::Game& g) { g.NewGameMenuClick(); }, true},
    };
    for (const Case& c : cases) {
        Board b;
        b.game.GhostPicture = std::make_unique<gfx::Bitmap>(120, 90, gfx::PixelFormat::Bgr24);
        gfx::fillRect(*b.game.GhostPicture, b.game.GhostPicture->rect(), gfx::rgb(200, 190, 180));
        TPuzzle& a = b.addPiece(0, 0, 100, 100, 3);
        b.addPiece(1, 0, 180, 100, 3);
        b.addPiece(2, 2, 20, 150);
        b.show();
        b.press(130, 130);
        b.move(160, 170);
        const int releases = b.window.releases;

        c.command(b.game);
        EXPECT_FALSE(b.game.Holding()) << c.what;
        EXPECT_TRUE(b.game.Selection.empty()) << c.what;
        EXPECT_EQ(b.window.releases, releases + 1) << c.what;
        EXPECT_TRUE(b.sound()) << c.what;
        EXPECT_TRUE(b.onScreen()) << c.what;

        // What is left of the gesture touches nothing.
        const gfx::Rect where = c.rebuilds ? gfx::Rect{} : a.Bounds;
        b.move(200, 200);
        b.release(200, 200);
        if (!c.rebuilds) {
            EXPECT_EQ(a.Bounds, where) << c.what;
        }
        EXPECT_TRUE(b.sound()) << c.what;
        EXPECT_TRUE(b.onScreen()) << c.what;
    }
}
