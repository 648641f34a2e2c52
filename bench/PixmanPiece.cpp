#include "PixmanPiece.h"
#include <algorithm>

namespace bench {
namespace {

bool inside(const gfx::Bitmap& mask, int x, int y) { return mask.value(x, y) == 0; }

std::uint32_t x8r8g8b8(gfx::Color c)
{
    return 0xFF000000u | std::uint32_t(gfx::redOf(c)) << 16 | std::uint32_t(gfx::greenOf(c)) << 8
         | std::uint32_t(gfx::blueOf(c));
}

// The mask's runs of inside pixels, one box a run, placed at (x, y).
std::vector<pixman_box32_t> runBoxes(const gfx::Bitmap& mask, int x, int y)
{
    std::vector<pixman_box32_t> boxes;
    for (int r = 0; r < mask.height(); ++r)
        for (int c = 0; c < mask.width();) {
            if (!inside(mask, c, r)) {
                ++c;
                continue;
            }
            int end = c;
            while (end < mask.width() && inside(mask, end, r))
                ++end;
            boxes.push_back({x + c, y + r, x + end, y + r + 1});
            c = end;
        }
    return boxes;
}

pixman_image_t* wrap(pixman_format_code_t format, int w, int h, std::vector<std::uint32_t>& bits, int strideWords)
{
    return pixman_image_create_bits(format, w, h, bits.data(), strideWords * 4);
}

} // namespace

PixmanPiece::PixmanPiece(const RealPiece& real, int boardWidth, int boardHeight, int x, int y)
    : m_width(boardWidth)
    , m_height(boardHeight)
    , m_x(x)
    , m_y(y)
    , m_size(real.cellSize())
    , m_board(std::size_t(boardWidth) * boardHeight)
    , m_tile(std::size_t(m_size) * m_size)
{
    const gfx::Rect t = real.tile();
    for (int r = 0; r < m_size; ++r)
        for (int c = 0; c < m_size; ++c)
            m_tile[std::size_t(r) * m_size + c] = x8r8g8b8(real.sheet.value(t.left + c, t.top + r));
    // a1 on a little-endian machine: pixel x is bit x % 32 of word x / 32 of its row.
    const int maskWords = (m_size + 31) / 32;
    m_a1.assign(std::size_t(maskWords) * m_size, 0);
    for (int r = 0; r < m_size; ++r)
        for (int c = 0; c < m_size; ++c)
            if (inside(real.piece.Mask, c, r))
                m_a1[std::size_t(r) * maskWords + c / 32] |= 1u << (c % 32);

    std::vector<pixman_box32_t> boxes = runBoxes(real.piece.Mask, x, y);
    pixman_region32_init_rects(&m_region, boxes.data(), int(boxes.size()));

    m_clippedOnce = wrap(PIXMAN_x8r8g8b8, boardWidth, boardHeight, m_board, boardWidth);
    m_clippedPerDraw = wrap(PIXMAN_x8r8g8b8, boardWidth, boardHeight, m_board, boardWidth);
    m_unclipped = wrap(PIXMAN_x8r8g8b8, boardWidth, boardHeight, m_board, boardWidth);
    m_tileImage = wrap(PIXMAN_x8r8g8b8, m_size, m_size, m_tile, m_size);
    m_maskImage = wrap(PIXMAN_a1, m_size, m_size, m_a1, maskWords);
    pixman_image_set_clip_region32(m_clippedOnce, &m_region);
}

PixmanPiece::~PixmanPiece()
{
    for (pixman_image_t* image : {m_clippedOnce, m_clippedPerDraw, m_unclipped, m_tileImage, m_maskImage})
        pixman_image_unref(image);
    pixman_region32_fini(&m_region);
}

void PixmanPiece::draw(Way way)
{
    switch (way) {
    case Way::ClipRegionSetOnce:
        pixman_image_composite32(PIXMAN_OP_SRC, m_tileImage, nullptr, m_clippedOnce, 0, 0, 0, 0, m_x, m_y, m_size,
                                 m_size);
        return;
    case Way::ClipRegionPerDraw:
        pixman_image_set_clip_region32(m_clippedPerDraw, &m_region);
        pixman_image_composite32(PIXMAN_OP_SRC, m_tileImage, nullptr, m_clippedPerDraw, 0, 0, 0, 0, m_x, m_y, m_size,
                                 m_size);
        return;
    case Way::OverA1Mask:
        pixman_image_composite32(PIXMAN_OP_OVER, m_tileImage, m_maskImage, m_unclipped, 0, 0, 0, 0, m_x, m_y, m_size,
                                 m_size);
        return;
    }
}

void PixmanPiece::clearBoard(gfx::Color color)
{
    std::fill(m_board.begin(), m_board.end(), x8r8g8b8(color));
}

bool PixmanPiece::boardEquals(const gfx::Bitmap& bgrx32) const
{
    for (int r = 0; r < m_height; ++r)
        for (int c = 0; c < m_width; ++c)
            if ((m_board[std::size_t(r) * m_width + c] | 0xFF000000u) != x8r8g8b8(bgrx32.value(c, r)))
                return false;
    return true;
}

} // namespace bench
