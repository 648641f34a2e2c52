#include "support/MessageBoxAnswerer.h"
#include <QAbstractButton>
#include <QApplication>

namespace app_testing {

MessageBoxAnswerer::MessageBoxAnswerer()
{
    connect(&m_timer, &QTimer::timeout, this, &MessageBoxAnswerer::answerOpenBox);
    m_timer.start(10);
}

QStringList MessageBoxAnswerer::texts() const
{
    QStringList list;
    for (const Answered& box : boxes)
        list << box.text;
    return list;
}

void MessageBoxAnswerer::answerOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    boxes.push_back({box->windowTitle(), box->text(), box->icon()});
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

} // namespace app_testing
