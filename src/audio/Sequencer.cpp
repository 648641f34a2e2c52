#include "audio/Sequencer.h"
#include "audio/DeviceError.h"
#include <fluidsynth.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace audio {

namespace {

// FluidSynth writes its errors to the terminal; the player reports its own. TOVANTA_DEBUG_AUDIO
// keeps them for someone chasing a sound problem.
void quietFluidLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (std::getenv("TOVANTA_DEBUG_AUDIO"))
            return;
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

float blockPeak(const float* left, const float* right, int frames)
{
    float peak = 0.0f;
    for (int i = 0; i < frames; ++i)
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    return peak;
}

// Lets every note ring out through its release, pedals included, so nothing hangs on after
// a tune that forgot its note-offs.
void releaseAll(fluid_synth_t* synth)
{
    constexpr int kSustain = 64, kSostenuto = 66;
    for (int chan = 0, n = fluid_synth_count_midi_channels(synth); chan < n; ++chan) {
        fluid_synth_cc(synth, chan, kSustain, 0);
        fluid_synth_cc(synth, chan, kSostenuto, 0);
    }
    fluid_synth_all_notes_off(synth, -1);
}

} // namespace

Sequencer::Sequencer(const std::string& soundFont, double sampleRate, EndHandler onEnd)
    : m_soundFont(soundFont)
    , m_sampleRate(sampleRate)
    , m_onEnd(std::move(onEnd))
    , m_settings(nullptr, delete_fluid_settings)
    , m_synth(nullptr, delete_fluid_synth)
    , m_player(nullptr, delete_fluid_player)
{
    quietFluidLog();
    m_settings.reset(new_fluid_settings());
    if (!m_settings || fluid_settings_setnum(m_settings.get(), "synth.sample-rate", sampleRate) != FLUID_OK)
        throw DeviceError("The synthesizer for the music cannot be started.");
    // Each playing starts from a reset of its own; at the end the last notes are released
    // (releaseAll) rather than cut off.
    fluid_settings_setint(m_settings.get(), "player.reset-synth", 0);
    // FluidSynth's default leaves a General MIDI tune very quiet next to other programs' sound.
    fluid_settings_setnum(m_settings.get(), "synth.gain", 0.5);
    m_synth.reset(new_fluid_synth(m_settings.get()));
    if (!m_synth)
        throw DeviceError("The synthesizer for the music cannot be started.");
    if (!fluid_is_soundfont(soundFont.c_str()) || fluid_synth_sfload(m_synth.get(), soundFont.c_str(), 1) == FLUID_FAILED)
        throw DeviceError("The SoundFont " + soundFont + " cannot be loaded.");
}

Sequencer::~Sequencer() = default;

void Sequencer::dropPlayer()
{
    m_armed = false;
    m_player.reset();
}

void Sequencer::Load(std::vector<std::uint8_t> tune)
{
    std::lock_guard lock(m_mutex);
    dropPlayer();
    fluid_synth_all_sounds_off(m_synth.get(), -1);
    m_tune = std::move(tune);
    m_peak.store(0.0f, std::memory_order_relaxed);
}

void Sequencer::Unload()
{
    Load({});
}

bool Sequencer::Start(unsigned playing)
{
    std::lock_guard lock(m_mutex);
    dropPlayer();
    if (m_tune.empty())
        return false;
    m_player.reset(new_fluid_player(m_synth.get()));
    if (!m_player || fluid_player_add_mem(m_player.get(), m_tune.data(), m_tune.size()) != FLUID_OK) {
        dropPlayer();
        return false;
    }
    fluid_synth_system_reset(m_synth.get());
    if (fluid_player_play(m_player.get()) != FLUID_OK) {
        dropPlayer();
        return false;
    }
    m_armed = true;
    m_playing = playing;
    m_endTick = 0;
    return true;
}

void Sequencer::Halt()
{
    std::lock_guard lock(m_mutex);
    m_armed = false;
    if (m_player)
        fluid_player_stop(m_player.get());
    fluid_synth_all_sounds_off(m_synth.get(), -1);
}

// A playing completes with its last event, as a MIDI sequencer's does. FluidSynth's player goes
// on for up to a few seconds more while the notes fade, which would put a pause into the loop.
bool Sequencer::reachedEnd()
{
    fluid_player_t* player = m_player.get();
    if (fluid_player_get_status(player) == FLUID_PLAYER_DONE)
        return true;
    if (m_endTick <= 0) // the player reads the tune on its first tick
        m_endTick = fluid_player_get_total_ticks(player);
    return m_endTick > 0 && fluid_player_get_current_tick(player) >= m_endTick;
}

bool Sequencer::Playing() const
{
    std::lock_guard lock(m_mutex);
    return m_player && fluid_player_get_status(m_player.get()) == FLUID_PLAYER_PLAYING;
}

void Sequencer::Render(int frames, float* left, float* right)
{
    bool ended = false;
    unsigned playing = 0;
    {
        std::lock_guard lock(m_mutex);
        fluid_synth_write_float(m_synth.get(), frames, left, 0, 1, right, 0, 1);
        if (m_armed && reachedEnd()) {
            fluid_player_stop(m_player.get());
            releaseAll(m_synth.get());
            m_armed = false;
            ended = true;
            playing = m_playing;
        }
    }
    // Only the rendering thread raises the peak; Load lowers it between playings.
    float peak = blockPeak(left, right, frames);
    if (peak > m_peak.load(std::memory_order_relaxed))
        m_peak.store(peak, std::memory_order_relaxed);
    if (ended && m_onEnd)
        m_onEnd(playing);
}

} // namespace audio
