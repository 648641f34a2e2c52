#pragma once
#include "audio/SoundOutput.h"
#include <fluidsynth/types.h>

namespace audio {

class Sequencer;

// The desktop's sound system through a FluidSynth audio driver: PipeWire, PulseAudio or ALSA,
// the first of these that this FluidSynth has and that opens. The driver's thread renders
// through Sequencer::Render, under the sequencer's lock.
class DesktopOutput : public SoundOutput {
public:
    // Throws DeviceError "No sound output is available: ..." when none opens.
    explicit DesktopOutput(Sequencer& sequencer);
    ~DesktopOutput() override;
    DesktopOutput(const DesktopOutput&) = delete;
    DesktopOutput& operator=(const DesktopOutput&) = delete;

    const std::string& Name() const override { return m_name; }

private:
    fluid_audio_driver_t* m_driver = nullptr;
    std::string m_name;
};

} // namespace audio
