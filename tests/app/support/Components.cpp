#include "support/Components.h"
#include <QAbstractButton>
#include <QLabel>
#include <gtest/gtest.h>

namespace app_testing {

namespace {

QString textOf(QWidget* widget)
{
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    return {};
}

} // namespace

void expectComponent(QWidget& window, const Component& c)
{
    SCOPED_TRACE(c.name);
    auto* widget = window.findChild<QWidget*>(c.name);
    ASSERT_NE(widget, nullptr);
    if (c.geometry.isEmpty()) {
        EXPECT_EQ(widget->pos(), c.geometry.topLeft());
    } else {
        EXPECT_EQ(widget->geometry(), c.geometry);
    }
    if (c.text) {
        EXPECT_EQ(textOf(widget), QString(c.text));
    }
    EXPECT_EQ(widget->font().bold(), c.bold);
    EXPECT_EQ(widget->font().pixelSize(), 11);
}

QImage shot(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace app_testing
