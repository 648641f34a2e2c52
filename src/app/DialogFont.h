#pragma once
#include <QWidget>

namespace app {

// The small windows' text: a sans-serif system font, 11 pixels high. Children keep their own
// bold setting and take the rest from the window.
void applyDialogFont(QWidget& window);

} // namespace app
