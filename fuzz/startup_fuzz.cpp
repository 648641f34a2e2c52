// The whole start-up from a program file made of the input to a cut puzzle, on a small board:
// the first show reads the package, builds and cuts the game; then a drag, a turn and a new
// game. Whatever the input, no exception escapes, every message is one of the player's own,
// a board in play holds every piece once, and only the two extracted files are ever written.
#include "FuzzCheck.h"
#include "PackageMutator.h"
#include "RunFolder.h"
#include "game/Game.h"
#include "support/RecordingWindow.h"
#include <set>
#include <span>
#include <vector>

using fuzzing::require;
using fuzzing::RunFolder;

namespace {

constexpr int kBoardWidth = 320, kBoardHeight = 240;

bool isPlayersMessage(const std::string& text)
{
    static const std::set<std::string> fixed = {
        "Cannot read the image. Please contact your vendor.",
        "Cannot read the image because the exe file could be corrupted.",
        "Cannot read the image because the midi file could be corrupted.",
        "Cannot create puzzle because the image is too small.",
        "Not enough memory! Please try to use Beginner or Novice level.",
        "Congratulations. You solved the puzzle.",
    };
    return fixed.count(text) || (text.rfind("Unable to open ", 0) == 0 && text.back() == '.');
}

void checkGame(const game::Game& g, const testing_support::RecordingWindow& window, const char* when)
{
    const std::string at = std::string(" ") + when;
    for (const auto& m : window.messages)
        require(isPlayersMessage(m.text), "an unknown message \"" + m.text + "\"" + at);
    require(window.busyCursorDepth == 0, "the busy cursor stayed up" + at);
    require(!g.PickedPiece && g.Selection.empty(), "a group is still held" + at);
    if (!g.Pieces) {
        require(g.NoPuzzle, "no pieces, yet a puzzle in play" + at);
        return;
    }
    require(g.Picture && g.GhostPicture && g.PieceSheet, "pieces without their pictures" + at);
    std::set<std::pair<int, int>> places;
    auto walk = g.Pieces->fromBottom();
    while (const game::TPuzzle* p = walk.Next()) {
        require(p->Turns < 4 && p->Bounds.width() == g.CellSize && p->Bounds.height() == g.CellSize,
                "a piece out of shape" + at);
        require(places.insert({p->Column, p->Row}).second, "a piece is on the board twice" + at);
    }
    require(int(places.size()) == g.Columns * g.Rows, "pieces are missing" + at);
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned seed)
{
    return fuzzing::MutatePackage(data, size, maxSize, seed);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const RunFolder& run = RunFolder::Get();
    const std::span<const std::uint8_t> input(data, size);
    const std::string program = run.write("player", input);
    testing_support::RecordingWindow window(kBoardWidth, kBoardHeight);
    {
        game::Game game(window);
        game.ProgramPath = program;
        game.TempFolder = run.extractFolder();
        game.FormShow(20240611);
        checkGame(game, window, "after the first show");

        const int cx = kBoardWidth / 2, cy = kBoardHeight / 2;
        game.FormMouseDown(game::MouseButton::Left, {}, cx, cy);
        game.FormMouseMove(cx + 7, cy - 5);
        game.FormMouseUp(cx + 7, cy - 5);
        game.FormMouseDown(game::MouseButton::Right, {}, cx + 7, cy - 5);
        game.FormMouseUp(cx + 7, cy - 5);
        checkGame(game, window, "after a drag and a turn");

        game.NewGameMenuClick();
        checkGame(game, window, "after a new game");
        for (const std::string& name : RunFolder::entries(run.extractFolder()))
            require(name == "tovanta.jpg" || name == "tovanta.bmp" || name == "tovanta.mid",
                    "the game wrote " + name);
    }
    require(RunFolder::entries(run.extractFolder()).empty(), "the game left extracted files behind");
    require(RunFolder::read(program) == std::vector<std::uint8_t>(input.begin(), input.end()), "the program file changed");
    return 0;
}
