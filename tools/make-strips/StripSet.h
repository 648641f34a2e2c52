#pragma once
#include "StripLevel.h"
#include "StripSide.h"
#include "gfx/Bitmap.h"
#include "puzzle/StripLibrary.h"
#include <vector>

// One strip of a level: its offset in the numbering (puzzle::StripOffset), its side, knob or socket.
struct StripKind {
    int offset;
    StripSide side;
    bool knob;
};

constexpr StripKind kStripKinds[] = {
    {puzzle::RightKnob, StripSide::Right, true},     {puzzle::BottomKnob, StripSide::Bottom, true},
    {puzzle::TopKnob, StripSide::Top, true},         {puzzle::LeftKnob, StripSide::Left, true},
    {puzzle::RightSocket, StripSide::Right, false},  {puzzle::TopSocket, StripSide::Top, false},
    {puzzle::BottomSocket, StripSide::Bottom, false}, {puzzle::LeftSocket, StripSide::Left, false},
};

struct Strip {
    StripKind kind;
    gfx::Bitmap outline; // Mono1
    gfx::Bitmap shading; // Index4
};

// The eight outline and shading strips of a level, in the order of kStripKinds.
std::vector<Strip> MakeStrips(const StripLevel& level);
