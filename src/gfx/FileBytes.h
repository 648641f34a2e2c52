#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gfx {

// Files larger than this are refused unread: no picture the program can show is this big.
constexpr std::size_t kMaxPictureFileBytes = std::size_t(1) << 30;

// The whole file; throws DecodeError when it cannot be read or is larger than kMaxPictureFileBytes.
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);
// Writes bytes as the whole file; throws std::runtime_error when that fails.
void WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace gfx
