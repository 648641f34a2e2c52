#include "app/TApplication.h"
#include "app/ProgramIcon.h"
#include <QMessageBox>

namespace app {

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    setApplicationName("tovanta");
    setApplicationDisplayName(kTitle);
    setProperty("HelpFile", kHelpFile); // kept for completeness; nothing opens it
    setWindowIcon(programIcon());
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    Guarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

void TApplication::ShowException(const std::exception& error)
{
    ShowError(QString::fromUtf8(error.what()));
}

void TApplication::ShowError(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, "Tovanta", text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText); // texts may quote file names or package data
    box.exec();
}

void TApplication::ShowCurrentException()
{
    try {
        throw;
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowError("An unexpected error occurred.");
    }
}

} // namespace app
