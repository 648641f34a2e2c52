#include "game/Game.h"
#include "game/PieceGrid.h"
#include "gfx/BmpCodec.h"
#include "gfx/Raster.h"
#include "puzzle/MaskDevice.h"
#include "support/ErrorMessages.h"
#include "support/PackageBuilder.h"
#include "support/RecordingWindow.h"
#include "support/ScratchFolder.h"
#include <gtest/gtest.h>
#include <sys/stat.h>

using game::PieceGrid;
using testing_support::PackageBuilder;
using testing_support::RecordingWindow;
using testing_support::ScratchFolder;

namespace {

const std::string kTooSmall = "Cannot create puzzle because the image is too small.";

struct BuildGame {
    RecordingWindow window;
    game::Game game;
    ScratchFolder folder;

    explicit BuildGame(int boardWidth = 1024, int boardHeight = 700, int level = 1)
        : window(boardWidth, boardHeight)
        , game(window)
    {
        game.SetLevel(level);
        game.CreateBuffers(boardWidth, boardHeight);
    }
    std::vector<std::string> messages() const { return testing_support::errorMessages(window); }
    // Nothing of a puzzle is left and the board was repainted.
    void expectNoPuzzle() const
    {
        EXPECT_FALSE(game.Picture);
        EXPECT_FALSE(game.GhostPicture);
        EXPECT_FALSE(game.PieceSheet);
        EXPECT_FALSE(game.Pieces);
        EXPECT_TRUE(game.NoPuzzle);
        EXPECT_GT(window.invalidations, 0);
        EXPECT_EQ(window.busyCursorDepth, 0);
        ASSERT_FALSE(window.thumbnailPictures.empty());
        EXPECT_EQ(window.thumbnailPictures.back(), nullptr) << "the thumbnail shows white";
    }
};

gfx::Bitmap picture(int width, int height, gfx::Color color = gfx::rgb(90, 140, 200))
{
    gfx::Bitmap b(width, height, gfx::PixelFormat::Bgr24);
    gfx::fillRect(b, b.rect(), color);
    return b;
}

} // namespace

TEST(SetLevelTest, MapsEveryCodeToALevelAndItsSizes)
{
    const std::pair<int, int> codes[] = {
        {1, 1}, {2, 2}, {3, 3}, {4, 4}, {11, 1}, {12, 2}, {13, 3}, {14, 4},
        {0, 3}, {-1, 3}, {-128, 3}, {5, 3}, {10, 3}, {15, 3}, {127, 3}, {std::int8_t(200), 3}, {21, 3},
    };
    const int cell[] = {96, 80, 64, 48}, knob[] = {16, 14, 10, 8};
    RecordingWindow window;
    game::Game g(window);
    for (auto [code, level] : codes) {
        g.SetLevel(code);
        EXPECT_EQ(g.Level, level) << "code " << code;
        EXPECT_EQ(g.CellSize, cell[level - 1]) << "code " << code;
        EXPECT_EQ(g.KnobSize, knob[level - 1]) << "code " << code;
    }
}

TEST(ComputeGridTest, WorkedExamples)
{
    struct Case {
        int level, width, height, columns, rows, columnTrim, rowTrim, newWidth, newHeight;
    };
    const Case cases[] = {
        {1, 640, 480, 8, 6, 16, 16, 640, 480},
        {1, 800, 600, 10, 8, 16, 40, 800, 600},
        {2, 640, 480, 10, 8, 20, 48, 640, 480},
        {3, 640, 480, 12, 9, 11, 12, 637, 474},
        {4, 800, 600, 20, 15, 8, 8, 800, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << ", " << c.width << " x " << c.height);
        RecordingWindow window;
        game::Game g(window);
        g.SetLevel(c.level);
        g.PictureWidth = c.width;
        g.PictureHeight = c.height;
        ASSERT_TRUE(g.ComputeGrid());
        EXPECT_EQ(g.Columns, c.columns);
        EXPECT_EQ(g.Rows, c.rows);
        EXPECT_EQ(g.LastColumnTrim, c.columnTrim);
        EXPECT_EQ(g.LastRowTrim, c.rowTrim);
        EXPECT_EQ(g.PictureWidth, c.newWidth);
        EXPECT_EQ(g.PictureHeight, c.newHeight);
        EXPECT_TRUE(window.messages.empty());
        // A second pass over its own result changes nothing: CreatePuzzle relies on it.
        ASSERT_TRUE(g.ComputeGrid());
        EXPECT_EQ(g.PictureWidth, c.newWidth);
        EXPECT_EQ(g.LastColumnTrim, c.columnTrim);
    }
}

TEST(ComputeGridTest, SmallestPictureOfTwoColumnsAndTwoRows)
{
    const int widths[] = {103, 84, 71, 53}, heights[] = {101, 82, 69, 51};
    for (int level = 1; level <= 4; ++level) {
        SCOPED_TRACE(testing::Message() << "level " << level);
        const PieceGrid::Sizes sizes = PieceGrid::SizesOf(level);
        const int w = widths[level - 1], h = heights[level - 1];
        EXPECT_TRUE(PieceGrid::Compute(sizes, w, h).fits());
        EXPECT_EQ(PieceGrid::Compute(sizes, w, 400).Columns, 2);
        EXPECT_EQ(PieceGrid::Compute(sizes, w - 1, 400).Columns, 1);
        EXPECT_EQ(PieceGrid::Compute(sizes, 400, h).Rows, 2);
        EXPECT_EQ(PieceGrid::Compute(sizes, 400, h - 1).Rows, 1);
        EXPECT_FALSE(PieceGrid::Compute(sizes, w - 1, h).fits());
        EXPECT_FALSE(PieceGrid::Compute(sizes, w, h - 1).fits());
    }
}

TEST(ComputeGridTest, KeepsEveryTrimWithinAKnobAndAStep)
{
    // The cut relies on K <= trim < step for whatever size fits.
    for (int level = 1; level <= 4; ++level) {
        const PieceGrid::Sizes z = PieceGrid::SizesOf(level);
        for (int w = 40; w < 700; ++w) {
            const PieceGrid g = PieceGrid::Compute(z, w, w);
            if (!g.fits())
                continue;
            const int step = z.cellSize - z.knobSize;
            ASSERT_GE(g.LastColumnTrim, z.knobSize) << "level " << level << ", width " << w;
            ASSERT_LT(g.LastColumnTrim, step) << "level " << level << ", width " << w;
            ASSERT_GE(g.LastRowTrim, z.knobSize) << "level " << level << ", height " << w;
            ASSERT_LT(g.LastRowTrim, step) << "level " << level << ", height " << w;
            ASSERT_LE(g.Columns * step - g.LastColumnTrim, g.Width) << "level " << level << ", width " << w;
            ASSERT_LE(g.Rows * step - g.LastRowTrim, g.Height) << "level " << level << ", height " << w;
        }
    }
}

TEST(ComputeGridTest, TooSmallPictureFreesThePicturesAndSaysSo)
{
    BuildGame b(800, 600, 1);
    b.game.Picture = std::make_unique<gfx::Bitmap>(picture(102, 300));
    b.game.GhostPicture = std::make_unique<gfx::Bitmap>(picture(102, 300));
    b.game.PicturePath = "/pictures/kept.jpg";
    b.game.NoPuzzle = false;
    b.game.PictureWidth = 102;
    b.game.PictureHeight = 300;
    EXPECT_FALSE(b.game.ComputeGrid());
    EXPECT_EQ(b.messages(), std::vector<std::string>{kTooSmall});
    b.expectNoPuzzle();
    EXPECT_EQ(b.game.PicturePath, "/pictures/kept.jpg");
}

TEST(NewGameTest, WithoutAPathFailsAsTooSmall)
{
    // A fresh run: nothing was ever loaded, so the grid of 0 x 0 fails.
    BuildGame fresh;
    EXPECT_FALSE(fresh.game.NewGame(std::nullopt));
    EXPECT_EQ(fresh.messages(), std::vector<std::string>{kTooSmall});
    fresh.expectNoPuzzle();

    // A later load failed but the last picture's size would still give a grid: the build must
    // still fail, not report success with nothing on the board and start the tune.
    BuildGame later;
    later.window.tuneFileName = "/tmp/tovanta.mid";
    later.game.PictureWidth = 640;
    later.game.PictureHeight = 480;
    EXPECT_FALSE(later.game.NewGame(std::nullopt));
    EXPECT_EQ(later.messages(), std::vector<std::string>{kTooSmall});
    later.expectNoPuzzle();
    EXPECT_EQ(later.window.tunePlays, 0);
}

TEST(NewGameTest, PictureThatCannotBeLoadedNamesItsPath)
{
    BuildGame b;
    const auto bmpBytes = PackageBuilder::BmpPicture(300, 200);
    ::mkdir(b.folder.file("album.bmp").c_str(), 0700);
    const std::string cases[] = {
        b.folder.write("picture.png", bmpBytes),           // not ".BMP": the JPEG decoder refuses it
        b.folder.write("album.bmp/picture", bmpBytes),     // the last dot is in the folder's name
        b.folder.write("picture.bmp.jpg", bmpBytes),
        b.folder.write("damaged.bmp", std::string("BM not really")),
        b.folder.file("missing.jpg"),
        "no-dot-anywhere",
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        b.window.messages.clear();
        b.game.PicturePath = "/earlier.jpg";
        b.game.Picture = std::make_unique<gfx::Bitmap>(picture(300, 200));
        EXPECT_FALSE(b.game.NewGame(path));
        EXPECT_EQ(b.messages(), std::vector<std::string>{"Unable to open " + path + "."});
        b.expectNoPuzzle();
        EXPECT_FALSE(b.game.PicturePath);
        EXPECT_EQ(b.window.tunePlays, 0);
    }
}

TEST(NewGameTest, LastDotDecidesBetweenBmpAndJpeg)
{
    // Pictures too small to cut: a load that worked ends in the grid's message, not the load's.
    BuildGame b;
    ::mkdir(b.folder.file("my.pictures").c_str(), 0700);
    const auto bmp = PackageBuilder::BmpPicture(60, 60);
    const auto jpeg = PackageBuilder::JpegPicture(60, 60);
    const std::string cases[] = {
        b.folder.write("picture.Bmp", bmp),
        b.folder.write("picture.BMP", bmp),
        b.folder.write("my.pictures/picture.bmp", bmp),
        b.folder.write("picture.jpg", jpeg),
        b.folder.write("picture.jpeg", jpeg),
        b.folder.write("picture.gif", jpeg),
        b.folder.write("picture.", jpeg),
        b.folder.write("my.pictures/picture", jpeg),
    };
    for (const std::string& path : cases) {
        SCOPED_TRACE(path);
        b.window.messages.clear();
        EXPECT_FALSE(b.game.NewGame(path));
        EXPECT_EQ(b.messages(), std::vector<std::string>{kTooSmall});
        EXPECT_EQ(b.game.PicturePath, path) << "kept for the next New game";
        b.expectNoPuzzle();
    }
}

TEST(NewGameTest, ScaleIsFittedToTheBoard)
{
    struct Case {
        const char* what;
        int boardWidth, boardHeight, pictureWidth, pictureHeight, scale;
        int fittedScale, fittedWidth, fittedHeight;
    };
    // Each picture ends too small to cut, so the fitting is all there is to see.
    const Case cases[] = {
        {"150 % that fits stays", 1024, 700, 60, 60, 150, 150, 90, 90},
        {"the largest value that fits", 200, 150, 200, 100, 100, 80, 160, 80},
        {"just below the margin", 186, 150, 200, 100, 100, 80, 160, 80},
        {"one pixel too wide for 80 %", 185, 150, 200, 120, 100, 70, 140, 84},
        {"125 % below a scale that is too large", 1024, 700, 64, 48, 5000, 125, 80, 60},
        {"nothing fits: 20 %", 60, 60, 400, 400, 100, 20, 80, 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BuildGame b(c.boardWidth, c.boardHeight, 1);
        b.game.ScalePercent = c.scale;
        const std::string path = b.folder.write("p.bmp", PackageBuilder::BmpPicture(c.pictureWidth, c.pictureHeight));
        EXPECT_FALSE(b.game.NewGame(path));
        EXPECT_EQ(b.messages(), std::vector<std::string>{kTooSmall});
        EXPECT_EQ(b.game.ScalePercent, c.fittedScale);
        EXPECT_EQ(b.game.PictureWidth, c.fittedWidth);
        EXPECT_EQ(b.game.PictureHeight, c.fittedHeight);
    }
}

// The builds below cut the picture for real.

TEST(NewGameTest, BuildsThePuzzleHandsTheThumbnailItsPictureAndStartsTheTune)
{
    for (bool deviceFails : {false, true}) {
        SCOPED_TRACE(deviceFails ? "the music device fails" : "the music device works");
        BuildGame b(1024, 700, 3);
        b.window.tuneFileName = "/tmp/tovanta.mid";
        b.window.tuneFails = deviceFails;
        const std::string path = b.folder.write("p.jpg", PackageBuilder::JpegPicture(640, 480));
        ASSERT_TRUE(b.game.NewGame(path));
        EXPECT_TRUE(b.window.messages.empty());
        EXPECT_FALSE(b.game.NoPuzzle);
        EXPECT_EQ(b.game.PicturePath, path);
        EXPECT_EQ(b.game.Columns, 12);
        EXPECT_EQ(b.game.Rows, 9);
        EXPECT_EQ(b.game.PictureWidth, 637);
        EXPECT_EQ(b.game.PictureHeight, 474);
        ASSERT_TRUE(b.game.Pieces);
        EXPECT_EQ(b.game.Pieces->size(), 12u * 9u);
        ASSERT_FALSE(b.window.thumbnailPictures.empty());
        EXPECT_EQ(b.window.thumbnailPictures.back(), b.game.Picture.get());
        EXPECT_NE(b.game.Picture.get(), nullptr);
        EXPECT_EQ(b.window.busyCursorDepth, 0);
        EXPECT_EQ(b.window.tunePlays, deviceFails ? 0 : 1);
    }
}

TEST(NewGameTest, ResamplingShrinksThePictureRatherThanCroppingIt)
{
    // 640 x 480 at level 3 becomes 637 x 474. Each pixel tells its column and row in multiples
    // of 3, which the cut's fading (v / 3 + 85) keeps readable in the guide picture.
    BuildGame b(1024, 700, 3);
    gfx::Bitmap p(640, 480, gfx::PixelFormat::Bgr24);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            p.setValue(x, y, gfx::rgb(x % 85 * 3, x / 85 * 3, y % 85 * 3));
    const std::string path = b.folder.file("coded.bmp");
    gfx::WriteBmpFile(p, path);
    ASSERT_TRUE(b.game.NewGame(path));

    // The faded guide is the whole resampled picture here: 12 x 54 - 11 and 9 x 54 - 12.
    const gfx::Bitmap& ghost = *b.game.GhostPicture;
    ASSERT_EQ(ghost.width(), 637);
    ASSERT_EQ(ghost.height(), 474);
    for (int x = 0; x < 637; ++x) {
        const gfx::Color c = ghost.colorAt(x, 0);
        ASSERT_EQ(gfx::redOf(c) - 85 + 85 * (gfx::greenOf(c) - 85), gfx::stretchSourceIndex(x, 640, 637)) << x;
    }
    for (int y = 0; y < 474; ++y)
        ASSERT_EQ(gfx::blueOf(ghost.colorAt(0, y)) - 85, gfx::stretchSourceIndex(y, 480, 474) % 85) << y;
    EXPECT_GT(gfx::stretchSourceIndex(636, 640, 637), 636) << "a crop would end at column 636";
}

TEST(NewGameTest, ThumbnailLetsGoOfTheOldPictureBeforeItIsReleased)
{
    struct WatchingWindow : RecordingWindow {
        game::Game* game = nullptr;
        bool heldFreedPicture = false;
        const gfx::Bitmap* shown = nullptr;
        void SetThumbnailPicture(const gfx::Bitmap* p) override
        {
            RecordingWindow::SetThumbnailPicture(p);
            shown = p;
        }
        void ShowProgress() override
        {
            // The cut lets events through here: a thumbnail paint must not find a stale picture.
            RecordingWindow::ShowProgress();
            heldFreedPicture = heldFreedPicture || shown != nullptr;
        }
    };
    WatchingWindow window;
    game::Game g(window);
    window.game = &g;
    g.SetLevel(2);
    g.CreateBuffers(1024, 700);
    ScratchFolder folder;
    const std::string path = folder.write("p.jpg", PackageBuilder::JpegPicture(400, 300));
    ASSERT_TRUE(g.NewGame(path));
    ASSERT_TRUE(g.NewGame(path)) << "a second game over the first";
    EXPECT_FALSE(window.heldFreedPicture);
    EXPECT_EQ(window.shown, g.Picture.get());
}

TEST(NewGameTest, CutThatBreaksOffLeavesNoHalfPuzzle)
{
    struct BrokenDevice : puzzle::MaskDevice {
        int left = 5;
        gfx::Bitmap createMask(int w, int h) override
        {
            if (--left < 0)
                throw std::logic_error("the mask device broke");
            return puzzle::MaskDevice::createMask(w, h);
        }
    };
    BuildGame b(1024, 700, 2);
    BrokenDevice device;
    b.game.MaskFactory = &device;
    const std::string path = b.folder.write("p.jpg", PackageBuilder::JpegPicture(400, 300));
    EXPECT_THROW(b.game.NewGame(path), std::logic_error);
    EXPECT_TRUE(b.window.messages.empty()) << "the window's error report shows it";
    b.expectNoPuzzle();
}
