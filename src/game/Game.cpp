#include "game/Game.h"
#include <cstdio>

namespace game {

Game::Game(GameWindow& window)
    : ProgramPath("/proc/self/exe")
    , MaskFactory(&m_ownMaskDevice)
    , m_window(window)
{
    DragBounds = {0, 0, window.ClientWidth(), window.ClientHeight()};
    SetLevel(1);
}

Game::~Game()
{
    // The extracted files go with the window; failures (no name, already gone) do not matter.
    if (!TempPicturePath.empty())
        std::remove(TempPicturePath.c_str());
    if (!TempMusicPath.empty())
        std::remove(TempMusicPath.c_str());
    Selection.Flush();
    PickedPiece = nullptr;
    DestroyPieces();
}

} // namespace game
