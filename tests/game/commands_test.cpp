// The menu commands of GameCommands.cpp and the music's loop rules, behind a recording window
// that stands in for the media player.
#include "game/Game.h"
#include "gfx/BmpCodec.h"
#include "gfx/Raster.h"
#include "support/BoardChecks.h"
#include "support/PlayBoard.h"
#include "support/RecordingWindow.h"
#include "support/ScratchFolder.h"
#include <gtest/gtest.h>
#include <functional>

using game::Game;
using game::MenuItem;
using testing_support::RecordingWindow;

namespace {

const std::string kTooSmall = "Cannot create puzzle because the image is too small.";

// A game whose window has a tune to play, as after reading a package with one.
struct MusicGame {
    RecordingWindow window;
    Game game{window};
    MusicGame() { window.SetTuneFileName("/tmp/tovanta.mid"); }
};

// --- the music -----------------------------------------------------------------------------

TEST(MusicTest, NoticeRestartsTheTuneOnlyWhenStoppedWhileMusicIsOn)
{
    struct Case {
        bool musicOn;
        bool stopped;
        int plays;
    } cases[] = {{true, true, 1}, {true, false, 0}, {false, true, 0}, {false, false, 0}};
    for (const Case& c : cases) {
        MusicGame m;
        m.game.MusicOn = c.musicOn;
        m.game.MediaPlayerNotify(c.stopped);
        EXPECT_EQ(m.window.tunePlays, c.plays) << "music " << c.musicOn << ", stopped " << c.stopped;
        EXPECT_EQ(m.window.tuneStops, 0);
        EXPECT_EQ(m.game.MusicOn, c.musicOn);
    }
}

TEST(MusicTest, MusicOnStopsTheTuneAndRestartsItFromTheBeginning)
{
    MusicGame m;
    ASSERT_TRUE(m.game.MusicOn);

    m.game.MusiconMenuClick();
    EXPECT_FALSE(m.game.MusicOn);
    EXPECT_FALSE(m.window.isChecked(MenuItem::MusicOn));
    EXPECT_EQ(m.window.tuneStops, 1);
    EXPECT_EQ(m.window.tunePlays, 0);
    m.game.MediaPlayerNotify(true); // a notice that arrives after the stop
    EXPECT_EQ(m.window.tunePlays, 0);

    m.game.MusiconMenuClick();
    EXPECT_TRUE(m.game.MusicOn);
    EXPECT_TRUE(m.window.isChecked(MenuItem::MusicOn));
    EXPECT_EQ(m.window.tunePlays, 1); // OpenAndPlayTune plays from the beginning
    EXPECT_EQ(m.window.tuneStops, 1);
    m.game.MediaPlayerNotify(true); // and the loop runs again
    EXPECT_EQ(m.window.tunePlays, 2);
}

// Stopping a device that never opened is the one music error that reaches the user.
TEST(MusicTest, StopErrorEscapesMusicOnWithTheMarkAlreadyOff)
{
    MusicGame m;
    m.window.tuneFails = true;
    EXPECT_THROW(m.game.MusiconMenuClick(), game::DeviceError);
    EXPECT_FALSE(m.game.MusicOn);
    EXPECT_FALSE(m.window.isChecked(MenuItem::MusicOn));
}

TEST(MusicTest, OpenErrorsAreIgnored)
{
    MusicGame m;
    m.window.tuneFails = true;
    m.game.MusicOn = false;
    EXPECT_NO_THROW(m.game.MusiconMenuClick()); // turning the music on
    EXPECT_TRUE(m.game.MusicOn);
    EXPECT_TRUE(m.window.isChecked(MenuItem::MusicOn));
    EXPECT_NO_THROW(m.game.MediaPlayerNotify(true)); // a notice while it is on
    EXPECT_TRUE(m.game.MusicOn);
    EXPECT_EQ(m.window.tunePlays, 0);
}

// --- "Show original image" -----------------------------------------------------------------

TEST(ShowOriginalTest, TogglesTheMarkAndRepaintsAlsoWithoutAPuzzle)
{
    RecordingWindow window;
    Game game(window);
    ASSERT_TRUE(game.NoPuzzle);
    for (bool expected : {false, true, false}) {
        const int invalidations = window.invalidations;
        game.ShoworiginalMenuClick();
        EXPECT_EQ(game.ShowOriginal, expected);
        EXPECT_EQ(window.isChecked(MenuItem::ShowOriginal), expected);
        EXPECT_EQ(window.invalidations, invalidations + 1);
    }
}

TEST(ShowOriginalTest, TheFadedPictureComesAndGoesAtOnce)
{
    RecordingWindow window(200, 100);
    Game game(window);
    const gfx::Color ghost = gfx::rgb(200, 180, 40);
    game.GhostPicture = std::make_unique<gfx::Bitmap>(40, 20, gfx::PixelFormat::Bgr24);
    gfx::fillRect(*game.GhostPicture, game.GhostPicture->rect(), ghost);
    game.CreateBuffers(200, 100);
    ASSERT_EQ(game.BackBuffer->colorAt(100, 50), ghost);
    game.ShoworiginalMenuClick();
    EXPECT_EQ(game.BackBuffer->colorAt(100, 50), game.BackgroundColor);
    game.ShoworiginalMenuClick();
    EXPECT_EQ(game.BackBuffer->colorAt(100, 50), ghost);
}

// --- "New game" ----------------------------------------------------------------------------

TEST(NewGameCommandTest, WithoutAnyPictureReportsTheImageTooSmallAndPlaysNothing)
{
    RecordingWindow window;
    Game game(window);
    window.SetTuneFileName("/tmp/tovanta.mid");
    game.CreateBuffers(1024, 700);
    game.NewGameMenuClick();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, kTooSmall);
    EXPECT_EQ(window.tunePlays, 0);
    EXPECT_FALSE(game.Pieces);
}

// A new game reads the last picture again and restarts the tune even with the music off; the
// tune then plays once and does not repeat.
TEST(NewGameCommandTest, RebuildsFromThePictureAndRestartsTheTuneOnce)
{
    testing_support::ScratchFolder folder;
    gfx::Bitmap picture(300, 200, gfx::PixelFormat::Bgr24);
    gfx::fillRect(picture, picture.rect(), gfx::rgb(90, 140, 200));
    const std::string path = folder.file("picture.bmp");
    gfx::WriteBmpFile(picture, path);

    MusicGame m;
    m.game.CreateBuffers(1024, 700);
    ASSERT_TRUE(m.game.NewGame(path));
    m.game.MusiconMenuClick(); // music off
    const int plays = m.window.tunePlays;

    m.game.NewGameMenuClick();
    EXPECT_TRUE(m.window.messages.empty());
    ASSERT_TRUE(m.game.Pieces);
    EXPECT_EQ(m.game.PicturePath, path);
    EXPECT_EQ(m.window.tunePlays, plays + 1);
    m.game.MediaPlayerNotify(true);
    EXPECT_EQ(m.window.tunePlays, plays + 1);
}

// Both commands repaint or rebuild the board: a group held at that moment is let go first, so
// the pointer is free again, the selection empty, and the board whole.
TEST(CommandsDuringAHoldTest, LetGoOfTheHeldGroupFirst)
{
    struct Case {
        const char* name;
        void (Game::*command)();
        std::size_t piecesAfter;
    } cases[] = {
        {"Show original image", &Game::ShoworiginalMenuClick, 2},
        {"New game", &Game::NewGameMenuClick, 0}, // no picture file: the build fails
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::PlayBoard b(400, 300);
        b.startBoard(2, 1);
        b.addPiece(0, 0, 20, 20);
        testing_support::Point p = b.grab(b.addPiece(1, 0, 200, 100));
        b.game.RedrawBoard();
        b.window.paint();
        b.press(p);
        ASSERT_TRUE(b.game.Holding());

        (b.game.*c.command)();
        b.window.paint();
        EXPECT_FALSE(b.game.Holding());
        EXPECT_EQ(b.window.releases, 1);
        EXPECT_TRUE(testing_support::BoardIsSound(b.game, c.piecesAfter));
        EXPECT_TRUE(testing_support::ScreenShowsBoard(b.game, b.window));
        b.release(p.x, p.y); // the button comes up after the command: nothing more happens
        EXPECT_TRUE(testing_support::BoardIsSound(b.game, c.piecesAfter));
    }
}

} // namespace
