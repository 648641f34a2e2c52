#include "app/TLinkLabel.h"
#include <QMouseEvent>

namespace app {

TLinkLabel::TLinkLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    setPalette(palette);
    QFont underlined;
    underlined.setUnderline(true); // only the underline: size and family come from the window
    setFont(underlined);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
    QLabel::mouseReleaseEvent(event);
}

} // namespace app
