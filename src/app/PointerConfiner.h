#pragma once
#include <QPoint>
#include <QRect>
#include <optional>

class QWidget;

namespace app {

// Keeps the pointer inside a rectangle of a widget while a group is dragged. On X11 this is a
// real pointer grab confined to an input-only child window of that rectangle; elsewhere the
// widget clamps the pointer on every move (Clamp), as far as the platform lets it.
class PointerConfiner {
public:
    explicit PointerConfiner(QWidget& area);
    ~PointerConfiner();
    PointerConfiner(const PointerConfiner&) = delete;
    PointerConfiner& operator=(const PointerConfiner&) = delete;

    // rect in the widget's coordinates, right and bottom exclusive. Replaces an earlier one.
    void Confine(const QRect& rect);
    void Release();

    std::optional<QRect> Active() const { return m_rect; }
    bool Native() const { return m_native != 0; }

    // The point moved into the rectangle; when it had to move and no grab holds the pointer,
    // the pointer itself is put there.
    QPoint Clamp(QPoint point);

private:
    bool GrabNative(const QRect& rect);
    void ReleaseNative();

    QWidget& m_area;
    std::optional<QRect> m_rect;
    unsigned m_native = 0; // the X window the pointer is confined to, 0 when none
};

} // namespace app
