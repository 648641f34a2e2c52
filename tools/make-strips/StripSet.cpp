#include "StripSet.h"
#include "KnobShape.h"
#include "SocketShape.h"
#include "StripShading.h"

std::vector<Strip> MakeStrips(const StripLevel& level)
{
    SideShape knob = KnobShape(level);
    SideShape socket = SocketShape(knob);
    std::vector<Strip> strips;
    for (const StripKind& kind : kStripKinds) {
        const SideShape& shape = kind.knob ? knob : socket;
        strips.push_back({kind, OutlineStrip(shape, kind.side), ShadingStrip(shape, kind.side, kind.knob)});
    }
    return strips;
}
