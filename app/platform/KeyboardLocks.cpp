#include "app/platform/KeyboardLocks.h"

#ifdef KORVANE_WITH_XKB
#include <xcb/xcb.h>
// The XKB header names a field "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Own(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

// The application's own X connection; none on other platforms.
xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// XKB requests are refused until the client has asked for the extension once.
bool XkbReady(xcb_connection_t* c) {
    static xcb_connection_t* ready = nullptr;
    if (c == ready) return true;
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_xkb_id);
    if (!ext || !ext->present) return false;
    auto reply = Own(xcb_xkb_use_extension_reply(
        c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr));
    if (!reply || !reply->supported) return false;
    ready = c;
    return true;
}

// The lights are found by their standard names, whatever their position on a given keyboard.
std::optional<bool> Indicator(const char* name, xcb_atom_t& atom) {
    xcb_connection_t* c = Connection();
    if (!c || !XkbReady(c)) return std::nullopt;
    if (atom == XCB_ATOM_NONE) {
        auto interned = Own(xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
        if (!interned || interned->atom == XCB_ATOM_NONE) return std::nullopt;
        atom = interned->atom;
    }
    auto reply = Own(xcb_xkb_get_named_indicator_reply(
        c,
        xcb_xkb_get_named_indicator(c, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_LED_CLASS_DFLT_XI_CLASS,
                                    XCB_XKB_ID_DFLT_XI_ID, atom),
        nullptr));
    if (!reply || !reply->found) return std::nullopt;
    return reply->on != 0;
}
}  // namespace

std::optional<bool> KeyboardLocks::CapsLock() {
    static xcb_atom_t atom = XCB_ATOM_NONE;
    return Indicator("Caps Lock", atom);
}

std::optional<bool> KeyboardLocks::NumLock() {
    static xcb_atom_t atom = XCB_ATOM_NONE;
    return Indicator("Num Lock", atom);
}

std::optional<bool> KeyboardLocks::ScrollLock() {
    static xcb_atom_t atom = XCB_ATOM_NONE;
    return Indicator("Scroll Lock", atom);
}

#else  // built without XKB: no platform can report the locks

std::optional<bool> KeyboardLocks::CapsLock() {
    return std::nullopt;
}
std::optional<bool> KeyboardLocks::NumLock() {
    return std::nullopt;
}
std::optional<bool> KeyboardLocks::ScrollLock() {
    return std::nullopt;
}

#endif
