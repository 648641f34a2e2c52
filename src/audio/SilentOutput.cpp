#include "audio/SilentOutput.h"
#include "audio/Sequencer.h"
#include <chrono>
#include <vector>

namespace audio {

namespace {
constexpr int kBlockFrames = 512;
}

SilentOutput::SilentOutput(Sequencer& sequencer)
    : m_thread([this, &sequencer] { run(sequencer); })
{
}

SilentOutput::~SilentOutput()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void SilentOutput::run(Sequencer& sequencer)
{
    using Clock = std::chrono::steady_clock;
    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    const auto block = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(kBlockFrames / sequencer.SampleRate()));
    auto due = Clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        lock.unlock();
        sequencer.Render(kBlockFrames, left.data(), right.data());
        lock.lock();
        due += block;
        m_wake.wait_until(lock, due, [this] { return m_stop; });
    }
}

} // namespace audio
