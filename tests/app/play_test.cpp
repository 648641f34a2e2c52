// Playing on the real main window: the mouse on the board, the progress window of each cut,
// the thumbnail of a built puzzle, and commands that arrive while a group is held.
#include "app/BitmapImage.h"
#include "app/TBoard.h"
#include "support/Components.h"
#include "support/Player.h"
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

using app_testing::Player;
using testing_support::PackageBuilder;

namespace {

// A point on the topmost piece's outline, well inside it.
QPoint pointOnTopPiece(game::Game& game)
{
    const game::TPuzzle* top = game.Pieces->tail();
    const gfx::Rect& b = top->Bounds;
    for (int inset = b.width() / 2; inset > 0; --inset)
        for (int y = b.top + inset; y < b.bottom - inset; ++y)
            for (int x = b.left + inset; x < b.right - inset; ++x)
                if (top->HitTest(x, y) && x > 2 && y > 2 && x < game.BoardWidth - 3 && y < game.BoardHeight - 3)
                    return {x, y};
    ADD_FAILURE() << "no point of the top piece lies on the board";
    return {};
}

// What the board shows equals what the game says is on the screen: its back buffer.
void expectBoardShowsBackBuffer(Player& player)
{
    QImage shown = app_testing::shot(player.main->Board());
    QImage back = app::wrapBitmap(*player.game().BackBuffer);
    ASSERT_EQ(shown.size(), back.size());
    EXPECT_TRUE(shown == back.convertToFormat(shown.format()));
}

class Playing : public ::testing::Test {
protected:
    void SetUp() override
    {
        player.show();
        ASSERT_TRUE(player.boxes.boxes.empty()) << player.boxes.texts().join("|").toStdString();
        ASSERT_TRUE(player.game().Pieces);
        ASSERT_EQ(int(player.game().Pieces->size()), player.game().Columns * player.game().Rows);
    }
    app::TBoard& board() { return player.main->Board(); }
    game::Game& game() { return player.game(); }

    Player player;
};

TEST_F(Playing, DraggingMovesTheGroupUnderAConfinedPointer)
{
    game::TPuzzle* piece = game().Pieces->tail();
    QPoint from = pointOnTopPiece(game());
    gfx::Rect before = piece->Bounds;

    QTest::mousePress(&board(), Qt::LeftButton, {}, from);
    ASSERT_TRUE(game().Holding());
    ASSERT_TRUE(board().Confiner().Active());
    EXPECT_EQ(*board().Confiner().Active(), QRect(1, 1, board().width() - 3, board().height() - 3));

    // Towards the middle, so the confinement never clamps the move whatever the layout.
    const QPoint step(from.x() < board().width() / 2 ? 37 : -37, from.y() < board().height() / 2 ? 23 : -23);
    QTest::mouseMove(&board(), from + step);
    EXPECT_EQ(piece->Bounds, before.translated(step.x(), step.y()));
    QTest::mouseRelease(&board(), Qt::LeftButton, {}, from + step);
    EXPECT_FALSE(game().Holding());
    EXPECT_FALSE(board().Confiner().Active());
    EXPECT_EQ(piece->Bounds.width(), before.width());
    expectBoardShowsBackBuffer(player);
}

TEST_F(Playing, WithoutAPointerGrabMovesAreClampedToTheConfinement)
{
    ASSERT_FALSE(board().Confiner().Native()) << "the offscreen platform has no pointer grab";
    QTest::mousePress(&board(), Qt::LeftButton, {}, pointOnTopPiece(game()));
    const int right = board().width() - 3, bottom = board().height() - 3; // the last pixels inside
    const struct {
        QPoint sent;
        QPoint reached;
    } moves[] = {
        {{-40, -40}, {1, 1}},
        {{board().width() + 9, 50}, {right, 50}},
        {{60, board().height()}, {60, bottom}},
        {{60, 70}, {60, 70}},
    };
    for (const auto& move : moves) {
        QTest::mouseMove(&board(), move.sent);
        EXPECT_EQ(QPoint(game().LastMouseX, game().LastMouseY), move.reached) << move.sent.x() << "," << move.sent.y();
    }
    QTest::mouseRelease(&board(), Qt::LeftButton, {}, {60, 70});
}

TEST_F(Playing, FullScreenKeepsEveryPieceInPlace)
{
    std::vector<gfx::Rect> places;
    for (auto walk = game().Pieces->fromBottom(); game::TPuzzle* piece = walk.Next();)
        places.push_back(piece->Bounds);
    for (int toggle = 0; toggle < 2; ++toggle) {
        QTest::keyClick(player.main.get(), Qt::Key_F12);
        std::size_t i = 0;
        for (auto walk = game().Pieces->fromBottom(); game::TPuzzle* piece = walk.Next();)
            EXPECT_EQ(piece->Bounds, places[i++]);
        expectBoardShowsBackBuffer(player);
    }
}

TEST_F(Playing, AnyButtonReleaseDropsAndAPressOnBareBoardHoldsNothing)
{
    QPoint from = pointOnTopPiece(game());
    QTest::mousePress(&board(), Qt::LeftButton, {}, from);
    ASSERT_TRUE(game().Holding());
    QTest::mouseRelease(&board(), Qt::MiddleButton, {}, from);
    EXPECT_FALSE(game().Holding());
    EXPECT_FALSE(board().Confiner().Active());
    QTest::mouseRelease(&board(), Qt::LeftButton, {}, from);

    // The centre of the board is free: the edge arrangement leaves it empty.
    QPoint centre(board().width() / 2, board().height() / 2);
    QTest::mousePress(&board(), Qt::LeftButton, {}, centre);
    EXPECT_FALSE(game().Holding());
    QTest::mouseRelease(&board(), Qt::LeftButton, {}, centre);
}

TEST_F(Playing, TurningClicksTurnThePieceAQuarter)
{
    struct Case {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
        int counterClockwiseQuarters;
    } cases[] = {
        {Qt::RightButton, {}, 3},
        {Qt::LeftButton, Qt::ControlModifier, 1},
        {Qt::LeftButton, Qt::ShiftModifier, 1},
        {Qt::LeftButton, Qt::AltModifier, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.modifiers));
        game::TPuzzle* piece = game().Pieces->tail();
        QPoint at = pointOnTopPiece(game());
        int turns = piece->Turns;
        QTest::mouseClick(&board(), c.button, c.modifiers, at);
        EXPECT_EQ(piece->Turns, (turns + c.counterClockwiseQuarters) % 4);
        EXPECT_FALSE(game().Holding());
        EXPECT_FALSE(board().Confiner().Active());
    }
    expectBoardShowsBackBuffer(player);
}

TEST(PlayingWithoutTurning, TurningClicksDoNothing)
{
    PackageBuilder package = Player::SamplePackage();
    package.trailer.RotatePieces = 0;
    Player player(package);
    player.show();
    game::TPuzzle* piece = player.game().Pieces->tail();
    int turns = piece->Turns;
    EXPECT_EQ(turns, 0);
    QTest::mouseClick(&player.main->Board(), Qt::RightButton, {}, pointOnTopPiece(player.game()));
    EXPECT_EQ(piece->Turns, turns);
}

TEST_F(Playing, EveryCutShowsTheProgressWindowAndEndsItsBarFull)
{
    QProgressBar& bar = player.progress.ProgressBar();
    auto expectFullBar = [&] {
        EXPECT_TRUE(player.progress.isVisible());
        EXPECT_EQ(bar.minimum(), 0);
        EXPECT_EQ(bar.maximum(), game().Columns * game().Rows - 1);
        EXPECT_EQ(bar.value(), bar.maximum());
    };
    expectFullBar();
    QTest::mouseClick(player.progress.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(player.progress.isVisible());
    QTest::keyClick(player.main.get(), Qt::Key_F2);
    expectFullBar();
}

TEST_F(Playing, ThumbnailShowsHalfThePictureAndANewGameFitsItAgain)
{
    player.action("ShowThumbnailMenu").trigger();
    app::TOrgWindow* thumbnail = player.main->OrgWindow();
    ASSERT_NE(thumbnail, nullptr);
    ASSERT_TRUE(game().Picture);
    const QSize half(game().Picture->width(), game().Picture->height());
    EXPECT_EQ(half, QSize(game().PictureWidth / 2, game().PictureHeight / 2));
    EXPECT_EQ(thumbnail->size(), half);
    EXPECT_NE(app_testing::shot(*thumbnail).pixel(2, 2), qRgb(255, 255, 255));

    thumbnail->resize(40, 30);
    thumbnail->move(3, 3);
    QTest::keyClick(player.main.get(), Qt::Key_F2);
    EXPECT_EQ(thumbnail->size(), half);
    QRect area = thumbnail->screen()->availableGeometry();
    QRect outer = thumbnail->frameGeometry();
    EXPECT_EQ(outer.x() + outer.width(), area.x() + area.width() - 1);
    EXPECT_EQ(outer.y() + outer.height(), area.y() + area.height() - 1);
}

TEST_F(Playing, CommandsThatRedrawTheBoardEndAHoldFirst)
{
    for (const char* item :
         {"NewGameMenu", "FullScreenMenu", "ShoworiginalMenu", "ArrangeGridMenu", "RandomMenu", "RandomEdgeMenu"}) {
        SCOPED_TRACE(item);
        QPoint from = pointOnTopPiece(game());
        QTest::mousePress(&board(), Qt::LeftButton, {}, from);
        ASSERT_TRUE(game().Holding());
        player.action(item).trigger();
        EXPECT_FALSE(game().Holding());
        EXPECT_FALSE(board().Confiner().Active());
        // The rest of the gesture reaches a game without a hold and changes nothing.
        QTest::mouseMove(&board(), from + QPoint(5, 5));
        QTest::mouseRelease(&board(), Qt::LeftButton, {}, from + QPoint(5, 5));
        ASSERT_TRUE(game().Pieces);
        EXPECT_EQ(int(game().Pieces->size()), game().Columns * game().Rows);
        expectBoardShowsBackBuffer(player);
    }
}

TEST(PlayingStart, ACommandArrivingWhileTheCutLetsEventsThroughIsRefused)
{
    Player player;
    bool fired = false;
    // The timer fires while the first cut shows its progress window.
    QTimer::singleShot(0, player.main.get(), [&] {
        fired = true;
        player.action("NewGameMenu").trigger();
        player.action("RandomMenu").trigger();
    });
    player.show();
    EXPECT_TRUE(fired);
    ASSERT_TRUE(player.game().Pieces);
    EXPECT_EQ(int(player.game().Pieces->size()), player.game().Columns * player.game().Rows);
    EXPECT_EQ(player.game().Arrangement, 3);
    EXPECT_TRUE(player.action("RandomEdgeMenu").isChecked());
    EXPECT_FALSE(player.action("RandomMenu").isChecked());
}

TEST(PlayingEnd, ClosingWhileAGroupIsHeld)
{
    Player player;
    player.show();
    std::string picture = player.game().TempPicturePath;
    QTest::mousePress(&player.main->Board(), Qt::LeftButton, {}, pointOnTopPiece(player.game()));
    ASSERT_TRUE(player.game().Holding());
    player.quit(); // every piece deleted once: the sanitizer build watches
    EXPECT_NE(access(picture.c_str(), F_OK), 0);
}

} // namespace
