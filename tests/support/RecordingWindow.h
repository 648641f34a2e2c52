#pragma once
#include "game/GameWindow.h"
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A stand-in for the main window: records what the game asks of it and answers with a fixed
// client size. Message boxes are answered at once.
class RecordingWindow : public game::GameWindow {
public:
    struct Message {
        std::string text;
        game::MessageIcon icon;
    };

    RecordingWindow(int clientWidth = 1024, int clientHeight = 700)
        : clientWidth(clientWidth)
        , clientHeight(clientHeight)
    {
    }

    // What the game did.
    std::vector<Message> messages;
    int invalidations = 0;
    std::vector<gfx::Rect> copies;
    std::vector<gfx::Rect> confinements;
    int releases = 0;
    std::map<game::MenuItem, bool> checked;
    std::map<game::MenuItem, bool> enabled;
    int busyCursorDepth = 0;
    std::string progressMessage;
    int progressShows = 0;
    int progressMaximum = 100;
    int progressPosition = 0;
    std::vector<const gfx::Bitmap*> thumbnailPictures;
    std::string tuneFileName;
    int tunePlays = 0;
    int tuneStops = 0;
    bool sizedToWorkArea = false;

    // How it answers.
    int clientWidth;
    int clientHeight;
    bool tuneFails = false; // OpenAndPlayTune and StopTune throw DeviceError
    std::function<void(const Message&)> onMessage; // e.g. to inspect the board while a box is open
    std::function<void()> onShowProgress;          // e.g. to paint while the cut lets events through

    bool isChecked(game::MenuItem item) const;
    bool isEnabled(game::MenuItem item) const; // items start enabled

    void ShowMessage(const std::string& text, game::MessageIcon icon) override;
    void InvalidateWindow() override { ++invalidations; }
    void CopyToWindow(const gfx::Bitmap&, const gfx::Rect& r) override { copies.push_back(r); }
    void SizeToWorkArea() override { sizedToWorkArea = true; }
    int ClientWidth() const override { return clientWidth; }
    int ClientHeight() const override { return clientHeight; }
    void ConfinePointer(const gfx::Rect& area) override { confinements.push_back(area); }
    void ReleasePointer() override { ++releases; }
    void SetMenuChecked(game::MenuItem item, bool on) override { checked[item] = on; }
    void SetMenuEnabled(game::MenuItem item, bool on) override { enabled[item] = on; }
    void SetBusyCursor(bool busy) override { busyCursorDepth += busy ? 1 : -1; }
    void SetProgressMessage(const std::string& text) override { progressMessage = text; }
    void ShowProgress() override;
    void SetProgressRange(int maximum) override;
    void SetProgressPosition(int position) override;
    int ProgressPosition() const override { return progressPosition; }
    void SetThumbnailPicture(const gfx::Bitmap* picture) override { thumbnailPictures.push_back(picture); }
    void SetTuneFileName(const std::string& path) override { tuneFileName = path; }
    void OpenAndPlayTune() override;
    void StopTune() override;
};

} // namespace testing_support
