#pragma once
#include <algorithm>
#include <vector>

// One side's strip seen along its side: position p from the side's top (or left) end,
// 0 .. length - 1, and depth d from the body, 0 .. depth - 1. True marks a pixel that belongs
// to the piece. Every one of the eight strips of a level is a knob or a socket shape laid
// along its side, so the shapes are drawn once in this frame.
class SideShape {
public:
    SideShape(int length, int depth)
        : m_length(length)
        , m_depth(depth)
        , m_inside(std::size_t(length) * depth, false)
    {
    }

    int length() const { return m_length; }
    int depth() const { return m_depth; }
    bool contains(int p, int d) const { return p >= 0 && p < m_length && d >= 0 && d < m_depth; }
    bool at(int p, int d) const { return contains(p, d) && m_inside[std::size_t(p) * m_depth + d]; }
    void set(int p, int d, bool inside) { m_inside[std::size_t(p) * m_depth + d] = inside; }

    // How far p lies from the nearer end of the side; below depth() it is a corner square's row.
    int fromEnd(int p) const { return std::min(p, m_length - 1 - p); }
    bool inCorner(int p) const { return fromEnd(p) < m_depth; }

    // A corner square is split by its two diagonals into four triangles, one for each of the
    // four edges that meet in it. Along corner row p, the triangle of this side's edge covers
    // the depths edgeFirst(p) .. edgeLast(p) (none when first > last); the two pieces of the
    // edge share it. The triangle on the body side of it, the diagonal between them included,
    // belongs to the piece's other side.
    int edgeFirst(int p) const { return m_depth - 1 - fromEnd(p); }
    int edgeLast(int p) const { return fromEnd(p); }
    bool inEdgeTriangle(int p, int d) const { return d >= edgeFirst(p) && d <= edgeLast(p); }
    bool inBodySideTriangle(int p, int d) const
    {
        return inCorner(p) && d >= 0 && d <= edgeFirst(p) && d <= edgeLast(p);
    }

    // The same band seen from the neighbour across the edge: depth runs the other way.
    SideShape mirroredDepth() const
    {
        SideShape m(m_length, m_depth);
        for (int p = 0; p < m_length; ++p)
            for (int d = 0; d < m_depth; ++d)
                m.set(p, d, at(p, m_depth - 1 - d));
        return m;
    }

    // The end-to-end mirror image: p runs from the other end.
    SideShape mirroredAlong() const
    {
        SideShape m(m_length, m_depth);
        for (int p = 0; p < m_length; ++p)
            for (int d = 0; d < m_depth; ++d)
                m.set(p, d, at(m_length - 1 - p, d));
        return m;
    }

private:
    int m_length;
    int m_depth;
    std::vector<bool> m_inside;
};
