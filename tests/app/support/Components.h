#pragma once
#include <QRect>
#include <QString>
#include <QWidget>

namespace app_testing {

// One component of a window as its layout places it: geometry relative to its parent.
struct Component {
    const char* name;
    QRect geometry;      // an empty rectangle: only the top-left corner is checked
    const char* text;    // nullptr: not a text component
    bool bold;
};

// Checks every field of c against the child of window with c's name (gtest failures).
void expectComponent(QWidget& window, const Component& c);

// The widget's own painting, as the screen would show it.
QImage shot(QWidget& widget);

} // namespace app_testing
