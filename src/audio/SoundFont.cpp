#include "audio/SoundFont.h"
#include "audio/DeviceError.h"
#include <cstdlib>
#include <filesystem>

namespace audio {

namespace {

// Debian's default-GM links follow the alternatives system, which points them at the best
// General MIDI SoundFont installed; the explicit names cover systems without it.
const char* const kSoundFontPlaces[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf3/FluidR3_GM.sf3",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/soundfonts/default.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf3",
};

bool isFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

} // namespace

std::string FindSoundFont()
{
    if (const char* chosen = std::getenv("TOVANTA_SOUNDFONT"); chosen && *chosen) {
        // The user asked for this one: quietly taking another would hide the mistake.
        if (!isFile(chosen))
            throw DeviceError(std::string("The SoundFont ") + chosen + " named by TOVANTA_SOUNDFONT cannot be found.");
        return chosen;
    }
    for (const char* place : kSoundFontPlaces) {
        if (isFile(place))
            return place;
    }
    throw DeviceError("No SoundFont for the music was found. Install the timgm6mb-soundfont package "
                      "or set TOVANTA_SOUNDFONT to a SoundFont file.");
}

} // namespace audio
