#pragma once

#include <QLatin1StringView>

namespace reversi::qtMessages {

// Parts of Qt's own messages that the program recognises, kept here so that a test can check
// them against the installed Qt libraries: the texts are Qt's, not an interface it promises.

// In the fatal message when no platform plug-in could be started (libQt6Gui).
inline constexpr QLatin1StringView noPlatformPlugin("platform plugin");
// In the warning when the Wayland plug-in is not installed (libQt6Gui).
inline constexpr QLatin1StringView waylandPluginNotFound("find the Qt platform plugin \"");
// The warning when the X11 connection is lost (the X11 platform plug-in, libQt6XcbQpa).
inline constexpr QLatin1StringView x11ConnectionBroke("The X11 connection broke");

}  // namespace reversi::qtMessages
