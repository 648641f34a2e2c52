#include "PuzzlePacker.h"
#include "audio/MidiFile.h"
#include "game/PackageFile.h"
#include "game/PieceGrid.h"
#include "gfx/BmpCodec.h"
#include "gfx/FileBytes.h"
#include "gfx/GfxError.h"
#include "gfx/JpegDecoder.h"
#include <filesystem>
#include <stdexcept>

namespace pack {
namespace {

struct Picture {
    std::vector<std::uint8_t> bytes;
    bool isBmp = false;
    int width = 0;
    int height = 0;
};

// The picture file, told apart by its first bytes and decoded as the player will decode it.
Picture loadPicture(const std::string& path)
{
    Picture p;
    try {
        p.bytes = gfx::ReadFileBytes(path);
    } catch (const std::exception& e) {
        throw std::runtime_error("The picture " + path + " cannot be read: " + e.what());
    }
    const auto& b = p.bytes;
    p.isBmp = b.size() >= 2 && b[0] == 'B' && b[1] == 'M';
    const bool jpeg = b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8;
    if (!p.isBmp && !jpeg)
        throw std::runtime_error("The picture " + path + " is neither a JPEG nor a BMP file.");
    try {
        const gfx::Bitmap decoded = p.isBmp ? gfx::DecodeBmp(b.data(), b.size()) : gfx::DecodeJpeg(b.data(), b.size());
        p.width = decoded.width();
        p.height = decoded.height();
    } catch (const std::exception& e) {
        throw std::runtime_error("The picture " + path + " cannot be decoded as a " + (p.isBmp ? "BMP" : "JPEG") +
                                 " file: " + e.what());
    }
    return p;
}

// The player cuts the picture at the package's scale (or smaller): it must give two columns
// and two rows there.
void checkGrid(const Picture& p, const PackOptions& o)
{
    const int w = int((long long)p.width * o.scalePercent / 100);
    const int h = int((long long)p.height * o.scalePercent / 100);
    const game::PieceGrid grid = game::PieceGrid::Compute(game::PieceGrid::SizesOf(o.level), w, h);
    if (grid.fits())
        return;
    throw std::runtime_error("The picture is too small for level " + std::to_string(o.level) + " at " +
                             std::to_string(o.scalePercent) + " %: at " + std::to_string(w) + " x " +
                             std::to_string(h) + " pixels it gives " + std::to_string(grid.Columns) +
                             " columns and " + std::to_string(grid.Rows) +
                             " rows of pieces, and a puzzle needs at least two of each.");
}

// Every setting but the picture's kind.
game::PackageTrailer trailerFor(const PackOptions& o)
{
    game::PackageTrailer t;
    if (!t.SetMessage(o.message))
        throw std::runtime_error("The message has " + std::to_string(o.message.size()) + " bytes; at most " +
                                 std::to_string(game::PackageTrailer::kMaxMessageLength) + " fit.");
    t.LevelCode = std::int8_t(o.level);
    t.Arrangement = o.arrangement;
    t.ScalePercent = o.scalePercent;
    t.RotatePieces = o.rotatePieces ? 1 : 0;
    t.ShowOriginal = o.showOriginal ? 1 : 0;
    t.BackgroundColor = o.backgroundColor;
    return t;
}

} // namespace

void PuzzlePacker::Pack(const PackOptions& o)
{
    game::PackageTrailer trailer = trailerFor(o);
    const Picture picture = loadPicture(o.picture);
    checkGrid(picture, o);
    trailer.PictureIsBmp = picture.isBmp ? 1 : 0;
    // The player's own reader: a tune it would refuse to play is refused here.
    const std::vector<std::uint8_t> tune = o.music.empty() ? std::vector<std::uint8_t>{} : audio::ReadMidiFile(o.music);
    const std::string player = o.player.empty() ? DefaultPlayer() : o.player;
    game::PackageFile::WritePackaged(player, o.output, trailer, picture.bytes, tune);
}

std::string PuzzlePacker::DefaultPlayer()
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        throw std::runtime_error("Cannot find the folder of tovanta-pack; name the player with --player.");
    return (self.parent_path() / "tovanta").string();
}

} // namespace pack
