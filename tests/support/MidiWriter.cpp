#include "support/MidiWriter.h"
#include <fstream>
#include <stdexcept>

namespace testing_support {

namespace {

void append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

void appendBigEndian(std::vector<std::uint8_t>& to, std::uint32_t value, int bytes)
{
    while (bytes-- > 0)
        to.push_back(std::uint8_t(value >> (8 * bytes)));
}

} // namespace

MidiWriter::MidiWriter(int division)
    : m_division(division)
{
}

MidiWriter& MidiWriter::Track()
{
    m_tracks.emplace_back();
    return *this;
}

std::vector<std::uint8_t>& MidiWriter::current()
{
    if (m_tracks.empty())
        Track();
    return m_tracks.back();
}

MidiWriter& MidiWriter::Raw(std::uint32_t delta, const std::vector<std::uint8_t>& event)
{
    append(current(), VarLen(delta));
    append(current(), event);
    return *this;
}

MidiWriter& MidiWriter::Tempo(std::uint32_t microsecondsPerQuarter, std::uint32_t delta)
{
    return Raw(delta, {0xFF, 0x51, 0x03, std::uint8_t(microsecondsPerQuarter >> 16),
                       std::uint8_t(microsecondsPerQuarter >> 8), std::uint8_t(microsecondsPerQuarter)});
}

MidiWriter& MidiWriter::Program(int channel, int program, std::uint32_t delta)
{
    return Raw(delta, {std::uint8_t(0xC0 | channel), std::uint8_t(program)});
}

MidiWriter& MidiWriter::Note(int channel, int key, int velocity, std::uint32_t duration, std::uint32_t delta)
{
    Raw(delta, {std::uint8_t(0x90 | channel), std::uint8_t(key), std::uint8_t(velocity)});
    return Raw(duration, {std::uint8_t(0x80 | channel), std::uint8_t(key), 0});
}

MidiWriter& MidiWriter::WithoutEndOfTrack()
{
    m_endOfTrack = false;
    return *this;
}

std::vector<std::uint8_t> MidiWriter::Bytes() const
{
    std::vector<std::uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    appendBigEndian(out, m_tracks.size() == 1 ? 0 : 1, 2);
    appendBigEndian(out, std::uint32_t(m_tracks.size()), 2);
    appendBigEndian(out, std::uint32_t(m_division), 2);
    for (std::vector<std::uint8_t> track : m_tracks) {
        if (m_endOfTrack)
            append(track, {0x00, 0xFF, 0x2F, 0x00});
        append(out, {'M', 'T', 'r', 'k'});
        appendBigEndian(out, std::uint32_t(track.size()), 4);
        append(out, track);
    }
    return out;
}

std::vector<std::uint8_t> MidiWriter::VarLen(std::uint32_t value)
{
    std::vector<std::uint8_t> groups{std::uint8_t(value & 0x7F)};
    while (value >>= 7)
        groups.insert(groups.begin(), std::uint8_t(0x80 | (value & 0x7F)));
    return groups;
}

void MidiWriter::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::vector<std::uint8_t> MidiWriter::ShortTune()
{
    MidiWriter tune(96); // 96 ticks a quarter note, half a second at 120 beats a minute
    tune.Tempo(500000).Program(0, 0);
    for (int key : {60, 64, 67, 72})
        tune.Note(0, key, 100, 24);
    return tune.Bytes();
}

} // namespace testing_support
