// The player's entry: the application object, the main window, the hidden progress window and
// the message loop. Whatever escapes the set-up is shown as the standard error report.
#include "app/TApplication.h"
#include "app/TFormMain.h"
#include "app/TFormProgress.h"

int main(int argc, char** argv)
{
    app::TApplication application(argc, argv);
    // The main window is the main form: when it closes the program ends, also while the
    // progress window is still up.
    application.setQuitOnLastWindowClosed(false);
    try {
        app::TFormMain FormMain;
        app::TFormProgress FormProgress;
        FormMain.SetProgressWindow(&FormProgress);
        QObject::connect(&FormMain, &app::TFormMain::Closed, &application, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        FormMain.show();
        application.exec();
    } catch (const std::exception& error) {
        app::TApplication::ShowException(error);
    } catch (...) {
        app::TApplication::ShowError("An unexpected error occurred.");
    }
    return 0;
}
