#include "game/PieceGrid.h"
#include <algorithm>

namespace game {
namespace {

constexpr PieceGrid::Sizes kLevels[] = {
    {96, 16, 36, 29},
    {80, 14, 29, 24},
    {64, 10, 24, 19},
    {48, 8, 18, 14},
};

// The count of tiles whose bodies start inside length: an odd length counts as one less.
int tilesAlong(int length, int step) { return (length - (length & 1)) / step + 1; }

// How many pixel columns (rows) of the last tile lie beyond length.
int trimOf(int cell, int knob, int length, int tiles)
{
    return cell - std::max(length - (tiles - 1) * (cell - knob) + knob, 0);
}

} // namespace

PieceGrid::Sizes PieceGrid::SizesOf(int level)
{
    return kLevels[(level >= 1 && level <= 4 ? level : 3) - 1];
}

int PieceGrid::LevelForCode(int code)
{
    if (code >= 11 && code <= 14)
        code -= 10;
    return code >= 1 && code <= 4 ? code : 3;
}

PieceGrid PieceGrid::Compute(const Sizes& z, int width, int height)
{
    const int C = z.cellSize, K = z.knobSize, U = z.upper, L = z.lower, s = C - K;
    PieceGrid g;
    int W = std::max(width, 0), H = std::max(height, 0);
    g.Columns = tilesAlong(W, s);
    g.Rows = tilesAlong(H, s);
    const int c = trimOf(C, K, W, g.Columns);
    const int r = trimOf(C, K, H, g.Rows);

    // A last tile that would be mostly trim goes; the column bounds sit 2 below the row bounds.
    if ((C - U - 2 <= c && c <= C - L - 2) || c >= C - 2 * K)
        --g.Columns;
    if ((C - U <= r && r <= C - L) || r >= C - 2 * K)
        --g.Rows;
    // Shave the picture so that the last tile's trim lands outside the awkward ranges.
    if (L <= c && c <= U + 1)
        W -= U + 2 - c;
    if (L <= r && r <= U + 1)
        H -= U + 2 - r;
    if (c <= K)
        W -= K - c + 1;
    if (r <= K)
        H -= K - r + 2; // one pixel more for the height than for the width

    g.Width = W;
    g.Height = H;
    g.LastColumnTrim = std::max(trimOf(C, K, W, g.Columns), 0);
    g.LastRowTrim = std::max(trimOf(C, K, H, g.Rows), 0);
    if (g.LastColumnTrim <= K)
        g.LastColumnTrim += K;
    if (g.LastRowTrim <= K)
        g.LastRowTrim += K;
    return g;
}

} // namespace game
