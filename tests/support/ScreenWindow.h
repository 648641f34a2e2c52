#pragma once
#include "gfx/Bitmap.h"
#include "support/RecordingWindow.h"

namespace game {
class Game;
}

namespace testing_support {

// A recording window that also keeps what the user would see. Once it watches a game, every
// CopyToWindow lands on the screen image, and an invalidation is served from the game's back
// buffer the next time the window paints: when the test calls paint() (the event loop's turn)
// or when a modal message box opens (its loop repaints the board behind it).
class ScreenWindow : public RecordingWindow {
public:
    using RecordingWindow::RecordingWindow;

    // Starts showing game's board; the screen starts as a fresh paint of its back buffer.
    void watch(const game::Game& game);
    // Serves a pending invalidation from the back buffer.
    void paint();
    bool paintPending() const { return invalidations > m_paintedUpTo; }

    const gfx::Bitmap& screen() const { return m_screen; }

    void CopyToWindow(const gfx::Bitmap& buffer, const gfx::Rect& r) override;
    void ShowMessage(const std::string& text, game::MessageIcon icon) override;

private:
    void fitScreenTo(const gfx::Bitmap& buffer);

    const game::Game* m_game = nullptr;
    gfx::Bitmap m_screen;
    int m_paintedUpTo = 0;
};

} // namespace testing_support
