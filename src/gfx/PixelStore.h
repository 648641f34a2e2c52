#pragma once
#include <cstddef>
#include <cstdint>

namespace gfx {

// The zeroed bytes behind a bitmap. Board-sized stores come straight from the system in pages
// of 2 MB where it offers them: fresh pages are zero already, and touching a large picture
// then costs a few hundred page faults instead of thousands.
class PixelStore {
public:
    PixelStore() = default;
    // zeroed false leaves the bytes undefined: a large store may then reuse the pages of one
    // released a moment ago without clearing them.
    explicit PixelStore(std::size_t size, bool zeroed = true); // throws std::bad_alloc
    PixelStore(const PixelStore& other);
    PixelStore& operator=(const PixelStore& other);
    PixelStore(PixelStore&& other) noexcept;
    PixelStore& operator=(PixelStore&& other) noexcept;
    ~PixelStore();

    std::uint8_t* data() { return m_data; }
    const std::uint8_t* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    void release() noexcept;

    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_mapped = 0; // bytes mapped from the system, 0 for the heap
};

} // namespace gfx
