// make-sample: paints the sample puzzle's picture and composes its tune.
//   make-sample PICTURE.jpg TUNE.mid
#include "Landscape.h"
#include "SampleTune.h"
#include "gfx/FileBytes.h"
#include "gfx/JpegEncoder.h"
#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("Usage: make-sample PICTURE.jpg TUNE.mid\n", stderr);
        return 2;
    }
    try {
        gfx::WriteFileBytes(argv[1], gfx::EncodeJpeg(sample::Landscape::Paint(), 92));
        gfx::WriteFileBytes(argv[2], sample::SampleTune::Compose());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
