// Decoding JPEG files through libjpeg-turbo. Library errors come back through a longjmp into
// runDecoder; a warning about corrupt or truncated data stops the decoding at the row where it
// came and makes the whole picture fail, so half a picture is never shown as if it were whole.
#include "gfx/JpegDecoder.h"
#include "gfx/BmpCodec.h" // kMaxPicturePixels
#include "gfx/FileBytes.h"
#include "gfx/GfxError.h"
#include "gfx/JpegErrors.h"
#include <string>

namespace gfx {
namespace {

// Each scan of a progressive file may cost a pass over the whole picture; a hostile file with
// thousands of tiny scans would otherwise hold the program for minutes.
constexpr int kMaxScans = 500;

struct JpegSession {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors;
    jpeg_progress_mgr progress{};

    ~JpegSession() { jpeg_destroy_decompress(&cinfo); } // safe on a session never created
};

void watchScans(j_common_ptr cinfo)
{
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans)
        JpegErrors::of(cinfo).fail("The JPEG file has too many scans");
}

void checkSize(const jpeg_decompress_struct& cinfo)
{
    if ((long long)cinfo.image_width * cinfo.image_height > kMaxPicturePixels)
        throw DecodeError("A picture of " + std::to_string(cinfo.image_width) + " x "
                          + std::to_string(cinfo.image_height) + " pixels is larger than the program can show");
}

bool isInk(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// Converts one row of CMYK samples to blue, green, red. Adobe's files store the inks inverted.
void inkToBgr(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            int paper = inverted ? cmyk[c] : 255 - cmyk[c];
            bgr[2 - c] = std::uint8_t(paper * k / 255);
        }
    }
}

void readRows(jpeg_decompress_struct& cinfo, Bitmap& out)
{
    bool ink = cinfo.out_color_space == JCS_CMYK;
    JSAMPARRAY inkRow = ink ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                         cinfo.output_width * 4, 1)
                            : nullptr;
    while (cinfo.output_scanline < cinfo.output_height) {
        std::uint8_t* dst = out.scanLine(int(cinfo.output_scanline));
        JSAMPROW row = ink ? inkRow[0] : dst;
        JpegErrors& errors = JpegErrors::of(reinterpret_cast<j_common_ptr>(&cinfo));
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1)
            errors.fail("The JPEG data stops early");
        if (errors.warned) // the picture is refused anyway; decoding the rest would only cost time
            return;
        if (ink)
            inkToBgr(row, dst, cinfo.output_width, cinfo.saw_Adobe_marker);
    }
}

// The library's part. False after a library error, whose text is then in s.errors.message.
// Nothing with a destructor may live in this frame: the error's longjmp would skip it.
bool runDecoder(JpegSession& s, const std::uint8_t* data, std::size_t size, Bitmap& out)
{
    if (setjmp(s.errors.jump))
        return false;
    s.cinfo.err = s.errors.install();
    jpeg_create_decompress(&s.cinfo);
    s.progress.progress_monitor = watchScans;
    s.cinfo.progress = &s.progress;
    jpeg_mem_src(&s.cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&s.cinfo, TRUE);
    checkSize(s.cinfo);
    s.cinfo.out_color_space = isInk(s.cinfo.jpeg_color_space) ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&s.cinfo);
    out = Bitmap(int(s.cinfo.output_width), int(s.cinfo.output_height), PixelFormat::Bgr24);
    readRows(s.cinfo, out);
    if (!s.errors.warned)
        jpeg_finish_decompress(&s.cinfo);
    return true;
}

} // namespace

Bitmap DecodeJpeg(const std::uint8_t* data, std::size_t size)
{
    if (!data || size == 0)
        throw DecodeError("The JPEG file is empty");
    JpegSession session;
    Bitmap out;
    if (!runDecoder(session, data, size, out) || session.errors.warned)
        throw DecodeError(session.errors.message);
    return out;
}

Bitmap DecodeJpegFile(const std::string& path)
{
    std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return DecodeJpeg(bytes.data(), bytes.size());
}

} // namespace gfx
