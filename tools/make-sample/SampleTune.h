#pragma once
#include <cstdint>
#include <vector>

namespace sample {

// The sample puzzle's tune: eight bars of a light melody on a flute over piano chords, about
// twenty seconds, as a standard MIDI file (format 0). The same bytes every time.
class SampleTune {
public:
    static std::vector<std::uint8_t> Compose();
};

} // namespace sample
