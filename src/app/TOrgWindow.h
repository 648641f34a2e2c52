#pragma once
#include "gfx/Bitmap.h"
#include <QWidget>
#include <memory>

namespace Ui {
class TOrgWindow;
}

namespace app {

// The thumbnail: a small always-on-top tool window that shows the puzzle's picture, stretched
// nearest-neighbour to its client area, or white without one. It does not own the picture.
class TOrgWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 172;  // outer size
    static constexpr int kDesignHeight = 151;

    explicit TOrgWindow(QWidget* owner = nullptr);
    ~TOrgWindow() override;

    // Shows picture (nullptr: white). A picture also sizes the client area to it and puts the
    // window back into the corner. The caller keeps the picture alive until it hands another.
    void SetPicture(const gfx::Bitmap* picture);
    const gfx::Bitmap* SourcePicture() const { return m_source; }

    // Bottom-right corner of the available area, one pixel in.
    void PlaceInCorner();

signals:
    // The close box was used; the owner destroys the window (later, not inside this event).
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QSize frameExtra() const;

    std::unique_ptr<Ui::TOrgWindow> ui;
    const gfx::Bitmap* m_source = nullptr;
    gfx::Bitmap m_view; // the client area as painted, Bgrx32
    QSize m_placedExtra; // the frame's size when the window was last put into the corner
};

} // namespace app
