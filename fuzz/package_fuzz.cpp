// ReadPackage on a program file made of the input. Whatever the input, the reader either
// extracts the picture (and the tune) byte for byte into the private folder or shows one of its
// three messages; it writes nothing else, and the program file stays as it was.
#include "FuzzCheck.h"
#include "PackagedGame.h"
#include "RunFolder.h"
#include "game/PackageTrailer.h"
#include "support/PlayerMessages.h"
#include <algorithm>
#include <span>
#include <vector>

using fuzzing::require;
using fuzzing::RunFolder;
using Bytes = std::vector<std::uint8_t>;

namespace {

using namespace testing_support; // the messages

// What a correct reader does with the input: which message it shows (none on success) and
// which files it writes, with what content.
struct Expected {
    const std::string* message = nullptr;
    std::vector<std::pair<std::string, Bytes>> files;
};

Expected expectedOf(std::span<const std::uint8_t> input)
{
    const long long size = (long long)input.size(), trailerSize = game::PackageTrailer::kSize;
    if (size < trailerSize)
        return {&kCannotReadImage, {}};
    game::PackageTrailer::Bytes raw;
    std::copy(input.end() - trailerSize, input.end(), raw.begin());
    const game::PackageTrailer t = game::PackageTrailer::Parse(raw);

    const long long pictureStart = size - trailerSize - t.PictureSize;
    if (t.PictureSize < 0 || pictureStart < 0)
        return {&kPictureDamaged, {}};
    Expected e;
    e.files.emplace_back(t.PictureIsBmp != 0 ? "tovanta.bmp" : "tovanta.jpg",
                         Bytes(input.begin() + pictureStart, input.end() - trailerSize));
    if (t.MusicSize == 0)
        return e;
    const long long musicStart = pictureStart - t.MusicSize;
    if (t.MusicSize < 0 || musicStart < 0) {
        e.message = &kTuneDamaged;
        return e;
    }
    e.files.emplace_back("tovanta.mid", Bytes(input.begin() + musicStart, input.begin() + pictureStart));
    return e;
}

void checkExtraction(const Expected& expected, bool ok, const testing_support::RecordingWindow& window,
                     const std::string& folder)
{
    require(ok == (expected.message == nullptr), "ReadPackage's result does not match the package");
    if (expected.message)
        require(window.messages.size() == 1 && window.messages[0].text == *expected.message,
                "the message is not \"" + *expected.message + "\"");
    else
        require(window.messages.empty(), "a good package showed a message");
    std::vector<std::string> names;
    for (const auto& [name, bytes] : expected.files) {
        names.push_back(name);
        require(RunFolder::read(folder + "/" + name) == bytes, name + " does not hold the package's bytes");
    }
    std::sort(names.begin(), names.end());
    require(RunFolder::entries(folder) == names, "the extraction folder holds other files than the package's");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    fuzzing::PackagedGame started(input, 640, 480);
    const bool ok = started.game->ReadPackage();
    checkExtraction(expectedOf(input), ok, started.window, RunFolder::Get().extractFolder());
    started.end();
    return 0;
}
