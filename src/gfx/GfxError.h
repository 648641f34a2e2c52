#pragma once
#include <stdexcept>

namespace gfx {

// A bitmap that cannot be created (absurd or negative size, or no memory).
class AllocationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A picture file that cannot be decoded.
class DecodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace gfx
