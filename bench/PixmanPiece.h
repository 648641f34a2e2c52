#pragma once
#include "RealPiece.h"
#include <cstdint>
#include <pixman.h>
#include <vector>

namespace bench {

// The shaped copy of a piece done by pixman on x8r8g8b8 images, its best case: the tile already
// in 32 bits, the piece's region or a1 mask made once from its mask's runs.
class PixmanPiece {
public:
    enum class Way {
        ClipRegionSetOnce, // SRC onto a board image that keeps the piece's clip region
        ClipRegionPerDraw, // the clip region set on the board image before every SRC
        OverA1Mask,        // OVER through an a1 mask image
    };

    PixmanPiece(const RealPiece& real, int boardWidth, int boardHeight, int x, int y);
    ~PixmanPiece();
    PixmanPiece(const PixmanPiece&) = delete;
    PixmanPiece& operator=(const PixmanPiece&) = delete;

    void draw(Way way);
    void clearBoard(gfx::Color color);
    // Whether the board shows the same colours as a Bgrx32 bitmap of its size.
    bool boardEquals(const gfx::Bitmap& bgrx32) const;

private:
    pixman_image_t* boardImage();

    int m_width, m_height, m_x, m_y, m_size;
    std::vector<std::uint32_t> m_board, m_tile, m_a1;
    pixman_region32_t m_region;
    pixman_image_t* m_clippedOnce = nullptr;
    pixman_image_t* m_clippedPerDraw = nullptr;
    pixman_image_t* m_unclipped = nullptr;
    pixman_image_t* m_tileImage = nullptr;
    pixman_image_t* m_maskImage = nullptr;
};

} // namespace bench
