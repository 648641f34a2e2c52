#include "support/ScreenWindow.h"
#include "game/Game.h"
#include "gfx/Raster.h"

namespace testing_support {

void ScreenWindow::watch(const game::Game& game)
{
    m_game = &game;
    ++invalidations;
    paint();
}

void ScreenWindow::fitScreenTo(const gfx::Bitmap& buffer)
{
    if (m_screen.width() != buffer.width() || m_screen.height() != buffer.height())
        m_screen = gfx::Bitmap(buffer.width(), buffer.height(), gfx::PixelFormat::Bgrx32);
}

void ScreenWindow::paint()
{
    if (!m_game || !paintPending())
        return;
    m_paintedUpTo = invalidations;
    if (const gfx::Bitmap* back = m_game->BackBuffer.get()) {
        fitScreenTo(*back);
        gfx::bitBlt(m_screen, 0, 0, back->width(), back->height(), *back, 0, 0, gfx::Rop::Copy);
    }
}

void ScreenWindow::CopyToWindow(const gfx::Bitmap& buffer, const gfx::Rect& r)
{
    RecordingWindow::CopyToWindow(buffer, r);
    if (!m_game)
        return;
    fitScreenTo(buffer);
    gfx::bitBlt(m_screen, r.left, r.top, r.width(), r.height(), buffer, r.left, r.top, gfx::Rop::Copy);
}

void ScreenWindow::ShowMessage(const std::string& text, game::MessageIcon icon)
{
    paint();
    RecordingWindow::ShowMessage(text, icon);
}

} // namespace testing_support
