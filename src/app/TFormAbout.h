#pragma once
#include <QDialog>
#include <memory>

namespace Ui {
class TFormAbout;
}

namespace app {

// The About box: a modal dialog that exists only while it is open.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* owner = nullptr);
    ~TFormAbout() override;

private slots:
    void Label4Click();
    void Label7Click();

private:
    std::unique_ptr<Ui::TFormAbout> ui;
};

} // namespace app
