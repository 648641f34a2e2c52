#pragma once
#include <cstddef>
#include <cstdint>

namespace fuzzing {

// libFuzzer's mutation of a program file that carries a package, made so that it mostly stays
// one: the tune, the picture or the trailer's settings change on their own and the trailer's
// lengths follow, so the mutations reach the decoders behind the package instead of only
// breaking its lengths. One call in four, and every input that is not a package, gets
// libFuzzer's plain mutation, so damaged lengths are tried as well.
std::size_t MutatePackage(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed);

} // namespace fuzzing
