#pragma once
#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class TFormProgress;
}
class QProgressBar;

namespace app {

// The start window of every game: the package message, how to play, and the cut's progress.
// Frameless and on top; created hidden at start and kept for the whole run. Only its own
// button hides it.
class TFormProgress : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMessageWidth = 300;
    static constexpr int kMessageHeight = 53;

    explicit TFormProgress(QWidget* parent = nullptr);
    ~TFormProgress() override;

    // The package message: wrapped and clipped to 300 x 53 pixels; line feeds start new lines.
    void SetMessage(const QString& text);
    // Shows the window on top, centred on the screen, and lets pending events through once so
    // that it is painted. User input stays queued: no command may start inside a build.
    void ShowAndPaint();

    QProgressBar& ProgressBar();

private slots:
    void Label6Click();
    void BitBtn1Click();

private:
    void CentreOnScreen();

    std::unique_ptr<Ui::TFormProgress> ui;
};

} // namespace app
