#include "app/TFormMain.h"
#include "app/AppLinks.h"
#include "app/PackageText.h"
#include "app/TApplication.h"
#include "app/TBoard.h"
#include "app/TFormAbout.h"
#include "app/TFormProgress.h"
#include "app/TOrgWindow.h"
#include "gfx/Raster.h"
#include "ui_TFormMain.h"
#include <QCloseEvent>
#include <QMoveEvent>
#include <QDesktopServices>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace app {

namespace {

// A single border with a system menu, minimize and close, but neither maximize nor sizing.
constexpr Qt::WindowFlags kMainWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                             | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                                             | Qt::WindowCloseButtonHint;
// Qt drops the frameless hint next to any title-bar button, so full screen asks for it alone.
constexpr Qt::WindowFlags kFramelessFlags = Qt::Window | Qt::FramelessWindowHint;

std::uint32_t timeSeed() { return std::uint32_t(std::time(nullptr)); }

// Checkable items toggle themselves before their handler runs; the game sets the marks, so the
// handler first puts the mark back.
void undoAutoToggle(QAction* action) { action->setChecked(!action->isChecked()); }

} // namespace

TFormMain::TFormMain(QWidget* parent, audio::Output output)
    : QMainWindow(parent, kMainWindowFlags)
    , ui(std::make_unique<Ui::TFormMain>())
    , MediaPlayer([this](std::function<void()> notice) {
        QMetaObject::invokeMethod(this, std::move(notice), Qt::QueuedConnection);
    }, output)
{
    ui->setupUi(this);
    // The design size is the board's; the menu bar comes on top of it.
    resize(kDesignClientWidth, kDesignClientHeight + menuBar()->sizeHint().height());
    layout()->activate();
    m_game = std::make_unique<game::Game>(*this);
    MediaPlayer.OnNotify = [this] { MediaPlayerNotify(); };
    ConnectMenu();
    connect(ui->Board, &TBoard::Paint, this, &TFormMain::FormPaint);
    connect(ui->Board, &TBoard::Resized, this, &TFormMain::FormResize);
    connect(ui->Board, &TBoard::MouseDown, this, &TFormMain::FormMouseDown);
    connect(ui->Board, &TBoard::MouseMove, this, &TFormMain::FormMouseMove);
    connect(ui->Board, &TBoard::MouseUp, this, &TFormMain::FormMouseUp);
}

TFormMain::~TFormMain()
{
    // The thumbnail shows the game's picture and the game still calls this window: both go
    // before the game, and the game before any Qt object it uses.
    delete m_orgWindow.data();
    ui->Board->Confiner().Release();
    m_game.reset();
    for (; m_busyCursors > 0; --m_busyCursors)
        QApplication::restoreOverrideCursor();
}

void TFormMain::ConnectMenu()
{
    const std::pair<QAction*, void (TFormMain::*)()> handlers[] = {
        {ui->NewGameMenu, &TFormMain::NewGameMenuClick},
        {ui->ExitMenu, &TFormMain::ExitMenuClick},
        {ui->RandomEdgeMenu, &TFormMain::RandomEdgeMenuClick},
        {ui->ArrangeGridMenu, &TFormMain::ArrangeGridMenuClick},
        {ui->RandomMenu, &TFormMain::RandomMenuClick},
        {ui->ShowThumbnailMenu, &TFormMain::ShowThumbnailMenuClick},
        {ui->ShoworiginalMenu, &TFormMain::ShoworiginalMenuClick},
        {ui->FullScreenMenu, &TFormMain::FullScreenMenuClick},
        {ui->MusiconMenu, &TFormMain::MusiconMenuClick},
        {ui->TovantaHomePageMenu, &TFormMain::TovantaHomePageMenuClick},
        {ui->AboutMenu, &TFormMain::AboutMenuClick},
    };
    for (auto [action, handler] : handlers)
        connect(action, &QAction::triggered, this, handler);
}

TBoard& TFormMain::Board() { return *ui->Board; }

bool TFormMain::FullScreen() const { return windowFlags().testFlag(Qt::FramelessWindowHint); }

// --- running the game's commands -------------------------------------------------------------

// Runs one call on the game and reports what it throws. A build lets pending events through
// once; a command arriving then must not run inside it, so it is refused, and a resize
// arriving then is caught up with afterwards.
template <class Fn> bool TFormMain::RunCommand(Fn&& fn)
{
    if (m_busy)
        return false;
    m_busy = true;
    TApplication::Guarded(fn);
    m_busy = false;
    if (m_resizePending) {
        m_resizePending = false;
        SyncBuffersToBoard();
    }
    return true;
}

// The commands that rebuild, re-arrange or redraw the board end a hold first: a held group must
// never outlive its pieces nor be drawn into a redrawn board.
void TFormMain::RunBoardCommand(QAction* checkable, void (game::Game::*command)())
{
    if (checkable)
        undoAutoToggle(checkable);
    RunCommand([&] {
        m_game->AbandonHold();
        ui->Board->Confiner().Release();
        (m_game.get()->*command)();
    });
}

void TFormMain::SyncBuffersToBoard()
{
    if (!isVisible() || !m_game)
        return;
    if (m_game->BackBuffer && m_game->BoardWidth == ClientWidth() && m_game->BoardHeight == ClientHeight())
        return;
    RunCommand([&] { RecreateBuffers(); });
}

void TFormMain::RecreateBuffers() { m_game->CreateBuffers(ClientWidth(), ClientHeight()); }

// --- window events ---------------------------------------------------------------------------

void TFormMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) // a restore from the task bar is no show of the window
        FormShow();
}

void TFormMain::FormShow()
{
    RunCommand([&] { m_game->FormShow(timeSeed()); });
    SyncBuffersToBoard();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
    emit Closed();
}

void TFormMain::FormClose()
{
    if (FullScreen())
        setWindowFlags(kMainWindowFlags);
}

void TFormMain::FormPaint()
{
    if (!m_game)
        return;
    // The first-frame benchmark times the first paint of a built board.
    static const bool tracePaints = std::getenv("TOVANTA_TRACE_FIRST_PAINT") != nullptr;
    if (tracePaints && !m_busy && !m_game->NoPuzzle)
        std::fputs("paint\n", stderr);
    gfx::Bitmap& screen = ui->Board->Screen();
    const gfx::Bitmap* back = m_game->BackBuffer.get();
    // A back buffer of another size is waiting for its re-creation: show what it has, on the
    // board's colour.
    bool otherSize = !back || back->width() != screen.width() || back->height() != screen.height();
    if (otherSize)
        gfx::fillRect(screen, screen.rect(), m_game->BackgroundColor);
    if (back && (m_invalidated || otherSize))
        gfx::bitBlt(screen, 0, 0, back->width(), back->height(), *back, 0, 0, gfx::Rop::Copy);
    m_invalidated = !back;
}

void TFormMain::FormResize()
{
    m_invalidated = true;
    if (!isVisible() || !m_game)
        return;
    if (m_sizing) { // the game asked for this size: its buffers follow at once
        TApplication::Guarded([&] { RecreateBuffers(); });
        return;
    }
    if (m_busy) {
        m_resizePending = true;
        return;
    }
    RunCommand([&] { RecreateBuffers(); });
}

void TFormMain::FormMouseDown(game::MouseButton button, game::Modifiers modifiers, int x, int y)
{
    RunCommand([&] { m_game->FormMouseDown(button, modifiers, x, y); });
}

void TFormMain::FormMouseMove(int x, int y)
{
    RunCommand([&] { m_game->FormMouseMove(x, y); });
}

void TFormMain::FormMouseUp(int x, int y)
{
    RunCommand([&] { m_game->FormMouseUp(x, y); });
}

void TFormMain::MediaPlayerNotify()
{
    // Only the tune is touched: safe also while a build lets events through.
    if (m_game)
        TApplication::Guarded([&] { m_game->MediaPlayerNotify(MediaPlayer.GetMode() == audio::Mode::Stopped); });
}

// --- menu commands ---------------------------------------------------------------------------

void TFormMain::NewGameMenuClick() { RunBoardCommand(nullptr, &game::Game::NewGameMenuClick); }

void TFormMain::ExitMenuClick() { close(); }

void TFormMain::RandomEdgeMenuClick() { RunBoardCommand(ui->RandomEdgeMenu, &game::Game::RandomEdgeMenuClick); }

void TFormMain::ArrangeGridMenuClick() { RunBoardCommand(ui->ArrangeGridMenu, &game::Game::ArrangeGridMenuClick); }

void TFormMain::RandomMenuClick() { RunBoardCommand(ui->RandomMenu, &game::Game::RandomMenuClick); }

void TFormMain::ShoworiginalMenuClick()
{
    RunBoardCommand(ui->ShoworiginalMenu, &game::Game::ShoworiginalMenuClick);
}

void TFormMain::MusiconMenuClick()
{
    undoAutoToggle(ui->MusiconMenu);
    RunCommand([&] { m_game->MusiconMenuClick(); });
}

void TFormMain::ShowThumbnailMenuClick()
{
    if (TOrgWindow* open = m_orgWindow) {
        m_orgWindow = nullptr;
        open->hide();
        open->deleteLater(); // the close box may be on the stack
        ui->ShowThumbnailMenu->setChecked(false);
        return;
    }
    m_orgWindow = new TOrgWindow(this);
    connect(m_orgWindow, &TOrgWindow::FormClose, this, &TFormMain::ShowThumbnailMenuClick);
    m_orgWindow->SetPicture(m_game->Picture.get());
    m_orgWindow->show();
    activateWindow(); // the keyboard stays with the board
    ui->ShowThumbnailMenu->setChecked(true);
}

void TFormMain::FullScreenMenuClick()
{
    if (!RunCommand([&] { m_game->AbandonHold(); }))
        return;
    ui->Board->Confiner().Release();
    SetBusyCursor(true);
    SetFrameless(!FullScreen());
    SetBusyCursor(false);
}

void TFormMain::TovantaHomePageMenuClick() { QDesktopServices::openUrl(QUrl(kProductPage)); }

void TFormMain::AboutMenuClick()
{
    TFormAbout about(this);
    about.exec();
}

// --- the frame -------------------------------------------------------------------------------

// Without a frame the client takes the whole outer rectangle; with one it gets it back less the
// frame: either way the window keeps its place and outer size, and no piece moves.
void TFormMain::SetFrameless(bool frameless)
{
    // A frameless window is all client; some platforms report a frame around it all the same.
    QRect outer = frameless ? frameGeometry() : geometry();
    if (frameless)
        m_frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    QRect client = frameless ? outer : outer.marginsRemoved(m_frame);
    bool visible = isVisible();
    setWindowFlags(frameless ? kFramelessFlags : kMainWindowFlags); // hides the window
    PlaceClient(client);
    if (visible) {
        show();
        activateWindow();
    }
    SyncBuffersToBoard();
}

void TFormMain::PlaceClient(const QRect& client)
{
    // Never smaller than the work area, and no sizing frame: the board keeps this size.
    setFixedSize(client.size());
    setGeometry(client);
}

// --- game::GameWindow ------------------------------------------------------------------------

void TFormMain::ShowMessage(const std::string& text, game::MessageIcon icon)
{
    QMessageBox box(icon == game::MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information, "Tovanta",
                    QString::fromUtf8(text.c_str()), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void TFormMain::InvalidateWindow()
{
    m_invalidated = true;
    ui->Board->update();
}

void TFormMain::CopyToWindow(const gfx::Bitmap& buffer, const gfx::Rect& r) { ui->Board->ShowRect(buffer, r); }

void TFormMain::SizeToWorkArea()
{
    QScreen* screen = this->screen();
    if (!screen)
        return;
    m_fittedFrame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    m_fitPending = true;
    m_sizing = true;
    PlaceClient(screen->availableGeometry().marginsRemoved(m_fittedFrame));
    m_sizing = false;
}

// A window manager frames the window only once it is on the screen: when the frame turns out
// other than the one the window was fitted for, fit it again so that frame and all fill the
// work area.
void TFormMain::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (!m_fitPending || FullScreen() || !windowHandle() || !screen())
        return;
    QMargins frame = windowHandle()->frameMargins();
    if (frame == m_fittedFrame)
        return;
    m_fitPending = false;
    m_fittedFrame = frame;
    PlaceClient(screen()->availableGeometry().marginsRemoved(frame));
}

int TFormMain::ClientWidth() const { return ui->Board->width(); }

int TFormMain::ClientHeight() const { return ui->Board->height(); }

void TFormMain::ConfinePointer(const gfx::Rect& area)
{
    ui->Board->Confiner().Confine(QRect(area.left, area.top, area.width(), area.height()));
}

void TFormMain::ReleasePointer() { ui->Board->Confiner().Release(); }

QAction* TFormMain::MenuAction(game::MenuItem item) const
{
    switch (item) {
    case game::MenuItem::ShowOriginal: return ui->ShoworiginalMenu;
    case game::MenuItem::MusicOn: return ui->MusiconMenu;
    case game::MenuItem::ArrangeGrid: return ui->ArrangeGridMenu;
    case game::MenuItem::Random: return ui->RandomMenu;
    case game::MenuItem::RandomEdge: return ui->RandomEdgeMenu;
    case game::MenuItem::ShowThumbnail: return ui->ShowThumbnailMenu;
    }
    return nullptr;
}

void TFormMain::SetMenuChecked(game::MenuItem item, bool checked)
{
    if (QAction* action = MenuAction(item))
        action->setChecked(checked);
}

void TFormMain::SetMenuEnabled(game::MenuItem item, bool enabled)
{
    if (QAction* action = MenuAction(item))
        action->setEnabled(enabled);
}

void TFormMain::SetBusyCursor(bool busy)
{
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busyCursors;
    } else if (m_busyCursors > 0) {
        QApplication::restoreOverrideCursor();
        --m_busyCursors;
    }
}

void TFormMain::SetProgressMessage(const std::string& text)
{
    if (FormProgress)
        FormProgress->SetMessage(packageText(text));
}

void TFormMain::ShowProgress()
{
    if (FormProgress)
        FormProgress->ShowAndPaint();
}

void TFormMain::SetProgressRange(int maximum)
{
    if (!FormProgress)
        return;
    QProgressBar& bar = FormProgress->ProgressBar();
    int position = bar.value();
    bar.setRange(0, std::max(0, maximum));
    bar.setValue(std::clamp(position, 0, bar.maximum()));
}

void TFormMain::SetProgressPosition(int position)
{
    if (FormProgress) {
        QProgressBar& bar = FormProgress->ProgressBar();
        bar.setValue(std::clamp(position, bar.minimum(), bar.maximum()));
    }
}

int TFormMain::ProgressPosition() const
{
    return FormProgress ? std::max(FormProgress->ProgressBar().value(), 0) : 0;
}

void TFormMain::SetThumbnailPicture(const gfx::Bitmap* picture)
{
    if (m_orgWindow)
        m_orgWindow->SetPicture(picture);
}

void TFormMain::SetTuneFileName(const std::string& path) { MediaPlayer.SetFileName(path); }

void TFormMain::OpenAndPlayTune()
{
    try {
        MediaPlayer.Close();
        MediaPlayer.Open();
        MediaPlayer.Play();
    } catch (const audio::DeviceError& error) {
        throw game::DeviceError(error.what());
    }
}

void TFormMain::StopTune()
{
    try {
        MediaPlayer.Stop();
    } catch (const audio::DeviceError& error) {
        throw game::DeviceError(error.what());
    }
}

} // namespace app
