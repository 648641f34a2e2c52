#include "game/FileDescriptor.h"
#include <cerrno>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace game {

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

long long FileDescriptor::ReadAt(long long offset, std::span<std::uint8_t> into) const
{
    std::size_t done = 0;
    while (done < into.size()) {
        ssize_t n = ::pread(m_fd, into.data() + done, into.size() - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += std::size_t(n);
    }
    return (long long)done;
}

void FileDescriptor::WriteAll(std::span<const std::uint8_t> bytes, const std::string& what) const
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw std::system_error(errno, std::generic_category(), what);
        done += std::size_t(n);
    }
}

void FileDescriptor::Close(const std::string& what)
{
    int fd = std::exchange(m_fd, -1);
    if (fd >= 0 && ::close(fd) != 0 && errno != EINTR)
        throw std::system_error(errno, std::generic_category(), what);
}

} // namespace game
