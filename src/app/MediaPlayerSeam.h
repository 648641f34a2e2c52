#pragma once
// The window's media player. Builds without audio (TOVANTA_AUDIO off) get a player whose device
// can never be opened, so the music paths behave as on a machine without sound.
#ifdef TOVANTA_HAVE_MEDIA_PLAYER
#include "audio/MediaPlayer.h"
#else
#include <functional>
#include <stdexcept>
#include <string>

namespace audio {

enum class Mode { NotReady, Stopped, Playing };
enum class Output { Desktop, Silent };

class DeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class MediaPlayer {
public:
    using Poster = std::function<void(std::function<void()>)>;
    explicit MediaPlayer(Poster, Output = Output::Desktop) {}
    void SetFileName(const std::string&) {}
    void Open() { throw DeviceError("This build of Tovanta has no music device."); }
    void Play() {}
    void Stop() { throw DeviceError("The music device is not open."); }
    void Close() {}
    Mode GetMode() const { return Mode::NotReady; }
    std::function<void()> OnNotify;
};

} // namespace audio
#endif
