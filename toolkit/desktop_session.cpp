#include "desktop_session.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "widgets.h"

namespace reversi {
namespace {

std::optional<DesktopSession> overridden;

using Reply = std::unique_ptr<void, decltype(&std::free)>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const auto cookie =
        xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name);
    const Reply reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    if (!reply) return XCB_ATOM_NONE;
    return static_cast<xcb_intern_atom_reply_t*>(reply.get())->atom;
}

std::vector<uint32_t> propertyValues(xcb_connection_t* connection, xcb_window_t window,
                                     xcb_atom_t property) {
    if (property == XCB_ATOM_NONE) return {};
    const auto cookie = xcb_get_property(connection, 0, window, property, XCB_ATOM_ANY, 0, 4096);
    const Reply reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    auto* got = static_cast<xcb_get_property_reply_t*>(reply.get());
    if (!got || got->format != 32) return {};
    const auto count = static_cast<std::size_t>(xcb_get_property_value_length(got) / 4);
    std::vector<uint32_t> values(count);
    if (count > 0) std::memcpy(values.data(), xcb_get_property_value(got), count * 4);
    return values;
}

// Some screen has room taken by a panel (its available area is less than the screen).
bool panelPresent() {
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry() != screen->geometry()) return true;
    }
    return false;
}

DesktopSession readX11Session(xcb_connection_t* connection) {
    DesktopSession session;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return session;
    // A window manager is the client that redirects the root window's children to itself.
    const auto cookie = xcb_get_window_attributes(connection, screen->root);
    const Reply reply(xcb_get_window_attributes_reply(connection, cookie, nullptr), &std::free);
    const auto* attributes = static_cast<xcb_get_window_attributes_reply_t*>(reply.get());
    session.managesWindows =
        attributes && (attributes->all_event_masks & XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT);
    if (!session.managesWindows) return session;
    // A minimised window can come back where the manager knows hidden windows and a panel
    // (usually a task bar) holds part of the screen.
    const xcb_atom_t hidden = atom(connection, "_NET_WM_STATE_HIDDEN");
    bool hiddenSupported = false;
    for (const uint32_t supported :
         propertyValues(connection, screen->root, atom(connection, "_NET_SUPPORTED"))) {
        hiddenSupported = hiddenSupported || (hidden != XCB_ATOM_NONE && supported == hidden);
    }
    session.restoresMinimised = hiddenSupported && panelPresent();
    return session;
}

// The X11 connection, where the program runs on X11.
xcb_connection_t* x11Connection() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

DesktopSession readSession() {
    if (xcb_connection_t* connection = x11Connection()) return readX11Session(connection);
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return {.managesWindows = true, .restoresMinimised = false};
    }
    return {};
}

// Presses and close requests that reach the program's windows on X11 while a modal window
// blocks them.
class BlockedPressWatcher : public QAbstractNativeEventFilter {
  public:
    explicit BlockedPressWatcher(xcb_connection_t* connection)
        : protocols_(atom(connection, "WM_PROTOCOLS")),
          deleteWindow_(atom(connection, "WM_DELETE_WINDOW")),
          inputExtension_(extensionOpcode(connection, "XInputExtension")) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t" || !QApplication::activeModalWidget()) return false;
        if (isPress(message) || isCloseRequest(message)) restoreBlockingModalWindow();
        return false;  // the toolkit still gets the event
    }

  private:
    static uint8_t extensionOpcode(xcb_connection_t* connection, const char* name) {
        const auto cookie =
            xcb_query_extension(connection, static_cast<uint16_t>(std::strlen(name)), name);
        const Reply reply(xcb_query_extension_reply(connection, cookie, nullptr), &std::free);
        const auto* got = static_cast<xcb_query_extension_reply_t*>(reply.get());
        return got && got->present ? got->major_opcode : 0;
    }

    // A mouse button pressed: a core event, or the input extension's (which Qt asks for).
    bool isPress(const void* message) const {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & 0x7f;
        if (kind == XCB_BUTTON_PRESS) return true;
        if (kind != XCB_GE_GENERIC || inputExtension_ == 0) return false;
        constexpr uint16_t inputButtonPress = 4, inputTouchBegin = 18;
        const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
        return generic->extension == inputExtension_ &&
               (generic->event_type == inputButtonPress || generic->event_type == inputTouchBegin);
    }

    bool isCloseRequest(const void* message) const {
        const auto* event = static_cast<const xcb_client_message_event_t*>(message);
        return (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE && event->format == 32 &&
               event->type == protocols_ && event->data.data32[0] == deleteWindow_;
    }

    xcb_atom_t protocols_;
    xcb_atom_t deleteWindow_;
    uint8_t inputExtension_;
};

}  // namespace

QMargins DesktopSession::frame() const {
    if (!managesWindows) return {};
    // The frame of a normal window (a maximised one may have lost its borders): what the window
    // manager reports on X11, the toolkit's own title bar and borders on Wayland.
    static QMargins seen;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || !window->windowHandle() ||
            (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            continue;
        }
        if (const QMargins margins = window->windowHandle()->frameMargins(); !margins.isNull()) {
            seen = margins;
            break;
        }
    }
    if (!seen.isNull()) return seen;
    return {windowFrame::side, windowFrame::top, windowFrame::side, windowFrame::side};
}

const DesktopSession& desktopSession() {
    static DesktopSession read;
    static bool known = false;
    if (overridden) return *overridden;
    if (!known) {
        read = readSession();
        known = true;
    }
    return read;
}

void overrideDesktopSession(std::optional<DesktopSession> session) {
    overridden = session;
}

bool restoreBlockingModalWindow() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || (modal->isVisible() && !modal->isMinimized())) return false;
    modal->setWindowState(modal->windowState() & ~Qt::WindowMinimized);
    modal->show();
    modal->raise();
    modal->activateWindow();
    return true;
}

void watchForBlockedPresses() {
    static std::unique_ptr<BlockedPressWatcher> watcher;
    xcb_connection_t* connection = x11Connection();
    if (watcher || !connection) return;
    watcher = std::make_unique<BlockedPressWatcher>(connection);
    qGuiApp->installNativeEventFilter(watcher.get());
}

}  // namespace reversi
