#include "app/ProgramIcon.h"

// The resources live in a static library: make sure they are registered before first use.
static void initResources() { Q_INIT_RESOURCE(tovanta); }

namespace app {

QIcon programIcon()
{
    initResources();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addFile(QString(":/icons/tovanta-%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap programPixmap(int size)
{
    return programIcon().pixmap(size, size);
}

} // namespace app
