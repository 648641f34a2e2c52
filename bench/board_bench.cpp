// The board: a full redraw, one move of a held group, and the cut, each against the plain
// rectangle copies that the same work would take without masks.
#include "AllocationCounter.h"
#include "CutBoard.h"
#include "Interleave.h"
#include "gfx/Raster.h"
#include <memory>
#include <string>

namespace {

using bench::CutBoard;

// The redraw's work with every tile copied as a whole square, no mask.
void redrawUnmasked(game::Game& g)
{
    gfx::fillRect(*g.BackBuffer, {0, 0, g.BoardWidth, g.BoardHeight}, g.BackgroundColor);
    const gfx::Bitmap& ghost = *g.GhostPicture;
    gfx::bitBlt(*g.BackBuffer, (g.BoardWidth - ghost.width()) / 2, (g.BoardHeight - ghost.height()) / 2, ghost.width(),
                ghost.height(), ghost, 0, 0, gfx::Rop::Copy);
    const int c = g.CellSize;
    auto walk = g.Pieces->fromBottom();
    while (const game::TPuzzle* p = walk.Next())
        gfx::bitBlt(*g.BackBuffer, p->Bounds.left, p->Bounds.top, c, c, *g.PieceSheet, p->Column * c, p->Row * c,
                    gfx::Rop::Copy);
}

// The name of a measure of how cost grows, after the picture's size.
std::string scalingName(const char* what, const CutBoard::Layout& layout)
{
    return std::string("scaling-") + what + "-" + std::to_string(layout.pictureWidth) + "x"
         + std::to_string(layout.pictureHeight);
}

bench::Comparison compareRedraw(benchmark::State& state, CutBoard& board)
{
    game::Game& g = board.game;
    state.counters["pieces"] = board.pieceCount();
    return bench::compare(state, {[&g](int n) {
                              for (int i = 0; i < n; ++i)
                                  g.RedrawBoard();
                          }},
                          {{[&g](int n) {
                              for (int i = 0; i < n; ++i)
                                  redrawUnmasked(g);
                          }}});
}

// About 1,300 level-4 pieces scattered over a full-HD board, the faded picture under them.
constexpr CutBoard::Layout kRedrawLayout{1990, 1030, 4, 1920, 1080, 2};

void registerRedraw()
{
    bench::registerTarget({"redraw-board", 1.5}, 61, [](benchmark::State& state) {
        CutBoard board(kRedrawLayout);
        return compareRedraw(state, board);
    });
    // How the redraw grows with the pieces on the same board.
    const CutBoard::Layout sizes[] = {{990, 510, 4, 1920, 1080, 2}, {1990, 1030, 4, 1920, 1080, 2},
                                      {3990, 1990, 4, 1920, 1080, 2}};
    for (const CutBoard::Layout& layout : sizes)
        bench::registerTarget({scalingName("redraw", layout), 0, false}, 31, [layout](benchmark::State& state) {
            CutBoard board(layout);
            return compareRedraw(state, board);
        });
}

// A board with the topmost piece held at its centre, moving to and fro by a few pixels.
struct HeldPiece {
    explicit HeldPiece(const CutBoard::Layout& layout)
        : board(std::make_unique<CutBoard>(layout))
    {
        game::Game& g = board->game;
        const gfx::Rect b = g.Pieces->tail()->Bounds;
        x = b.left + b.width() / 2;
        y = b.top + b.height() / 2;
        g.FormMouseDown(game::MouseButton::Left, {}, x, y);
    }

    bench::Contestant moves(std::size_t& allocations)
    {
        return {[this, &allocations](int n) {
            std::size_t before = bench::allocationCount();
            for (int i = 0; i < n; ++i, ++step)
                board->game.FormMouseMove(x + (step % 2) * 3, y + (step % 2) * 2);
            allocations += bench::allocationCount() - before;
        }};
    }

    std::unique_ptr<CutBoard> board;
    int x = 0, y = 0;
    long step = 0;
};

void registerDrag()
{
    bench::registerTarget({"drag-move-scaling", 1.2}, 301, [](benchmark::State& state) {
        HeldPiece large({3990, 1990, 4, 1920, 1080, 2});
        HeldPiece small({390, 390, 4, 1920, 1080, 2});
        if (!large.board->game.Holding() || !small.board->game.Holding()) {
            state.SkipWithError("no piece under the pointer");
            return bench::Comparison{};
        }
        std::size_t allocations = 0;
        bench::Comparison c = bench::compare(state, large.moves(allocations), {small.moves(allocations)});
        state.counters["pieces"] = large.board->pieceCount();
        state.counters["baseline_pieces"] = small.board->pieceCount();
        state.counters["allocations"] = double(allocations);
        state.counters["veto"] = allocations > 0 ? 1 : 0;
        return c;
    });
}

// Columns x Rows tile copies from the picture into a sheet, as the cut's first step per piece.
struct TileCopies {
    explicit TileCopies(const game::Game& g)
        : picture(g.PictureWidth, g.PictureHeight, gfx::PixelFormat::Bgr24)
        , sheet(g.Columns * g.CellSize, g.Rows * g.CellSize, gfx::PixelFormat::Bgr24)
        , columns(g.Columns)
        , rows(g.Rows)
        , cell(g.CellSize)
        , knob(g.KnobSize)
    {
    }

    void run()
    {
        const int step = cell - knob;
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < columns; ++j)
                gfx::bitBlt(sheet, j * cell, i * cell, cell, cell, picture, j * step - knob, i * step - knob,
                            gfx::Rop::Copy);
    }

    gfx::Bitmap picture, sheet;
    int columns, rows, cell, knob;
};

bench::Comparison compareCut(benchmark::State& state, const CutBoard::Layout& layout)
{
    CutBoard board(layout);
    TileCopies copies(board.game);
    state.counters["pieces"] = board.pieceCount();
    return bench::compare(state, {[&board](int) { board.game.CutPieces(); }, [&board] { board.prepareCut(); }},
                          {{[&copies](int) { copies.run(); }}}, 1);
}

void registerCut()
{
    bench::registerTarget({"cut-level4", 6}, 41, [](benchmark::State& state) {
        return compareCut(state, {1900, 1000, 4, 1920, 1080, 3});
    });
    // How the cut grows with the picture.
    const CutBoard::Layout sizes[] = {{640, 480, 4, 1920, 1080, 3}, {1280, 720, 4, 1920, 1080, 3},
                                      {1900, 1000, 4, 1920, 1080, 3}};
    for (const CutBoard::Layout& layout : sizes)
        bench::registerTarget({scalingName("cut", layout), 0, false}, 21,
                              [layout](benchmark::State& state) { return compareCut(state, layout); });
}

} // namespace

int main(int argc, char** argv)
{
    registerRedraw();
    registerDrag();
    registerCut();
    return bench::runBenchmarks(argc, argv);
}
