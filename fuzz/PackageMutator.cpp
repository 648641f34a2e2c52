#include "PackageMutator.h"
#include "game/PackageTrailer.h"
#include <algorithm>
#include <optional>
#include <random>
#include <vector>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace fuzzing {
namespace {

using game::PackageTrailer;
using Bytes = std::vector<std::uint8_t>;

// A program file cut into its parts along the trailer's lengths.
struct Package {
    Bytes program, music, picture;
    PackageTrailer trailer;

    Bytes join() const
    {
        PackageTrailer t = trailer;
        t.PictureSize = std::int32_t(picture.size());
        t.MusicSize = std::int32_t(music.size());
        Bytes out = program;
        out.insert(out.end(), music.begin(), music.end());
        out.insert(out.end(), picture.begin(), picture.end());
        const PackageTrailer::Bytes raw = t.Serialize();
        out.insert(out.end(), raw.begin(), raw.end());
        return out;
    }
};

std::optional<Package> split(const std::uint8_t* data, std::size_t size)
{
    if (size < PackageTrailer::kSize)
        return std::nullopt;
    PackageTrailer::Bytes raw;
    std::copy_n(data + size - raw.size(), raw.size(), raw.begin());
    const PackageTrailer t = PackageTrailer::Parse(raw);
    const long long body = (long long)size - (long long)raw.size();
    if (t.PictureSize < 0 || t.MusicSize < 0 || (long long)t.PictureSize + t.MusicSize > body)
        return std::nullopt;
    const std::uint8_t* pictureEnd = data + body;
    const std::uint8_t* pictureStart = pictureEnd - t.PictureSize;
    const std::uint8_t* musicStart = pictureStart - t.MusicSize;
    return Package{Bytes(data, musicStart), Bytes(musicStart, pictureStart), Bytes(pictureStart, pictureEnd), t};
}

// Mutates part in place, within room more bytes than it has.
void mutatePart(Bytes& part, std::size_t room)
{
    const std::size_t size = part.size();
    part.resize(size + room);
    part.resize(LLVMFuzzerMutate(part.data(), size, part.size()));
}

// Mutates the settings: every byte of the trailer except the two lengths, which join() sets.
void mutateSettings(PackageTrailer& trailer)
{
    PackageTrailer::Bytes raw = trailer.Serialize();
    LLVMFuzzerMutate(raw.data(), raw.size(), raw.size());
    trailer = PackageTrailer::Parse(raw);
}

} // namespace

std::size_t MutatePackage(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed)
{
    std::minstd_rand random(seed);
    std::optional<Package> package = split(data, size);
    if (!package || package->picture.empty() || random() % 4 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);

    const std::size_t room = maxSize > size ? maxSize - size : 0;
    switch (random() % 4) {
    case 0: mutateSettings(package->trailer); break;
    case 1:
        if (!package->music.empty()) {
            mutatePart(package->music, room);
            break;
        }
        [[fallthrough]];
    default: mutatePart(package->picture, room); break;
    }
    const Bytes joined = package->join();
    if (joined.size() > maxSize || joined.empty())
        return LLVMFuzzerMutate(data, size, maxSize);
    std::copy(joined.begin(), joined.end(), data);
    return joined.size();
}

} // namespace fuzzing

// The package and start-up targets take their mutations from here.
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned seed)
{
    return fuzzing::MutatePackage(data, size, maxSize, seed);
}
