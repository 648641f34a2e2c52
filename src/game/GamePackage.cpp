#include "game/Game.h"
#include "game/PackageFile.h"
#include "game/PrivateFolder.h"

namespace game {
namespace {

const char* const kCannotOpenMessage = "Cannot read the image. Please contact your vendor.";
const char* const kPictureDamagedMessage = "Cannot read the image because the exe file could be corrupted.";
const char* const kTuneDamagedMessage = "Cannot read the image because the midi file could be corrupted.";

void checkArrangementItem(GameWindow& window, int arrangement)
{
    window.SetMenuChecked(MenuItem::ArrangeGrid, arrangement == 1);
    window.SetMenuChecked(MenuItem::Random, arrangement == 2);
    window.SetMenuChecked(MenuItem::RandomEdge, arrangement == 3);
}

} // namespace

void Game::FormShow(std::uint32_t seed)
{
    RandomGenerator.Seed(seed);
    if (!FirstShow)
        return;
    FirstShow = false;
    m_window.SizeToWorkArea();
    BoardWidth = m_window.ClientWidth();
    BoardHeight = m_window.ClientHeight();
    if (!ReadPackage())
        return;
    NewGame(TempPicturePath);
    RedrawBoard();
    // Unguarded: a device that will not open is the window's standard error report.
    if (!TempMusicPath.empty())
        m_window.OpenAndPlayTune();
}

bool Game::ReadPackage()
{
    PackageFile file;
    PackageTrailer trailer;
    // A file too short for a trailer carries no puzzle at all: the same case as no file.
    if (!file.Open(ProgramPath) || !file.ReadTrailer(trailer)) {
        m_window.ShowMessage(kCannotOpenMessage, MessageIcon::Error);
        return false;
    }

    Arrangement = trailer.Arrangement;
    SetLevel(trailer.LevelCode);
    BackgroundColor = trailer.BackgroundColor;
    ScalePercent = trailer.ScalePercent;
    RotatePieces = trailer.RotatePieces != 0;
    ShowOriginal = trailer.ShowOriginal != 0;
    m_window.SetMenuChecked(MenuItem::ShowOriginal, ShowOriginal);

    if (trailer.MessageIsEmpty())
        trailer.SetDefaultMessage();
    m_window.SetProgressMessage(trailer.Message());

    std::vector<std::uint8_t> bytes;
    if (!file.ReadPicture(trailer, bytes)) {
        m_window.ShowMessage(kPictureDamagedMessage, MessageIcon::Error);
        return false;
    }
    const std::string folder = TempFolder.empty() ? PrivateFolder::Locate() : TempFolder;
    const std::string picturePath =
        PrivateFolder::Join(folder, trailer.PictureIsBmp != 0 ? "tovanta.bmp" : "tovanta.jpg");
    PrivateFolder::WriteFile(picturePath, bytes);
    TempPicturePath = picturePath;

    if (trailer.MusicSize != 0) {
        if (!file.ReadMusic(trailer, bytes)) {
            m_window.ShowMessage(kTuneDamagedMessage, MessageIcon::Error);
            return false;
        }
        const std::string musicPath = PrivateFolder::Join(folder, "tovanta.mid");
        PrivateFolder::WriteFile(musicPath, bytes);
        TempMusicPath = musicPath;
        m_window.SetTuneFileName(TempMusicPath);
        m_window.SetMenuChecked(MenuItem::MusicOn, true);
    } else {
        m_window.SetMenuEnabled(MenuItem::MusicOn, false);
    }
    checkArrangementItem(m_window, Arrangement);
    return true;
}

} // namespace game
