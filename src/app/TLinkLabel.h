#pragma once
#include <QLabel>

namespace app {

// A label that looks and acts like a web link: blue, underlined, hand cursor; a left click
// emits Click.
class TLinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLinkLabel(QWidget* parent = nullptr);

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace app
