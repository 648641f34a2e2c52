#include "audio/MidiFile.h"
#include "audio/DeviceError.h"
#include <fluidsynth.h>
#include <algorithm>
#include <filesystem>
#include <fstream>

namespace audio {

namespace {

// FluidSynth keeps at most 128 tracks and reads the count's low byte as a signed char, so 128
// itself already turns into a huge count.
constexpr unsigned kMaxTracks = 127;

// Bounded reading of big-endian fields. Every read is checked by the caller through has().
struct ByteReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;

    bool has(std::size_t n) const { return size - pos >= n; }
    bool atEnd() const { return pos == size; }
    std::uint8_t byte() { return data[pos++]; }
    std::uint32_t bigEndian(int bytes)
    {
        std::uint32_t v = 0;
        while (bytes-- > 0)
            v = (v << 8) | byte();
        return v;
    }
    // A variable-length quantity of at most four bytes, as the file format allows.
    bool varLen(std::uint32_t& v)
    {
        v = 0;
        for (int i = 0; i < 4 && has(1); ++i) {
            std::uint8_t b = byte();
            v = (v << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return true;
        }
        return false;
    }
    ByteReader sub(std::size_t n)
    {
        ByteReader r{data + pos, n};
        pos += n;
        return r;
    }
};

// The data bytes a channel message carries.
int channelDataBytes(std::uint8_t status)
{
    std::uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// The length that FluidSynth insists on for a meta event type, or -1 for any length.
int metaLength(std::uint8_t type)
{
    switch (type) {
    case 0x2F: return 0; // end of track
    case 0x51: return 3; // tempo
    case 0x54: return 5; // SMPTE offset
    case 0x58: return 4; // time signature
    case 0x59: return 2; // key signature
    default: return -1;
    }
}

const char* checkChannelMessage(ByteReader& r, std::uint8_t status)
{
    for (int i = channelDataBytes(status); i > 0; --i) {
        if (!r.has(1))
            return "a track ends inside an event";
        if (r.byte() & 0x80)
            return "an event carries a data byte out of range";
    }
    return nullptr;
}

// Checks one meta event after its status byte; sets endOfTrack when it is the last one.
const char* checkMetaEvent(ByteReader& r, bool& endOfTrack)
{
    std::uint32_t length = 0;
    if (!r.has(1))
        return "a track ends inside an event";
    std::uint8_t type = r.byte();
    if (type & 0x80)
        return "a meta event has an invalid type";
    if (!r.varLen(length) || !r.has(length))
        return "a track ends inside an event";
    int expected = metaLength(type);
    if (expected >= 0 && length != std::uint32_t(expected))
        return "a meta event has the wrong length";
    std::size_t start = r.pos;
    if (type == 0x51 && r.bigEndian(3) == 0)
        return "it sets a tempo of zero";
    r.pos = start + length;
    endOfTrack = type == 0x2F;
    return nullptr;
}

// Walks the events of one track chunk; adds the track's length in ticks to ticks.
const char* checkTrack(ByteReader r, std::uint64_t& ticks)
{
    std::uint8_t running = 0; // only a channel message in this track starts a running status
    bool endOfTrack = false;
    while (!r.atEnd() && !endOfTrack) {
        std::uint32_t delta = 0;
        if (!r.varLen(delta))
            return "an event time is broken";
        ticks += delta;
        if (!r.has(1))
            return "a track ends inside an event";
        std::uint8_t status = running;
        if (r.data[r.pos] & 0x80)
            status = r.byte();
        else if (!running)
            return "an event has no status byte";
        const char* why = nullptr;
        if (status < 0xF0) {
            running = status;
            why = checkChannelMessage(r, status);
        } else if (status == 0xF0) {
            running = 0;
            std::uint32_t length = 0;
            if (!r.varLen(length) || !r.has(length))
                return "a track ends inside an event";
            r.pos += length;
        } else if (status == 0xFF) {
            running = 0;
            why = checkMetaEvent(r, endOfTrack);
        } else {
            return "it holds an event that cannot be played from a file";
        }
        if (why)
            return why;
    }
    return nullptr;
}

const char* checkHeader(ByteReader& r, unsigned& tracks)
{
    if (!r.has(14) || r.bigEndian(4) != 0x4D546864) // "MThd"
        return "it does not start with a MIDI header";
    if (r.bigEndian(4) != 6)
        return "its header has the wrong length";
    std::uint32_t format = r.bigEndian(2);
    tracks = r.bigEndian(2);
    std::uint32_t division = r.bigEndian(2);
    if (format > 2)
        return "its format is unknown";
    if (tracks == 0 || (format == 0 && tracks != 1))
        return "its track count is wrong";
    if (tracks > kMaxTracks)
        return "it has too many tracks";
    if (division & 0x8000)
        return "it uses SMPTE time, which is not supported";
    if (division == 0)
        return "its time division is zero";
    return nullptr;
}

bool isChunkId(std::uint32_t id)
{
    for (int shift = 0; shift < 32; shift += 8) {
        std::uint8_t c = std::uint8_t(id >> shift);
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

} // namespace

std::string MidiFileProblem(const std::uint8_t* data, std::size_t size)
{
    ByteReader r{data, size};
    unsigned tracks = 0;
    if (const char* why = checkHeader(r, tracks))
        return why;
    std::uint64_t longest = 0;
    for (unsigned found = 0; found < tracks;) {
        if (!r.has(8))
            return "it ends before all its tracks";
        std::uint32_t id = r.bigEndian(4);
        std::uint32_t length = r.bigEndian(4);
        if (!isChunkId(id))
            return "it holds a broken chunk";
        if (!r.has(length))
            return "a chunk runs past the end of the file";
        // FluidSynth's reader loses its way on any other chunk before the last track.
        if (id != 0x4D54726B) // "MTrk"
            return "it holds a chunk that is not a track";
        ByteReader body = r.sub(length);
        std::uint64_t ticks = 0;
        if (const char* why = checkTrack(body, ticks))
            return why;
        longest = std::max(longest, ticks);
        ++found;
    }
    // A tune that lasts no time would end as soon as it started and loop without pause.
    if (longest == 0)
        return "it lasts no time at all";
    return {};
}

std::vector<std::uint8_t> ReadMidiFile(const std::string& path)
{
    std::error_code ec;
    bool regular = std::filesystem::is_regular_file(path, ec);
    std::ifstream in(path, std::ios::binary);
    if (!regular || !in)
        throw DeviceError("The tune file " + path + " cannot be opened.");
    auto invalid = [&](const std::string& why) {
        return DeviceError("The tune file " + path + " is not a MIDI file that can be played: " + why + ".");
    };
    auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw DeviceError("The tune file " + path + " cannot be opened.");
    if (size > kMaxTuneBytes)
        throw invalid("it is larger than 2 MB");
    if (!fluid_is_midifile(path.c_str()))
        throw invalid("it does not start with a MIDI header");
    std::vector<std::uint8_t> bytes(size);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size)))
        throw DeviceError("The tune file " + path + " cannot be read.");
    std::string why = MidiFileProblem(bytes.data(), bytes.size());
    if (!why.empty())
        throw invalid(why);
    return bytes;
}

} // namespace audio
