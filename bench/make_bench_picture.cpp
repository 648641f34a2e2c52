// Writes the generated benchmark picture of a given size as a JPEG file, for the puzzle that the
// first-frame target starts: make_bench_picture <width> <height> <file>.
#include "BenchPicture.h"
#include "gfx/JpegEncoder.h"
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_bench_picture <width> <height> <file>\n");
        return 2;
    }
    const std::vector<std::uint8_t> jpeg =
        gfx::EncodeJpeg(bench::benchPicture(std::atoi(argv[1]), std::atoi(argv[2])), 90);
    std::FILE* f = std::fopen(argv[3], "wb");
    if (!f || std::fwrite(jpeg.data(), 1, jpeg.size(), f) != jpeg.size() || std::fclose(f) != 0) {
        std::perror(argv[3]);
        return 1;
    }
    return 0;
}
