#include "support/BoardChecks.h"
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

namespace testing_support {

using game::TPuzzle;

namespace {

std::string nameOf(const TPuzzle& p)
{
    return "piece (" + std::to_string(p.Column) + "," + std::to_string(p.Row) + ")";
}

std::string piecesOnce(const std::vector<TPuzzle*>& pieces, std::size_t pieceCount)
{
    if (pieces.size() != pieceCount)
        return std::to_string(pieces.size()) + " pieces in the list, " + std::to_string(pieceCount) + " expected";
    std::set<const TPuzzle*> objects;
    std::set<std::pair<int, int>> homes, places;
    for (const TPuzzle* p : pieces)
        if (!objects.insert(p).second || !homes.insert({p->HomeX, p->HomeY}).second
            || !places.insert({p->Column, p->Row}).second)
            return nameOf(*p) + " is in the list twice";
    return {};
}

std::string selectionIsHeldGroup(const game::Game& game, const std::vector<TPuzzle*>& pieces)
{
    if (!game.PickedPiece)
        return game.Selection.empty() ? std::string() : "a selection without a held group";
    std::multiset<const TPuzzle*> selected(game.Selection.begin(), game.Selection.end());
    std::multiset<const TPuzzle*> group;
    for (const TPuzzle* p : pieces)
        if (p->Group == game.PickedPiece->Group)
            group.insert(p);
    if (!group.count(game.PickedPiece))
        return "the held piece is not on the board";
    if (selected != group)
        return "the selection is not the held group";
    for (std::size_t i = pieces.size() - group.size(); i < pieces.size(); ++i)
        if (!group.count(pieces[i]))
            return "the held group is not at the top of the z-order";
    return {};
}

std::string groupsAreRigid(const game::Game& game, const std::vector<TPuzzle*>& pieces)
{
    std::map<int, const TPuzzle*> first;
    for (const TPuzzle* p : pieces) {
        if (p->Turns > 3)
            return nameOf(*p) + " has Turns " + std::to_string(p->Turns);
        if (p->Bounds.width() != game.CellSize || p->Bounds.height() != game.CellSize)
            return nameOf(*p) + " is not a square of CellSize";
        auto [it, isNew] = first.emplace(p->Group, p);
        const TPuzzle& r = *it->second;
        if (isNew)
            continue;
        if (p->Turns != r.Turns)
            return nameOf(*p) + " and " + nameOf(r) + " share a group but not their Turns";
        Point want = turnedOffset(p->HomeX - r.HomeX, p->HomeY - r.HomeY, r.Turns);
        if (p->Bounds.left - r.Bounds.left != want.x || p->Bounds.top - r.Bounds.top != want.y) {
            std::ostringstream s;
            s << nameOf(*p) << " lies at (" << p->Bounds.left - r.Bounds.left << "," << p->Bounds.top - r.Bounds.top
              << ") from " << nameOf(r) << " in its group, not at (" << want.x << "," << want.y << ")";
            return s.str();
        }
    }
    return {};
}

// Redraws the board on the real back buffer, compares, and puts everything back. A held group
// is lifted out of the board, so for the redraw it is moved far off it for a moment.
std::string backBufferIsBoard(game::Game& game)
{
    if (!game.BackBuffer)
        return {};
    const gfx::Bitmap saved = *game.BackBuffer;
    auto* recorder = dynamic_cast<RecordingWindow*>(&game.Window());
    const int invalidations = recorder ? recorder->invalidations : 0;
    constexpr int kAway = 1 << 20;
    for (TPuzzle* s : game.Selection)
        s->Bounds = s->Bounds.translated(kAway, kAway);
    game.RedrawBoard();
    for (TPuzzle* s : game.Selection)
        s->Bounds = s->Bounds.translated(-kAway, -kAway);
    std::optional<std::string> diff = firstDifference(saved, *game.BackBuffer);
    *game.BackBuffer = saved;
    if (recorder)
        recorder->invalidations = invalidations;
    if (!diff)
        return {};
    return (game.PickedPiece ? "the back buffer differs from the board without the held group at "
                             : "the back buffer differs from a full redraw at ")
         + *diff;
}

::testing::AssertionResult resultOf(const std::string& fault)
{
    if (fault.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << fault;
}

} // namespace

std::vector<TPuzzle*> zOrderOf(const game::Game& game)
{
    std::vector<TPuzzle*> v;
    if (!game.Pieces)
        return v;
    auto walk = game.Pieces->fromBottom();
    while (TPuzzle* p = walk.Next())
        v.push_back(p);
    return v;
}

::testing::AssertionResult BoardIsSound(game::Game& game, std::size_t pieceCount)
{
    const std::vector<TPuzzle*> pieces = zOrderOf(game);
    for (const std::string& fault : {piecesOnce(pieces, pieceCount), selectionIsHeldGroup(game, pieces),
                                     groupsAreRigid(game, pieces)})
        if (!fault.empty())
            return resultOf(fault);
    return resultOf(backBufferIsBoard(game));
}

::testing::AssertionResult ScreenShowsBoard(game::Game& game, ScreenWindow& window)
{
    window.paint();
    if (!game.BackBuffer)
        return ::testing::AssertionSuccess();
    gfx::Bitmap expected = *game.BackBuffer;
    if (game.PickedPiece && game.PieceSheet) {
        for (const TPuzzle* s : game.Selection)
            s->DrawShadow(expected);
        for (const TPuzzle* s : game.Selection)
            s->Draw(expected, *game.PieceSheet);
    }
    std::optional<std::string> diff = firstDifference(window.screen(), expected);
    return resultOf(diff ? "the screen differs from the board at " + *diff : std::string());
}

std::optional<std::string> firstDifference(const gfx::Bitmap& a, const gfx::Bitmap& b)
{
    if (a.width() != b.width() || a.height() != b.height() || a.format() != b.format())
        return "0,0";
    for (int y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.scanLine(y), b.scanLine(y), std::size_t(a.stride())) == 0)
            continue;
        for (int x = 0; x < a.width(); ++x)
            if (a.value(x, y) != b.value(x, y))
                return std::to_string(x) + "," + std::to_string(y);
    }
    return std::nullopt;
}

Point turnedOffset(int dx, int dy, int turns)
{
    for (int t = 0; t < turns % 4; ++t)
        std::tie(dx, dy) = std::pair(dy, -dx);
    return {dx, dy};
}

std::optional<Point> grabPoint(const game::Game& game, const TPuzzle& piece)
{
    const gfx::Rect area = gfx::intersected(piece.Bounds, {1, 1, game.BoardWidth - 2, game.BoardHeight - 2});
    const int cx = (piece.Bounds.left + piece.Bounds.right) / 2, cy = (piece.Bounds.top + piece.Bounds.bottom) / 2;
    std::optional<Point> best;
    long long bestDistance = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const long long d = (long long)(x - cx) * (x - cx) + (long long)(y - cy) * (y - cy);
            if (best && d >= bestDistance)
                continue;
            auto walk = game.Pieces->fromTop();
            TPuzzle* hit = nullptr;
            while (TPuzzle* p = walk.Next())
                if (p->HitTest(x, y)) {
                    hit = p;
                    break;
                }
            if (hit == &piece) {
                best = Point{x, y};
                bestDistance = d;
            }
        }
    return best;
}

} // namespace testing_support
