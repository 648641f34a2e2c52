#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace game {

// An open POSIX file that closes itself, with the two transfers the package code needs:
// a positioned read that tolerates the end of the file and a write that writes everything.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    {
    }
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool valid() const { return m_fd >= 0; }
    int get() const { return m_fd; }

    // Fills into from offset on; returns the bytes read, fewer at the end of the file, or -1
    // when the system reports an error (errno tells which).
    long long ReadAt(long long offset, std::span<std::uint8_t> into) const;
    // Writes every byte. Throws std::system_error with what (e.g. "Cannot write /x") and the
    // system's text.
    void WriteAll(std::span<const std::uint8_t> bytes, const std::string& what) const;
    // Closes, throwing std::system_error as WriteAll does when the system reports a failure
    // (a delayed write error shows up here).
    void Close(const std::string& what);

private:
    int m_fd = -1;
};

} // namespace game
