#include "game/PrivateFolder.h"
#include "game/FileDescriptor.h"
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace game {
namespace {

// Why folder may not hold the extracted files, or empty when it may.
std::string unsafeBecause(const std::string& folder)
{
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return std::error_code(errno, std::generic_category()).message();
    if (S_ISLNK(st.st_mode))
        return "it is a symbolic link";
    if (!S_ISDIR(st.st_mode))
        return "it is not a folder";
    if (st.st_uid != ::geteuid())
        return "it belongs to another user";
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return "other users may write to it";
    return {};
}

bool isAbsolute(const char* path) { return path && path[0] == '/'; }

FileDescriptor openNoFollow(const std::string& path, int extraFlags)
{
    // Non-blocking, so that a pipe under the name cannot hold the player up.
    return FileDescriptor(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | extraFlags, 0600));
}

bool isSymbolicLink(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

} // namespace

std::string PrivateFolder::Locate()
{
    return Locate(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"));
}

std::string PrivateFolder::Locate(const char* runtimeDir, const char* tmpDir)
{
    if (isAbsolute(runtimeDir) && unsafeBecause(runtimeDir).empty())
        return runtimeDir;

    const std::string base = isAbsolute(tmpDir) ? tmpDir : "/tmp";
    const std::string folder = Join(base, "tovanta-" + std::to_string(::geteuid()));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::system_error(errno, std::generic_category(), "Cannot create the folder " + folder);
    if (std::string why = unsafeBecause(folder); !why.empty())
        throw std::runtime_error("The folder " + folder + " cannot hold the puzzle's files safely: " + why + ".");
    return folder;
}

std::string PrivateFolder::Join(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

void PrivateFolder::WriteFile(const std::string& path, std::span<const std::uint8_t> bytes)
{
    const std::string what = "Cannot write " + path;
    FileDescriptor fd = openNoFollow(path, O_TRUNC);
    if (!fd.valid() && errno == ELOOP && isSymbolicLink(path)) {
        // Remove the link itself; its target is left as it was.
        if (::unlink(path.c_str()) != 0)
            throw std::system_error(errno, std::generic_category(), what);
        fd = openNoFollow(path, O_EXCL);
    }
    if (!fd.valid())
        throw std::system_error(errno, std::generic_category(), what);

    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        throw std::system_error(errno, std::generic_category(), what);
    if (!S_ISREG(st.st_mode))
        throw std::runtime_error(what + ": it is not a regular file");
    try {
        if (::fchmod(fd.get(), 0600) != 0)
            throw std::system_error(errno, std::generic_category(), what);
        fd.WriteAll(bytes, what);
        fd.Close(what);
    } catch (...) {
        ::unlink(path.c_str());
        throw;
    }
}

} // namespace game
