#pragma once
#include "gfx/GfxError.h"
#include <cstddef>
#include <cstdint>
#include <string>

namespace gfx {

// Little-endian reads from a byte buffer; every read is checked against its end, and a read
// past it throws DecodeError naming what was being read.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size)
        : m_data(data), m_size(size)
    {
    }

    std::size_t size() const { return m_size; }
    const std::uint8_t* data() const { return m_data; }
    bool has(std::size_t offset, std::size_t count) const { return offset <= m_size && count <= m_size - offset; }

    void require(std::size_t offset, std::size_t count, const char* what) const
    {
        if (!has(offset, count))
            throw DecodeError(std::string("The file ends inside its ") + what);
    }
    std::uint8_t u8(std::size_t offset, const char* what) const
    {
        require(offset, 1, what);
        return m_data[offset];
    }
    std::uint16_t u16(std::size_t offset, const char* what) const
    {
        require(offset, 2, what);
        return std::uint16_t(m_data[offset] | m_data[offset + 1] << 8);
    }
    std::uint32_t u32(std::size_t offset, const char* what) const
    {
        require(offset, 4, what);
        return std::uint32_t(m_data[offset]) | std::uint32_t(m_data[offset + 1]) << 8
             | std::uint32_t(m_data[offset + 2]) << 16 | std::uint32_t(m_data[offset + 3]) << 24;
    }
    std::int32_t i32(std::size_t offset, const char* what) const { return std::int32_t(u32(offset, what)); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
};

} // namespace gfx
