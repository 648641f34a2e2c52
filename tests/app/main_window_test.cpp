// The main window as the program shows it: menus, check marks, commands, the frame and the
// board, over a real game started from a package written by the test.
#include "app/AppLinks.h"
#include "app/TBoard.h"
#include "app/TFormAbout.h"
#include "gfx/Raster.h"
#include "support/Components.h"
#include "support/Player.h"
#include "support/UrlRecorder.h"
#include <QMenu>
#include <QPushButton>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

using app_testing::Player;
using testing_support::PackageBuilder;

namespace {

QRect availableArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// --- the menu ----------------------------------------------------------------------------------

struct MenuRow {
    const char* menu;    // the menu's object name
    const char* item;    // the item's object name; nullptr for a separator
    const char* caption;
    const char* shortcut;
    bool checkable;
};

const MenuRow kMenu[] = {
    {"Game1", "NewGameMenu", "&New game", "F2", false},
    {"Game1", nullptr, nullptr, nullptr, false},
    {"Game1", "ExitMenu", "E&xit", "", false},
    {"Pieces1", "RandomEdgeMenu", "Random at &edge", "", true},
    {"Pieces1", "ArrangeGridMenu", "Arrange in &grid", "", true},
    {"Pieces1", "RandomMenu", "&Random", "", true},
    {"Options1", "ShowThumbnailMenu", "Show &thumbnail", "", true},
    {"Options1", "ShoworiginalMenu", "Show &original image", "", true},
    {"Options1", "FullScreenMenu", "&Full screen", "F12", false},
    {"Options1", nullptr, nullptr, nullptr, false},
    {"Options1", "MusiconMenu", "Music &on", "", true},
    {"Help1", "TovantaHomePageMenu", "&Tovanta home page", "", false},
    {"Help1", nullptr, nullptr, nullptr, false},
    {"Help1", "AboutMenu", "&About", "", false},
};

TEST(MainWindow, MenuHasTheItemsOfItsLayoutNoneChecked)
{
    Player player;
    QMenuBar* bar = player.main->menuBar();
    QStringList titles;
    for (QAction* menu : bar->actions())
        titles << menu->text();
    EXPECT_EQ(titles, QStringList({"&Game", "&Pieces", "&Options", "&Help"}));

    std::map<std::string, int> next; // position in each menu
    for (const MenuRow& row : kMenu) {
        SCOPED_TRACE(std::string(row.menu) + " " + (row.item ? row.item : "separator"));
        auto* menu = player.main->findChild<QMenu*>(row.menu);
        ASSERT_NE(menu, nullptr);
        QList<QAction*> items = menu->actions();
        int index = next[row.menu]++;
        ASSERT_LT(index, items.size());
        QAction* item = items[index];
        if (!row.item) {
            EXPECT_TRUE(item->isSeparator());
            continue;
        }
        EXPECT_EQ(item->objectName(), row.item);
        EXPECT_EQ(item->text(), row.caption);
        EXPECT_EQ(item->shortcut(), QKeySequence(row.shortcut));
        EXPECT_EQ(item->isCheckable(), row.checkable);
        EXPECT_FALSE(item->isChecked());
        EXPECT_TRUE(item->isEnabled());
    }
    for (auto [menu, count] : next)
        EXPECT_EQ(player.main->findChild<QMenu*>(menu.c_str())->actions().size(), count) << menu;
}

TEST(MainWindow, StartsAtItsDesignSizeAndShowsOverTheWholeWorkArea)
{
    Player player;
    EXPECT_EQ(player.main->windowTitle(), "Tovanta Lite");
    EXPECT_EQ(player.main->Board().size(), QSize(644, 446));
    EXPECT_EQ(player.game().DragBounds, (gfx::Rect{0, 0, 644, 446}));
    Qt::WindowFlags flags = player.main->windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));

    // Before any buffer exists the board shows the default board colour.
    EXPECT_FALSE(player.game().BackBuffer);
    EXPECT_EQ(app_testing::shot(player.main->Board()).pixel(100, 100), qRgb(128, 0, 0));

    player.show();
    EXPECT_EQ(player.main->frameGeometry(), availableArea());
    EXPECT_EQ(player.main->minimumSize(), player.main->size()); // the frame comes around it
    EXPECT_EQ(player.main->maximumSize(), player.main->size());
    QSize board = player.main->Board().size();
    EXPECT_EQ(player.game().BoardWidth, board.width());
    EXPECT_EQ(player.game().BoardHeight, board.height());
    ASSERT_TRUE(player.game().BackBuffer);
    EXPECT_EQ(player.game().BackBuffer->width(), board.width());
    EXPECT_EQ(player.game().BackBuffer->height(), board.height());
}

// --- check marks and enabled states from the package --------------------------------------------

TEST(MainWindow, PackageSetsTheCheckMarks)
{
    struct Case {
        std::int32_t arrangement;
        bool tune;
        std::uint8_t showOriginal;
        const char* checked; // the item that carries the arrangement's mark, or ""
    } cases[] = {
        {1, false, 0, "ArrangeGridMenu"}, {2, true, 1, "RandomMenu"}, {3, false, 7, "RandomEdgeMenu"},
        {0, true, 0, ""},                 {4, false, 1, ""},          {-1, false, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arrangement);
        PackageBuilder package = Player::SamplePackage();
        package.trailer.Arrangement = c.arrangement;
        package.trailer.ShowOriginal = c.showOriginal;
        if (c.tune)
            package.music = PackageBuilder::Tune();
        Player player(package);
        player.show();
        for (const char* item : {"ArrangeGridMenu", "RandomMenu", "RandomEdgeMenu"})
            EXPECT_EQ(player.action(item).isChecked(), std::string(item) == c.checked) << item;
        EXPECT_EQ(player.action("ShoworiginalMenu").isChecked(), c.showOriginal != 0);
        EXPECT_EQ(player.action("MusiconMenu").isEnabled(), c.tune);
        EXPECT_EQ(player.action("MusiconMenu").isChecked(), c.tune);
        EXPECT_FALSE(player.action("ShowThumbnailMenu").isChecked());
        EXPECT_FALSE(player.action("FullScreenMenu").isChecked());
    }
}

TEST(MainWindow, UnreadablePackageLeavesAnEmptyBoardInTheDefaultColour)
{
    Player player;
    player.game().ProgramPath = player.folder.write("short", std::vector<std::uint8_t>(10, 0));
    player.show();
    ASSERT_EQ(player.boxes.boxes.size(), 1u);
    EXPECT_EQ(player.boxes.boxes[0].title, "Tovanta");
    EXPECT_EQ(player.boxes.boxes[0].text, "Cannot read the image. Please contact your vendor.");
    EXPECT_EQ(player.boxes.boxes[0].icon, QMessageBox::Critical);
    QImage board = app_testing::shot(player.main->Board());
    EXPECT_EQ(board.pixel(0, 0), qRgb(128, 0, 0));
    EXPECT_EQ(board.pixel(board.width() - 1, board.height() - 1), qRgb(128, 0, 0));

    // New game without any picture ever loaded says why nothing can be built.
    QTest::keyClick(player.main.get(), Qt::Key_F2);
    ASSERT_EQ(player.boxes.boxes.size(), 2u);
    EXPECT_EQ(player.boxes.boxes[1].text, "Cannot create puzzle because the image is too small.");
    EXPECT_TRUE(player.main->isVisible());
}

// --- commands ------------------------------------------------------------------------------------

// A package whose picture cannot be decoded: no puzzle is ever built.
PackageBuilder brokenPicturePackage()
{
    PackageBuilder package = Player::SamplePackage();
    package.picture = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    return package;
}

TEST(MainWindow, ArrangementItemsMoveTheCheckMark)
{
    Player player(brokenPicturePackage());
    player.show();
    const struct {
        const char* item;
        int arrangement;
    } items[] = {{"ArrangeGridMenu", 1}, {"RandomMenu", 2}, {"RandomEdgeMenu", 3}, {"RandomMenu", 2}};
    for (const auto& chosen : items) {
        SCOPED_TRACE(chosen.item);
        player.action(chosen.item).trigger();
        EXPECT_EQ(player.game().Arrangement, chosen.arrangement);
        for (const char* item : {"ArrangeGridMenu", "RandomMenu", "RandomEdgeMenu"})
            EXPECT_EQ(player.action(item).isChecked(), std::string(item) == chosen.item) << item;
    }
}

TEST(MainWindow, ShowOriginalTogglesItsMarkAlsoWithoutAPuzzle)
{
    Player player(brokenPicturePackage());
    player.show();
    QAction& item = player.action("ShoworiginalMenu");
    ASSERT_TRUE(item.isChecked());
    for (bool expected : {false, true, false}) {
        item.trigger();
        EXPECT_EQ(item.isChecked(), expected);
        EXPECT_EQ(player.game().ShowOriginal, expected);
    }
}

TEST(MainWindow, MusicItemSwitchesTheTuneOffAndOn)
{
    PackageBuilder package = Player::SamplePackage();
    package.music = PackageBuilder::Tune();
    Player player(package);
    player.show();
    QAction& item = player.action("MusiconMenu");
    ASSERT_TRUE(item.isChecked());
    for (bool expected : {false, true, false, true}) {
        item.trigger();
        EXPECT_EQ(item.isChecked(), expected);
        EXPECT_EQ(player.game().MusicOn, expected);
    }
    EXPECT_TRUE(player.boxes.boxes.empty()) << player.boxes.texts().join("|").toStdString();
}

TEST(MainWindow, MusicDeviceErrorsReachTheStandardErrorReport)
{
    // A tune the music device refuses: the first show reports it once, the game goes on.
    PackageBuilder package = Player::SamplePackage();
    package.music = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1}; // cut short
    Player player(package);
    player.show();
    ASSERT_EQ(player.boxes.boxes.size(), 1u);
    EXPECT_EQ(player.boxes.boxes[0].title, "Tovanta");
    EXPECT_EQ(player.boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_FALSE(player.boxes.boxes[0].text.isEmpty());
    EXPECT_TRUE(player.main->isVisible());

    // Switching the music off stops a device that never opened: that error is reported too.
    player.action("MusiconMenu").trigger();
    EXPECT_EQ(player.boxes.boxes.size(), 2u);
    EXPECT_FALSE(player.action("MusiconMenu").isChecked());
    // Switching it on again ignores the failure to open.
    player.action("MusiconMenu").trigger();
    EXPECT_EQ(player.boxes.boxes.size(), 2u);
    EXPECT_TRUE(player.action("MusiconMenu").isChecked());
}

TEST(MainWindow, WithoutATuneTheMusicItemDoesNothing)
{
    Player player;
    player.show();
    QAction& item = player.action("MusiconMenu");
    ASSERT_FALSE(item.isEnabled());
    item.trigger();
    EXPECT_FALSE(item.isChecked());
    EXPECT_TRUE(player.game().MusicOn);
}

TEST(MainWindow, FullScreenTwiceReturnsToTheSameFrame)
{
    Player player;
    player.show();
    QRect outer = player.main->frameGeometry();
    QRect client = player.main->geometry();
    ASSERT_NE(outer, client) << "the platform gives the window a frame";

    QTest::keyClick(player.main.get(), Qt::Key_F12);
    EXPECT_TRUE(player.main->FullScreen());
    EXPECT_TRUE(player.main->isVisible());
    EXPECT_EQ(player.main->geometry(), outer); // the client grew by the frame
    QSize board = player.main->Board().size();
    EXPECT_EQ(player.game().BoardWidth, board.width());
    EXPECT_EQ(player.game().BoardHeight, board.height());
    EXPECT_EQ(player.game().BackBuffer->width(), board.width());

    QTest::keyClick(player.main.get(), Qt::Key_F12);
    EXPECT_FALSE(player.main->FullScreen());
    EXPECT_EQ(player.main->frameGeometry(), outer);
    EXPECT_EQ(player.main->geometry(), client);
    EXPECT_EQ(player.game().BoardHeight, player.main->Board().height());
    EXPECT_FALSE(player.action("FullScreenMenu").isChecked());
}

TEST(MainWindow, ClosingInFullScreenGivesTheFrameBackFirst)
{
    Player player;
    player.show();
    player.action("FullScreenMenu").trigger();
    ASSERT_TRUE(player.main->FullScreen());
    int closed = 0;
    QObject::connect(player.main.get(), &app::TFormMain::Closed, [&] { ++closed; });
    player.action("ExitMenu").trigger();
    EXPECT_FALSE(player.main->FullScreen());
    EXPECT_FALSE(player.main->isVisible());
    EXPECT_EQ(closed, 1);
}

TEST(MainWindow, ThumbnailItemOpensAndClosesTheThumbnail)
{
    Player player(brokenPicturePackage());
    player.show();
    QAction& item = player.action("ShowThumbnailMenu");
    item.trigger();
    app::TOrgWindow* thumbnail = player.main->OrgWindow();
    ASSERT_NE(thumbnail, nullptr);
    EXPECT_TRUE(item.isChecked());
    EXPECT_TRUE(thumbnail->isVisible());
    EXPECT_EQ(thumbnail->size(), QSize(172, 151)); // no puzzle: white at the design size
    EXPECT_EQ(app_testing::shot(*thumbnail).pixel(80, 70), qRgb(255, 255, 255));
    EXPECT_EQ(QApplication::activeWindow(), player.main.get());

    item.trigger();
    EXPECT_EQ(player.main->OrgWindow(), nullptr);
    EXPECT_FALSE(item.isChecked());

    // Its own close box does the same.
    item.trigger();
    QPointer<app::TOrgWindow> second = player.main->OrgWindow();
    ASSERT_TRUE(second);
    second->close();
    EXPECT_EQ(player.main->OrgWindow(), nullptr);
    EXPECT_FALSE(item.isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(second);
}

TEST(MainWindow, HelpItemsOpenTheHomePageAndTheAboutBox)
{
    Player player;
    player.show();
    app_testing::UrlRecorder browser;
    player.action("TovantaHomePageMenu").trigger();
    ASSERT_EQ(browser.opened.size(), 1u);
    EXPECT_EQ(browser.opened[0], QUrl(app::kProductPage));

    QString title;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<app::TFormAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        title = about->windowTitle();
        QTest::mouseClick(about->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    });
    player.action("AboutMenu").trigger(); // returns once the box is closed
    EXPECT_EQ(title, "About");
    EXPECT_EQ(player.main->findChild<app::TFormAbout*>(), nullptr);
}

TEST(MainWindow, ClosingDeletesTheExtractedFiles)
{
    PackageBuilder package = Player::SamplePackage();
    package.music = PackageBuilder::Tune();
    Player player(package);
    player.show();
    std::string picture = player.game().TempPicturePath, tune = player.game().TempMusicPath;
    ASSERT_FALSE(picture.empty());
    ASSERT_FALSE(tune.empty());
    EXPECT_EQ(access(picture.c_str(), F_OK), 0);
    EXPECT_EQ(access(tune.c_str(), F_OK), 0);
    player.quit();
    EXPECT_NE(access(picture.c_str(), F_OK), 0);
    EXPECT_NE(access(tune.c_str(), F_OK), 0);
}

// --- the board ---------------------------------------------------------------------------------

TEST(Board, ShowsTheBackBufferAndCopiesOnlyTheRectanglesItIsGiven)
{
    Player player(brokenPicturePackage());
    player.show();
    game::Game& game = player.game();
    game.BackgroundColor = gfx::rgb(10, 20, 30);
    game.RedrawBoard();
    QImage board = app_testing::shot(player.main->Board());
    EXPECT_EQ(board.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(board.pixel(board.width() - 1, board.height() - 1), qRgb(10, 20, 30));

    gfx::fillRect(*game.FrameBuffer, game.FrameBuffer->rect(), gfx::rgb(200, 100, 0));
    player.main->CopyToWindow(*game.FrameBuffer, {5, 6, 15, 26});
    board = app_testing::shot(player.main->Board());
    EXPECT_EQ(board.pixel(5, 6), qRgb(200, 100, 0));
    EXPECT_EQ(board.pixel(14, 25), qRgb(200, 100, 0));
    EXPECT_EQ(board.pixel(15, 25), qRgb(10, 20, 30));
    EXPECT_EQ(board.pixel(14, 26), qRgb(10, 20, 30));
    EXPECT_EQ(board.pixel(4, 6), qRgb(10, 20, 30));
    // A rectangle hanging over the edges is clipped, not refused.
    player.main->CopyToWindow(*game.FrameBuffer, {-20, -20, 3, 3});
    EXPECT_EQ(app_testing::shot(player.main->Board()).pixel(0, 0), qRgb(200, 100, 0));
}

TEST(Board, ABackBufferOfAnotherSizeIsShownOnTheBoardColourAtEveryPaint)
{
    Player player(brokenPicturePackage());
    player.show();
    game::Game& game = player.game();
    game.BackgroundColor = gfx::rgb(0, 0, 90);
    game.CreateBuffers(40, 30); // as between a resize and the re-creation it waits for
    gfx::fillRect(*game.BackBuffer, game.BackBuffer->rect(), gfx::rgb(0, 150, 0));
    for (int paint = 0; paint < 2; ++paint) {
        QImage board = app_testing::shot(player.main->Board());
        EXPECT_EQ(board.pixel(39, 29), qRgb(0, 150, 0)) << paint;
        EXPECT_EQ(board.pixel(40, 29), qRgb(0, 0, 90)) << paint;
    }
}

} // namespace
