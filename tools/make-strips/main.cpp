// make-strips: computes the outline and shading strips of the four levels and writes them as
// BMP files (outline strips 1-bit black and white, shading strips 4-bit with the standard
// 16-colour palette), so that a person can open and redraw them in any paint program.
//
//   make-strips <folder> [--preview <file.bmp>]
#include "StripPreview.h"
#include "StripSet.h"
#include "gfx/BmpCodec.h"
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int kPreviewZoom = 4;

int usage()
{
    std::fprintf(stderr, "usage: make-strips <folder> [--preview <file.bmp>]\n");
    return 2;
}

std::string numbered(const std::string& folder, int number) { return folder + "/" + std::to_string(number) + ".bmp"; }

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 4 && std::string(argv[2]) == "--preview"))
        return usage();
    try {
        std::string folder = argv[1];
        std::vector<std::vector<Strip>> levels;
        for (const StripLevel& level : kStripLevels) {
            levels.push_back(MakeStrips(level));
            for (const Strip& strip : levels.back()) {
                gfx::WriteBmpFile(strip.outline, numbered(folder, puzzle::OutlineStripNumber(level.number, strip.kind.offset)));
                gfx::WriteBmpFile(strip.shading, numbered(folder, puzzle::ShadingStripNumber(level.number, strip.kind.offset)));
            }
        }
        if (argc == 4)
            gfx::WriteBmpFile(StripPreview(levels, kPreviewZoom), argv[3]);
        std::printf("make-strips: wrote %zu strips to %s\n", 2 * levels.size() * levels.front().size(), folder.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-strips: %s\n", e.what());
        return 1;
    }
}
