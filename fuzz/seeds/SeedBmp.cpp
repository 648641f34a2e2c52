#include "seeds/SeedBmp.h"
#include <algorithm>

namespace fuzzing {
namespace {

void le(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(std::uint8_t(v >> (8 * i)));
}

} // namespace

std::vector<std::uint8_t> SeedBmp::bytes() const
{
    std::vector<std::uint8_t> info;
    le(info, headerSize, 4);
    const bool core = headerSize == 12;
    le(info, std::uint32_t(width), core ? 2 : 4);
    le(info, std::uint32_t(height), core ? 2 : 4);
    le(info, 1, 2);
    le(info, std::uint32_t(bitCount), 2);
    if (!core) {
        for (std::uint32_t v : {compression, std::uint32_t(pixels.size()), 2835u, 2835u, 0u, 0u})
            le(info, v, 4);
        for (std::uint32_t m : masks)
            le(info, m, 4);
        info.resize(std::max<std::size_t>(info.size(), headerSize), 0);
    }
    for (std::uint32_t c : palette)
        le(info, c, core ? 3 : 4);

    std::vector<std::uint8_t> file = {'B', 'M'};
    le(file, std::uint32_t(14 + info.size() + pixels.size()), 4);
    le(file, 0, 4);
    le(file, std::uint32_t(14 + info.size()), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

std::vector<std::uint8_t> SeedBmp::indexRows(const std::vector<std::vector<std::uint8_t>>& rows, int bitCount)
{
    std::vector<std::uint8_t> out;
    for (const auto& row : rows) {
        std::vector<std::uint8_t> packed((row.size() * bitCount + 31) / 32 * 4, 0);
        for (std::size_t x = 0; x < row.size(); ++x) {
            std::size_t bit = x * bitCount;
            packed[bit / 8] |= std::uint8_t(row[x] << (8 - bitCount - bit % 8));
        }
        out.insert(out.end(), packed.begin(), packed.end());
    }
    return out;
}

std::vector<std::uint8_t> SeedBmp::rle(const std::vector<std::vector<std::uint8_t>>& rows, bool fourBits)
{
    std::vector<std::uint8_t> out;
    for (const auto& row : rows) {
        for (std::size_t x = 0; x < row.size();) {
            std::size_t n = 1;
            while (x + n < row.size() && row[x + n] == row[x] && n < 255)
                ++n;
            out.push_back(std::uint8_t(n));
            out.push_back(fourBits ? std::uint8_t(row[x] << 4 | row[x]) : row[x]);
            x += n;
        }
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
    return out;
}

} // namespace fuzzing
