#pragma once
#include "SideShape.h"
#include "StripLevel.h"

// The knob of a level seen along its side (depth 0 at the body): the shoulders that run from
// the corner squares' centres back to the body edge, the flush stretches, and the neck and
// round head in the middle that reaches the band's far edge. Level 1 is the hand-drawn knob;
// the others are drawn from their proportions by a curve fitted to it, so all share its look.
SideShape KnobShape(const StripLevel& level);
