// Starts the game: the application, its nine windows, the event loop.
#include <QApplication>
#include <QIcon>

#include "error_display.h"
#include "program_info.h"
#include "resource_names.h"
#include "resources.h"
#include "window_set.h"

int main(int argc, char** argv) {
    using namespace reversi;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(program::name));
    QApplication::setApplicationVersion(QString::fromLatin1(program::version));
    runHandler([] {
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(
            resourceImage(resources::ResourceType::icon, resources::ResourceName::mainIcon))));
    });
    int status = 0;
    {
        WindowSet windows(UpdateHalves{});
        windows.menu().show();
        status = QApplication::exec();
    }
    return status;
}
