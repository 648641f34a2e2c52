#include "StripPreview.h"
#include "gfx/Raster.h"
#include "gfx/Shade.h"
#include <algorithm>

namespace {

constexpr int kColumns = 4, kRows = 3;
constexpr int kMargin = 10;
constexpr int kBevelStep = 50;
constexpr gfx::Color kBoard = gfx::rgb(40, 70, 80);

// A fixed mixture of knobs and sockets, so every run shows the same pieces.
bool rightKnobAt(int column, int row) { return (column * 5 + row * 3) % 3 != 1; }
bool bottomKnobAt(int column, int row) { return (column * 3 + row * 7) % 4 < 2; }

struct Placement {
    const std::vector<Strip>& strips;
    int cell, knob;
};

const Strip& stripFor(const Placement& pl, StripSide side, bool knob)
{
    return *std::find_if(pl.strips.begin(), pl.strips.end(),
                         [&](const Strip& s) { return s.kind.side == side && s.kind.knob == knob; });
}

gfx::Rect bandOf(StripSide side, int cell, int knob)
{
    switch (side) {
    case StripSide::Top: return {0, 0, cell, knob};
    case StripSide::Bottom: return {0, cell - knob, cell, cell};
    case StripSide::Left: return {0, 0, knob, cell};
    case StripSide::Right: return {cell - knob, 0, cell, cell};
    }
    return {};
}

// The mask and shading map of the piece at (column, row), built the way the player builds them.
void buildPiece(const Placement& pl, int column, int row, gfx::Bitmap& mask, gfx::Bitmap& map)
{
    mask = gfx::Bitmap(pl.cell, pl.cell, gfx::PixelFormat::Mono1);
    map = gfx::Bitmap(pl.cell, pl.cell, gfx::PixelFormat::Index4);
    gfx::patBlt(mask, mask.rect(), gfx::Pattern::White);
    gfx::patBlt(mask, {pl.knob, pl.knob, pl.cell - pl.knob, pl.cell - pl.knob}, gfx::Pattern::Black);
    gfx::patBlt(map, map.rect(), gfx::Pattern::White);
    struct SideUse {
        StripSide side;
        bool border, knob;
    } uses[] = {
        {StripSide::Top, row == 0, row > 0 && !bottomKnobAt(column, row - 1)},
        {StripSide::Bottom, row == kRows - 1, bottomKnobAt(column, row)},
        {StripSide::Left, column == 0, column > 0 && !rightKnobAt(column - 1, row)},
        {StripSide::Right, column == kColumns - 1, rightKnobAt(column, row)},
    };
    for (const SideUse& use : uses) {
        if (use.border)
            continue;
        const Strip& strip = stripFor(pl, use.side, use.knob);
        gfx::Rect band = bandOf(use.side, pl.cell, pl.knob);
        gfx::bitBlt(mask, band.left, band.top, band.width(), band.height(), strip.outline, 0, 0, gfx::Rop::And);
        gfx::bitBlt(map, band.left, band.top, band.width(), band.height(), strip.shading, 0, 0, gfx::Rop::And);
    }
    // The picture's edge is straight: nothing of the piece lies beyond it.
    for (const SideUse& use : uses)
        if (use.border)
            gfx::patBlt(mask, bandOf(use.side, pl.cell, pl.knob), gfx::Pattern::White);
}

gfx::Color pictureAt(int x, int y) { return gfx::rgb(150 + x / 8, 140 + y / 6, 120); }

// Draws the level's pieces with their tops-left at origin, spread apart by gap pixels.
void drawPieces(gfx::Bitmap& canvas, const Placement& pl, int ox, int oy, int gap)
{
    int step = pl.cell - pl.knob;
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            gfx::Bitmap mask, map;
            buildPiece(pl, column, row, mask, map);
            gfx::Bitmap tile(pl.cell, pl.cell, gfx::PixelFormat::Bgr24);
            for (int y = 0; y < pl.cell; ++y)
                for (int x = 0; x < pl.cell; ++x)
                    tile.setValue(x, y, pictureAt(column * step + x, row * step + y));
            gfx::shadeByMap(tile, 0, 0, map, kBevelStep);
            int x = ox + column * (step + gap) - pl.knob, y = oy + row * (step + gap) - pl.knob;
            gfx::maskedCopy(canvas, x, y, pl.cell, pl.cell, tile, 0, 0, mask, 0, 0);
        }
}

int puzzleWidth(int cell, int knob, int gap) { return kColumns * (cell - knob + gap); }
int puzzleHeight(int cell, int knob, int gap) { return kRows * (cell - knob + gap); }

} // namespace

gfx::Bitmap StripPreview(const std::vector<std::vector<Strip>>& levels, int zoom)
{
    int width = 0, height = kMargin;
    for (const auto& strips : levels) {
        int cell = strips.front().outline.height(), knob = strips.front().outline.width();
        width = std::max(width, 3 * kMargin + puzzleWidth(cell, knob, 2 * knob) + puzzleWidth(cell, knob, 0));
        height += puzzleHeight(cell, knob, 2 * knob) + kMargin;
    }
    gfx::Bitmap canvas(width, height, gfx::PixelFormat::Bgr24);
    gfx::fillRect(canvas, canvas.rect(), kBoard);
    int y = kMargin;
    for (const auto& strips : levels) {
        Placement pl{strips, strips.front().outline.height(), strips.front().outline.width()};
        // Apart by twice the band, so that no knob reaches its neighbour.
        int apart = 2 * pl.knob;
        drawPieces(canvas, pl, kMargin + pl.knob, y + pl.knob, apart);
        drawPieces(canvas, pl, 2 * kMargin + pl.knob + puzzleWidth(pl.cell, pl.knob, apart), y + pl.knob, 0);
        y += puzzleHeight(pl.cell, pl.knob, apart) + kMargin;
    }
    gfx::Bitmap big(width * zoom, height * zoom, gfx::PixelFormat::Bgr24);
    gfx::stretchBlt(big, big.rect(), canvas, canvas.rect());
    return big;
}
