#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace pack {

// A mistake on the command line; its message says what to change.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What tovanta-pack was asked to make, with the defaults of a player that has no package.
struct PackOptions {
    std::string picture;
    std::string music;   // empty: no tune
    std::string message; // empty: the player's default notice
    int level = 3;
    int arrangement = 3; // 1 grid, 2 random, 3 random at edge
    int scalePercent = 100;
    bool rotatePieces = true;
    bool showOriginal = true;
    std::uint32_t backgroundColor = 128; // red 0-7, green 8-15, blue 16-23: dark red
    std::string player;                  // empty: the tovanta beside this tool
    std::string output;
    bool help = false;

    // The arguments after the program name. Throws UsageError for an unknown option, a missing
    // or malformed value, or a missing --picture or -o (unless --help is asked for).
    static PackOptions Parse(const std::vector<std::string>& args);

    static const char* const kHelp;
};

} // namespace pack
