#include "gfx/PixelStore.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
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

std::size_t roundedToPages(std::size_t size) { return (size + kHugePage - 1) / kHugePage * kHugePage; }

void unmap(std::uint8_t* data, std::size_t mapped)
{
#if defined(__linux__)
    ::munmap(data, mapped);
#else
    (void)data;
    (void)mapped;
#endif
}

// The last few released mappings, kept for the next store of the same mapped size whose bytes
// may be undefined: a new puzzle's piece sheet then takes the old sheet's pages as they are,
// instead of fresh pages that the system must clear first.
class KeptMappings {
public:
    Mapping take(std::size_t mapped)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Mapping& m : m_kept)
            if (m.data && m.mapped == mapped)
                return std::exchange(m, Mapping{});
        return {};
    }

    // Keeps m as the newest; older ones are released where they would pass the count or the
    // bytes kept.
    void keep(Mapping m)
    {
        if (m.mapped > kMostKept) {
            unmap(m.data, m.mapped);
            return;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        Mapping next[kCount] = {m};
        int count = 1;
        std::size_t total = m.mapped;
        for (const Mapping& old : m_kept) {
            if (!old.data)
                continue;
            if (count < kCount && total + old.mapped <= kMostKept) {
                next[count++] = old;
                total += old.mapped;
            } else {
                unmap(old.data, old.mapped);
            }
        }
        std::copy(next, next + kCount, m_kept);
    }

private:
    static constexpr int kCount = 4;
    static constexpr std::size_t kMostKept = std::size_t(64) << 20; // in all
    std::mutex m_mutex;
    Mapping m_kept[kCount];
};

KeptMappings& keptMappings()
{
    static KeptMappings* kept = new KeptMappings; // outlives every static bitmap
    return *kept;
}

// size bytes of fresh zero pages starting on a 2 MB boundary, so that the system can back all
// of them with large pages; nothing when the system will not map.
Mapping mapZeroed(std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const std::size_t rounded = roundedToPages(size);
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

} // namespace

PixelStore::PixelStore(std::size_t size, bool zeroed)
    : m_size(size)
{
    if (size == 0)
        return;
    if (kMapLargeStores && size >= kMappedFrom) {
        Mapping m = zeroed ? Mapping{} : keptMappings().take(roundedToPages(size));
        if (!m.data)
            m = mapZeroed(size);
        m_data = m.data;
        m_mapped = m.mapped;
    }
    if (!m_data)
        m_data = static_cast<std::uint8_t*>(zeroed ? std::calloc(size, 1) : std::malloc(size));
    if (!m_data) {
        m_size = 0;
        throw std::bad_alloc();
    }
}

// Every byte is copied over, so none needs clearing first.
PixelStore::PixelStore(const PixelStore& other)
    : PixelStore(other.m_size, false)
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
        keptMappings().keep({m_data, m_mapped});
    else
        std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_mapped = 0;
}

} // namespace gfx
