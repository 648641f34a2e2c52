#include "game/Game.h"

namespace game {

namespace {

// Opening or playing the tune may fail (no tune, no sound output); the game goes on in silence.
void playTuneIgnoringErrors(GameWindow& window)
{
    try {
        window.OpenAndPlayTune();
    } catch (const DeviceError&) {
    }
}

} // namespace

void Game::NewGameMenuClick()
{
    // The build destroys the pieces: a group still held must let go of them first.
    AbandonHold();
    NewGame(PicturePath);
}

void Game::ShoworiginalMenuClick()
{
    AbandonHold();
    ShowOriginal = !ShowOriginal;
    m_window.SetMenuChecked(MenuItem::ShowOriginal, ShowOriginal);
    RedrawBoard();
}

void Game::MusiconMenuClick()
{
    MusicOn = !MusicOn;
    m_window.SetMenuChecked(MenuItem::MusicOn, MusicOn);
    if (MusicOn)
        playTuneIgnoringErrors(m_window);
    else
        m_window.StopTune(); // a device that never opened reports it through the caller
}

void Game::MediaPlayerNotify(bool stopped)
{
    // The music's only loop: each completed playing is followed by a new one.
    if (stopped && MusicOn)
        playTuneIgnoringErrors(m_window);
}

} // namespace game
