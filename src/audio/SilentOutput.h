#pragma once
#include "audio/SoundOutput.h"
#include <condition_variable>
#include <mutex>
#include <thread>

namespace audio {

class Sequencer;

// An output for machines without sound: renders the tune in real time, as a sound card would
// ask for it, and discards the audio. The tune plays and ends on time, so the player behaves
// as it does with sound.
class SilentOutput : public SoundOutput {
public:
    explicit SilentOutput(Sequencer& sequencer);
    ~SilentOutput() override;
    SilentOutput(const SilentOutput&) = delete;
    SilentOutput& operator=(const SilentOutput&) = delete;

    const std::string& Name() const override { return m_name; }

private:
    void run(Sequencer& sequencer);

    const std::string m_name = "silent";
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread; // last: it starts once the members above exist
};

} // namespace audio
