#include "app/PointerConfiner.h"
#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>
#include <cmath>

#ifdef TOVANTA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace app {

namespace {

#ifdef TOVANTA_HAVE_XCB
xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}
#endif

} // namespace

PointerConfiner::PointerConfiner(QWidget& area)
    : m_area(area)
{
}

PointerConfiner::~PointerConfiner() { Release(); }

void PointerConfiner::Confine(const QRect& rect)
{
    Release();
    if (rect.isEmpty())
        return;
    m_rect = rect;
    GrabNative(rect);
}

void PointerConfiner::Release()
{
    ReleaseNative();
    m_rect.reset();
}

QPoint PointerConfiner::Clamp(QPoint point)
{
    if (!m_rect)
        return point;
    QPoint clamped(std::clamp(point.x(), m_rect->left(), m_rect->right()),
                   std::clamp(point.y(), m_rect->top(), m_rect->bottom()));
    if (clamped != point && !Native())
        QCursor::setPos(m_area.mapToGlobal(clamped));
    return clamped;
}

#ifdef TOVANTA_HAVE_XCB

bool PointerConfiner::GrabNative(const QRect& rect)
{
    xcb_connection_t* c = x11Connection();
    QWidget* top = m_area.window();
    if (!c || !top || !top->windowHandle())
        return false;
    xcb_window_t parent = xcb_window_t(top->winId());
    qreal ratio = m_area.devicePixelRatioF();
    QPoint origin = m_area.mapTo(top, rect.topLeft());
    auto px = [ratio](int v) { return int(std::lround(v * ratio)); };

    // An input-only child selects no events, so pointer events still reach the window under it.
    xcb_window_t box = xcb_generate_id(c);
    xcb_create_window(c, 0, box, parent, px(origin.x()), px(origin.y()), std::max(1, px(rect.width())),
                      std::max(1, px(rect.height())), 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0,
                      nullptr);
    xcb_map_window(c, box);
    const uint16_t mask = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
    auto cookie = xcb_grab_pointer(c, 1, parent, mask, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, box, XCB_NONE,
                                   XCB_CURRENT_TIME);
    xcb_grab_pointer_reply_t* reply = xcb_grab_pointer_reply(c, cookie, nullptr);
    bool grabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    free(reply);
    if (!grabbed) {
        xcb_destroy_window(c, box);
        xcb_flush(c);
        return false;
    }
    m_native = box;
    xcb_flush(c);
    return true;
}

void PointerConfiner::ReleaseNative()
{
    if (!m_native)
        return;
    if (xcb_connection_t* c = x11Connection()) {
        xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
        xcb_destroy_window(c, xcb_window_t(m_native));
        xcb_flush(c);
    }
    m_native = 0;
}

#else

bool PointerConfiner::GrabNative(const QRect&) { return false; }
void PointerConfiner::ReleaseNative() {}

#endif

} // namespace app
