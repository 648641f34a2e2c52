#pragma once
#include "gfx/Bitmap.h"
#include "gfx/Rect.h"
#include <stdexcept>
#include <string>

namespace game {

enum class MessageIcon { Error, Information };

// The menu items whose check marks or enabled states the game sets.
enum class MenuItem { ShowOriginal, MusicOn, ArrangeGrid, Random, RandomEdge, ShowThumbnail };

// An error of the music device; its message is meant for the user.
class DeviceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the game needs of its window. The Qt main window implements it; tests implement it too.
// All calls come from the user-interface thread.
class GameWindow {
public:
    virtual ~GameWindow() = default;

    // A modal message box with the caption "Tovanta" and an OK button.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

    // Ask for a full repaint from the back buffer (the window then calls FormPaint).
    virtual void InvalidateWindow() = 0;
    // Show rectangle r (client coordinates) of buffer on the screen now.
    virtual void CopyToWindow(const gfx::Bitmap& buffer, const gfx::Rect& r) = 0;

    // First show: take the system menu's restore, maximize and size away and fit the window to
    // the desktop's available area, never smaller. The resulting resize re-creates the buffers.
    virtual void SizeToWorkArea() = 0;

    // The client size of the window right now.
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;

    // Keep the pointer inside area (client coordinates, right and bottom exclusive) until released.
    virtual void ConfinePointer(const gfx::Rect& area) = 0;
    virtual void ReleasePointer() = 0;

    virtual void SetMenuChecked(MenuItem item, bool checked) = 0;
    virtual void SetMenuEnabled(MenuItem item, bool enabled) = 0;
    virtual void SetBusyCursor(bool busy) = 0;

    // The progress window: its message, and showing it (letting pending events through once).
    virtual void SetProgressMessage(const std::string& text) = 0;
    virtual void ShowProgress() = 0;
    virtual void SetProgressRange(int maximum) = 0; // minimum is 0; position is clamped to it
    virtual void SetProgressPosition(int position) = 0;
    virtual int ProgressPosition() const = 0;

    // The thumbnail window, when it is shown, displays picture (nullptr: white).
    virtual void SetThumbnailPicture(const gfx::Bitmap* picture) = 0;

    // The media player: the tune's file name; open (and close first if open) and play from the
    // beginning; stop. OpenAndPlayTune and StopTune throw DeviceError.
    virtual void SetTuneFileName(const std::string& path) = 0;
    virtual void OpenAndPlayTune() = 0;
    virtual void StopTune() = 0;
};

} // namespace game
