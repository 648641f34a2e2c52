#include "app/TBoard.h"
#include "app/BitmapImage.h"
#include "gfx/Raster.h"
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <optional>

namespace app {

namespace {

std::optional<game::MouseButton> gameButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return game::MouseButton::Left;
    case Qt::RightButton: return game::MouseButton::Right;
    case Qt::MiddleButton: return game::MouseButton::Middle;
    default: return std::nullopt;
    }
}

game::Modifiers gameModifiers(Qt::KeyboardModifiers modifiers)
{
    return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier),
            modifiers.testFlag(Qt::AltModifier)};
}

} // namespace

TBoard::TBoard(QWidget* parent)
    : QWidget(parent)
    , m_confiner(*this)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true); // a held group follows every move
}

void TBoard::ShowRect(const gfx::Bitmap& source, const gfx::Rect& r)
{
    gfx::Rect visible = gfx::intersected(r, m_screen.rect());
    if (visible.isEmpty())
        return;
    gfx::bitBlt(m_screen, visible.left, visible.top, visible.width(), visible.height(), source, visible.left,
                visible.top, gfx::Rop::Copy);
    update(visible.left, visible.top, visible.width(), visible.height());
}

void TBoard::paintEvent(QPaintEvent* event)
{
    emit Paint();
    QPainter painter(this);
    QImage image = wrapBitmap(m_screen);
    for (const QRect& r : event->region())
        painter.drawImage(r.topLeft(), image, r);
}

void TBoard::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_screen.resize(width(), height());
    emit Resized();
}

void TBoard::mousePressEvent(QMouseEvent* event)
{
    if (auto button = gameButton(event->button())) {
        QPoint p = event->position().toPoint();
        emit MouseDown(*button, gameModifiers(event->modifiers()), p.x(), p.y());
    }
}

void TBoard::mouseMoveEvent(QMouseEvent* event)
{
    QPoint p = m_confiner.Clamp(event->position().toPoint());
    emit MouseMove(p.x(), p.y());
}

void TBoard::mouseReleaseEvent(QMouseEvent* event)
{
    QPoint p = event->position().toPoint();
    emit MouseUp(p.x(), p.y());
    m_confiner.Release(); // whatever the owner did, no button release leaves the pointer caught
}

} // namespace app
