#pragma once

namespace game {

// How a picture of a given size is divided into pieces at a level: the columns and rows, the
// trims of the last column and row, and the picture size that goes with them. The player's
// ComputeGrid and the authoring tool's size check both come here.
struct PieceGrid {
    // A level's tile edge and knob depth, and the bounds U and L of the trim tests.
    struct Sizes {
        int cellSize;
        int knobSize;
        int upper;
        int lower;
    };
    // Level 1 to 4; anything else gets level 3.
    static Sizes SizesOf(int level);
    // The level a package's code selects: 1 to 4, and 11 to 14 for the same; otherwise 3.
    static int LevelForCode(int code);
    // A puzzle needs at least two columns and two rows.
    static constexpr int kMinColumns = 2;
    static constexpr int kMinRows = 2;

    // Divides a width x height picture with tiles of the given sizes.
    static PieceGrid Compute(const Sizes& sizes, int width, int height);

    int Columns = 0;
    int Rows = 0;
    int LastColumnTrim = 0;
    int LastRowTrim = 0;
    int Width = 0;  // the picture's width after the trims' adjustment
    int Height = 0;

    bool fits() const { return Columns >= kMinColumns && Rows >= kMinRows; }
};

} // namespace game
