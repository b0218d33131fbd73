// Starts the game: the application, its nine windows, the event loop.
#include <QApplication>
#include <QIcon>

#include "error_display.h"
#include "program_info.h"
#include "resource_names.h"
#include "resources.h"
#include "termination.h"
#include "update_check.h"
#include "window_set.h"

[[gnu::used]] static constexpr const char* versionRecord = reversi::program::versionRecord;

int main(int argc, char** argv) {
    using namespace reversi;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(program::name));
    QApplication::setApplicationVersion(QString::fromLatin1(program::version));
    app.setProperty("productVersion", QString::fromLatin1(program::productVersion));
    app.setProperty("description", QString::fromLatin1(program::description));
    runHandler([] {
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(
            resourceImage(resources::ResourceType::icon, resources::ResourceName::mainIcon))));
    });

    // The update check outlives the windows: its exit half runs when the menu is destroyed.
    InterfaceNetworkProbe network;
    ShellScriptStarter starter;
    UpdateCheck update(network, starter,
                       {.downloaderBytes = [] { return resourceBytes("wget", "Downloader"); },
                        .executablePath = {},
                        .endProcess = {}});
    int status = 0;
    {
        WindowSet windows(UpdateHalves{[&update] { update.checkAtStartUp(); },
                                       [&update](const std::function<void()>& removeFonts) {
                                           update.finishAtExit(removeFonts);
                                       }});
        quitOnTerminationSignals(&app);
        windows.menu().show();
        status = QApplication::exec();
    }
    return status;
}
