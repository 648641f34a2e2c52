#pragma once
#include <QIcon>
#include <QPixmap>

namespace app {

// The program's jigsaw-piece icon, at every size it was drawn.
QIcon programIcon();
// The icon at size x size pixels, as the progress and About windows show it.
QPixmap programPixmap(int size);

} // namespace app
