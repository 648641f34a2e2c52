#include "game/Game.h"
#include "game/PieceGrid.h"
#include "gfx/BmpCodec.h"
#include "gfx/JpegDecoder.h"
#include "gfx/Raster.h"
#include <algorithm>
#include <climits>
#include <stdexcept>
#include <strings.h>

namespace game {
namespace {

const char* const kTooSmallMessage = "Cannot create puzzle because the image is too small.";

// The scales tried, largest first, when the picture at its own scale does not fit the board.
constexpr int kFittingScales[] = {125, 100, 90, 80, 70, 60, 50, 40, 30, 20};
// The picture must stay this much narrower and lower than the board.
constexpr int kBoardMargin = 25;

// The picture at path as 24-bit pixels: a BMP file when the text from the last dot on is
// ".BMP" in any case, a JPEG file otherwise. Throws whatever the decoders throw.
gfx::Bitmap loadPicture(const std::string& path)
{
    const auto dot = path.rfind('.');
    if (dot == std::string::npos)
        throw std::runtime_error("Cannot open image");
    const bool bmp = ::strcasecmp(path.c_str() + dot, ".BMP") == 0;
    gfx::Bitmap picture = bmp ? gfx::DecodeBmpFile(path) : gfx::DecodeJpegFile(path);
    if (picture.format() == gfx::PixelFormat::Bgr24)
        return picture;
    gfx::Bitmap converted(picture.width(), picture.height(), gfx::PixelFormat::Bgr24);
    gfx::bitBlt(converted, 0, 0, picture.width(), picture.height(), picture, 0, 0, gfx::Rop::Copy);
    return converted;
}

// length x percent / 100, kept within 0 .. INT_MAX: a package's scale can be anything.
int scaled(int length, int percent)
{
    long long v = (long long)length * percent / 100;
    return int(std::clamp<long long>(v, 0, INT_MAX));
}

// Scales a w x h picture by the game's ScalePercent; when that is too large for the board, by
// the largest of the fitting scales that is small enough, or the smallest of them.
void fitToBoard(Game& g, int w, int h)
{
    auto apply = [&](int percent) {
        g.PictureWidth = scaled(w, percent);
        g.PictureHeight = scaled(h, percent);
        return g.PictureWidth < g.BoardWidth - kBoardMargin && g.PictureHeight < g.BoardHeight - kBoardMargin;
    };
    if (apply(g.ScalePercent))
        return;
    for (int percent : kFittingScales) {
        g.ScalePercent = percent;
        if (apply(percent))
            return;
    }
}

// The grid's failure: no pictures, an empty board and the message.
void reportTooSmall(Game& g)
{
    g.FreePictures();
    g.Window().ShowMessage(kTooSmallMessage, MessageIcon::Error);
    g.RedrawBoard();
    g.NoPuzzle = true;
}

// Keeps the busy cursor up for exactly as long as it lives.
class BusyCursor {
public:
    explicit BusyCursor(GameWindow& window)
        : m_window(window)
    {
        m_window.SetBusyCursor(true);
    }
    ~BusyCursor() { m_window.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    GameWindow& m_window;
};

} // namespace

void Game::SetLevel(int code)
{
    Level = PieceGrid::LevelForCode(code);
    const PieceGrid::Sizes sizes = PieceGrid::SizesOf(Level);
    CellSize = sizes.cellSize;
    KnobSize = sizes.knobSize;
}

bool Game::NewGame(const std::optional<std::string>& path)
{
    bool ok;
    {
        BusyCursor busy(m_window);
        ok = CreatePuzzle(path);
        m_window.SetThumbnailPicture(Picture.get());
    }
    if (ok) {
        try {
            m_window.OpenAndPlayTune();
        } catch (const DeviceError&) {
            // Without a tune, or with a device that will not open, the game goes on silently.
        }
    }
    return ok;
}

bool Game::CreatePuzzle(const std::optional<std::string>& path)
{
    DestroyPieces();
    if (path) {
        FreePictures();
        try {
            Picture = std::make_unique<gfx::Bitmap>(loadPicture(*path));
        } catch (const std::exception&) {
            Picture.reset();
            m_window.ShowMessage("Unable to open " + *path + ".", MessageIcon::Error);
            RedrawBoard();
            PicturePath.reset();
            return false;
        }
        fitToBoard(*this, Picture->width(), Picture->height());
        PicturePath = *path;
    }
    if (!ComputeGrid())
        return false;
    if (!Picture) {
        // Nothing was loaded, so there is nothing to cut; saying so beats an empty "success".
        reportTooSmall(*this);
        return false;
    }

    auto resampled = std::make_unique<gfx::Bitmap>(PictureWidth, PictureHeight, gfx::PixelFormat::Bgr24);
    gfx::stretchBlt(*resampled, resampled->rect(), *Picture, Picture->rect());
    Picture = std::move(resampled);
    if (!ComputeGrid())
        return false;

    NoPuzzle = false;
    GhostPicture = std::make_unique<gfx::Bitmap>(*Picture);
    try {
        NoPuzzle = !CutPieces();
    } catch (...) {
        // A cut that breaks off must not leave half a puzzle on the board.
        FreePictures();
        DestroyPieces();
        RedrawBoard();
        throw;
    }
    return !NoPuzzle;
}

bool Game::ComputeGrid()
{
    PieceGrid::Sizes sizes = PieceGrid::SizesOf(Level);
    sizes.cellSize = CellSize;
    sizes.knobSize = KnobSize;
    const PieceGrid grid = PieceGrid::Compute(sizes, PictureWidth, PictureHeight);
    Columns = grid.Columns;
    Rows = grid.Rows;
    PictureWidth = grid.Width;
    PictureHeight = grid.Height;
    LastColumnTrim = grid.LastColumnTrim;
    LastRowTrim = grid.LastRowTrim;
    if (grid.fits())
        return true;
    reportTooSmall(*this);
    return false;
}

void Game::FreePictures()
{
    // The thumbnail lets go first, so it never paints a released picture.
    m_window.SetThumbnailPicture(nullptr);
    PieceSheet.reset();
    Picture.reset();
    GhostPicture.reset();
    NoPuzzle = true;
}

} // namespace game
