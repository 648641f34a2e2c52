#pragma once
#include <string>

namespace audio {

// The SoundFont that gives the tune its instruments: the file named by TOVANTA_SOUNDFONT when
// that is set, otherwise the first one installed in the usual places of the Linux
// distributions (the best sounding first). Throws DeviceError when there is none.
std::string FindSoundFont();

} // namespace audio
