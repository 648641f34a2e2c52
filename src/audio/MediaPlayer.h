#pragma once
#include "audio/DeviceError.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace audio {

class Sequencer;
class SoundOutput;

enum class Mode { NotReady, Stopped, Playing };

// Where an open tune is heard: the desktop's sound system, or nowhere (the tune still plays
// in real time, for machines and tests without sound).
enum class Output { Desktop, Silent };

// The media player of the main window: opens one MIDI tune on a FluidSynth synthesizer, plays
// it from the beginning, stops it, and tells when a playing has completed. All calls come
// from one thread, the user-interface thread; the completion notice reaches it through post.
class MediaPlayer {
public:
    // Runs a callable on the user-interface thread. It is called from the audio thread, so it
    // must be safe to call from any thread and must not wait for the user-interface thread.
    using Poster = std::function<void(std::function<void()>)>;

    explicit MediaPlayer(Poster post, Output output = Output::Desktop); // nothing opened yet
    ~MediaPlayer(); // closes
    MediaPlayer(const MediaPlayer&) = delete;
    MediaPlayer& operator=(const MediaPlayer&) = delete;

    void SetFileName(const std::string& path);
    const std::string& FileName() const { return m_fileName; }

    // Closes first if open; then checks and reads the file, loads the SoundFont (kept from the
    // last opening when it is the same one) and opens the sound output. Throws DeviceError
    // with a message a user understands; the player is then not open.
    void Open();
    // Plays from the beginning and asks for the completion notice. Never throws: errors
    // (not open, FluidSynth refusing) are only recorded in LastError.
    void Play();
    // Stops playing, without a completion notice. Throws DeviceError when not open.
    void Stop();
    // Closes the sound output and drops the tune; a notice still on its way is ignored.
    void Close();
    Mode GetMode() const;

    // The last error of Play, empty after a Play that started.
    const std::string& LastError() const { return m_lastError; }
    // The loudest sample sent to the output since Open (0 when not open).
    float PeakLevel() const;
    // The output in use while open ("pulseaudio", "alsa", "silent"...), empty otherwise.
    std::string OutputName() const;

    // Called on the user-interface thread (through the Poster) when a playing completes. A
    // playing that was stopped, closed or followed by a newer one never calls it.
    std::function<void()> OnNotify;

    // Renders the tune at midiPath with the SoundFont to interleaved stereo samples, without
    // any sound output: the whole tune and half a second of its release, at most maxSeconds.
    // Throws DeviceError for a bad tune or SoundFont.
    static std::vector<float> RenderToBuffer(const std::string& midiPath, const std::string& soundFont,
                                             int sampleRate, double maxSeconds = 60.0);

private:
    void notifyEnd(unsigned playing);

    Poster m_post;
    Output m_output;
    std::string m_fileName;
    std::string m_lastError;
    unsigned m_lastPlaying = 0;
    // The playing whose completion counts (0: none); notices hold it weakly, so one that is
    // delivered after the player has gone does nothing.
    std::shared_ptr<unsigned> m_current;
    std::unique_ptr<Sequencer> m_sequencer;
    std::unique_ptr<SoundOutput> m_sound; // after m_sequencer: destroyed first
};

} // namespace audio
