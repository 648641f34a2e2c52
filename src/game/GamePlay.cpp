#include "game/Game.h"
#include "gfx/Raster.h"
#include <algorithm>
#include <tuple>

namespace game {
namespace {

enum class ScreenSide { Above, Below, Right, Left };

// Whether n is s's neighbour on the given side of the screen when both are turned `turns`
// quarter turns counter-clockwise: the picture offset of the side, turned with the pieces.
bool isNeighbour(const TPuzzle& s, const TPuzzle& n, ScreenSide side, int turns)
{
    int dc = 0, dr = 0;
    switch (side) {
    case ScreenSide::Above: dr = -1; break;
    case ScreenSide::Below: dr = 1; break;
    case ScreenSide::Right: dc = 1; break;
    case ScreenSide::Left: dc = -1; break;
    }
    for (int t = 0; t < turns; ++t)
        std::tie(dc, dr) = std::pair(-dr, dc);
    return n.Column == s.Column + dc && n.Row == s.Row + dr;
}

struct Snap {
    bool found = false;
    int left = 0;
    int top = 0;
};

// Where s must go to sit exactly beside n, if it lies within the tolerance of that place.
Snap snapTarget(const TPuzzle& s, const TPuzzle& n, int cellSize, int knobSize, int tolerance)
{
    gfx::Rect i = gfx::intersected(s.Bounds, n.Bounds);
    if (i.isEmpty())
        return {};
    const int w = i.width(), h = i.height(), k = knobSize, c = cellSize;
    auto knobDeep = [&](int d) { return k - tolerance <= d && d <= k + tolerance; };
    const bool vertical = w >= n.Bounds.width() - tolerance && knobDeep(h);
    const bool horizontal = h >= n.Bounds.height() - tolerance && knobDeep(w);
    const int t = s.Turns;
    const gfx::Rect& nb = n.Bounds;
    if (vertical && nb.top < s.Bounds.top && isNeighbour(s, n, ScreenSide::Above, t))
        return {true, nb.left, nb.bottom - k};
    if (vertical && nb.top > s.Bounds.top && isNeighbour(s, n, ScreenSide::Below, t))
        return {true, nb.left, nb.top + k - c};
    if (horizontal && nb.left > s.Bounds.left && isNeighbour(s, n, ScreenSide::Right, t))
        return {true, nb.left + k - c, nb.top};
    if (horizontal && nb.left < s.Bounds.left && isNeighbour(s, n, ScreenSide::Left, t))
        return {true, nb.right - k, nb.top};
    return {};
}

} // namespace

// --- the press -----------------------------------------------------------------------------------

void Game::FormMouseDown(MouseButton button, Modifiers modifiers, int x, int y)
{
    if (PickedPiece || !Pieces)
        return;
    switch (button) {
    case MouseButton::Left:
        if (!Picture)
            return;
        if (!modifiers.any()) {
            if (PickUpGroup(x, y))
                StartDrag();
        } else if (RotatePieces && PickUpGroup(x, y)) {
            RotateGroup(90, x, y);
        }
        return;
    case MouseButton::Right:
        if (RotatePieces && PickUpGroup(x, y))
            RotateGroup(270, x, y);
        return;
    case MouseButton::Middle:
        return;
    }
}

bool Game::PickUpGroup(int x, int y)
{
    LastMouseX = x;
    LastMouseY = y;
    PickedPiece = nullptr;
    auto fromTop = Pieces->fromTop();
    while (TPuzzle* p = fromTop.Next())
        if (p->HitTest(x, y)) {
            PickedPiece = p;
            break;
        }
    if (!PickedPiece)
        return false;

    DragBounds = {x, y, x, y};
    auto fromBottom = Pieces->fromBottom();
    while (TPuzzle* p = fromBottom.Next())
        if (p->Group == PickedPiece->Group) {
            Selection.AddAtHead(p);
            DragBounds.growToInclude(p->Bounds);
        }
    for (TPuzzle* s : Selection) {
        RestoreBoardUnder(s->Bounds);
        Pieces->MoveToTail(*s);
    }
    for (TPuzzle* s : Selection)
        DrawOthersClipped(*s, s->Bounds);
    return true;
}

void Game::RestoreBoardUnder(const gfx::Rect& r)
{
    if (!BackBuffer)
        return;
    gfx::fillRect(*BackBuffer, r, BackgroundColor);
    if (!ShowOriginal || !GhostPicture)
        return;
    gfx::Rect g = GhostRect();
    gfx::Rect i = gfx::intersected(r, g);
    if (!i.isEmpty())
        gfx::bitBlt(*BackBuffer, i.left, i.top, i.width(), i.height(), *GhostPicture, i.left - g.left, i.top - g.top,
                    gfx::Rop::Copy);
}

void Game::DrawOthersClipped(const TPuzzle& held, const gfx::Rect& clip)
{
    if (!BackBuffer || !PieceSheet)
        return;
    auto walk = Pieces->fromBottom();
    while (TPuzzle* q = walk.Next())
        if (q->Group != held.Group)
            q->DrawClipped(*BackBuffer, clip, *PieceSheet);
}

// --- dragging ------------------------------------------------------------------------------------

void Game::StartDrag()
{
    gfx::Rect r = DragBounds;
    r.right += 2;
    r.bottom += 2;
    ComposeHeldGroup(r);
    m_window.ConfinePointer({1, 1, m_window.ClientWidth() - 2, m_window.ClientHeight() - 2});
}

// The board under r from the back buffer, the held group's shadows, then its pieces, all in
// the frame buffer, and r shown.
void Game::ComposeHeldGroup(const gfx::Rect& r)
{
    if (!BackBuffer || !FrameBuffer || !PieceSheet)
        return;
    gfx::bitBlt(*FrameBuffer, r.left, r.top, r.width(), r.height(), *BackBuffer, r.left, r.top, gfx::Rop::Copy);
    for (TPuzzle* s : Selection)
        s->DrawShadow(*FrameBuffer);
    for (TPuzzle* s : Selection)
        s->Draw(*FrameBuffer, *PieceSheet);
    m_window.CopyToWindow(*FrameBuffer, r);
}

gfx::Rect Game::DragSweepRect(int previousX, int previousY, int currentX, int currentY) const
{
    const int w = DragBounds.width(), h = DragBounds.height();
    return {std::min(previousX, currentX) - w - 2, std::min(previousY, currentY) - h - 2,
            std::max(previousX, currentX) + w + 2, std::max(previousY, currentY) + h + 2};
}

void Game::FormMouseMove(int x, int y)
{
    if (!PickedPiece)
        return;
    const int dx = x - LastMouseX, dy = y - LastMouseY;
    gfx::Rect r = DragSweepRect(LastMouseX, LastMouseY, x, y);
    for (TPuzzle* s : Selection)
        s->Bounds = s->Bounds.translated(dx, dy);
    ComposeHeldGroup(r);
    LastMouseX = x;
    LastMouseY = y;
}

void Game::FormMouseUp(int x, int y)
{
    m_window.ReleasePointer();
    DropGroup(x, y);
    DropGroup(x, y);
    Selection.Flush();
    PickedPiece = nullptr;
}

// --- dropping and joining ------------------------------------------------------------------------

void Game::DropGroup(int x, int y)
{
    if (!PickedPiece)
        return;
    for (TPuzzle* s : Selection)
        DrawOthersClipped(*s, s->Bounds.inflated(2));
    if (BackBuffer && PieceSheet)
        for (TPuzzle* s : Selection)
            s->Draw(*BackBuffer, *PieceSheet);
    if (BackBuffer)
        m_window.CopyToWindow(*BackBuffer, DragSweepRect(LastMouseX, LastMouseY, x, y));

    const bool joined = JoinSearch();

    bool oneGroup = false;
    if (!NoPuzzle) {
        oneGroup = true;
        const std::int16_t first = Pieces->head()->Group;
        auto walk = Pieces->fromBottom();
        while (TPuzzle* p = walk.Next())
            oneGroup = oneGroup && p->Group == first;
    }

    if (joined) {
        const std::int16_t g = Selection.front()->Group;
        Selection.Flush();
        auto walk = Pieces->fromBottom();
        while (TPuzzle* p = walk.Next())
            if (p->Group == g) {
                if (BackBuffer && PieceSheet)
                    p->Draw(*BackBuffer, *PieceSheet);
                Selection.AddAtHead(p);
            }
        m_window.InvalidateWindow();
    }

    if (oneGroup && !NoPuzzle) {
        NoPuzzle = true;
        AnnounceSolved();
    }
}

bool Game::JoinSearch()
{
    for (TPuzzle* s : Selection) {
        auto walk = Pieces->fromBottom();
        while (TPuzzle* n = walk.Next()) {
            if (n->Group == s->Group || n->Turns != s->Turns)
                continue;
            Snap snap = snapTarget(*s, *n, CellSize, KnobSize, SnapTolerance);
            if (!snap.found)
                continue;
            Join(*n, snap.left - s->Bounds.left, snap.top - s->Bounds.top);
            return true;
        }
    }
    return false;
}

// Moves the held group by (dx, dy) into place beside n and takes n's group into it.
void Game::Join(const TPuzzle& n, int dx, int dy)
{
    for (TPuzzle* p : Selection)
        RestoreBoardUnder(p->Bounds);
    for (TPuzzle* p : Selection)
        DrawOthersClipped(*p, p->Bounds);
    for (TPuzzle* p : Selection)
        p->Bounds = p->Bounds.translated(dx, dy);

    // Walking from the top, a piece moved to the top is not met again.
    const std::int16_t other = n.Group;
    auto walk = Pieces->fromTop();
    while (TPuzzle* p = walk.Next())
        if (p->Group == other) {
            p->Group = PickedPiece->Group;
            Pieces->MoveToTail(*p);
        }
}

void Game::AnnounceSolved()
{
    m_window.ShowMessage("Congratulations. You solved the puzzle.", MessageIcon::Information);
}

// --- turning -------------------------------------------------------------------------------------

void Game::RotateGroup(int angle, int x, int y)
{
    const gfx::Rect c = PickedPiece->Bounds;
    gfx::Rect shown = c;
    // Without tiles to turn the pieces keep their places too: turning the places alone would
    // leave the group's offsets disagreeing with its Turns.
    for (TPuzzle* s : Selection) {
        if (!PieceSheet)
            break;
        s->Rotate(angle, *PieceSheet);
        const int dx = s->Bounds.left - c.left, dy = s->Bounds.top - c.top;
        s->Bounds = angle == 270 ? c.translated(-dy, dx) : c.translated(dy, -dx);
        shown.growToInclude(s->Bounds);
        if (BackBuffer)
            s->Draw(*BackBuffer, *PieceSheet);
    }
    if (BackBuffer)
        m_window.CopyToWindow(*BackBuffer, shown);
    DropGroup(x, y);
    Selection.Flush();
    PickedPiece = nullptr;
}

} // namespace game
