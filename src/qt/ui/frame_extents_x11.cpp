#include "qt/ui/FrameExtents.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace ui {
namespace {

// How long a window manager may take to answer a frame request; openbox answers within a millisecond.
constexpr int kAnswerTimeoutMs = 500;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::vector<uint32_t> cardinals(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    const Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 1024), nullptr));
    if (!r || r->format != 32 || r->type != type) return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    return {data, data + xcb_get_property_value_length(r.get()) / 4};
}

// A window manager that follows the extended hints and will answer _NET_REQUEST_FRAME_EXTENTS.
bool managerAnswersFrameRequests(xcb_connection_t* c, xcb_window_t root) {
    const std::vector<uint32_t> check =
        cardinals(c, root, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.empty()) return false;
    const std::vector<uint32_t> supported = cardinals(c, root, atom(c, "_NET_SUPPORTED"), XCB_ATOM_ATOM);
    const xcb_atom_t wanted = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    for (const uint32_t a : supported)
        if (a == wanted) return true;
    return false;
}

std::optional<QMargins> extents(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property) {
    const std::vector<uint32_t> v = cardinals(c, w, property, XCB_ATOM_CARDINAL);
    if (v.size() != 4) return std::nullopt;
    // _NET_FRAME_EXTENTS is left, right, top, bottom.
    return QMargins(static_cast<int>(v[0]), static_cast<int>(v[2]), static_cast<int>(v[1]),
                    static_cast<int>(v[3]));
}

struct Asked {
    xcb_connection_t* c = nullptr;
    xcb_window_t w = 0;
    xcb_atom_t frameExtents = XCB_ATOM_NONE;
};

// Sends _NET_REQUEST_FRAME_EXTENTS; nothing when no window manager would answer.
std::optional<Asked> askFrameExtents(QWidget* window) {
    // Only the X11 platform has a window manager to ask (offscreen may offer an X11 interface too).
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return std::nullopt;
    const auto w = static_cast<xcb_window_t>(window->winId());
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr));
    if (!geometry || !managerAnswersFrameRequests(c, geometry->root)) return std::nullopt;

    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = w;
    request.type = atom(c, "_NET_REQUEST_FRAME_EXTENTS");
    xcb_send_event(c, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    return Asked{c, w, atom(c, "_NET_FRAME_EXTENTS")};
}

}  // namespace

void requestFrameExtents(QWidget* window) {
    askFrameExtents(window);
}

QMargins frameExtentsBeforeMapping(QWidget* window) {
    const std::optional<Asked> asked = askFrameExtents(window);
    if (!asked) return {};
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kAnswerTimeoutMs) {
        if (const std::optional<QMargins> m = extents(asked->c, asked->w, asked->frameExtents)) return *m;
        QThread::msleep(2);
    }
    return {};
}

}  // namespace ui
