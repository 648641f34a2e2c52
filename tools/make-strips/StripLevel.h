#pragma once

// The size of a level's strips and where its knob's parts begin, counted in rows from the
// top (or left) end of the side; the other half of the side mirrors them.
struct StripLevel {
    int number;        // 1 .. 4
    int cellSize;      // the strip's length along the side
    int knobSize;      // the strip's depth
    int shoulderEnd;   // last row of the shoulder that runs from the corner back to the body
    int knobStart;     // first row of the knob's head
    int attachedStart; // first row where the knob's neck touches the body
    int fullStart;     // first row where the head reaches the band's far edge
};

// Level 1 is drawn by hand (KnobShape.cpp holds it pixel by pixel); its numbers here are
// measured from that drawing. The smaller levels keep its proportions.
constexpr StripLevel kStripLevels[] = {
    {1, 96, 16, 26, 31, 36, 45},
    {2, 80, 14, 21, 26, 30, 38},
    {3, 64, 10, 15, 21, 24, 29},
    {4, 48, 8, 11, 16, 18, 20},
};
