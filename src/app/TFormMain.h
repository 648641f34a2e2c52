#pragma once
#include "app/MediaPlayerSeam.h"
#include "app/TFormProgress.h"
#include "app/TOrgWindow.h"
#include "game/Game.h"
#include "game/GameWindow.h"
#include <QMainWindow>
#include <QMargins>
#include <QPointer>
#include <memory>

namespace Ui {
class TFormMain;
}
class QAction;

namespace app {

class TBoard;

// The main window. It owns the game state and is the game's window: it turns Qt's events and
// menu commands into calls on the game and shows the game's buffers on its board.
class TFormMain : public QMainWindow, public game::GameWindow {
    Q_OBJECT
public:
    static constexpr int kDesignClientWidth = 644;
    static constexpr int kDesignClientHeight = 446;

    // output: where the tune is heard; tests and machines without sound may choose silence.
    explicit TFormMain(QWidget* parent = nullptr, audio::Output output = audio::Output::Desktop);
    ~TFormMain() override;

    // The start window of every game; created by the application right after this window.
    void SetProgressWindow(TFormProgress* progress) { FormProgress = progress; }

    game::Game& Game() { return *m_game; }
    TBoard& Board();
    TOrgWindow* OrgWindow() const { return m_orgWindow; }
    bool FullScreen() const;

    // --- game::GameWindow ----------------------------------------------------------------------
    void ShowMessage(const std::string& text, game::MessageIcon icon) override;
    void InvalidateWindow() override;
    void CopyToWindow(const gfx::Bitmap& buffer, const gfx::Rect& r) override;
    void SizeToWorkArea() override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void ConfinePointer(const gfx::Rect& area) override;
    void ReleasePointer() override;
    void SetMenuChecked(game::MenuItem item, bool checked) override;
    void SetMenuEnabled(game::MenuItem item, bool enabled) override;
    void SetBusyCursor(bool busy) override;
    void SetProgressMessage(const std::string& text) override;
    void ShowProgress() override;
    void SetProgressRange(int maximum) override;
    void SetProgressPosition(int position) override;
    int ProgressPosition() const override;
    void SetThumbnailPicture(const gfx::Bitmap* picture) override;
    void SetTuneFileName(const std::string& path) override;
    void OpenAndPlayTune() override;
    void StopTune() override;

signals:
    // The window has closed: the program ends.
    void Closed();

public slots:
    void NewGameMenuClick();
    void ExitMenuClick();
    void RandomEdgeMenuClick();
    void ArrangeGridMenuClick();
    void RandomMenuClick();
    void ShowThumbnailMenuClick();
    void ShoworiginalMenuClick();
    void FullScreenMenuClick();
    void MusiconMenuClick();
    void TovantaHomePageMenuClick();
    void AboutMenuClick();

private slots:
    void FormPaint();
    void FormResize();
    void FormMouseDown(game::MouseButton button, game::Modifiers modifiers, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp(int x, int y);
    void MediaPlayerNotify();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void ConnectMenu();
    QAction* MenuAction(game::MenuItem item) const;
    template <class Fn> bool RunCommand(Fn&& fn);
    void RunBoardCommand(QAction* toggled, void (game::Game::*command)());
    void SyncBuffersToBoard();
    void RecreateBuffers();
    void SetFrameless(bool frameless);
    void PlaceClient(const QRect& client);

    std::unique_ptr<Ui::TFormMain> ui;
    audio::MediaPlayer MediaPlayer;
    std::unique_ptr<game::Game> m_game;
    QPointer<TFormProgress> FormProgress;
    QPointer<TOrgWindow> m_orgWindow;
    bool m_invalidated = true; // the next paint copies the whole back buffer
    bool m_busy = false;       // a game command is running; nested ones are refused
    bool m_sizing = false;     // inside SizeToWorkArea: its resizes build the buffers at once
    bool m_resizePending = false;
    int m_busyCursors = 0;
    QMargins m_frame;          // the frame's extent while the window had one
    QMargins m_fittedFrame;    // the frame the work-area fit allowed for
    bool m_fitPending = false; // the window manager may still frame the window differently
};

} // namespace app
