#pragma once
#include "game/FileDescriptor.h"
#include "game/PackageTrailer.h"
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace game {

// A program file read from its end: [executable image][tune][picture][trailer]. The parts are
// found only through the trailer's lengths, so every length is checked against the file before
// anything is allocated: a damaged trailer fails a read instead of asking for gigabytes.
class PackageFile {
public:
    // Opens path for reading (others may read it too). False when it cannot be opened or is not
    // a regular file.
    bool Open(const std::string& path);
    long long Size() const { return m_size; }

    // The last 284 bytes. False for a shorter file or a failed read.
    bool ReadTrailer(PackageTrailer& trailer) const;
    // The picture, which ends where the trailer begins, and the tune, which ends where the
    // picture begins. False for a negative length, a part that would start before the file or a
    // failed read. A read cut short by the end of the file keeps the bytes it got.
    bool ReadPicture(const PackageTrailer& trailer, std::vector<std::uint8_t>& bytes) const;
    bool ReadMusic(const PackageTrailer& trailer, std::vector<std::uint8_t>& bytes) const;

    // Writes output as a copy of player followed by music (may be empty), picture and trailer,
    // whose two lengths are set from the parts; the result is executable (0755). The copy is
    // made beside output and renamed over it only when complete, so a failure leaves no output
    // and never touches the player. Throws std::runtime_error (std::system_error for the
    // system's errors) with a message for the user.
    static void WritePackaged(const std::string& player, const std::string& output, PackageTrailer trailer,
                              std::span<const std::uint8_t> picture, std::span<const std::uint8_t> music);

private:
    bool ReadBack(long long distanceFromEnd, long long length, std::vector<std::uint8_t>& bytes) const;

    FileDescriptor m_file;
    long long m_size = 0;
};

} // namespace game
