#include "game/Game.h"
#include "game/LooseTest.h"

namespace game {
namespace {

// Puts a piece at (x, y) and at the bottom of the z-order.
void place(game::Pieces& pieces, TPuzzle& p, int x, int y, int cellSize)
{
    pieces.MoveToHead(p);
    p.Bounds = gfx::Rect::fromSize(x, y, cellSize, cellSize);
}

} // namespace

void Game::ArrangeRandom()
{
    const int spanX = BoardWidth - CellSize - 10;
    const int spanY = BoardHeight - CellSize - 10;
    LooseTest loose(*Pieces);
    auto walk = Pieces->fromBottom();
    while (TPuzzle* p = walk.Next()) {
        if (!loose.isLoose(*p))
            continue;
        int x = RandomGenerator.RandomBelow(spanX);
        int y = RandomGenerator.RandomBelow(spanY);
        place(*Pieces, *p, x, y, CellSize);
    }
    RedrawBoard();
}

void Game::ArrangeGrid()
{
    // Ten shuffling passes over the z-order: a piece moved to the top is met again later in the
    // same pass unless it was the last one.
    for (int pass = 0; pass < 10; ++pass) {
        auto walk = Pieces->fromBottom();
        while (TPuzzle* p = walk.Next())
            if (RandomGenerator.Next() % 2 == 0)
                Pieces->MoveToTail(*p);
    }

    const int step = CellSize + 5;
    int offset = 10;
    gfx::Rect slot = gfx::Rect::fromSize(10, 10, CellSize, CellSize);
    LooseTest loose(*Pieces);
    auto walk = Pieces->fromBottom();
    while (TPuzzle* p = walk.Next()) {
        if (!loose.isLoose(*p))
            continue;
        place(*Pieces, *p, slot.left, slot.top, CellSize);
        slot = slot.translated(step, 0);
        if (slot.right > BoardWidth) {
            slot.top += step;
            slot.bottom += step;
            if (slot.bottom > BoardHeight) {
                offset += 10;
                slot.top = offset;
                slot.bottom = offset + CellSize;
            }
            slot.left = offset;
            slot.right = offset + CellSize;
        }
    }
    RedrawBoard();
}

void Game::ArrangeAtEdge()
{
    const int gw = GhostPicture ? GhostPicture->width() : 0;
    const int gh = GhostPicture ? GhostPicture->height() : 0;
    const int picLeft = (BoardWidth - gw) / 2, picTop = (BoardHeight - gh) / 2;
    const int picRight = picLeft + gw, picBottom = picTop + gh;
    const int marginX = picLeft - CellSize, marginY = picTop - CellSize;

    LooseTest loose(*Pieces);
    auto walk = Pieces->fromBottom();
    while (TPuzzle* p = walk.Next()) {
        if (!loose.isLoose(*p))
            continue;
        int x = 0, y = 0;
        switch (RandomGenerator.Next() % 4) {
        case 0: // top band
            x = RandomGenerator.RandomBelow(BoardWidth - CellSize);
            y = RandomGenerator.RandomBelow(marginY);
            break;
        case 1: // left band
            x = RandomGenerator.RandomBelow(marginX);
            y = RandomGenerator.RandomBelow(BoardHeight - CellSize);
            break;
        case 2: // bottom band
            x = RandomGenerator.RandomBelow(BoardWidth - CellSize);
            y = marginY < CellSize ? picBottom : picBottom + RandomGenerator.RandomBelow(marginY);
            break;
        default: // right band
            x = marginX < CellSize ? picRight : picRight + RandomGenerator.RandomBelow(marginX);
            y = RandomGenerator.RandomBelow(BoardHeight - CellSize);
            break;
        }
        place(*Pieces, *p, x, y, CellSize);
    }
    RedrawBoard();
}

void Game::ArrangeGridMenuClick() { ChooseArrangement(1); }
void Game::RandomMenuClick() { ChooseArrangement(2); }
void Game::RandomEdgeMenuClick() { ChooseArrangement(3); }

void Game::ChooseArrangement(int arrangement)
{
    AbandonHold();
    Arrangement = arrangement;
    m_window.SetMenuChecked(MenuItem::ArrangeGrid, arrangement == 1);
    m_window.SetMenuChecked(MenuItem::Random, arrangement == 2);
    m_window.SetMenuChecked(MenuItem::RandomEdge, arrangement == 3);
    if (!Picture || !Pieces)
        return;
    switch (arrangement) {
    case 1: ArrangeGrid(); break;
    case 2: ArrangeRandom(); break;
    default: ArrangeAtEdge(); break;
    }
}

} // namespace game
