#include "game/PackageTrailer.h"
#include <algorithm>
#include <cstring>

namespace game {
namespace {

constexpr std::size_t kLevelOffset = 255;
constexpr std::size_t kPictureSizeOffset = 256;
constexpr std::size_t kMusicSizeOffset = 260;
constexpr std::size_t kPictureIsBmpOffset = 264;
constexpr std::size_t kArrangementOffset = 268;
constexpr std::size_t kScaleOffset = 272;
constexpr std::size_t kReservedOffset = 276;
constexpr std::size_t kRotateOffset = 277;
constexpr std::size_t kShowOriginalOffset = 278;
constexpr std::size_t kPaddingOffset = 279;
constexpr std::size_t kColorOffset = 280;

std::uint32_t readLe32(const PackageTrailer::Bytes& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

void writeLe32(PackageTrailer::Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}

} // namespace

const std::array<char, 80> PackageTrailer::kDefaultMessage = [] {
    static const char text[] = "Tovanta Lite\nVersion 7.0\n(c) The Tovanta makers\nhttps://tovanta.example.org";
    static_assert(sizeof text <= 80, "the default message is one block of 80 bytes");
    std::array<char, 80> block{};
    std::memcpy(block.data(), text, sizeof text);
    return block;
}();

PackageTrailer PackageTrailer::Parse(const Bytes& b)
{
    PackageTrailer t;
    std::copy_n(b.begin(), kMessageBytes, t.MessageText.begin());
    t.LevelCode = std::int8_t(b[kLevelOffset]);
    t.PictureSize = std::int32_t(readLe32(b, kPictureSizeOffset));
    t.MusicSize = std::int32_t(readLe32(b, kMusicSizeOffset));
    t.PictureIsBmp = std::int32_t(readLe32(b, kPictureIsBmpOffset));
    t.Arrangement = std::int32_t(readLe32(b, kArrangementOffset));
    t.ScalePercent = std::int32_t(readLe32(b, kScaleOffset));
    t.ReservedFlag = b[kReservedOffset];
    t.RotatePieces = b[kRotateOffset];
    t.ShowOriginal = b[kShowOriginalOffset];
    t.Padding = b[kPaddingOffset];
    t.BackgroundColor = readLe32(b, kColorOffset);
    return t;
}

PackageTrailer::Bytes PackageTrailer::Serialize() const
{
    Bytes b{};
    std::copy(MessageText.begin(), MessageText.end(), b.begin());
    b[kLevelOffset] = std::uint8_t(LevelCode);
    writeLe32(b, kPictureSizeOffset, std::uint32_t(PictureSize));
    writeLe32(b, kMusicSizeOffset, std::uint32_t(MusicSize));
    writeLe32(b, kPictureIsBmpOffset, std::uint32_t(PictureIsBmp));
    writeLe32(b, kArrangementOffset, std::uint32_t(Arrangement));
    writeLe32(b, kScaleOffset, std::uint32_t(ScalePercent));
    b[kReservedOffset] = ReservedFlag;
    b[kRotateOffset] = RotatePieces;
    b[kShowOriginalOffset] = ShowOriginal;
    b[kPaddingOffset] = Padding;
    writeLe32(b, kColorOffset, BackgroundColor);
    return b;
}

std::string PackageTrailer::Message() const
{
    // A message without its zero byte stops short of the last byte, where the zero belongs.
    auto end = std::find(MessageText.begin(), MessageText.begin() + kMaxMessageLength, 0);
    return std::string(MessageText.begin(), end);
}

bool PackageTrailer::SetMessage(std::string_view text)
{
    if (text.size() > kMaxMessageLength || text.find('\0') != std::string_view::npos)
        return false;
    MessageText.fill(0);
    std::copy(text.begin(), text.end(), MessageText.begin());
    return true;
}

void PackageTrailer::SetDefaultMessage()
{
    std::copy(kDefaultMessage.begin(), kDefaultMessage.end(), MessageText.begin());
}

} // namespace game
