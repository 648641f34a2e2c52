// Writing BMP files: uncompressed, bottom-up, with a 40-byte info header.
#include "gfx/BmpCodec.h"
#include "gfx/FileBytes.h"
#include "gfx/Palette16.h"
#include <stdexcept>

namespace gfx {
namespace {

void put16(std::vector<std::uint8_t>& out, unsigned v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::vector<Color> filePalette(PixelFormat f)
{
    if (f == PixelFormat::Mono1)
        return {kBlack, kWhite};
    if (f == PixelFormat::Index4)
        return {kPalette16.begin(), kPalette16.end()};
    return {};
}

void appendRow(std::vector<std::uint8_t>& out, const Bitmap& b, int y, int stride)
{
    const std::uint8_t* row = b.scanLine(y);
    if (b.format() != PixelFormat::Bgrx32) { // the bitmap's own rows are laid out as in the file
        out.insert(out.end(), row, row + stride);
        return;
    }
    for (int x = 0; x < b.width(); ++x)
        out.insert(out.end(), row + 4 * x, row + 4 * x + 3);
    out.resize(out.size() + std::size_t(stride - 3 * b.width()), 0);
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap)
{
    if (bitmap.isNull())
        throw std::invalid_argument("An empty bitmap cannot be written as a BMP file");
    PixelFormat fileFormat = isColor(bitmap.format()) ? PixelFormat::Bgr24 : bitmap.format();
    std::vector<Color> palette = filePalette(fileFormat);
    int stride = Bitmap::strideFor(bitmap.width(), fileFormat);
    auto offset = std::uint32_t(14 + 40 + 4 * palette.size());
    auto pixelBytes = std::uint32_t(std::size_t(stride) * bitmap.height());

    std::vector<std::uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + pixelBytes);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, std::uint32_t(bitmap.width()));
    put32(out, std::uint32_t(bitmap.height())); // positive: bottom-up rows
    put16(out, 1);
    put16(out, unsigned(bitsPerPixel(fileFormat)));
    put32(out, 0); // uncompressed
    put32(out, pixelBytes);
    put32(out, 2835); // 72 dots per inch
    put32(out, 2835);
    put32(out, std::uint32_t(palette.size()));
    put32(out, 0);
    for (Color c : palette)
        put32(out, std::uint32_t(blueOf(c) | greenOf(c) << 8 | redOf(c) << 16));
    for (int y = bitmap.height() - 1; y >= 0; --y)
        appendRow(out, bitmap, y, stride);
    return out;
}

void WriteBmpFile(const Bitmap& bitmap, const std::string& path) { WriteFileBytes(path, EncodeBmp(bitmap)); }

} // namespace gfx
