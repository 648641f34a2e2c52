#pragma once
#include <fluidsynth/types.h>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace audio {

// A FluidSynth synthesizer with its SoundFont loaded and one tune to play on it. Rendering and
// every command take the same lock, so an output thread may pull audio while the user-interface
// thread starts and stops the tune; FluidSynth forbids replacing a player during rendering.
class Sequencer {
public:
    // Called on the rendering thread, outside the lock, when a started playing reaches its end.
    using EndHandler = std::function<void(unsigned playing)>;

    // Throws DeviceError when the synthesizer cannot start or the SoundFont cannot be loaded.
    Sequencer(const std::string& soundFont, double sampleRate, EndHandler onEnd);
    ~Sequencer();
    Sequencer(const Sequencer&) = delete;
    Sequencer& operator=(const Sequencer&) = delete;

    const std::string& SoundFont() const { return m_soundFont; }
    double SampleRate() const { return m_sampleRate; }
    // The settings an audio driver for this synthesizer is made from.
    fluid_settings_t* Settings() const { return m_settings.get(); }

    // Takes a checked tune (see MidiFile.h); any playing of the previous one ends silently.
    void Load(std::vector<std::uint8_t> tune);
    // Drops the tune and its player.
    void Unload();
    // Plays the tune from its beginning on a fresh player; playing names it in the end notice.
    // False when there is no tune or FluidSynth refuses.
    bool Start(unsigned playing);
    // Stops the tune at once, without an end notice.
    void Halt();
    bool Playing() const;

    // Renders frames of stereo audio and reports the end of the started playing.
    void Render(int frames, float* left, float* right);
    // The loudest sample rendered since the last Load.
    float PeakLevel() const { return m_peak.load(std::memory_order_relaxed); }

private:
    void dropPlayer();
    bool reachedEnd();

    std::string m_soundFont;
    double m_sampleRate;
    EndHandler m_onEnd;
    std::unique_ptr<fluid_settings_t, void (*)(fluid_settings_t*)> m_settings;
    std::unique_ptr<fluid_synth_t, void (*)(fluid_synth_t*)> m_synth;
    std::unique_ptr<fluid_player_t, void (*)(fluid_player_t*)> m_player;
    std::vector<std::uint8_t> m_tune;
    bool m_armed = false; // a started playing whose end is still to be reported
    unsigned m_playing = 0;
    int m_endTick = 0; // the tune's last tick, once the player has read it
    std::atomic<float> m_peak{0.0f};
    mutable std::mutex m_mutex;
};

} // namespace audio
