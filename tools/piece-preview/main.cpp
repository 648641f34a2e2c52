// piece-preview [folder]: cuts a made-up picture into a few pieces of each level and writes
//   piece-preview-assembled.bmp  the pieces at their home positions, on a magenta board so
//                                that any gap between them shows;
//   piece-preview-apart.bmp      the same pieces pulled apart, each with its drop shadow.
#include "gfx/BmpCodec.h"
#include "gfx/Raster.h"
#include "puzzle/MaskDevice.h"
#include "puzzle/TPuzzle.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using gfx::Bitmap;
using puzzle::TPuzzle;

struct Level {
    int number, cell, knob;
    int step() const { return cell - knob; }
};
const Level kLevels[] = {{1, 96, 16}, {2, 80, 14}, {3, 64, 10}, {4, 48, 8}};

constexpr int kColumns = 4, kRows = 3;
constexpr int kMargin = 24, kGap = 24; // wider than any knob, so no knob reaches a neighbour
constexpr gfx::Color kBoard = gfx::rgb(255, 0, 255);

// One level's cut: the grid's trims, its sheet and its pieces.
struct Cut {
    Level level;
    int columnTrim, rowTrim;
    Bitmap sheet;
    std::vector<std::unique_ptr<TPuzzle>> pieces;

    int width() const { return kColumns * level.step() - columnTrim; }
    int height() const { return kRows * level.step() - rowTrim; }
};

// Soft diagonal colours with rings and a fine check, so a misplaced pixel stands out.
Bitmap makePicture(int w, int h)
{
    Bitmap picture(w, h, gfx::PixelFormat::Bgr24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double ring = std::sin(std::hypot(x - w * 0.4, y - h * 0.6) / 6.0);
            int check = ((x / 4 + y / 4) & 1) * 16;
            int r = 60 + 150 * x / w + check, g = 90 + int(50 * ring), b = 200 - 140 * y / h + check;
            picture.setValue(x, y, gfx::rgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255)));
        }
    return picture;
}

std::unique_ptr<TPuzzle> cutPiece(const Level& lv, int column, int row)
{
    auto piece = std::make_unique<TPuzzle>(0, 0, lv.cell, lv.cell);
    piece->Column = std::int16_t(column);
    piece->Row = std::int16_t(row);
    piece->HomeX = column * lv.step() - lv.knob;
    piece->HomeY = row * lv.step() - lv.knob;
    piece->BorderTop = row == 0;
    piece->BorderLeft = column == 0;
    piece->BorderRight = column == kColumns - 1;
    piece->BorderBottom = row == kRows - 1;
    return piece;
}

// Neighbours get opposite flags on their shared side, chosen at random.
void chooseKnobs(std::vector<std::unique_ptr<TPuzzle>>& pieces, std::mt19937& rng)
{
    auto at = [&](int c, int r) -> TPuzzle& { return *pieces[r * kColumns + c]; };
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            if (c + 1 < kColumns) {
                at(c, r).KnobRight = rng() & 1;
                at(c + 1, r).KnobLeft = !at(c, r).KnobRight;
            }
            if (r + 1 < kRows) {
                at(c, r).KnobBottom = rng() & 1;
                at(c, r + 1).KnobTop = !at(c, r).KnobBottom;
            }
        }
}

Cut cutLevel(const Level& lv, int extraTrim, std::mt19937& rng)
{
    Cut cut{lv, lv.knob + extraTrim, lv.knob + extraTrim / 2, Bitmap(kColumns * lv.cell, kRows * lv.cell,
                                                                        gfx::PixelFormat::Bgr24), {}};
    Bitmap picture = makePicture(cut.width(), cut.height());
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            cut.pieces.push_back(cutPiece(lv, c, r));
    chooseKnobs(cut.pieces, rng);
    puzzle::MaskDevice device;
    gfx::Rect body{lv.knob, lv.knob, lv.cell - lv.knob, lv.cell - lv.knob};
    for (auto& p : cut.pieces) {
        gfx::bitBlt(cut.sheet, p->Column * lv.cell, p->Row * lv.cell, lv.cell, lv.cell, picture, p->HomeX, p->HomeY,
                    gfx::Rop::Copy);
        p->BuildShape(body, cut.sheet, lv.number, cut.columnTrim, cut.rowTrim, device);
    }
    return cut;
}

// Draws every cut on one board, a band per level; gap spreads the pieces apart.
Bitmap layOut(std::vector<Cut>& cuts, int gap, bool shadows)
{
    int w = 0, h = 0;
    for (const Cut& cut : cuts) {
        w = std::max(w, cut.width() + (kColumns - 1) * gap + 2 * kMargin);
        h += cut.height() + (kRows - 1) * gap + kMargin;
    }
    Bitmap board(w, h + kMargin, gfx::PixelFormat::Bgrx32);
    gfx::fillRect(board, board.rect(), kBoard);
    int top = kMargin;
    for (Cut& cut : cuts) {
        for (auto& p : cut.pieces) {
            p->Bounds = gfx::Rect::fromSize(kMargin + p->HomeX + p->Column * gap, top + p->HomeY + p->Row * gap,
                                            cut.level.cell, cut.level.cell);
            if (shadows)
                p->DrawShadow(board);
            p->Draw(board, cut.sheet);
        }
        top += cut.height() + (kRows - 1) * gap + kMargin;
    }
    return board;
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : ".";
    try {
        std::mt19937 rng(20240611);
        std::vector<Cut> cuts;
        int extraTrims[] = {0, 7, 3, 0}; // a few grids whose last column and row are cut short
        for (int i = 0; i < 4; ++i)
            cuts.push_back(cutLevel(kLevels[i], extraTrims[i], rng));
        gfx::WriteBmpFile(layOut(cuts, 0, false), folder + "/piece-preview-assembled.bmp");
        gfx::WriteBmpFile(layOut(cuts, kGap, true), folder + "/piece-preview-apart.bmp");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "piece-preview: %s\n", e.what());
        return 1;
    }
    return 0;
}
