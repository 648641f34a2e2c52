#pragma once
#include "app/PointerConfiner.h"
#include "game/Game.h"
#include "gfx/Bitmap.h"
#include <QWidget>

namespace app {

// The main window's client area, the board. It keeps a persistent screen image of its own size
// holding what it shows and never erases its background: every paint draws from that image.
// Its events go to the main window as signals; it knows nothing of the game.
class TBoard : public QWidget {
    Q_OBJECT
public:
    explicit TBoard(QWidget* parent = nullptr);

    // What the board shows, Bgrx32, always the widget's size.
    gfx::Bitmap& Screen() { return m_screen; }
    const gfx::Bitmap& Screen() const { return m_screen; }
    // Copies rectangle r of source (a Bgrx32 buffer) into the screen image and repaints it.
    void ShowRect(const gfx::Bitmap& source, const gfx::Rect& r);

    PointerConfiner& Confiner() { return m_confiner; }

signals:
    // Sent at the start of every paint, before the screen image is drawn: the owner brings
    // the image up to date.
    void Paint();
    void Resized();
    void MouseDown(game::MouseButton button, game::Modifiers modifiers, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    gfx::Bitmap m_screen{0, 0, gfx::PixelFormat::Bgrx32};
    PointerConfiner m_confiner;
};

} // namespace app
