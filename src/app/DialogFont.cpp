#include "app/DialogFont.h"
#include <QFontDatabase>

namespace app {

void applyDialogFont(QWidget& window)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    window.setFont(font);
}

} // namespace app
