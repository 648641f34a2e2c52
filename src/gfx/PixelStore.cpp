#include "gfx/PixelStore.h"
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace gfx {
namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOVANTA_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define TOVANTA_ADDRESS_SANITIZER 1
#endif

// Under AddressSanitizer every store comes from the heap, so the sanitizer sees each access and
// the fuzzers' allocation caps count every bitmap.
#if defined(TOVANTA_ADDRESS_SANITIZER)
constexpr bool kMapLargeStores = false;
#else
constexpr bool kMapLargeStores = true;
#endif

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Below this a store comes from the heap, like any other allocation.
constexpr std::size_t kMappedFrom = kHugePage / 2;

struct Mapping {
    std::uint8_t* data = nullptr;
    std::size_t mapped = 0;
};

// size bytes of fresh zero pages starting on a 2 MB boundary, so that the system can back all
// of them with large pages; nothing when the system will not map.
Mapping mapZeroed(std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    const std::size_t span = rounded + kHugePage;
    void* p = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return {};
    auto* base = static_cast<std::uint8_t*>(p);
    const std::size_t lead = (kHugePage - reinterpret_cast<std::uintptr_t>(base) % kHugePage) % kHugePage;
    if (lead)
        ::munmap(base, lead);
    if (span - lead > rounded)
        ::munmap(base + lead + rounded, span - lead - rounded);
    ::madvise(base + lead, rounded, MADV_HUGEPAGE); // a hint; without it the pages are small
    return {base + lead, rounded};
#else
    (void)size;
    return {};
#endif
}

void unmap(std::uint8_t* data, std::size_t mapped)
{
#if defined(__linux__)
    ::munmap(data, mapped);
#else
    (void)data;
    (void)mapped;
#endif
}

} // namespace

PixelStore::PixelStore(std::size_t size)
    : m_size(size)
{
    if (size == 0)
        return;
    if (kMapLargeStores && size >= kMappedFrom) {
        Mapping m = mapZeroed(size);
        m_data = m.data;
        m_mapped = m.mapped;
    }
    if (!m_data)
        m_data = static_cast<std::uint8_t*>(std::calloc(size, 1));
    if (!m_data) {
        m_size = 0;
        throw std::bad_alloc();
    }
}

PixelStore::PixelStore(const PixelStore& other)
    : PixelStore(other.m_size)
{
    if (m_size)
        std::memcpy(m_data, other.m_data, m_size);
}

PixelStore& PixelStore::operator=(const PixelStore& other)
{
    if (this != &other)
        *this = PixelStore(other);
    return *this;
}

PixelStore::PixelStore(PixelStore&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr))
    , m_size(std::exchange(other.m_size, 0))
    , m_mapped(std::exchange(other.m_mapped, 0))
{
}

PixelStore& PixelStore::operator=(PixelStore&& other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

PixelStore::~PixelStore() { release(); }

void PixelStore::release() noexcept
{
    if (m_mapped)
        unmap(m_data, m_mapped);
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_mapped = 0;
}

} // namespace gfx
