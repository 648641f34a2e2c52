#pragma once
#include "PackOptions.h"
#include <string>

namespace pack {

// Checks the parts of a puzzle the way the player will use them and writes the packaged
// player. Every refusal is a std::runtime_error whose message is meant for the user; nothing
// is written then.
class PuzzlePacker {
public:
    static void Pack(const PackOptions& options);
    // The tovanta program in the folder of the running tool.
    static std::string DefaultPlayer();
};

} // namespace pack
