// The check that stands between a package's tune and FluidSynth's MIDI reader.
#include "audio/MediaPlayer.h"
#include "audio/MidiFile.h"
#include "audio/SoundFont.h"
#include "support/MidiWriter.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;
using testing_support::MidiWriter;

std::string problem(const Bytes& bytes)
{
    return audio::MidiFileProblem(bytes.data(), bytes.size());
}

// A one-track tune with the given events before one audible note.
Bytes tuneWith(std::uint32_t delta, const Bytes& event)
{
    return MidiWriter().Raw(delta, event).Note(0, 60, 100, 48).Bytes();
}

Bytes withByte(Bytes bytes, std::size_t at, std::uint8_t value)
{
    bytes.at(at) = value;
    return bytes;
}

Bytes truncated(Bytes bytes, std::size_t drop)
{
    bytes.resize(bytes.size() - drop);
    return bytes;
}

// A one-track file whose track chunk holds exactly body, delta times included.
Bytes fileWithTrackBody(const Bytes& body)
{
    Bytes out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, std::uint8_t(body.size())};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

struct AcceptedCase {
    const char* name;
    Bytes bytes;
    double seconds; // how long the tune lasts
};

std::vector<AcceptedCase> acceptedCases()
{
    MidiWriter twoTracks;
    twoTracks.Track().Tempo(250000); // 240 beats a minute: 96 ticks last a quarter second
    twoTracks.Track().Program(0, 40).Note(0, 67, 90, 96).Note(0, 69, 90, 96);
    MidiWriter rich;
    rich.Raw(0, {0xFF, 0x03, 0x04, 'T', 'u', 'n', 'e'})                 // track name
        .Raw(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8})                        // time signature
        .Raw(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})             // sysex: GM on
        .Raw(0, {0x90, 60, 100}).Raw(0, {64, 100}).Raw(96, {60, 0}).Raw(0, {64, 0}) // running status
        .Raw(0, {0xFF, 0x7F, 0x00});                                     // empty sequencer meta
    Bytes trailingJunk = MidiWriter::ShortTune();
    trailingJunk.insert(trailingJunk.end(), {0x00, 0xFF, 0x13, 0x37});
    return {
        {"short tune", MidiWriter::ShortTune(), 0.5},
        {"junk after the last track", trailingJunk, 0.5},
        {"two tracks, tempo in the first", twoTracks.Bytes(), 0.5},
        {"meta, sysex and running status", rich.Bytes(), 0.5},
        {"no End of Track event", MidiWriter().Note(0, 60, 100, 96).WithoutEndOfTrack().Bytes(), 0.5},
    };
}

// Well-formed tunes pass the check, and FluidSynth really plays them for their whole length:
// the check must never pass a file that FluidSynth's reader then drops.
TEST(MidiFileCheck, AcceptsWellFormedTunesThatFluidSynthPlaysInFull)
{
    const std::string soundFont = audio::FindSoundFont();
    const auto folder = std::filesystem::temp_directory_path() / ("tovanta-midi-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const AcceptedCase& c : acceptedCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(problem(c.bytes), "");
        std::string path = (folder / "tune.mid").string();
        MidiWriter::WriteFile(path, c.bytes);
        EXPECT_EQ(audio::ReadMidiFile(path), c.bytes);
        constexpr int rate = 22050;
        std::vector<float> samples = audio::MediaPlayer::RenderToBuffer(path, soundFont, rate);
        double seconds = double(samples.size()) / 2 / rate - 0.5; // less the release tail
        EXPECT_NEAR(seconds, c.seconds, 0.05);
    }
    std::filesystem::remove_all(folder);
}

struct RejectedCase {
    const char* name;
    Bytes bytes;
    const char* reason; // a part of the explanation
};

std::vector<RejectedCase> rejectedCases()
{
    const Bytes tune = MidiWriter::ShortTune();
    std::mt19937 random(7);
    Bytes noise(300);
    for (std::uint8_t& b : noise)
        b = std::uint8_t(random());
    MidiWriter missingTrack;
    missingTrack.Note(0, 60, 100, 48);
    Bytes oneOfTwo = withByte(missingTrack.Bytes(), 11, 2);
    oneOfTwo[9] = 1;
    MidiWriter many;
    for (int i = 0; i < 128; ++i)
        many.Track().Note(0, 60, 100, 1);
    Bytes foreignChunk = tune;
    const Bytes foreign{'X', 'y', 'z', 'w', 0, 0, 0, 2, 0xAB, 0xCD};
    foreignChunk.insert(foreignChunk.begin() + 14, foreign.begin(), foreign.end());
    Bytes chunkTooLong = tune;
    chunkTooLong[21] += 1; // the track's length now reaches one byte past the file
    return {
        {"random bytes", noise, "does not start with a MIDI header"},
        {"empty file", {}, "does not start with a MIDI header"},
        {"header only", Bytes(tune.begin(), tune.begin() + 14), "ends before all its tracks"},
        {"header length 5", withByte(tune, 7, 5), "header has the wrong length"},
        {"format 3", withByte(tune, 9, 3), "format is unknown"},
        {"format above 255", withByte(tune, 8, 1), "format is unknown"},
        {"no tracks", withByte(tune, 11, 0), "track count is wrong"},
        {"format 0 with two tracks", withByte(tune, 11, 2), "track count is wrong"},
        {"fewer tracks than announced", oneOfTwo, "ends before all its tracks"},
        {"128 tracks", many.Bytes(), "too many tracks"},
        {"SMPTE time", withByte(tune, 12, 0xE7), "SMPTE"},
        {"zero division", withByte(withByte(tune, 12, 0), 13, 0), "division is zero"},
        {"truncated track", truncated(tune, 5), "runs past the end of the file"},
        {"track length past the end", chunkTooLong, "runs past the end of the file"},
        {"broken chunk name", withByte(tune, 16, 0x01), "broken chunk"},
        {"unknown chunk before the track", foreignChunk, "chunk that is not a track"},
        {"note cut at the end of its track", fileWithTrackBody({0x00, 0x90, 60}), "ends inside an event"},
        {"data byte out of range", tuneWith(0, {0x90, 0x80, 100}), "data byte out of range"},
        {"running status at the start", tuneWith(0, {60, 100}), "no status byte"},
        {"running status after a meta event",
         MidiWriter().Note(0, 60, 100, 48).Raw(0, {0xFF, 0x01, 0x00}).Raw(0, {62, 100}).Bytes(), "no status byte"},
        {"delta time of five bytes", fileWithTrackBody({0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 100}), "event time is broken"},
        {"tempo of zero", tuneWith(0, {0xFF, 0x51, 0x03, 0, 0, 0}), "tempo of zero"},
        {"tempo of two bytes", tuneWith(0, {0xFF, 0x51, 0x02, 0x07, 0xA1}), "wrong length"},
        {"End of Track with data", fileWithTrackBody({0x00, 0x90, 60, 100, 0x10, 0xFF, 0x2F, 0x01, 0x00}), "wrong length"},
        {"meta event past its track", fileWithTrackBody({0x00, 0xFF, 0x01, 0x09, 'a'}), "ends inside an event"},
        {"sysex past its track", fileWithTrackBody({0x00, 0xF0, 0x09, 0x7E}), "ends inside an event"},
        {"system common message", tuneWith(0, {0xF2, 0x00, 0x00}), "cannot be played from a file"},
        {"sysex continuation", tuneWith(0, {0xF7, 0x01, 0xF7}), "cannot be played from a file"},
        {"tune that lasts no time", MidiWriter().Track().Bytes(), "lasts no time"},
        {"notes at time zero only", MidiWriter().Raw(0, {0x90, 60, 100}).Raw(0, {0x80, 60, 0}).Bytes(), "lasts no time"},
    };
}

// Broken files are refused with a reason, by the check, by Open and by the offline renderer,
// before any of their bytes reach FluidSynth.
TEST(MidiFileCheck, RefusesBrokenFilesEverywhere)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tovanta-bad-midi-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const RejectedCase& c : rejectedCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(problem(c.bytes).find(c.reason), std::string::npos) << problem(c.bytes);
        std::string path = (folder / "bad.mid").string();
        MidiWriter::WriteFile(path, c.bytes);
        audio::MediaPlayer player([](std::function<void()>) {}, audio::Output::Silent);
        player.SetFileName(path);
        try {
            player.Open();
            ADD_FAILURE() << "Open accepted the file";
        } catch (const audio::DeviceError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_EQ(player.GetMode(), audio::Mode::NotReady);
        EXPECT_THROW(audio::MediaPlayer::RenderToBuffer(path, "/nonexistent.sf2", 22050), audio::DeviceError);
    }
    std::filesystem::remove_all(folder);
}

TEST(MidiFileCheck, ReadRefusesWhatIsNotATuneFile)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tovanta-no-midi-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string big = (folder / "big.mid").string();
    Bytes huge = MidiWriter::ShortTune();
    huge.resize(audio::kMaxTuneBytes + 1); // a valid start, then far too much
    MidiWriter::WriteFile(big, huge);
    struct Case {
        std::string path;
        const char* message;
    } cases[] = {
        {(folder / "missing.mid").string(), "cannot be opened"},
        {folder.string(), "cannot be opened"}, // a folder
        {big, "larger than 2 MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            audio::ReadMidiFile(c.path);
            ADD_FAILURE() << "read accepted " << c.path;
        } catch (const audio::DeviceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    std::filesystem::remove_all(folder);
}

} // namespace
