#include "game/PackageFile.h"
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace game {
namespace {

constexpr long long kTrailerSize = (long long)PackageTrailer::kSize;

FileDescriptor openRegular(const std::string& path, struct stat& st)
{
    // Non-blocking, so that a pipe or device under the name cannot hold the caller up.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    return fd;
}

void copyWhole(const FileDescriptor& from, const FileDescriptor& to, const std::string& fromPath,
               const std::string& toPath)
{
    std::vector<std::uint8_t> chunk(1 << 16);
    for (long long offset = 0;; ) {
        long long n = from.ReadAt(offset, chunk);
        if (n < 0)
            throw std::system_error(errno, std::generic_category(), "Cannot read " + fromPath);
        if (n == 0)
            return;
        to.WriteAll(std::span(chunk).first(std::size_t(n)), "Cannot write " + toPath);
        offset += n;
    }
}

std::int32_t partLength(std::size_t size, const char* part)
{
    if (size > std::size_t(INT32_MAX))
        throw std::runtime_error(std::string("The ") + part + " is too large for a package (over 2 GiB).");
    return std::int32_t(size);
}

// The temporary copy beside output, removed again unless it was renamed into place.
struct PendingOutput {
    std::string path;
    FileDescriptor fd;
    bool kept = false;

    explicit PendingOutput(const std::string& output)
        : path(output + ".XXXXXX")
    {
        fd = FileDescriptor(::mkostemp(path.data(), O_CLOEXEC));
        if (!fd.valid())
            throw std::system_error(errno, std::generic_category(), "Cannot create a file beside " + output);
    }
    ~PendingOutput()
    {
        if (!kept)
            ::unlink(path.c_str());
    }
};

} // namespace

bool PackageFile::Open(const std::string& path)
{
    struct stat st {};
    m_file = openRegular(path, st);
    m_size = m_file.valid() ? (long long)st.st_size : 0;
    return m_file.valid();
}

bool PackageFile::ReadBack(long long distanceFromEnd, long long length, std::vector<std::uint8_t>& bytes) const
{
    const long long start = m_size - distanceFromEnd;
    if (!m_file.valid() || length < 0 || start < 0)
        return false;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length));
    long long got = m_file.ReadAt(start, buffer);
    if (got < 0)
        return false;
    buffer.resize(std::size_t(got));
    bytes = std::move(buffer);
    return true;
}

bool PackageFile::ReadTrailer(PackageTrailer& trailer) const
{
    std::vector<std::uint8_t> bytes;
    if (!ReadBack(kTrailerSize, kTrailerSize, bytes) || bytes.size() != PackageTrailer::kSize)
        return false;
    PackageTrailer::Bytes raw;
    std::copy(bytes.begin(), bytes.end(), raw.begin());
    trailer = PackageTrailer::Parse(raw);
    return true;
}

bool PackageFile::ReadPicture(const PackageTrailer& t, std::vector<std::uint8_t>& bytes) const
{
    return ReadBack((long long)t.PictureSize + kTrailerSize, t.PictureSize, bytes);
}

bool PackageFile::ReadMusic(const PackageTrailer& t, std::vector<std::uint8_t>& bytes) const
{
    // The lengths are added in 64 bits: two large 32-bit lengths must not wrap into a small one.
    if (t.PictureSize < 0)
        return false;
    return ReadBack((long long)t.MusicSize + t.PictureSize + kTrailerSize, t.MusicSize, bytes);
}

void PackageFile::WritePackaged(const std::string& player, const std::string& output, PackageTrailer trailer,
                                std::span<const std::uint8_t> picture, std::span<const std::uint8_t> music)
{
    trailer.PictureSize = partLength(picture.size(), "picture");
    trailer.MusicSize = partLength(music.size(), "tune");

    struct stat playerStat {};
    FileDescriptor in = openRegular(player, playerStat);
    if (!in.valid())
        throw std::runtime_error("Cannot read the player " + player + ".");
    struct stat outStat {};
    if (::stat(output.c_str(), &outStat) == 0 && outStat.st_dev == playerStat.st_dev &&
        outStat.st_ino == playerStat.st_ino)
        throw std::runtime_error("The output " + output + " is the player itself; choose another name.");

    PendingOutput out(output);
    const std::string what = "Cannot write " + output;
    copyWhole(in, out.fd, player, output);
    out.fd.WriteAll(music, what);
    out.fd.WriteAll(picture, what);
    out.fd.WriteAll(trailer.Serialize(), what);
    if (::fchmod(out.fd.get(), 0755) != 0)
        throw std::system_error(errno, std::generic_category(), what);
    out.fd.Close(what);
    if (::rename(out.path.c_str(), output.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), what);
    out.kept = true;
}

} // namespace game
