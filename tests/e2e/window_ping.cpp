// window_ping WINDOW TIMEOUT_MS: asks an X client whether it still answers, as window managers do
// with _NET_WM_PING. The client's event loop sends the ping back to the root window; a client
// that is stuck (an endless loop, a deadlock, a modal loop that no longer runs) never does.
//
// Exit status: 0 answered, 1 no answer within TIMEOUT_MS, 2 the question could not be asked
// (no display, no such window, or a window that does not take pings).
#include <poll.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Reply = std::unique_ptr<void, decltype(&std::free)>;
using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const Reply reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    if (!reply) return XCB_ATOM_NONE;
    return static_cast<xcb_intern_atom_reply_t*>(reply.get())->atom;
}

// Whether the window lists the protocol in WM_PROTOCOLS; false also for a window that is gone.
bool takesProtocol(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t protocols,
                   xcb_atom_t protocol) {
    const auto cookie = xcb_get_property(connection, 0, window, protocols, XCB_ATOM_ATOM, 0, 64);
    const Reply reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    auto* got = static_cast<xcb_get_property_reply_t*>(reply.get());
    if (!got || got->format != 32) return false;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(got));
    const int count = xcb_get_property_value_length(got) / 4;
    for (int i = 0; i < count; ++i) {
        if (values[i] == protocol) return true;
    }
    return false;
}

bool parseNumber(const char* text, unsigned long max, unsigned long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text, &end, 0);
    return errno == 0 && end != text && *end == '\0' && text[0] != '-' && value <= max;
}

}  // namespace

int main(int argc, char** argv) {
    unsigned long windowNumber = 0;
    unsigned long timeoutMs = 0;
    if (argc != 3 || !parseNumber(argv[1], UINT32_MAX, windowNumber) ||
        !parseNumber(argv[2], 600000, timeoutMs)) {
        std::fprintf(stderr, "usage: window_ping WINDOW TIMEOUT_MS\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(windowNumber);
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> owner(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    xcb_connection_t* connection = owner.get();
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "window_ping: cannot open the display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t protocols = atom(connection, "WM_PROTOCOLS");
    const xcb_atom_t ping = atom(connection, "_NET_WM_PING");
    if (!screen || protocols == XCB_ATOM_NONE || ping == XCB_ATOM_NONE ||
        !takesProtocol(connection, window, protocols, ping)) {
        std::fprintf(stderr, "window_ping: window 0x%lx is gone or takes no pings\n", windowNumber);
        return 2;
    }

    // The answer comes as a client message sent to the root window for those that watch its
    // structure; each ping carries a number of its own in place of the time stamp.
    const uint32_t rootEvents[] = {XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, rootEvents);
    const auto stamp = static_cast<uint32_t>(Clock::now().time_since_epoch().count()) | 1u;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols;
    message.data.data32[0] = ping;
    message.data.data32[1] = stamp;
    message.data.data32[2] = window;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    pollfd socket{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const Reply owned(event, &std::free);
            if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) continue;
            const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (answer->type == protocols && answer->data.data32[0] == ping &&
                answer->data.data32[1] == stamp && answer->data.data32[2] == window) {
                return 0;
            }
        }
        if (xcb_connection_has_error(connection)) {
            std::fprintf(stderr, "window_ping: the display connection broke\n");
            return 2;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return 1;
        poll(&socket, 1, static_cast<int>(left));
    }
}
