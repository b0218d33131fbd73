// Starts the game: the application, its nine windows, the event loop.
#include <malloc.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "command_line.h"
#include "desktop_session.h"
#include "error_display.h"
#include "program_info.h"
#include "qt_messages.h"
#include "resource_names.h"
#include "resources.h"
#include "termination.h"
#if REVERSI_SELF_UPDATE
#include "update_check.h"
#endif
#include "window_set.h"
#include "working_folder.h"

[[gnu::used]] static constexpr const char* versionRecord = reversi::program::versionRecord;

namespace {

// What to do when the connection to the display breaks: the platform plugin then reports it
// and ends the process at once, without returning to main().
std::function<void()> onDisplayLost;
QtMessageHandler defaultMessageHandler = nullptr;

// Shows the menu's window and waits until it is on screen and painted (a second at most),
// before the start-up work of the windows: the player sees the window at once, and the intro's
// first frame still comes at its first tick.
void showAtOnce(reversi::MainMenu& menu) {
    menu.show();
    QElapsedTimer waited;
    waited.start();
    QTimer wakeUp;  // so that the wait for an event below always ends
    wakeUp.start(20);
    while (!(menu.windowHandle() && menu.windowHandle()->isExposed()) && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The one line the program prints when it has no display to open its windows on.
[[noreturn]] void noDisplay(const QString& detail) {
    std::fprintf(stderr,
                 "reversi: no display: %s; set DISPLAY (X11) or WAYLAND_DISPLAY (Wayland) to a "
                 "running one, or try it without a screen with: xvfb-run reversi\n",
                 qPrintable(detail));
    std::exit(1);
}

// Until the application is up, Qt's messages are held back: when it cannot open a display it
// says so in several lines and then aborts; the program says it in one line and ends instead.
bool startingUp = true;
QString displayToOpen;
struct HeldMessage {
    QtMsgType type;
    QString category;
    QString text;
};
std::vector<HeldMessage> heldMessages;

// Qt's warning that it could not find its Wayland plug-in.
bool isWaylandPluginNotFound(const HeldMessage& held) {
    return held.text.contains(QString(reversi::qtMessages::waylandPluginNotFound) +
                              QLatin1String("wayland\""));
}

// Whether Qt's platform plug-in for Wayland is missing where the program was to use it: Qt said
// it could not find it, or only a Wayland display is named and no plug-in for it is installed.
bool waylandPluginMissing() {
    if (std::any_of(heldMessages.begin(), heldMessages.end(), isWaylandPluginNotFound)) return true;
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

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (startingUp) {
        const bool noPlugin =
            type == QtFatalMsg && message.contains(reversi::qtMessages::noPlatformPlugin);
        if (noPlugin && waylandPluginMissing()) {
            std::fputs(
                "reversi: the Qt platform plug-in \"wayland\" is missing: install "
                "qt6-wayland, or start with QT_QPA_PLATFORM=xcb\n",
                stderr);
            std::exit(1);
        }
        if (noPlugin) {
            noDisplay(QStringLiteral("cannot open the display \"%1\"").arg(displayToOpen));
        }
        if (type != QtFatalMsg) {
            heldMessages.push_back({type, QString::fromLatin1(context.category), message});
            return;
        }
    }
    if (type == QtWarningMsg && onDisplayLost &&
        message.startsWith(reversi::qtMessages::x11ConnectionBroke)) {
        std::fputs("reversi: the connection to the display was lost; the game ends\n", stderr);
        std::exchange(onDisplayLost, nullptr)();
        return;
    }
    defaultMessageHandler(type, context, message);
}

// The application is up: the messages held back are shown after all, but for a missing Wayland
// plug-in where Qt went on with another platform (X11): that fallback is silent.
void endStartUpMessages() {
    startingUp = false;
    for (const HeldMessage& held : std::exchange(heldMessages, {})) {
        if (isWaylandPluginNotFound(held)) continue;
        const QByteArray category = held.category.toLatin1();
        const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
        defaultMessageHandler(held.type, context, held.text);
    }
}

// The display the program is to open: the one Qt's arguments name last (its -display option),
// else the environment's.
QString displayFrom(const QStringList& toolkitArguments) {
    for (qsizetype i = toolkitArguments.size() - 2; i >= 1; --i) {
        if (toolkitArguments[i] == QLatin1String("-display")) return toolkitArguments[i + 1];
    }
    return qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
}

// Whether a display can be expected: a platform chosen for Qt, or an X11 or Wayland display.
bool displayNamed() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !displayToOpen.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace reversi;
    catchTerminationSignals();
    // Large blocks (pictures, canvases) come straight from the system and go back to it when
    // freed, instead of staying in the heap for good once one of that size was freed.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    QApplication::setApplicationName(QString::fromLatin1(program::name));
    QApplication::setApplicationVersion(QString::fromLatin1(program::version));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(program::applicationId));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = readCommandLine(arguments);
    if (!commandLine.play) {
        std::fputs(qPrintable(commandLine.output), commandLine.exitStatus == 0 ? stdout : stderr);
        return commandLine.exitStatus;
    }
    displayToOpen = displayFrom(commandLine.toolkitArguments);
    if (!displayNamed()) noDisplay(QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set"));
    defaultMessageHandler = qInstallMessageHandler(handleMessage);

    // Qt's options in the form it reads; the application keeps the argument vector.
    std::vector<QByteArray> toolkitBytes;
    for (const QString& argument : commandLine.toolkitArguments)
        toolkitBytes.push_back(argument.toLocal8Bit());
    std::vector<char*> toolkitArgv;
    for (QByteArray& argument : toolkitBytes)
        toolkitArgv.push_back(argument.data());
    toolkitArgv.push_back(nullptr);
    int toolkitArgc = static_cast<int>(toolkitBytes.size());
    QApplication app(toolkitArgc, toolkitArgv.data());
    endStartUpMessages();
    // A modal window minimised where nothing offers to restore it comes back on a press.
    watchForBlockedPresses();
    // A folder that cannot be used is reported once the window is open; the game goes on in a
    // temporary folder. Without even that it could only write its files where it was started,
    // among the user's own: it says why and ends.
    const std::optional<QString> folderProblem = enterWorkingFolder();
    if (folderProblem) std::fprintf(stderr, "reversi: %s\n", qPrintable(*folderProblem));
    if (!hasWorkingFolder()) {
        showError(*folderProblem);
        return 1;
    }
    app.setProperty("productVersion", QString::fromLatin1(program::productVersion));
    app.setProperty("description", QString::fromLatin1(program::description));
    quitOnTerminationSignals(&app);
    runHandler([] {
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(
            resourceImage(resources::ResourceType::icon, resources::ResourceName::mainIcon))));
    });

#if REVERSI_SELF_UPDATE
    // The update check outlives the windows: its exit half runs as they are destroyed.
    InterfaceNetworkProbe network;
    ShellScriptStarter starter;
    UpdateCheck update(network, starter,
                       {.downloaderBytes = [] { return resourceBytes("wget", "Downloader"); },
                        .programFile = {},
                        .endProcess = {}});
    // A copy in a temporary folder (another copy keeps its files in its folder) leaves the
    // update to that one: it could never replace the program from there.
    const UpdateHalves updateHalves =
        inTemporaryFolder() ? UpdateHalves{}
                            : UpdateHalves{[&update] { update.checkAtStartUp(); },
                                           [&update](const std::function<void()>& removeFonts) {
                                               update.finishAtExit(removeFonts);
                                           },
                                           [&update] { update.removeLeftovers(); }};
#else
    // This build's updates come from the distribution that packaged it.
    const UpdateHalves updateHalves;
#endif
    int status = 0;
    {
        WindowSet windows(updateHalves, {}, showAtOnce);
        onDisplayLost = [&windows] {
            windows.run().removeFiles();
            leaveWorkingFolder();
        };
        windows.menu().show();
        if (folderProblem) showError(*folderProblem);
        // A request to end that came during start-up ends the program here, like its menu.
        if (!terminationRequested()) status = QApplication::exec();
        // Ended by a signal, the program may have nobody left to close a message box, which
        // would keep it from ending: an error while it closes is printed instead.
        if (terminationRequested()) {
            setErrorPresenter([](const QString& text) {
                std::fprintf(stderr, "reversi: %s\n", qPrintable(text));
            });
        }
        onDisplayLost = nullptr;
    }
    leaveWorkingFolder();
    return status;
}
