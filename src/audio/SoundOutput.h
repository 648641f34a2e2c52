#pragma once
#include <string>

namespace audio {

// Where the audio of an open tune goes. From construction to destruction an output pulls audio
// from its Sequencer on a thread of its own; destruction waits for that thread to finish.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // What plays the sound, for messages and debugging: a FluidSynth driver name or "silent".
    virtual const std::string& Name() const = 0;
};

} // namespace audio
