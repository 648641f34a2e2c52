// The whole start-up from a program file made of the input to a cut puzzle, on a small board:
// the first show reads the package, builds and cuts the game; then a drag, a turn and a new
// game. Whatever the input, no exception escapes, every message is one of the player's own,
// a board in play holds every piece once, and only the two extracted files are ever written.
#include "FuzzCheck.h"
#include "PackagedGame.h"
#include "RunFolder.h"
#include "support/PlayerMessages.h"
#include <set>
#include <span>
#include <vector>

using fuzzing::require;
using fuzzing::RunFolder;

namespace {

constexpr int kBoardWidth = 320, kBoardHeight = 240;

bool isPlayersMessage(const std::string& text)
{
    using namespace testing_support;
    static const std::set<std::string> fixed = {kCannotReadImage, kPictureDamaged, kTuneDamaged,
                                                kImageTooSmall, kNotEnoughMemory, kPuzzleSolved};
    // "Unable to open %s." with some path in it.
    const std::size_t frame = unableToOpen("").size(), head = unableToOpen("").find('.');
    return fixed.count(text)
        || (text.size() > frame && text == unableToOpen(text.substr(head, text.size() - frame)));
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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::PackagedGame started({data, size}, kBoardWidth, kBoardHeight);
    game::Game& game = *started.game;
    game.FormShow(20240611);
    checkGame(game, started.window, "after the first show");

    const int cx = kBoardWidth / 2, cy = kBoardHeight / 2;
    game.FormMouseDown(game::MouseButton::Left, {}, cx, cy);
    game.FormMouseMove(cx + 7, cy - 5);
    game.FormMouseUp(cx + 7, cy - 5);
    game.FormMouseDown(game::MouseButton::Right, {}, cx + 7, cy - 5);
    game.FormMouseUp(cx + 7, cy - 5);
    checkGame(game, started.window, "after a drag and a turn");

    game.NewGameMenuClick();
    checkGame(game, started.window, "after a new game");
    for (const std::string& name : RunFolder::entries(RunFolder::Get().extractFolder()))
        require(name == "tovanta.jpg" || name == "tovanta.bmp" || name == "tovanta.mid", "the game wrote " + name);
    started.end();
    return 0;
}
