#include "PackagedGame.h"
#include "FuzzCheck.h"
#include "RunFolder.h"

namespace fuzzing {

PackagedGame::PackagedGame(std::span<const std::uint8_t> input, int clientWidth, int clientHeight)
    : window(clientWidth, clientHeight)
    , m_input(input.begin(), input.end())
    , m_program(RunFolder::Get().write("player", input))
{
    game.emplace(window);
    game->ProgramPath = m_program;
    game->TempFolder = RunFolder::Get().extractFolder();
}

void PackagedGame::end()
{
    game.reset();
    require(RunFolder::entries(RunFolder::Get().extractFolder()).empty(), "the game left extracted files behind");
    require(RunFolder::read(m_program) == m_input, "the program file changed");
}

} // namespace fuzzing
