#include "gfx/JpegEncoder.h"
#include "gfx/JpegErrors.h"
#include "gfx/Raster.h"
#include <cstdlib>
#include <stdexcept>

namespace gfx {
namespace {

struct JpegWriter {
    jpeg_compress_struct cinfo{};
    JpegErrors errors;
    unsigned char* buffer = nullptr; // the library's output, freed with std::free
    unsigned long size = 0;
    std::vector<JSAMPLE> row;

    ~JpegWriter()
    {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
    }
};

bool isInk(JpegColors c) { return c == JpegColors::Cmyk || c == JpegColors::Ycck; }

// One picture row as the samples the chosen colour model takes in.
const JSAMPLE* samplesOf(const Bitmap& bgr, int y, JpegColors colors, std::vector<JSAMPLE>& row)
{
    const std::uint8_t* p = bgr.scanLine(y);
    if (!isInk(colors))
        return p;
    for (int x = 0; x < bgr.width(); ++x, p += 3) {
        // Inverted inks with no black: the stored cyan is the red level, and so on.
        row[4 * x] = p[2];
        row[4 * x + 1] = p[1];
        row[4 * x + 2] = p[0];
        row[4 * x + 3] = 255;
    }
    return row.data();
}

void configure(jpeg_compress_struct& cinfo, const Bitmap& bgr, const JpegOptions& options)
{
    cinfo.image_width = JDIMENSION(bgr.width());
    cinfo.image_height = JDIMENSION(bgr.height());
    bool ink = isInk(options.colors);
    cinfo.input_components = ink ? 4 : 3;
    cinfo.in_color_space = ink ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    switch (options.colors) {
    case JpegColors::YCbCr: break;
    case JpegColors::Gray: jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE); break;
    case JpegColors::Cmyk: jpeg_set_colorspace(&cinfo, JCS_CMYK); break;
    case JpegColors::Ycck: jpeg_set_colorspace(&cinfo, JCS_YCCK); break;
    }
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (options.progressive)
        jpeg_simple_progression(&cinfo);
}

// The library's part; false after a library error. Nothing with a destructor lives here.
bool runEncoder(JpegWriter& w, const Bitmap& bgr, const JpegOptions& options)
{
    if (setjmp(w.errors.jump))
        return false;
    w.cinfo.err = w.errors.install();
    jpeg_create_compress(&w.cinfo);
    jpeg_mem_dest(&w.cinfo, &w.buffer, &w.size);
    configure(w.cinfo, bgr, options);
    jpeg_start_compress(&w.cinfo, TRUE);
    while (w.cinfo.next_scanline < w.cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(samplesOf(bgr, int(w.cinfo.next_scanline), options.colors, w.row));
        jpeg_write_scanlines(&w.cinfo, &row, 1);
    }
    jpeg_finish_compress(&w.cinfo);
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodeJpeg(const Bitmap& picture, const JpegOptions& options)
{
    if (picture.isNull())
        throw std::invalid_argument("An empty bitmap cannot be written as a JPEG file");
    Bitmap bgr(picture.width(), picture.height(), PixelFormat::Bgr24);
    bitBlt(bgr, 0, 0, bgr.width(), bgr.height(), picture, 0, 0, Rop::Copy);
    JpegWriter writer;
    writer.row.resize(std::size_t(bgr.width()) * 4);
    if (!runEncoder(writer, bgr, options))
        throw std::runtime_error(std::string("JPEG encoding failed: ") + writer.errors.message);
    return {writer.buffer, writer.buffer + writer.size};
}

std::vector<std::uint8_t> EncodeJpeg(const Bitmap& bgr24, int quality)
{
    return EncodeJpeg(bgr24, JpegOptions{.quality = quality});
}

} // namespace gfx
