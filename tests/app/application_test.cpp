// The application object: its title and names, and the standard error report.
#include "app/PackageText.h"
#include "app/TApplication.h"
#include "support/MessageBoxAnswerer.h"
#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(Application, CarriesTheTitleTheHelpFileNameAndTheIcon)
{
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Tovanta Lite");
    EXPECT_EQ(qApp->property("HelpFile").toString(), "tovanta.hlp");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

// An object whose event handler fails on the first user event and works afterwards.
class Failing : public QObject {
public:
    int handled = 0;
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (handled++ == 0)
            throw std::runtime_error("Something <b>broke</b> in the handler.");
        return true;
    }
};

TEST(Application, AnExceptionEscapingAnEventHandlerIsReportedAndTheProgramGoesOn)
{
    app_testing::MessageBoxAnswerer user;
    Failing failing;
    QEvent first(QEvent::User), second(QEvent::User);
    QCoreApplication::sendEvent(&failing, &first);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].title, "Tovanta");
    EXPECT_EQ(user.boxes[0].text, "Something <b>broke</b> in the handler.");
    EXPECT_EQ(user.boxes[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(QCoreApplication::sendEvent(&failing, &second));
    EXPECT_EQ(failing.handled, 2);
    EXPECT_EQ(user.boxes.size(), 1u);
}

TEST(PackageText, ReadsUtf8AndFallsBackToSingleByteText)
{
    struct Case {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"Tovanta Lite\nVersion 7.0", "Tovanta Lite\nVersion 7.0"},
        {"Caf\xc3\xa9 \xe2\x80\x93 puzzle", QString::fromUtf8("Caf\xc3\xa9 \xe2\x80\x93 puzzle")},
        {"Caf\xe9 au lait", QString::fromLatin1("Caf\xe9 au lait")},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::packageText(c.bytes), c.shown) << c.bytes;
}

} // namespace
