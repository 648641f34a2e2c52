#include "app/TFormAbout.h"
#include "app/AppLinks.h"
#include "app/DialogFont.h"
#include "app/ProgramIcon.h"
#include "ui_TFormAbout.h"
#include <QDesktopServices>
#include <QStyle>
#include <QUrl>

namespace app {

TFormAbout::TFormAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , ui(std::make_unique<Ui::TFormAbout>())
{
    ui->setupUi(this);
    applyDialogFont(*this);
    setFixedSize(288, 361);
    ui->Image1->setPixmap(programPixmap(32));
    ui->BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    connect(ui->Label4, &TLinkLabel::Click, this, &TFormAbout::Label4Click);
    connect(ui->Label7, &TLinkLabel::Click, this, &TFormAbout::Label7Click);
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TFormAbout::~TFormAbout() = default;

void TFormAbout::Label4Click() { QDesktopServices::openUrl(QUrl(kMakerHomePage)); }

void TFormAbout::Label7Click() { QDesktopServices::openUrl(QUrl(kProductPage)); }

} // namespace app
