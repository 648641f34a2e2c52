#include "support/UrlRecorder.h"
#include <QDesktopServices>

namespace app_testing {

UrlRecorder::UrlRecorder()
{
    for (const char* scheme : {"http", "https"})
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

UrlRecorder::~UrlRecorder()
{
    for (const char* scheme : {"http", "https"})
        QDesktopServices::unsetUrlHandler(scheme);
}

} // namespace app_testing
