#include "audio/DesktopOutput.h"
#include "audio/DeviceError.h"
#include "audio/Sequencer.h"
#include <fluidsynth.h>
#include <algorithm>
#include <vector>

namespace audio {

namespace {

// In the order of preference: the desktop's sound server first, the bare device last.
const char* const kDrivers[] = {"pipewire", "pulseaudio", "alsa"};

std::vector<std::string> availableDrivers(fluid_settings_t* settings)
{
    std::vector<std::string> names;
    fluid_settings_foreach_option(settings, "audio.driver", &names, [](void* data, const char*, const char* option) {
        static_cast<std::vector<std::string>*>(data)->push_back(option);
    });
    return names;
}

int render(void* data, int frames, int, float*[], int nout, float* out[])
{
    if (nout < 1)
        return FLUID_FAILED;
    static_cast<Sequencer*>(data)->Render(frames, out[0], nout > 1 ? out[1] : out[0]);
    return FLUID_OK;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : name == names.back() ? " or " : ", ") + name;
    return text;
}

} // namespace

DesktopOutput::DesktopOutput(Sequencer& sequencer)
{
    fluid_settings_t* settings = sequencer.Settings();
    std::vector<std::string> available = availableDrivers(settings);
    std::vector<std::string> tried;
    for (const char* name : kDrivers) {
        if (std::find(available.begin(), available.end(), name) == available.end())
            continue;
        fluid_settings_setstr(settings, "audio.driver", name);
        m_driver = new_fluid_audio_driver2(settings, render, &sequencer);
        if (m_driver) {
            m_name = name;
            return;
        }
        tried.push_back(name);
    }
    if (tried.empty())
        throw DeviceError("No sound output is available: this FluidSynth has no pipewire, pulseaudio or alsa driver.");
    throw DeviceError("No sound output is available: " + joined(tried) + " could not be opened.");
}

DesktopOutput::~DesktopOutput()
{
    delete_fluid_audio_driver(m_driver);
}

} // namespace audio
