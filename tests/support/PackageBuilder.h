#pragma once
#include "game/PackageTrailer.h"
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Writes program files that carry a puzzle package, for tests of the package reader, the
// authoring tool and anything that starts a game from a package:
//
//     PackageBuilder b;
//     b.picture = PackageBuilder::JpegPicture(300, 200);
//     b.trailer.LevelCode = 2;
//     b.Write(folder.file("player"));    // then game.ProgramPath = that path
//
// The file is program (bytes standing in for the player's own image), then music, picture and
// the trailer. Write sets the trailer's PictureSize and MusicSize from the parts, unless
// keepLengths is true: then the trailer's lengths are written as given, to damage a package.
struct PackageBuilder {
    std::vector<std::uint8_t> program = std::vector<std::uint8_t>(64, 0x90);
    std::vector<std::uint8_t> music;   // empty: a package without a tune
    std::vector<std::uint8_t> picture; // written byte for byte; need not be a real picture
    game::PackageTrailer trailer;      // the default: level 3, random at edge, 100 %, no message
    bool keepLengths = false;

    std::vector<std::uint8_t> Bytes() const;
    // Writes Bytes() to path and returns path.
    std::string Write(const std::string& path) const;

    // Real files to pack: a w x h picture in four colour bands as a JPEG or BMP file, and a
    // short standard MIDI file (one track, four notes).
    static std::vector<std::uint8_t> JpegPicture(int width, int height);
    static std::vector<std::uint8_t> BmpPicture(int width, int height);
    static std::vector<std::uint8_t> Tune();
};

} // namespace testing_support
