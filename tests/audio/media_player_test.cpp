// The media player on real FluidSynth: offline rendering, the open, play and stop rules, and
// the completion notice's way to the user-interface thread.
#include "audio/MediaPlayer.h"
#include "audio/SoundFont.h"
#include "support/MidiWriter.h"
#include <gtest/gtest.h>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

using audio::MediaPlayer;
using audio::Mode;
using testing_support::MidiWriter;
using namespace std::chrono_literals;

// Stands in for the user-interface thread's event queue: the audio side posts into it from
// its own thread, the test thread runs what was posted.
class PostQueue {
public:
    MediaPlayer::Poster poster()
    {
        return [this](std::function<void()> job) {
            std::lock_guard lock(m_mutex);
            m_posterThread = std::this_thread::get_id();
            m_jobs.push_back(std::move(job));
            m_posted.notify_all();
        };
    }

    bool waitForPosts(std::size_t count, std::chrono::milliseconds timeout = 5000ms)
    {
        std::unique_lock lock(m_mutex);
        return m_posted.wait_for(lock, timeout, [&] { return m_jobs.size() >= count; });
    }

    // The thread that posted last.
    std::thread::id posterThread()
    {
        std::lock_guard lock(m_mutex);
        return m_posterThread;
    }

    std::size_t pending()
    {
        std::lock_guard lock(m_mutex);
        return m_jobs.size();
    }

    // Runs everything posted so far on the calling thread.
    void drain()
    {
        std::deque<std::function<void()>> jobs;
        {
            std::lock_guard lock(m_mutex);
            jobs.swap(m_jobs);
        }
        for (auto& job : jobs)
            job();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_jobs;
    std::thread::id m_posterThread;
};

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class MediaPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = std::filesystem::temp_directory_path() /
                   ("tovanta-player-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_folder);
        tune = write("tune.mid", MidiWriter::ShortTune());
        blip = write("blip.mid", MidiWriter().Note(0, 72, 100, 19).Bytes()); // a tenth of a second
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::string path = (m_folder / name).string();
        MidiWriter::WriteFile(path, bytes);
        return path;
    }

    // A player on the silent output with a tune opened, recording its notices.
    std::unique_ptr<MediaPlayer> openSilent(const std::string& path)
    {
        auto player = std::make_unique<MediaPlayer>(queue.poster(), audio::Output::Silent);
        player->SetFileName(path);
        player->Open();
        MediaPlayer* raw = player.get();
        player->OnNotify = [this, raw] {
            noticeThreads.push_back(std::this_thread::get_id());
            noticeModes.push_back(raw->GetMode());
        };
        return player;
    }

    std::string tune; // half a second
    std::string blip; // for tests that wait for the end
    PostQueue queue; // before any player: the players' audio threads post into it
    std::vector<std::thread::id> noticeThreads;
    std::vector<Mode> noticeModes;

private:
    std::filesystem::path m_folder;
};

struct Level {
    float peak = 0;
    double rms = 0;
};

Level measure(const std::vector<float>& samples, std::size_t from, std::size_t to)
{
    Level level;
    to = std::min(to, samples.size());
    for (std::size_t i = from; i < to; ++i) {
        level.peak = std::max(level.peak, std::fabs(samples[i]));
        level.rms += double(samples[i]) * samples[i];
    }
    level.rms = to > from ? std::sqrt(level.rms / double(to - from)) : 0.0;
    return level;
}

// The tune's notes come out of FluidSynth as real sound; a tune of rests, as silence.
TEST_F(MediaPlayerTest, RendersTheTuneToAudibleSoundAndRestsToSilence)
{
    const std::string soundFont = audio::FindSoundFont();
    std::string rests = write("rests.mid", MidiWriter().Program(0, 0).Raw(96, {0xB0, 7, 100}).Bytes());
    struct Case {
        std::string path;
        bool audible;
    } cases[] = {{tune, true}, {rests, false}};
    constexpr int rate = 44100;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<float> samples = MediaPlayer::RenderToBuffer(c.path, soundFont, rate);
        ASSERT_GE(samples.size(), std::size_t(2 * rate * 1.0)); // half a second and the tail
        Level notes = measure(samples, 0, 2 * rate / 2);
        if (c.audible) {
            EXPECT_GT(notes.peak, 0.05f);
            EXPECT_GT(notes.rms, 0.005);
            EXPECT_LE(notes.peak, 1.0f);
        } else {
            EXPECT_LT(notes.peak, 1e-4f);
        }
    }
}

TEST_F(MediaPlayerTest, RenderStopsAtItsLimitForALongTune)
{
    std::string longTune = write("long.mid", MidiWriter().Note(0, 60, 100, 96 * 600).Bytes()); // five minutes
    std::vector<float> samples = MediaPlayer::RenderToBuffer(longTune, audio::FindSoundFont(), 8000, 2.0);
    EXPECT_EQ(samples.size(), std::size_t(2 * 8000 * 2));
}

// SoundFont trouble is a device error at Open, with a message that says what to do.
TEST_F(MediaPlayerTest, OpenReportsAMissingOrBrokenSoundFont)
{
    struct Case {
        std::string soundFont;
        const char* message;
    } cases[] = {
        {"/nonexistent/tovanta.sf2", "named by TOVANTA_SOUNDFONT cannot be found"},
        {tune, "cannot be loaded"}, // a file, but no SoundFont
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.soundFont);
        ScopedEnv env("TOVANTA_SOUNDFONT", c.soundFont);
        MediaPlayer player(queue.poster(), audio::Output::Silent);
        player.SetFileName(tune);
        try {
            player.Open();
            ADD_FAILURE() << "Open succeeded";
        } catch (const audio::DeviceError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(player.GetMode(), Mode::NotReady);
        EXPECT_THROW(MediaPlayer::RenderToBuffer(tune, c.soundFont, 22050), audio::DeviceError);
    }
}

// Stop on a player that is not open is the device error the menu command lets through; Play
// only records its error.
TEST_F(MediaPlayerTest, StopThrowsAndPlayRecordsWhenNotOpen)
{
    MediaPlayer never(queue.poster(), audio::Output::Silent);
    MediaPlayer failed(queue.poster(), audio::Output::Silent);
    failed.SetFileName(write("bad.mid", {'M', 'T', 'h', 'd', 1, 2, 3}));
    EXPECT_THROW(failed.Open(), audio::DeviceError);
    MediaPlayer closed(queue.poster(), audio::Output::Silent);
    closed.SetFileName(tune);
    closed.Open();
    closed.Close();
    for (MediaPlayer* player : {&never, &failed, &closed}) {
        EXPECT_EQ(player->GetMode(), Mode::NotReady);
        EXPECT_THROW(player->Stop(), audio::DeviceError);
        EXPECT_NO_THROW(player->Play());
        EXPECT_EQ(player->LastError(), "The music device is not open.");
        EXPECT_EQ(player->GetMode(), Mode::NotReady);
    }
}

TEST_F(MediaPlayerTest, OpenWithoutAFileNameThrows)
{
    MediaPlayer player(queue.poster(), audio::Output::Silent);
    EXPECT_EQ(player.FileName(), "");
    EXPECT_THROW(player.Open(), audio::DeviceError);
}

// A playing that ends posts one notice; it runs on the thread that drains the queue, not on
// the audio thread, and then the player is in the stopped mode.
TEST_F(MediaPlayerTest, CompletionNoticeReachesTheDrainingThread)
{
    auto player = openSilent(blip);
    EXPECT_EQ(player->GetMode(), Mode::Stopped);
    EXPECT_EQ(player->OutputName(), "silent");
    player->Play();
    EXPECT_EQ(player->LastError(), "");
    EXPECT_EQ(player->GetMode(), Mode::Playing);
    ASSERT_TRUE(queue.waitForPosts(1)) << "no completion notice";
    EXPECT_NE(queue.posterThread(), std::this_thread::get_id());
    EXPECT_TRUE(noticeThreads.empty()) << "OnNotify ran before the queue was drained";
    queue.drain();
    ASSERT_EQ(noticeThreads.size(), 1u);
    EXPECT_EQ(noticeThreads[0], std::this_thread::get_id());
    EXPECT_EQ(noticeModes[0], Mode::Stopped);
    EXPECT_GT(player->PeakLevel(), 0.05f); // the output really got the tune's sound
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(queue.pending(), 0u) << "a second notice for one playing";
}

// The music's loop: each notice opens and plays again, from the beginning.
TEST_F(MediaPlayerTest, ReopeningFromTheNoticeRepeatsTheTune)
{
    auto player = openSilent(blip);
    MediaPlayer* raw = player.get();
    int repeats = 0;
    player->OnNotify = [&] {
        if (raw->GetMode() == Mode::Stopped && ++repeats < 3) {
            raw->Open();
            raw->Play();
        }
    };
    player->Play();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(queue.waitForPosts(1)) << "repeat " << i;
        queue.drain();
    }
    EXPECT_EQ(repeats, 3);
    EXPECT_EQ(player->GetMode(), Mode::Stopped);
}

// Play always starts from the beginning: again after an end, and anew while playing. Real time
// only runs late, so the end can never come sooner than the tune's length after the last Play.
TEST_F(MediaPlayerTest, PlayStartsFromTheBeginning)
{
    auto player = openSilent(tune);
    player->Play();
    ASSERT_TRUE(queue.waitForPosts(1));
    queue.drain();
    player->Play();
    EXPECT_EQ(player->GetMode(), Mode::Playing);
    std::this_thread::sleep_for(300ms);
    auto restarted = std::chrono::steady_clock::now();
    player->Play();
    ASSERT_TRUE(queue.waitForPosts(1));
    EXPECT_GE(std::chrono::steady_clock::now() - restarted, 450ms);
    queue.drain();
    EXPECT_EQ(noticeThreads.size(), 2u);
}

// A notice that is on its way when the playing it belongs to is stopped, closed, replaced by
// a newer one, or its player destroyed, must not be taken for an end that counts.
TEST_F(MediaPlayerTest, StaleNoticesAreIgnored)
{
    struct Case {
        const char* name;
        std::function<void(std::unique_ptr<MediaPlayer>&)> meanwhile;
    } cases[] = {
        {"stopped", [](auto& p) { p->Stop(); }},
        {"closed", [](auto& p) { p->Close(); }},
        {"reopened and playing again", [](auto& p) { p->Open(); p->Play(); }},
        {"playing again", [](auto& p) { p->Play(); }},
        {"destroyed", [](auto& p) { p.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        noticeThreads.clear();
        auto player = openSilent(blip);
        player->Play();
        ASSERT_TRUE(queue.waitForPosts(1));
        c.meanwhile(player);
        queue.drain();
        EXPECT_TRUE(noticeThreads.empty());
        if (player && player->GetMode() == Mode::Playing) { // the newer playing still ends
            ASSERT_TRUE(queue.waitForPosts(1));
            queue.drain();
            EXPECT_EQ(noticeThreads.size(), 1u);
        }
    }
}

// Stop ends the playing at once and without a notice, even once the tune's end time has passed.
TEST_F(MediaPlayerTest, StopEndsThePlayingWithoutANotice)
{
    auto player = openSilent(tune);
    player->Play();
    std::this_thread::sleep_for(100ms);
    player->Stop();
    EXPECT_EQ(player->GetMode(), Mode::Stopped);
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(queue.pending(), 0u);
    EXPECT_NO_THROW(player->Stop());
}

// The same through the desktop's sound system, where there is one.
TEST_F(MediaPlayerTest, PlaysThroughTheDesktopSoundSystem)
{
    MediaPlayer player(queue.poster());
    player.SetFileName(tune);
    try {
        player.Open();
    } catch (const audio::DeviceError& e) {
        if (std::string(e.what()).rfind("No sound output is available", 0) == 0)
            GTEST_SKIP() << "This machine has no sound output: " << e.what();
        throw;
    }
    player.OnNotify = [&] { noticeThreads.push_back(std::this_thread::get_id()); };
    EXPECT_NE(player.OutputName(), "silent");
    player.Play();
    EXPECT_EQ(player.GetMode(), Mode::Playing);
    ASSERT_TRUE(queue.waitForPosts(1)) << "no completion notice";
    EXPECT_NE(queue.posterThread(), std::this_thread::get_id());
    queue.drain();
    ASSERT_EQ(noticeThreads.size(), 1u);
    EXPECT_EQ(noticeThreads[0], std::this_thread::get_id());
    EXPECT_EQ(player.GetMode(), Mode::Stopped);
    EXPECT_GT(player.PeakLevel(), 0.05f);
}

} // namespace
