#include "gfx/JpegErrors.h"
#include <cstring>

namespace gfx {
namespace {

void errorExit(j_common_ptr cinfo)
{
    JpegErrors& errors = JpegErrors::of(cinfo);
    (*cinfo->err->format_message)(cinfo, errors.message);
    std::longjmp(errors.jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0) // trace output
        return;
    JpegErrors& errors = JpegErrors::of(cinfo);
    if (!errors.warned)
        (*cinfo->err->format_message)(cinfo, errors.message);
    errors.warned = true;
    ++cinfo->err->num_warnings;
}

void outputMessage(j_common_ptr) {}

} // namespace

jpeg_error_mgr* JpegErrors::install()
{
    jpeg_std_error(&mgr);
    mgr.error_exit = errorExit;
    mgr.emit_message = emitMessage;
    mgr.output_message = outputMessage;
    return &mgr;
}

void JpegErrors::fail(const char* text)
{
    std::strncpy(message, text, sizeof message - 1);
    message[sizeof message - 1] = '\0';
    std::longjmp(jump, 1);
}

} // namespace gfx
