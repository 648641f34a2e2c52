#include "game/Game.h"
#include "gfx/ChannelMap.h"
#include "gfx/GfxError.h"
#include "gfx/Raster.h"
#include "puzzle/PuzzleErrors.h"
#include <algorithm>
#include <vector>

namespace game {
namespace {

const char* const kOutOfMemoryMessage = "Not enough memory! Please try to use Beginner or Novice level.";

// v x 85 / 255 + 85: a light, low-contrast copy of the picture to lay under the pieces.
std::array<std::uint8_t, 256> fadeTable()
{
    std::array<std::uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v)
        t[v] = std::uint8_t(v * 85 / 255 + 85);
    return t;
}

// The knob decisions of the cut: each interior edge gets its knob on exactly one side.
struct KnobMemory {
    std::vector<std::uint8_t> bottomOfColumn; // KnobBottom of the piece above, per column
    std::uint8_t previousRight = 0;           // KnobRight of the piece to the left
};

} // namespace

bool Game::CutPieces()
{
    Pieces = std::make_unique<game::Pieces>();
    Pieces->Reserve(std::size_t(std::max(Columns * Rows, 0)));
    KnobMemory knobs{std::vector<std::uint8_t>(std::size_t(Columns), 0), 0};
    std::int16_t groupCounter = 0;
    const int step = CellSize - KnobSize;
    const gfx::Rect body{KnobSize, KnobSize, CellSize - KnobSize, CellSize - KnobSize};

    CreateBuffers(m_window.ClientWidth(), m_window.ClientHeight());
    const int rangeX = std::max(PictureWidth + 200, m_window.ClientWidth()) - CellSize - 10;
    const int rangeY = std::max(PictureHeight + 200, m_window.ClientHeight()) - CellSize - 10;

    m_window.ShowProgress();
    m_window.SetProgressRange(Columns * Rows - 1);
    m_window.SetProgressPosition(0);

    try {
        // Every pixel of the sheet is written below: copied, or cleared where the tile lies
        // beyond the picture.
        PieceSheet = std::make_unique<gfx::Bitmap>(
            gfx::Bitmap::uninitialized(Columns * CellSize, Rows * CellSize, gfx::PixelFormat::Bgr24));
        for (int i = 0; i < Rows; ++i)
            for (int j = 0; j < Columns; ++j) {
                m_window.SetProgressPosition(m_window.ProgressPosition() + 1);
                int x = RandomGenerator.RandomBelow(rangeX);
                int y = RandomGenerator.RandomBelow(rangeY);
                CopyTile(j, i);
                PrefetchTile(j + 1 < Columns ? j + 1 : 0, j + 1 < Columns ? i : i + 1);

                auto piece = std::make_unique<TPuzzle>(x, y, CellSize, CellSize);
                piece->Column = std::int16_t(j);
                piece->Row = std::int16_t(i);
                piece->Group = ++groupCounter;
                piece->HomeX = j * step - KnobSize;
                piece->HomeY = i * step - KnobSize;

                std::uint8_t bottom = RandomGenerator.Next() & 1;
                std::uint8_t right = RandomGenerator.Next() & 1;
                piece->KnobTop = i > 0 && knobs.bottomOfColumn[j] == 0;
                piece->KnobLeft = j > 0 && knobs.previousRight == 0;
                piece->KnobRight = right;
                piece->KnobBottom = bottom;
                knobs.previousRight = right;
                knobs.bottomOfColumn[j] = bottom;

                piece->BorderTop = i == 0;
                piece->BorderLeft = j == 0;
                piece->BorderRight = j == Columns - 1;
                piece->BorderBottom = i == Rows - 1;

                piece->BuildShape(body, *PieceSheet, Level, LastColumnTrim, LastRowTrim, *MaskFactory);

                if (RotatePieces) {
                    switch (RandomGenerator.Next() % 3) {
                    case 0: piece->Rotate(90, *PieceSheet); break;
                    case 1: piece->Rotate(270, *PieceSheet); break;
                    default: piece->HalfTurn(*PieceSheet); break; // two turns by 90
                    }
                }
                Pieces->AddAtHead(std::move(piece));
            }
    } catch (const puzzle::OutOfMemoryError&) {
        return AbandonCut();
    } catch (const gfx::AllocationError&) {
        // A sheet too large for memory is the same failure as a mask that cannot be made.
        return AbandonCut();
    }

    TrimAndFadePictures();
    m_window.SetProgressPosition(Columns * Rows - 1);

    // Each arrangement ends with a full redraw of its own.
    switch (Arrangement) {
    case 1: ArrangeGrid(); break;
    case 2: ArrangeRandom(); break;
    case 3: ArrangeAtEdge(); break;
    default: RedrawBoard(); break;
    }
    return true;
}

// The tile from GhostPicture, still an unfaded copy of Picture; what lies beyond the picture
// comes out black, as in a new bitmap.
void Game::CopyTile(int column, int row)
{
    const int step = CellSize - KnobSize;
    const gfx::Rect tile = gfx::Rect::fromSize(column * CellSize, row * CellSize, CellSize, CellSize);
    const int sx = column * step - KnobSize, sy = row * step - KnobSize;
    gfx::bitBlt(*PieceSheet, tile.left, tile.top, CellSize, CellSize, *GhostPicture, sx, sy, gfx::Rop::Copy);
    const gfx::Rect copied = gfx::intersected(gfx::Rect::fromSize(sx, sy, CellSize, CellSize), GhostPicture->rect());
    gfx::fillAround(*PieceSheet, tile, copied.translated(tile.left - sx, tile.top - sy), gfx::kBlack);
}

// The next tile's pixels in the picture start loading while the current piece is shaped and
// turned.
void Game::PrefetchTile(int column, int row)
{
    const int step = CellSize - KnobSize;
    gfx::prefetch(*GhostPicture, gfx::Rect::fromSize(column * step - KnobSize, row * step - KnobSize, CellSize, CellSize));
}

bool Game::AbandonCut()
{
    m_window.ShowMessage(kOutOfMemoryMessage, MessageIcon::Error);
    FreePictures();
    DestroyPieces();
    RedrawBoard();
    return false;
}

void Game::TrimAndFadePictures()
{
    if (!GhostPicture || !Picture)
        return;
    const int step = CellSize - KnobSize;
    const int w = Columns * step - LastColumnTrim;
    const int h = Rows * step - LastRowTrim;

    // GhostPicture is still an unfaded copy of Picture, so it is trimmed where it is.
    GhostPicture->resize(w, h);

    // Picture keeps its address: the thumbnail window refers to it.
    *Picture = gfx::Bitmap(w / 2, h / 2, gfx::PixelFormat::Bgr24);
    gfx::stretchBlt(*Picture, Picture->rect(), *GhostPicture, GhostPicture->rect());

    static const std::array<std::uint8_t, 256> fade = fadeTable();
    gfx::mapChannels(*GhostPicture, GhostPicture->rect(), fade);
}

} // namespace game
