// The parts of Qt's messages the program recognises are still in the Qt it runs with: a Qt
// upgrade that rewords them fails here, not silently in the field.
#include <gtest/gtest.h>

#include <QFile>
#include <QLibraryInfo>

#include "qt_messages.h"

namespace reversi {
namespace {

TEST(QtMessages, TheTextsTheProgramRecognisesAreInTheInstalledQt) {
    const QString libraries = QLibraryInfo::path(QLibraryInfo::LibrariesPath);
    const struct {
        const char* library;
        QLatin1StringView text;
    } cases[] = {{"libQt6Gui.so.6", qtMessages::noPlatformPlugin},
                 {"libQt6Gui.so.6", qtMessages::waylandPluginNotFound},
                 {"libQt6XcbQpa.so.6", qtMessages::x11ConnectionBroke}};
    for (const auto& c : cases) {
        QFile library(libraries + QLatin1Char('/') + QLatin1String(c.library));
        ASSERT_TRUE(library.open(QIODevice::ReadOnly)) << library.fileName().toStdString();
        EXPECT_TRUE(library.readAll().contains(QByteArrayView(c.text.data(), c.text.size())))
            << c.library << ": " << c.text.data();
    }
}

}  // namespace
}  // namespace reversi
