#pragma once
#include "SideShape.h"

// The socket that takes the knob of the neighbour across the edge. Outside the corner squares
// it is the exact complement of the neighbour's knob in the shared band. In a corner square it
// takes the part of its edge's triangle on its own side of the neighbour's shoulder, so that
// the two pieces of the edge fill the triangle between them and no stray pixel of one lands
// beyond the other.
SideShape SocketShape(const SideShape& knob);
