// Decoding a 4000 x 3000 JPEG picture: the player's decoder, which makes a new bitmap for every
// picture, against libjpeg-turbo used directly into one buffer made beforehand.
#include "BenchPicture.h"
#include "Interleave.h"
#include "gfx/JpegDecoder.h"
#include "gfx/JpegEncoder.h"
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

// The least a program can do with libjpeg-turbo to get blue, green, red rows.
void decodeDirectly(const std::vector<std::uint8_t>& file, std::vector<std::uint8_t>& pixels)
{
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = std::size_t(cinfo.output_width) * 3;
    pixels.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

} // namespace

int main(int argc, char** argv)
{
    static const std::vector<std::uint8_t> file = gfx::EncodeJpeg(bench::benchPicture(4000, 3000), 90);
    bench::registerTarget({"jpeg-decode-4000x3000", 0, false}, 15, [](benchmark::State& state) {
        state.counters["file_bytes"] = double(file.size());
        return bench::compare(state, {[](int) { benchmark::DoNotOptimize(gfx::DecodeJpeg(file.data(), file.size())); }},
                              {{[](int) {
                                  static std::vector<std::uint8_t> pixels;
                                  decodeDirectly(file, pixels);
                                  benchmark::DoNotOptimize(pixels.data());
                              }}},
                              1);
    });
    return bench::runBenchmarks(argc, argv);
}
