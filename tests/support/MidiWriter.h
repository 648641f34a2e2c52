#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Builds small standard MIDI files for tests: tracks of timed events, each ended with an End of
// Track event. One track gives a format 0 file, more give format 1. Times are in ticks.
class MidiWriter {
public:
    explicit MidiWriter(int division = 96);

    // Starts a new track; the events that follow go into it. The first event starts one itself.
    MidiWriter& Track();
    MidiWriter& Tempo(std::uint32_t microsecondsPerQuarter, std::uint32_t delta = 0);
    MidiWriter& Program(int channel, int program, std::uint32_t delta = 0);
    // A note starting delta ticks after the previous event and lasting duration ticks.
    MidiWriter& Note(int channel, int key, int velocity, std::uint32_t duration, std::uint32_t delta = 0);
    // Any event: the delta time, then the bytes as given (for broken or unusual events).
    MidiWriter& Raw(std::uint32_t delta, const std::vector<std::uint8_t>& event);
    // Leaves out the End of Track events.
    MidiWriter& WithoutEndOfTrack();

    std::vector<std::uint8_t> Bytes() const;

    static std::vector<std::uint8_t> VarLen(std::uint32_t value);
    static void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
    // Four piano notes at 120 beats a minute, half a second in all.
    static std::vector<std::uint8_t> ShortTune();

private:
    std::vector<std::uint8_t>& current();

    int m_division;
    bool m_endOfTrack = true;
    std::vector<std::vector<std::uint8_t>> m_tracks;
};

} // namespace testing_support
