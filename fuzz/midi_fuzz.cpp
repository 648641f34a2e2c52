// The tune's way from the package to the synthesizer, without an audio driver: the MIDI file
// check, the media player's open of the file (silent output), and for a tune the check accepts,
// FluidSynth's own reading and a short rendering of it. The check and the open must agree.
#include "FuzzCheck.h"
#include "RunFolder.h"
#include "audio/DeviceError.h"
#include "audio/MediaPlayer.h"
#include "audio/MidiFile.h"
#include "audio/Sequencer.h"
#include "audio/SoundFont.h"
#include <vector>

using fuzzing::require;

namespace {

constexpr double kSampleRate = 22050;
constexpr int kBlocks = 24, kBlockFrames = 512; // about half a second

audio::MediaPlayer& player()
{
    static audio::MediaPlayer p([](std::function<void()>) {}, audio::Output::Silent);
    return p;
}

audio::Sequencer& sequencer()
{
    static audio::Sequencer s(audio::FindSoundFont(), kSampleRate, [](unsigned) {});
    return s;
}

void render(const std::vector<std::uint8_t>& tune)
{
    audio::Sequencer& s = sequencer();
    s.Load(tune);
    require(s.Start(1), "FluidSynth refused a tune the check accepted");
    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    for (int i = 0; i < kBlocks; ++i)
        s.Render(kBlockFrames, left.data(), right.data());
    s.Unload();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = audio::MidiFileProblem(data, size);
    const std::string path = fuzzing::RunFolder::Get().write("tovanta.mid", {data, size});
    audio::MediaPlayer& p = player();
    p.SetFileName(path);
    try {
        p.Open();
    } catch (const audio::DeviceError& e) {
        require(!problem.empty(), std::string("the player refused a tune the check accepted: ") + e.what());
        return 0;
    }
    require(problem.empty(), "the player opened a tune the check refused: " + problem);
    p.Play();
    p.Close();
    render(std::vector<std::uint8_t>(data, data + size));
    return 0;
}
