#include "app/TOrgWindow.h"
#include "app/BitmapImage.h"
#include "gfx/Raster.h"
#include "ui_TOrgWindow.h"
#include <QCloseEvent>
#include <QPainter>
#include <QScreen>

namespace app {

TOrgWindow::TOrgWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint)
    , ui(std::make_unique<Ui::TOrgWindow>())
{
    ui->setupUi(this);
    // The paint covers every pixel from the image: nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(kDesignWidth, kDesignHeight);
}

TOrgWindow::~TOrgWindow() = default;

void TOrgWindow::SetPicture(const gfx::Bitmap* picture)
{
    m_source = picture;
    if (picture && !picture->isNull()) {
        resize(picture->width(), picture->height());
        PlaceInCorner();
    }
    update();
}

QSize TOrgWindow::frameExtra() const
{
    return frameGeometry().size() - geometry().size();
}

void TOrgWindow::PlaceInCorner()
{
    QScreen* screen = this->screen();
    if (!screen)
        return;
    QRect area = screen->availableGeometry();
    m_placedExtra = frameExtra();
    QSize outer = size() + m_placedExtra;
    // The area's right and bottom edges are exclusive, as the design of the corner counts them.
    int left = area.x() + area.width() - outer.width() - 1;
    int top = area.y() + area.height() - outer.height() - 1;
    move(left, top);
}

// A window manager frames the window only once it is on the screen; the corner then has to
// allow for that frame. Moves by the user leave the frame alone and the window where it is.
void TOrgWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (frameExtra() != m_placedExtra)
        PlaceInCorner();
}

void TOrgWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    PlaceInCorner();
}

void TOrgWindow::paintEvent(QPaintEvent*)
{
    if (m_view.width() != width() || m_view.height() != height())
        m_view = gfx::Bitmap(width(), height(), gfx::PixelFormat::Bgrx32);
    if (m_source && !m_source->isNull())
        gfx::stretchBlt(m_view, m_view.rect(), *m_source, m_source->rect());
    else
        gfx::fillRect(m_view, m_view.rect(), gfx::kWhite);
    QPainter painter(this);
    painter.drawImage(0, 0, wrapBitmap(m_view));
}

void TOrgWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    update();
}

void TOrgWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit FormClose();
}

} // namespace app
