// Decoding BMP files: the headers, the palette and the uncompressed rows. RLE data is read in
// BmpRle.cpp, encoding lives in BmpEncoder.cpp. Every offset and size is checked against the
// file before it is used, and the picture's size before anything is allocated.
#include "gfx/BmpCodec.h"
#include "gfx/BmpLayout.h"
#include "gfx/FileBytes.h"
#include <algorithm>
#include <bit>
#include <cstring>

namespace gfx {

Color bmp::BmpLayout::paletteColor(unsigned index) const
{
    if (index >= palette.size())
        throw DecodeError("Palette index " + std::to_string(index) + " is outside the palette of "
                          + std::to_string(palette.size()) + " colours");
    return palette[index];
}

namespace {
using namespace bmp;

constexpr const char* kHeaders = "BMP headers";

[[noreturn]] void fail(const std::string& why) { throw DecodeError(why); }

// The fields of the core or info header that the decoder needs, in one shape.
struct InfoFields {
    long long width, height;
    int bitCount;
    std::uint32_t compression, colorsUsed;
    std::size_t paletteEntrySize;
};

InfoFields readInfo(const ByteReader& f, std::uint32_t headerSize)
{
    constexpr std::size_t h = kFileHeaderSize;
    if (headerSize == 12) // OS/2 core header: 16-bit sizes, three-byte palette entries
        return {f.u16(h + 4, kHeaders), f.u16(h + 6, kHeaders), f.u16(h + 10, kHeaders), Rgb, 0, 3};
    if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
        fail("Unsupported BMP header of " + std::to_string(headerSize) + " bytes");
    return {f.i32(h + 4, kHeaders), f.i32(h + 8, kHeaders), f.u16(h + 14, kHeaders), f.u32(h + 16, kHeaders),
            f.u32(h + 32, kHeaders), 4};
}

bool hasBitfields(std::uint32_t compression) { return compression == Bitfields || compression == AlphaBitfields; }

void checkFormat(int bitCount, std::uint32_t compression)
{
    bool ok = false;
    switch (compression) {
    case Rgb: ok = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32; break;
    case Rle8: ok = bitCount == 8; break;
    case Rle4: ok = bitCount == 4; break;
    case Bitfields:
    case AlphaBitfields: ok = bitCount == 16 || bitCount == 32; break;
    }
    if (!ok)
        fail("Unsupported BMP format: " + std::to_string(bitCount) + " bits per pixel, compression "
             + std::to_string(compression));
}

void checkSize(long long width, long long rows)
{
    if (width <= 0)
        fail("The picture's width is " + std::to_string(width) + "; it must be positive");
    if (rows == 0)
        fail("The picture has no rows");
    if (width * rows > kMaxPicturePixels)
        fail("A picture of " + std::to_string(width) + " x " + std::to_string(rows)
             + " pixels is larger than the program can show");
}

std::array<std::uint32_t, 3> readMasks(const ByteReader& f, int bitCount, std::uint32_t compression)
{
    constexpr std::size_t at = kFileHeaderSize + kInfoHeaderSize; // inside newer headers, after the old one
    if (hasBitfields(compression))
        return {f.u32(at, "colour masks"), f.u32(at + 4, "colour masks"), f.u32(at + 8, "colour masks")};
    if (bitCount == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

std::vector<Color> readPalette(const ByteReader& f, const InfoFields& info, std::size_t at, std::size_t end)
{
    if (info.bitCount > 8)
        return {};
    std::size_t count = std::size_t(1) << info.bitCount;
    if (info.colorsUsed != 0 && info.colorsUsed < count)
        count = info.colorsUsed;
    // A palette cut short by the pixel data's offset has only the entries that fit.
    count = std::min(count, (end - at) / info.paletteEntrySize);
    if (count == 0)
        fail("The file has no palette");
    std::vector<Color> palette(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t p = at + i * info.paletteEntrySize;
        palette[i] = rgb(f.u8(p + 2, "palette"), f.u8(p + 1, "palette"), f.u8(p, "palette"));
    }
    return palette;
}

BmpLayout readLayout(const ByteReader& f)
{
    if (!f.has(0, kFileHeaderSize + 4) || f.data()[0] != 'B' || f.data()[1] != 'M')
        fail("Not a BMP file");
    std::uint32_t headerSize = f.u32(kFileHeaderSize, kHeaders);
    InfoFields info = readInfo(f, headerSize);
    checkFormat(info.bitCount, info.compression);
    long long rows = info.height < 0 ? -info.height : info.height;
    checkSize(info.width, rows);

    std::size_t maskBytes = headerSize == kInfoHeaderSize && hasBitfields(info.compression)
                              ? (info.compression == AlphaBitfields ? 16 : 12)
                              : 0;
    std::size_t headersEnd = kFileHeaderSize + headerSize + maskBytes;
    std::size_t pixelOffset = f.u32(10, kHeaders);
    if (pixelOffset < headersEnd)
        fail("The pixel data starts inside the headers");
    if (pixelOffset > f.size())
        fail("The pixel data starts beyond the end of the file");

    BmpLayout layout;
    layout.pixelOffset = pixelOffset;
    layout.width = int(info.width);
    layout.height = int(rows);
    layout.topDown = info.height < 0;
    layout.bitCount = info.bitCount;
    layout.compression = info.compression;
    layout.masks = readMasks(f, info.bitCount, info.compression);
    layout.palette = readPalette(f, info, headersEnd, pixelOffset);
    return layout;
}

// --- uncompressed rows -------------------------------------------------------------------------

// One colour field of a 16- or 32-bit pixel, scaled to 0..255.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;

    std::uint8_t level(std::uint32_t pixel) const
    {
        if (max == 0)
            return 0;
        std::uint64_t v = (pixel & mask) >> shift;
        return std::uint8_t((v * 255 + max / 2) / max);
    }
};

Channel channelOf(std::uint32_t mask, int bitCount)
{
    if (mask == 0)
        return {};
    if (bitCount < 32 && mask >> bitCount != 0)
        fail("A colour mask reaches beyond the pixel's " + std::to_string(bitCount) + " bits");
    int shift = std::countr_zero(mask);
    std::uint64_t field = mask >> shift;
    if ((field & (field + 1)) != 0)
        fail("A colour mask is not one run of bits");
    return {mask, shift, field};
}

void indexedRow(const BmpLayout& layout, const std::uint8_t* src, std::uint8_t* dst)
{
    int bits = layout.bitCount;
    unsigned valueMask = (1u << bits) - 1;
    for (int x = 0; x < layout.width; ++x) {
        long long bit = (long long)x * bits;
        unsigned index = src[bit / 8] >> (8 - bits - bit % 8) & valueMask;
        putBgr(dst + 3 * x, layout.paletteColor(index));
    }
}

void fieldRow(const BmpLayout& layout, const std::array<Channel, 3>& rgbChannels, const std::uint8_t* src,
              std::uint8_t* dst)
{
    int bytes = layout.bitCount / 8;
    for (int x = 0; x < layout.width; ++x, src += bytes, dst += 3) {
        std::uint32_t pixel = src[0] | src[1] << 8;
        if (bytes == 4)
            pixel |= std::uint32_t(src[2]) << 16 | std::uint32_t(src[3]) << 24;
        dst[0] = rgbChannels[2].level(pixel);
        dst[1] = rgbChannels[1].level(pixel);
        dst[2] = rgbChannels[0].level(pixel);
    }
}

Bitmap decodeRows(const BmpLayout& layout, const ByteReader& f)
{
    auto stride = std::size_t(((long long)layout.width * layout.bitCount + 31) / 32 * 4);
    if (!f.has(layout.pixelOffset, stride * std::size_t(layout.height)))
        fail("The pixel rows run past the end of the file");
    std::array<Channel, 3> channels;
    for (int c = 0; c < 3 && layout.bitCount >= 16 && layout.bitCount != 24; ++c)
        channels[c] = channelOf(layout.masks[c], layout.bitCount);

    Bitmap out(layout.width, layout.height, PixelFormat::Bgr24);
    for (int r = 0; r < layout.height; ++r) {
        const std::uint8_t* src = f.data() + layout.pixelOffset + std::size_t(r) * stride;
        std::uint8_t* dst = out.scanLine(layout.outputRow(r));
        if (layout.bitCount <= 8)
            indexedRow(layout, src, dst);
        else if (layout.bitCount == 24)
            std::memcpy(dst, src, std::size_t(layout.width) * 3);
        else
            fieldRow(layout, channels, src, dst);
    }
    return out;
}

} // namespace

Bitmap DecodeBmp(const std::uint8_t* data, std::size_t size)
{
    ByteReader file(data, data ? size : 0);
    BmpLayout layout = readLayout(file);
    if (layout.compression == Rle4 || layout.compression == Rle8)
        return decodeRle(layout, file);
    return decodeRows(layout, file);
}

Bitmap DecodeBmpFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return DecodeBmp(bytes.data(), bytes.size());
}

} // namespace gfx
