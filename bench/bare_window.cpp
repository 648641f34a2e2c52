// The baseline of the first-frame target: a bare Qt window of the screen's available size that
// writes "paint" to standard error whenever it paints, as the player does when
// TOVANTA_TRACE_FIRST_PAINT is set.
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <cstdio>

namespace {

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        std::fputs("paint\n", stderr);
        QPainter(this).fillRect(rect(), Qt::darkRed);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    BareWindow window;
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.show();
    return application.exec();
}
