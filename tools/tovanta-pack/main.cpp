// tovanta-pack: makes a puzzle by appending a picture, a tune and the settings to a copy of
// the player. See --help.
#include "PackOptions.h"
#include "PuzzlePacker.h"
#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    pack::PackOptions options;
    try {
        options = pack::PackOptions::Parse(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const pack::UsageError& e) {
        std::fprintf(stderr, "tovanta-pack: %s\nTry 'tovanta-pack --help'.\n", e.what());
        return 2;
    }
    if (options.help) {
        std::fputs(pack::PackOptions::kHelp, stdout);
        return 0;
    }
    try {
        pack::PuzzlePacker::Pack(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tovanta-pack: %s\n", e.what());
        return 1;
    }
    return 0;
}
