#include "game/Game.h"

namespace game {

void Game::AbandonHold()
{
    if (!PickedPiece)
        return;
    m_window.ReleasePointer();
    Selection.Flush();
    PickedPiece = nullptr;
    // The lifted group is missing from the back buffer: put it back where it now lies.
    RedrawBoard();
}

} // namespace game
