#pragma once
#include <QApplication>
#include <QString>
#include <exception>

namespace app {

// The application object: title, help-file name, program icon, and the standard error report
// for exceptions that escape an event handler (the program goes on after it).
class TApplication : public QApplication {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Tovanta Lite";
    static constexpr const char* kHelpFile = "tovanta.hlp";

    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The standard error report: a modal box, caption "Tovanta", critical icon, OK.
    static void ShowException(const std::exception& error);
    static void ShowError(const QString& text);
    // Runs fn and reports whatever it throws; returns false when it threw.
    template <class Fn> static bool Guarded(Fn&& fn);

private:
    static void ShowCurrentException();
};

template <class Fn> bool TApplication::Guarded(Fn&& fn)
{
    try {
        fn();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

} // namespace app
