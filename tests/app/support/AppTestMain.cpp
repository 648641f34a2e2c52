// The main of every window test: the real application object on Qt's offscreen platform.
#include "app/TApplication.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

// The offscreen platform says so whenever a window asks for what it cannot do (raise, size
// hints); that is expected here and only hides the real messages.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith("This plugin does not support"))
        return;
    fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // ctest sets it too; a plain run gets it here
    qInstallMessageHandler(quietHandler);
    ::testing::InitGoogleTest(&argc, argv);
    app::TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
