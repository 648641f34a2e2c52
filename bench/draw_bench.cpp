// Drawing one piece: TPuzzle::Draw against a plain copy of its tile, and against pixman doing
// the same shaped copy the fastest ways it offers.
#include "Interleave.h"
#include "PixmanPiece.h"
#include "RealPiece.h"
#include "gfx/Raster.h"
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kBoardSide = 256;
constexpr int kPieceX = 37, kPieceY = 41;

struct DrawScene {
    explicit DrawScene(int level)
        : real(level)
        , board(kBoardSide, kBoardSide, gfx::PixelFormat::Bgrx32)
    {
        real.piece.Bounds = gfx::Rect::fromSize(kPieceX, kPieceY, real.cellSize(), real.cellSize());
    }

    bench::Contestant draw()
    {
        return {[this](int n) {
            for (int i = 0; i < n; ++i)
                real.piece.Draw(board, real.sheet);
        }};
    }

    bench::Contestant tileCopy()
    {
        const gfx::Rect t = real.tile();
        return {[this, t](int n) {
            for (int i = 0; i < n; ++i)
                gfx::bitBlt(board, kPieceX, kPieceY, t.width(), t.height(), real.sheet, t.left, t.top, gfx::Rop::Copy);
        }};
    }

    bench::RealPiece real;
    gfx::Bitmap board;
};

void registerTileTargets()
{
    for (int level = 1; level <= 4; ++level)
        bench::registerTarget({"draw-tile-L" + std::to_string(level), 1.3}, 301, [level](benchmark::State& state) {
            DrawScene scene(level);
            return bench::compare(state, scene.draw(), {scene.tileCopy()});
        });
}

// The board as pixman sees it after one draw, against ours; a baseline that draws something
// else would prove nothing.
void checkSameResult(DrawScene& scene, bench::PixmanPiece& pixman, bench::PixmanPiece::Way way)
{
    gfx::fillRect(scene.board, scene.board.rect(), gfx::rgb(9, 99, 199));
    scene.real.piece.Draw(scene.board, scene.real.sheet);
    pixman.clearBoard(gfx::rgb(9, 99, 199));
    pixman.draw(way);
    if (!pixman.boardEquals(scene.board)) {
        std::fprintf(stderr, "pixman's way %d draws another picture than TPuzzle::Draw\n", int(way));
        std::exit(1);
    }
}

void registerPixmanTarget()
{
    bench::registerTarget({"draw-vs-pixman", 1.0}, 301, [](benchmark::State& state) {
        DrawScene scene(4);
        bench::PixmanPiece pixman(scene.real, kBoardSide, kBoardSide, kPieceX, kPieceY);
        using Way = bench::PixmanPiece::Way;
        const Way ways[] = {Way::ClipRegionSetOnce, Way::ClipRegionPerDraw, Way::OverA1Mask};
        std::vector<bench::Contestant> baselines;
        for (Way way : ways) {
            checkSameResult(scene, pixman, way);
            baselines.push_back({[&pixman, way](int n) {
                for (int i = 0; i < n; ++i)
                    pixman.draw(way);
            }});
        }
        bench::Comparison c = bench::compare(state, scene.draw(), baselines);
        state.counters["pixman_way"] = c.fastestBaseline;
        return c;
    });
}

} // namespace

int main(int argc, char** argv)
{
    registerTileTargets();
    registerPixmanTarget();
    return bench::runBenchmarks(argc, argv);
}
