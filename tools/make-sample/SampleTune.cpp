#include "SampleTune.h"
#include <algorithm>

namespace sample {
namespace {

constexpr int kTicksPerBeat = 480;
constexpr std::uint32_t kMicrosecondsPerBeat = 625000; // 96 beats a minute
constexpr int kMelody = 0, kChords = 1;                 // channels
constexpr int kFlute = 73, kPiano = 0;                  // General MIDI programs, counted from 0

struct Event {
    int tick;
    int order; // at the same tick: settings first, then note-offs, then note-ons
    std::vector<std::uint8_t> bytes;
};

struct Note {
    int pitch;
    float beats; // 0 pitch: a rest
};

void addNote(std::vector<Event>& events, int channel, int pitch, int start, int length, int velocity)
{
    events.push_back({start, 2, {std::uint8_t(0x90 | channel), std::uint8_t(pitch), std::uint8_t(velocity)}});
    events.push_back({start + length, 1, {std::uint8_t(0x80 | channel), std::uint8_t(pitch), 64}});
}

// Eight bars of four beats.
int addMelody(std::vector<Event>& events)
{
    const Note tune[] = {
        {76, 1}, {79, 1}, {81, 1}, {79, 1},   {76, 1.5f}, {74, 0.5f}, {72, 2},
        {74, 1}, {76, 1}, {77, 1}, {81, 1},   {79, 3},    {0, 1},
        {76, 1}, {79, 1}, {84, 1}, {83, 1},   {81, 1.5f}, {79, 0.5f}, {76, 2},
        {77, 1}, {76, 1}, {74, 1}, {71, 1},   {72, 4},
    };
    int tick = 0;
    for (const Note& n : tune) {
        const int length = int(n.beats * kTicksPerBeat);
        if (n.pitch)
            addNote(events, kMelody, n.pitch, tick, length - 30, 92);
        tick += length;
    }
    return tick;
}

// Per half bar a bass note and an arpeggio of the chord in eighths.
void addChords(std::vector<Event>& events)
{
    struct Chord {
        int bass, a, b, c;
    };
    const Chord C{48, 55, 60, 64}, Am{45, 57, 60, 64}, F{41, 57, 60, 65}, G{43, 55, 59, 62}, Dm{50, 57, 62, 65};
    const Chord halves[] = {C, C, Am, Am, F, F, G, G, C, C, Am, Am, Dm, G, C, C};
    const int eighth = kTicksPerBeat / 2;
    int tick = 0;
    for (const Chord& h : halves) {
        addNote(events, kChords, h.bass, tick, 2 * kTicksPerBeat - 20, 70);
        const int arpeggio[] = {h.a, h.b, h.c, h.b};
        for (int i = 0; i < 4; ++i)
            addNote(events, kChords, arpeggio[i], tick + i * eighth, eighth + 60, 48);
        tick += 2 * kTicksPerBeat;
    }
}

void putVarLen(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = std::uint8_t(v & 0x7F);
        v >>= 7;
    } while (v);
    while (n-- > 0)
        out.push_back(std::uint8_t(groups[n] | (n ? 0x80 : 0)));
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    while (bytes-- > 0)
        out.push_back(std::uint8_t(v >> (8 * bytes)));
}

std::vector<std::uint8_t> trackBytes(std::vector<Event> events, int endTick)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    std::vector<std::uint8_t> track;
    int last = 0;
    for (const Event& e : events) {
        putVarLen(track, std::uint32_t(e.tick - last));
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
        last = e.tick;
    }
    putVarLen(track, std::uint32_t(std::max(0, endTick - last)));
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    return track;
}

} // namespace

std::vector<std::uint8_t> SampleTune::Compose()
{
    std::vector<Event> events = {
        {0, 0, {0xFF, 0x51, 0x03, std::uint8_t(kMicrosecondsPerBeat >> 16), std::uint8_t(kMicrosecondsPerBeat >> 8),
                std::uint8_t(kMicrosecondsPerBeat)}},
        {0, 0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}}, // four beats a bar
        {0, 0, {std::uint8_t(0xC0 | kMelody), kFlute}},
        {0, 0, {std::uint8_t(0xC0 | kChords), kPiano}},
    };
    const int end = addMelody(events);
    addChords(events);
    // A beat of quiet before the tune starts again.
    const std::vector<std::uint8_t> track = trackBytes(std::move(events), end + kTicksPerBeat);

    std::vector<std::uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    putBigEndian(file, kTicksPerBeat, 2);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    putBigEndian(file, std::uint32_t(track.size()), 4);
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

} // namespace sample
