#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace game {

// The fixed 284 bytes at the very end of a program file that carries a puzzle: the message and
// the settings, with the lengths of the picture and the tune that precede it. All integers are
// little-endian. The player reads it; the authoring tool writes it.
struct PackageTrailer {
    static constexpr std::size_t kSize = 284;
    static constexpr std::size_t kMessageBytes = 255;
    static constexpr std::size_t kMaxMessageLength = kMessageBytes - 1; // the last byte is the zero

    std::array<std::uint8_t, kMessageBytes> MessageText{}; // offset 0, zero-terminated
    std::int8_t LevelCode = 3;                             // 255
    std::int32_t PictureSize = 0;                          // 256
    std::int32_t MusicSize = 0;                            // 260
    std::int32_t PictureIsBmp = 0;                         // 264
    std::int32_t Arrangement = 3;                          // 268
    std::int32_t ScalePercent = 100;                       // 272
    std::uint8_t ReservedFlag = 0;                         // 276
    std::uint8_t RotatePieces = 1;                         // 277
    std::uint8_t ShowOriginal = 1;                         // 278
    std::uint8_t Padding = 0;                              // 279
    std::uint32_t BackgroundColor = 128;                   // 280

    using Bytes = std::array<std::uint8_t, kSize>;
    static PackageTrailer Parse(const Bytes& bytes);
    Bytes Serialize() const;

    // The message up to its zero byte; without one, its first kMaxMessageLength bytes.
    std::string Message() const;
    bool MessageIsEmpty() const { return MessageText[0] == 0; }
    // Stores text and its zero (the rest zeroed). False, leaving the message alone, for a text
    // longer than kMaxMessageLength or one holding a zero byte.
    bool SetMessage(std::string_view text);
    // The four-line notice shown for a package without a message of its own.
    void SetDefaultMessage();

    // The default message as one block of 80 bytes, its zero and the padding included.
    static const std::array<char, 80> kDefaultMessage;
};

} // namespace game
