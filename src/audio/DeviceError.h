#pragma once
#include <stdexcept>

namespace audio {

// An error of the music device: the sound output, the SoundFont or the tune cannot be used.
// Its message is meant for the user.
class DeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace audio
