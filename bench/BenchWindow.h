#pragma once
#include "game/GameWindow.h"

namespace bench {

// The game's window reduced to its client size: showing, progress, menus and music do nothing,
// so the benchmarks time the game's own work.
class BenchWindow : public game::GameWindow {
public:
    BenchWindow(int clientWidth, int clientHeight)
        : m_width(clientWidth)
        , m_height(clientHeight)
    {
    }

    void ShowMessage(const std::string&, game::MessageIcon) override {}
    void InvalidateWindow() override {}
    void CopyToWindow(const gfx::Bitmap&, const gfx::Rect&) override {}
    void SizeToWorkArea() override {}
    int ClientWidth() const override { return m_width; }
    int ClientHeight() const override { return m_height; }
    void ConfinePointer(const gfx::Rect&) override {}
    void ReleasePointer() override {}
    void SetMenuChecked(game::MenuItem, bool) override {}
    void SetMenuEnabled(game::MenuItem, bool) override {}
    void SetBusyCursor(bool) override {}
    void SetProgressMessage(const std::string&) override {}
    void ShowProgress() override {}
    void SetProgressRange(int) override {}
    void SetProgressPosition(int) override {}
    int ProgressPosition() const override { return 0; }
    void SetThumbnailPicture(const gfx::Bitmap*) override {}
    void SetTuneFileName(const std::string&) override {}
    void OpenAndPlayTune() override {}
    void StopTune() override {}

private:
    int m_width;
    int m_height;
};

} // namespace bench
