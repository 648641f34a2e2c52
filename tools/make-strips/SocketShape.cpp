#include "SocketShape.h"

namespace {

void fillCornerRow(SideShape& socket, const SideShape& neighbour, int p)
{
    int stop = socket.edgeLast(p) + 1;
    for (int d = socket.edgeFirst(p); d < stop; ++d)
        if (neighbour.at(p, d))
            stop = d;
    for (int d = socket.edgeFirst(p); d < stop; ++d)
        socket.set(p, d, true);
}

} // namespace

SideShape SocketShape(const SideShape& knob)
{
    // The neighbour's side is this one turned half round: depth and position both run back.
    SideShape neighbour = knob.mirroredDepth().mirroredAlong();
    SideShape socket(knob.length(), knob.depth());
    for (int p = 0; p < socket.length(); ++p) {
        if (socket.inCorner(p)) {
            fillCornerRow(socket, neighbour, p);
            continue;
        }
        for (int d = 0; d < socket.depth(); ++d)
            socket.set(p, d, !neighbour.at(p, d));
    }
    return socket;
}
