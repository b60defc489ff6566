#include "qt/ui/FrameExtents.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

namespace ui {
namespace {

// How long a window manager may take to answer a frame request; openbox answers within a millisecond.
constexpr int kAnswerTimeoutMs = 500;
// Between two looks at the answer: each look is one round trip to the server.
constexpr unsigned long kPollMicroseconds = 250;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

struct Atoms {
    xcb_atom_t supportingWmCheck = XCB_ATOM_NONE;
    xcb_atom_t supported = XCB_ATOM_NONE;
    xcb_atom_t requestFrameExtents = XCB_ATOM_NONE;
    xcb_atom_t frameExtents = XCB_ATOM_NONE;
};

// All four asked for at once: one round trip instead of four.
Atoms internAtoms(xcb_connection_t* c) {
    const char* names[] = {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_REQUEST_FRAME_EXTENTS",
                           "_NET_FRAME_EXTENTS"};
    xcb_intern_atom_cookie_t cookies[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i)
        cookies[i] = xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    xcb_atom_t atoms[std::size(names)];
    for (std::size_t i = 0; i < std::size(names); ++i) {
        const Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, cookies[i], nullptr));
        atoms[i] = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }
    return {atoms[0], atoms[1], atoms[2], atoms[3]};
}

std::vector<uint32_t> cardinals(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property, xcb_atom_t type) {
    const Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 1024), nullptr));
    if (!r || r->format != 32 || r->type != type) return {};
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    return {data, data + xcb_get_property_value_length(r.get()) / 4};
}

// A window manager that follows the extended hints and will answer _NET_REQUEST_FRAME_EXTENTS.
bool managerAnswersFrameRequests(xcb_connection_t* c, xcb_window_t root, const Atoms& atoms) {
    const std::vector<uint32_t> check = cardinals(c, root, atoms.supportingWmCheck, XCB_ATOM_WINDOW);
    if (check.empty()) return false;
    const std::vector<uint32_t> supported = cardinals(c, root, atoms.supported, XCB_ATOM_ATOM);
    return std::find(supported.begin(), supported.end(), atoms.requestFrameExtents) != supported.end();
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

xcb_connection_t* x11Connection() {
    // Only the X11 platform has a window manager to ask (offscreen may offer an X11 interface too).
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// Sends _NET_REQUEST_FRAME_EXTENTS; nothing when no window manager would answer.
std::optional<Asked> askFrameExtents(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c) return std::nullopt;
    const auto w = static_cast<xcb_window_t>(window->winId());
    // Sent before the atoms are asked for, so that both answers come back in one round trip.
    const xcb_get_geometry_cookie_t asked = xcb_get_geometry(c, w);
    const Atoms atoms = internAtoms(c);
    const Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, asked, nullptr));
    if (!geometry || !managerAnswersFrameRequests(c, geometry->root, atoms)) return std::nullopt;

    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = w;
    request.type = atoms.requestFrameExtents;
    xcb_send_event(c, 0, geometry->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(c);
    return Asked{c, w, atoms.frameExtents};
}

// The request sent ahead by requestFrameExtents. Asking again would only delay the map: the window
// manager answers each request in turn, the map request after them.
std::optional<Asked> pending;

}  // namespace

void requestFrameExtents(QWidget* window) {
    pending = askFrameExtents(window);
}

QMargins frameExtentsBeforeMapping(QWidget* window) {
    std::optional<Asked> asked;
    if (pending && pending->c == x11Connection() && pending->w == static_cast<xcb_window_t>(window->winId()))
        asked = pending;
    else
        asked = askFrameExtents(window);
    pending.reset();
    if (!asked) return {};
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kAnswerTimeoutMs) {
        if (const std::optional<QMargins> m = extents(asked->c, asked->w, asked->frameExtents)) return *m;
        QThread::usleep(kPollMicroseconds);
    }
    return {};
}

}  // namespace ui
