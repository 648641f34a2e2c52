#pragma once
#include "game/Game.h"
#include "support/RecordingWindow.h"
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fuzzing {

// A game started from a program file made of a fuzz input: the file lies in the run's folder,
// the game extracts into its "extract" folder, and a stand-in window of the given client size
// answers it.
class PackagedGame {
public:
    PackagedGame(std::span<const std::uint8_t> input, int clientWidth, int clientHeight);

    testing_support::RecordingWindow window;
    std::optional<game::Game> game;

    // Destroys the game and checks what it must leave behind: none of its extracted files, and
    // the program file as it was.
    void end();

private:
    std::vector<std::uint8_t> m_input;
    std::string m_program;
};

} // namespace fuzzing
