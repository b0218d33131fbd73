// Starts the game: the application, its nine windows, the event loop.
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <vector>

#include "command_line.h"
#include "desktop_session.h"
#include "error_display.h"
#include "program_info.h"
#include "qt_message_filter.h"
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

// The display the program is to open: the one Qt's arguments name last (its -display option),
// else the environment's.
QString displayFrom(const QStringList& toolkitArguments) {
    for (qsizetype i = toolkitArguments.size() - 2; i >= 1; --i) {
        if (toolkitArguments[i] == QLatin1String("-display")) return toolkitArguments[i + 1];
    }
    return qEnvironmentVariable("WAYLAND_DISPLAY", qEnvironmentVariable("DISPLAY"));
}

// Whether a display can be expected: a platform chosen for Qt, or an X11 or Wayland display.
bool displayNamed(const QString& display) {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !display.isEmpty();
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
    const QString display = displayFrom(commandLine.toolkitArguments);
    if (!displayNamed(display))
        exitForLackOfDisplay(QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set"));
    QtMessageFilter messages(display);

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
    messages.applicationStarted();
    // A modal window minimised where nothing offers to restore it comes back on a press.
    watchForBlockedPresses();
    // A folder that cannot be used is reported once the window is open; the game goes on in a
    // temporary folder. Without even that it could only write its files where it was started,
    // among the user's own: it says why and ends.
    WorkingFolder folder;
    const std::optional<QString>& folderProblem = folder.problem();
    if (folderProblem) std::fprintf(stderr, "reversi: %s\n", qPrintable(*folderProblem));
    if (!folder.usable()) {
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
        folder.isTemporary() ? UpdateHalves{}
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
        messages.setDisplayLostAction([&windows, &folder] {
            windows.run().removeFiles();
            folder.leave();
        });
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
        messages.setDisplayLostAction(nullptr);
    }
    return status;
}
