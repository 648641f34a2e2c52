#include "audio/MediaPlayer.h"
#include "audio/DesktopOutput.h"
#include "audio/MidiFile.h"
#include "audio/Sequencer.h"
#include "audio/SilentOutput.h"
#include "audio/SoundFont.h"
#include <algorithm>
#include <stdexcept>

namespace audio {

namespace {

constexpr double kSampleRate = 44100.0;
constexpr int kRenderBlock = 512;
const char* const kNotOpen = "The music device is not open.";

} // namespace

MediaPlayer::MediaPlayer(Poster post, Output output)
    : m_post(std::move(post))
    , m_output(output)
    , m_current(std::make_shared<unsigned>(0))
{
}

MediaPlayer::~MediaPlayer()
{
    Close();
}

void MediaPlayer::SetFileName(const std::string& path)
{
    m_fileName = path;
}

void MediaPlayer::Open()
{
    Close();
    if (m_fileName.empty())
        throw DeviceError("There is no tune to open.");
    std::vector<std::uint8_t> tune = ReadMidiFile(m_fileName);
    std::string soundFont = FindSoundFont();
    // Loading a large SoundFont takes a while, and the music reopens at every repetition.
    if (!m_sequencer || m_sequencer->SoundFont() != soundFont) {
        m_sequencer.reset();
        m_sequencer = std::make_unique<Sequencer>(soundFont, kSampleRate, [this](unsigned playing) { notifyEnd(playing); });
    }
    m_sequencer->Load(std::move(tune));
    if (m_output == Output::Desktop)
        m_sound = std::make_unique<DesktopOutput>(*m_sequencer);
    else
        m_sound = std::make_unique<SilentOutput>(*m_sequencer);
}

void MediaPlayer::Play()
{
    if (!m_sound) {
        m_lastError = kNotOpen;
        return;
    }
    if (++m_lastPlaying == 0) // 0 means "none"
        ++m_lastPlaying;
    *m_current = m_lastPlaying;
    if (!m_sequencer->Start(m_lastPlaying)) {
        *m_current = 0;
        m_lastError = "The tune cannot be played.";
        return;
    }
    m_lastError.clear();
}

void MediaPlayer::Stop()
{
    if (!m_sound)
        throw DeviceError(kNotOpen);
    *m_current = 0;
    m_sequencer->Halt();
}

void MediaPlayer::Close()
{
    *m_current = 0;
    m_sound.reset(); // waits for the audio thread
    if (m_sequencer)
        m_sequencer->Unload();
}

Mode MediaPlayer::GetMode() const
{
    if (!m_sound)
        return Mode::NotReady;
    return m_sequencer->Playing() ? Mode::Playing : Mode::Stopped;
}

float MediaPlayer::PeakLevel() const
{
    return m_sound ? m_sequencer->PeakLevel() : 0.0f;
}

std::string MediaPlayer::OutputName() const
{
    return m_sound ? m_sound->Name() : std::string();
}

// Runs on the audio thread: only hands the notice over. Whether it still counts is decided on
// the user-interface thread, where the current playing changes.
void MediaPlayer::notifyEnd(unsigned playing)
{
    std::weak_ptr<unsigned> current = m_current;
    m_post([this, current, playing] {
        std::shared_ptr<unsigned> now = current.lock();
        if (now && *now == playing && OnNotify)
            OnNotify();
    });
}

std::vector<float> MediaPlayer::RenderToBuffer(const std::string& midiPath, const std::string& soundFont,
                                               int sampleRate, double maxSeconds)
{
    if (sampleRate < 8000 || sampleRate > 96000)
        throw std::invalid_argument("sample rate out of range");
    std::vector<std::uint8_t> tune = ReadMidiFile(midiPath);
    bool ended = false;
    Sequencer sequencer(soundFont, sampleRate, [&ended](unsigned) { ended = true; });
    sequencer.Load(std::move(tune));
    if (!sequencer.Start(1))
        throw DeviceError("The tune cannot be played.");

    const std::size_t limit = std::size_t(std::max(0.0, maxSeconds) * sampleRate);
    std::size_t tail = std::size_t(sampleRate) / 2;
    std::vector<float> samples, left(kRenderBlock), right(kRenderBlock);
    for (std::size_t frames = 0; frames < limit && tail > 0;) {
        bool endedBefore = ended;
        int n = int(std::min<std::size_t>({std::size_t(kRenderBlock), limit - frames, endedBefore ? tail : limit}));
        sequencer.Render(n, left.data(), right.data());
        for (int i = 0; i < n; ++i) {
            samples.push_back(left[i]);
            samples.push_back(right[i]);
        }
        frames += n;
        if (endedBefore)
            tail -= n;
    }
    return samples;
}

} // namespace audio
