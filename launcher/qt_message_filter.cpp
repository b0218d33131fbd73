#include "qt_message_filter.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "qt_messages.h"

namespace reversi {

QtMessageFilter* QtMessageFilter::installed_ = nullptr;

void exitForLackOfDisplay(const QString& detail) {
    std::fprintf(stderr,
                 "reversi: no display: %s; set DISPLAY (X11) or WAYLAND_DISPLAY (Wayland) to a "
                 "running one, or try it without a screen with: xvfb-run reversi\n",
                 qPrintable(detail));
    std::exit(1);
}

QtMessageFilter::QtMessageFilter(QString display) : display_(std::move(display)) {
    Q_ASSERT(!installed_);
    installed_ = this;
    previousHandler_ = qInstallMessageHandler(handle);
}

QtMessageFilter::~QtMessageFilter() {
    qInstallMessageHandler(previousHandler_);
    installed_ = nullptr;
}

void QtMessageFilter::applicationStarted() {
    startingUp_ = false;
    for (const HeldMessage& held : std::exchange(heldMessages_, {})) {
        if (isWaylandPluginNotFound(held)) continue;
        const QByteArray category = held.category.toLatin1();
        const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
        previousHandler_(held.type, context, held.text);
    }
}

void QtMessageFilter::setDisplayLostAction(std::function<void()> action) {
    displayLost_ = std::move(action);
}

void QtMessageFilter::handle(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    QtMessageFilter& filter = *installed_;
    if (filter.startingUp_) {
        filter.handleStartingUp(type, context, message);
        return;
    }
    if (type == QtWarningMsg && filter.displayLost_ &&
        message.startsWith(qtMessages::x11ConnectionBroke)) {
        std::fputs("reversi: the connection to the display was lost; the game ends\n", stderr);
        std::exchange(filter.displayLost_, nullptr)();
        return;
    }
    filter.previousHandler_(type, context, message);
}

void QtMessageFilter::handleStartingUp(QtMsgType type, const QMessageLogContext& context,
                                       const QString& message) {
    if (type != QtFatalMsg) {
        heldMessages_.push_back({type, QString::fromLatin1(context.category), message});
        return;
    }
    if (message.contains(qtMessages::noPlatformPlugin)) {
        if (waylandPluginMissing()) {
            std::fputs(
                "reversi: the Qt platform plug-in \"wayland\" is missing: install "
                "qt6-wayland, or start with QT_QPA_PLATFORM=xcb\n",
                stderr);
            std::exit(1);
        }
        exitForLackOfDisplay(QStringLiteral("cannot open the display \"%1\"").arg(display_));
    }
    previousHandler_(type, context, message);
}

bool QtMessageFilter::isWaylandPluginNotFound(const HeldMessage& held) {
    return held.text.contains(QString(qtMessages::waylandPluginNotFound) +
                              QLatin1String("wayland\""));
}

// Whether Qt's platform plug-in for Wayland is missing where the program was to use it: Qt said
// it could not find it, or only a Wayland display is named and no plug-in for it is installed.
bool QtMessageFilter::waylandPluginMissing() const {
    if (std::any_of(heldMessages_.begin(), heldMessages_.end(), isWaylandPluginNotFound))
        return true;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || !qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    for (const QString& folder : QCoreApplication::libraryPaths()) {
        if (!QDir(folder + QStringLiteral("/platforms"))
                 .entryList({QStringLiteral("libqwayland*")}, QDir::Files)
                 .isEmpty()) {
            return false;
        }
    }
    return true;
}

}  // namespace reversi
