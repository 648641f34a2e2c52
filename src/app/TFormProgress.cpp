#include "app/TFormProgress.h"
#include "app/AppLinks.h"
#include "app/DialogFont.h"
#include "app/ProgramIcon.h"
#include "ui_TFormProgress.h"
#include <QCoreApplication>
#include <QDesktopServices>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace app {

TFormProgress::TFormProgress(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , ui(std::make_unique<Ui::TFormProgress>())
{
    ui->setupUi(this);
    applyDialogFont(*this);
    setFixedSize(371, 272);
    ui->Image1->setPixmap(programPixmap(32));
    ui->LabelMessage->adjustSize();
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(ui->Label6, &TLinkLabel::Click, this, &TFormProgress::Label6Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &TFormProgress::BitBtn1Click);
}

TFormProgress::~TFormProgress() = default;

void TFormProgress::SetMessage(const QString& text)
{
    ui->LabelMessage->setText(text);
    ui->LabelMessage->setGeometry(ui->LabelMessage->x(), ui->LabelMessage->y(), kMessageWidth, kMessageHeight);
}

void TFormProgress::ShowAndPaint()
{
    CentreOnScreen();
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QProgressBar& TFormProgress::ProgressBar() { return *ui->ProgressBar; }

void TFormProgress::Label6Click() { QDesktopServices::openUrl(QUrl(kProductPage)); }

void TFormProgress::BitBtn1Click() { hide(); }

void TFormProgress::CentreOnScreen()
{
    QScreen* screen = this->screen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->geometry().center());
    move(frame.topLeft());
}

} // namespace app
