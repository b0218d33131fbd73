#pragma once

#include <QMargins>
#include <optional>

namespace reversi {

// What the desktop the program runs on does with its windows.
struct DesktopSession {
    // A window manager frames, places and maximises windows (without one, the program does).
    bool managesWindows = false;
    // Something offers to bring a minimised window back (a task bar), so that a window may open
    // minimised.
    bool restoresMinimised = false;

    // The frame put around a window: the one the window system put around a window of the
    // program's that is shown, or was last seen; before any was, the one the layouts were drawn
    // with, which is at least as large as usual frames.
    QMargins frame() const;
};

// The session, read from the platform once (on X11 from the root window's properties; a
// Wayland compositor always manages windows but never says whether it can restore them).
const DesktopSession& desktopSession();
// Tests set the session their windows meet; nullopt reads the platform again.
void overrideDesktopSession(std::optional<DesktopSession> session);

// Starts watching for presses on the program's windows while a modal window of the program is
// minimised or hidden, where nothing else would bring it back: such a press restores and raises
// the modal window (on X11; elsewhere the platform does not report presses on blocked windows).
void watchForBlockedPresses();

// Restores and raises the application's modal window when it is minimised or hidden; whether
// it was.
bool restoreBlockingModalWindow();

}  // namespace reversi
