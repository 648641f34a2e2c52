// The progress window, the About box and the thumbnail, each on its own.
#include "app/AppLinks.h"
#include "app/TFormAbout.h"
#include "app/TFormProgress.h"
#include "app/TLinkLabel.h"
#include "app/TOrgWindow.h"
#include "gfx/Color.h"
#include "support/Components.h"
#include "support/UrlRecorder.h"
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using app_testing::Component;
using app_testing::expectComponent;
using app_testing::shot;

namespace {

QRect availableArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// --- progress window ---------------------------------------------------------------------------

TEST(ProgressWindow, HasTheComponentsOfItsLayout)
{
    app::TFormProgress progress;
    EXPECT_EQ(progress.size(), QSize(371, 272));
    EXPECT_TRUE(progress.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(progress.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(progress.isVisible());
    const Component components[] = {
        {"Panel3", QRect(0, 0, 371, 272), nullptr, false},
        {"Panel2", QRect(8, 8, 353, 65), nullptr, false},
        {"Image1", QRect(8, 6, 41, 41), nullptr, false},
        {"LabelMessage", QRect(56, 8, 0, 0), "Tovanta Lite", true},
        {"Panel4", QRect(8, 80, 353, 49), nullptr, false},
        {"Panel1", QRect(8, 136, 353, 73), nullptr, false},
        {"Label4", QRect(8, 6, 0, 0), "How to play?", true},
        {"Label1", QRect(16, 22, 0, 0), "Left click: move pieces", false},
        {"Label2", QRect(16, 38, 0, 0), "Right click: rotate pieces 90 degrees clockwise", false},
        {"Label3", QRect(16, 54, 0, 0), "Ctrl + left click: rotate pieces 90 degrees counterclockwise", false},
        {"ProgressBar", QRect(8, 216, 353, 17), nullptr, false},
        {"BitBtn1", QRect(8, 240, 353, 25), "Start the game", false},
    };
    for (const Component& c : components)
        expectComponent(progress, c);
    auto* frame = progress.findChild<QFrame*>("Panel3");
    EXPECT_EQ(frame->lineWidth(), 2);
    QProgressBar& bar = progress.ProgressBar();
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 100);
    EXPECT_FALSE(progress.findChild<QLabel*>("Image1")->pixmap().isNull());
    EXPECT_FALSE(progress.findChild<QPushButton*>("BitBtn1")->icon().isNull());
}

TEST(ProgressWindow, MessageIsWrappedAndClippedToItsBoxAndNeverReadAsMarkup)
{
    app::TFormProgress progress;
    const QString message = "First line\nSecond <b>line</b> &amp; a long tail that has to wrap around "
                            "because it does not fit on one line, and more, and more, and more still";
    progress.SetMessage(message);
    auto* label = progress.findChild<QLabel*>("LabelMessage");
    EXPECT_EQ(label->text(), message);
    EXPECT_EQ(label->geometry(), QRect(56, 8, 300, 53));
    EXPECT_TRUE(label->wordWrap());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}

TEST(ProgressWindow, ShowsCentredOnTopAndOnlyItsButtonHidesIt)
{
    app::TFormProgress progress;
    progress.ShowAndPaint();
    EXPECT_TRUE(progress.isVisible());
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE((progress.frameGeometry().center() - screen.center()).manhattanLength(), 1);
    progress.ShowAndPaint(); // a second cut shows it again in the same place
    EXPECT_TRUE(progress.isVisible());
    QTest::mouseClick(progress.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    EXPECT_FALSE(progress.isVisible());
}

// --- links -------------------------------------------------------------------------------------

struct LinkCase {
    const char* label;
    const char* address;
};

template <class Window> void expectLinks(Window& window, std::initializer_list<LinkCase> links)
{
    for (const LinkCase& link : links) {
        SCOPED_TRACE(link.label);
        app_testing::UrlRecorder browser;
        auto* label = window.template findChild<app::TLinkLabel*>(link.label);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(label->font().underline());
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QTest::mouseClick(label, Qt::RightButton); // only the left button follows a link
        QTest::mouseClick(label, Qt::LeftButton);
        ASSERT_EQ(browser.opened.size(), 1u);
        EXPECT_EQ(browser.opened[0], QUrl(link.address));
    }
}

TEST(Links, OpenTheProjectsPages)
{
    app::TFormProgress progress;
    expectLinks(progress, {{"Label6", app::kProductPage}});
    app::TFormAbout about;
    expectLinks(about, {{"Label4", app::kMakerHomePage}, {"Label7", app::kProductPage}});
}

// --- About box ---------------------------------------------------------------------------------

TEST(AboutBox, HasTheComponentsOfItsLayoutAndClosesWithOk)
{
    app::TFormAbout about;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(288, 361));
    EXPECT_TRUE(about.isModal());
    const Component components[] = {
        {"GroupBox1", QRect(8, 0, 273, 89), nullptr, false},
        {"Image1", QRect(16, 16, 33, 33), nullptr, false},
        {"Label1", QRect(64, 16, 0, 0), "Tovanta Lite", true},
        {"Label2", QRect(64, 32, 0, 0), "Version 7.2", false},
        {"Label3", QRect(64, 48, 0, 0), nullptr, false},
        {"Label4", QRect(64, 64, 0, 0), nullptr, false},
        {"Panel1", QRect(8, 96, 273, 229), nullptr, false},
        {"BitBtn1", QRect(112, 330, 75, 25), "OK", false},
    };
    for (const Component& c : components)
        expectComponent(about, c);
    EXPECT_FALSE(about.findChild<QLabel*>("Label3")->text().isEmpty());

    QTimer::singleShot(0, &about, [&] { QTest::mouseClick(about.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

// --- thumbnail ---------------------------------------------------------------------------------

// A picture of one row of the given colours, one pixel each.
gfx::Bitmap rowPicture(std::initializer_list<gfx::Color> colours)
{
    gfx::Bitmap picture(int(colours.size()), 1, gfx::PixelFormat::Bgr24);
    int x = 0;
    for (gfx::Color c : colours)
        picture.setValue(x++, 0, c);
    return picture;
}

QRgb qtColour(gfx::Color c) { return qRgb(gfx::redOf(c), gfx::greenOf(c), gfx::blueOf(c)); }

QPoint cornerFor(QSize outer)
{
    QRect area = availableArea();
    return {area.x() + area.width() - outer.width() - 1, area.y() + area.height() - outer.height() - 1};
}

TEST(Thumbnail, OpensWhiteAtItsDesignSizeInTheCorner)
{
    app::TOrgWindow thumbnail;
    EXPECT_EQ(thumbnail.windowTitle(), "Thumbnail");
    EXPECT_TRUE(thumbnail.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(thumbnail.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(thumbnail.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    thumbnail.SetPicture(nullptr);
    thumbnail.show();
    EXPECT_EQ(thumbnail.size(), QSize(172, 151));
    EXPECT_EQ(thumbnail.frameGeometry().topLeft(), cornerFor(thumbnail.frameGeometry().size()));
    QImage image = shot(thumbnail);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(171, 150), qRgb(255, 255, 255));
}

TEST(Thumbnail, TakesThePicturesSizeAndGoesBackToTheCorner)
{
    gfx::Bitmap picture(30, 20, gfx::PixelFormat::Bgr24);
    app::TOrgWindow thumbnail;
    thumbnail.show();
    thumbnail.move(5, 5);
    thumbnail.SetPicture(&picture);
    EXPECT_EQ(thumbnail.size(), QSize(30, 20));
    EXPECT_EQ(thumbnail.frameGeometry().topLeft(), cornerFor(thumbnail.frameGeometry().size()));

    // Without a picture it shows white and keeps its size and place.
    thumbnail.resize(50, 40);
    QPoint place = thumbnail.pos();
    thumbnail.SetPicture(nullptr);
    EXPECT_EQ(thumbnail.size(), QSize(50, 40));
    EXPECT_EQ(thumbnail.pos(), place);
    EXPECT_EQ(shot(thumbnail).pixel(10, 10), qRgb(255, 255, 255));
}

TEST(Thumbnail, StretchesByRepeatingOrDroppingWholeColumns)
{
    const gfx::Color r = gfx::rgb(200, 0, 0), g = gfx::rgb(0, 200, 0), b = gfx::rgb(0, 0, 200);
    gfx::Bitmap picture = rowPicture({r, g, b});
    struct Case {
        int width;
        std::vector<gfx::Color> row;
    } cases[] = {
        {3, {r, g, b}},
        {6, {r, r, g, g, b, b}},
        {2, {r, g}},
        {1, {r}},
    };
    app::TOrgWindow thumbnail;
    thumbnail.SetPicture(&picture);
    thumbnail.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        thumbnail.resize(c.width, 4); // the user's frame: no proportions kept
        QImage image = shot(thumbnail);
        ASSERT_EQ(image.width(), c.width);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < c.width; ++x)
                EXPECT_EQ(image.pixel(x, y), qtColour(c.row[x])) << x << "," << y;
    }
}

TEST(Thumbnail, CloseBoxTellsTheOwner)
{
    app::TOrgWindow thumbnail;
    int closes = 0;
    QObject::connect(&thumbnail, &app::TOrgWindow::FormClose, [&] { ++closes; });
    thumbnail.show();
    thumbnail.close();
    EXPECT_EQ(closes, 1);
}

} // namespace
