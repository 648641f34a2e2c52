#pragma once
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>

namespace gfx {

// The error manager of one libjpeg session. A library error jumps back to the session's
// setjmp with the library's message in `message`; warnings (corrupt or truncated data) are
// recorded, the first one's text kept, so the caller can refuse the result. The library never
// prints and never ends the process. Internal to the raster layer.
struct JpegErrors {
    jpeg_error_mgr mgr{}; // first: the library hands back a pointer to it
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = "";
    bool warned = false;

    // Makes this the manager of the session that will be created with the result.
    jpeg_error_mgr* install();
    // Ends the session from inside a library callback with our own message.
    [[noreturn]] void fail(const char* text);

    static JpegErrors& of(j_common_ptr cinfo) { return *reinterpret_cast<JpegErrors*>(cinfo->err); }
};

} // namespace gfx
