#pragma once
#include "game/GameWindow.h"
#include "game/Pieces.h"
#include "game/Random.h"
#include "game/Selection.h"
#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Rect.h"
#include "puzzle/MaskDevice.h"
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace game {

enum class MouseButton { Left, Right, Middle };

// Modifier keys held during a mouse event.
struct Modifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool any() const { return shift || ctrl || alt; }
};

// The whole game state of the main window and every operation on it, without any toolkit.
// The window owns one and turns its events into these calls; the game answers through
// GameWindow. The methods are spread over several files by subject:
//   GamePackage.cpp  start-up, ReadPackage, destruction of the extracted files
//   GameBuild.cpp    SetLevel, NewGame, CreatePuzzle, ComputeGrid, FreePictures
//   GameCut.cpp      CutPieces
//   GameArrange.cpp  the three arrangements and their commands
//   GameRender.cpp   CreateBuffers, RedrawBoard, DestroyPieces
//   GamePlay.cpp     the mouse, PickUpGroup, DropGroup, RotateGroup
//   GameHold.cpp     ending a hold before a command that redraws or rebuilds the board
//   GameCommands.cpp the other menu commands and the music
class Game {
public:
    static constexpr int SnapTolerance = 5;

    explicit Game(GameWindow& window);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // --- state, in the order of the main window's fields -------------------------------------
    bool FirstShow = true;
    bool NoPuzzle = true;
    bool MusicOn = true;
    bool RotatePieces = true;
    bool ShowOriginal = true;
    int Columns = 0;
    int Rows = 0;
    int LastColumnTrim = 0;
    int LastRowTrim = 0;
    int PictureWidth = 0;
    int PictureHeight = 0;
    int CellSize = 96;
    int KnobSize = 16;
    int BoardWidth = 0;
    int BoardHeight = 0;
    int Level = 1;
    int Arrangement = 3;
    gfx::Rect DragBounds;
    gfx::Color BackgroundColor = 128;
    TPuzzle* PickedPiece = nullptr;
    std::unique_ptr<game::Pieces> Pieces;
    game::Selection Selection;
    std::unique_ptr<gfx::Bitmap> FrameBuffer; // Bgrx32, board-sized
    std::unique_ptr<gfx::Bitmap> BackBuffer;  // Bgrx32, board-sized
    std::unique_ptr<gfx::Bitmap> PieceSheet;  // Bgr24
    std::unique_ptr<gfx::Bitmap> Picture;     // Bgr24
    std::unique_ptr<gfx::Bitmap> GhostPicture; // Bgr24
    int LastMouseX = 0;
    int LastMouseY = 0;
    int ScalePercent = 100;
    std::optional<std::string> PicturePath;
    std::string TempPicturePath;
    std::string TempMusicPath;

    // --- where the game meets the system (tests replace these) --------------------------------
    std::string ProgramPath;  // the program file that carries the package
    std::string TempFolder;   // where the package's files are extracted; empty: the private folder
    game::Random RandomGenerator;
    puzzle::MaskDevice* MaskFactory; // the game's own unless a test hands it another

    // --- start-up and package (GamePackage.cpp) -----------------------------------------------
    // The show handler's game part: reseeds, and on the first show reads the package, builds
    // the first game, redraws the board and starts the tune (errors of the music device pass).
    void FormShow(std::uint32_t seed);
    bool ReadPackage();

    // --- building (GameBuild.cpp) --------------------------------------------------------------
    void SetLevel(int code);
    bool NewGame(const std::optional<std::string>& path);
    bool CreatePuzzle(const std::optional<std::string>& path);
    bool ComputeGrid();
    void FreePictures();

    // --- cutting (GameCut.cpp) -----------------------------------------------------------------
    bool CutPieces();

    // --- arrangements (GameArrange.cpp) --------------------------------------------------------
    void ArrangeRandom();
    void ArrangeGrid();
    void ArrangeAtEdge();
    void ArrangeGridMenuClick();
    void RandomMenuClick();
    void RandomEdgeMenuClick();

    // --- rendering (GameRender.cpp) ------------------------------------------------------------
    // Re-creates both buffers at w x h and repaints the board.
    void CreateBuffers(int w, int h);
    void RedrawBoard();
    void DestroyPieces();

    // --- play (GamePlay.cpp) -------------------------------------------------------------------
    void FormMouseDown(MouseButton button, Modifiers modifiers, int x, int y);
    void FormMouseMove(int x, int y);
    void FormMouseUp(int x, int y);
    bool PickUpGroup(int x, int y);
    gfx::Rect DragSweepRect(int previousX, int previousY, int currentX, int currentY) const;
    void DropGroup(int x, int y);
    void AnnounceSolved();
    void RotateGroup(int angle, int x, int y);
    bool Holding() const { return PickedPiece != nullptr; }
    // Ends a hold without dropping: used before a command that rebuilds or redraws the board.
    void AbandonHold();

    // --- other commands and the music (GameCommands.cpp) ---------------------------------------
    void NewGameMenuClick();
    void ShoworiginalMenuClick();
    void MusiconMenuClick();
    // The media player's completion notice; stopped is true when its mode is "stopped".
    void MediaPlayerNotify(bool stopped);

    GameWindow& Window() { return m_window; }

private:
    bool AbandonCut();
    void ChooseArrangement(int arrangement);
    void TrimAndFadePictures();
    void CopyTile(int column, int row);
    void PrefetchTile(int column, int row);
    void StartDrag();
    void ComposeHeldGroup(const gfx::Rect& r);
    bool JoinSearch();
    void Join(const TPuzzle& n, int dx, int dy);
    void RestoreBoardUnder(const gfx::Rect& r);
    void DrawOthersClipped(const TPuzzle& held, const gfx::Rect& clip);
    gfx::Rect GhostRect() const;

    GameWindow& m_window;
    puzzle::MaskDevice m_ownMaskDevice;
};

} // namespace game
