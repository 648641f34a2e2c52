#pragma once
#include "gfx/Bitmap.h"
#include "gfx/Rect.h"
#include <cstdint>
#include <functional>
#include <map>

namespace puzzle {

// What BuildShape makes of a piece's sides: its mask and the shading map of its bevel.
struct Outline {
    gfx::Bitmap mask;
    gfx::Bitmap map;
};

// Everything an outline depends on. Each side is a border (0), a knob (1) or a socket (2).
struct OutlineKey {
    int level, w, h;
    gfx::Rect body;
    int lastColumnTrim, lastRowTrim;
    std::uint8_t top, bottom, left, right;
};

// The outlines met so far in one puzzle. A puzzle has at most 81 shapes of piece, so a cut makes
// each outline once and copies it for the other pieces of that shape. The outlines are kept for
// one level, piece size and trim at a time: a key that differs in those empties the cache first.
// Pieces are built on one thread.
class OutlineCache {
public:
    using Builder = std::function<Outline()>;
    // The outline for key, made by build when it is not kept yet. When build throws, nothing is
    // kept for key.
    const Outline& outlineFor(const OutlineKey& key, const Builder& build);

private:
    static bool samePuzzle(const OutlineKey& a, const OutlineKey& b);
    static int sidesOf(const OutlineKey& key);

    bool m_hasPuzzle = false;
    OutlineKey m_puzzle{};
    std::map<int, Outline> m_outlines; // by sidesOf
};

} // namespace puzzle
