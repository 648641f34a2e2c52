#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace game {

// Where the player puts the picture and the tune it extracts: a folder that only this user can
// write, so that nobody else can plant a link under the file names and have the player write
// through it. Files in it are written without following symbolic links.
class PrivateFolder {
public:
    // $XDG_RUNTIME_DIR when it is a real directory of this user that group and others cannot
    // write; otherwise tovanta-<uid> under $TMPDIR (or /tmp when that is unset or relative),
    // created with mode 0700 and checked in the same way. Throws std::runtime_error with a
    // message for the user when no such folder can be had.
    static std::string Locate();
    // The same with the two environment values given (nullptr: unset).
    static std::string Locate(const char* runtimeDir, const char* tmpDir);

    // folder/name, with the separator added only when folder does not end with one.
    static std::string Join(const std::string& folder, const std::string& name);

    // Creates or overwrites path (mode 0600) with bytes. A symbolic link under that name is
    // removed, never followed, and the file made afresh; anything else but a regular file is
    // refused and left alone. A write that fails removes its partial file. Failures throw
    // std::system_error with the system's text (std::runtime_error for a refused kind of file).
    static void WriteFile(const std::string& path, std::span<const std::uint8_t> bytes);
};

} // namespace game
