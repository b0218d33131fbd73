// The main of the widget tests: a QApplication on the offscreen platform around GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryFile>

int main(int argc, char** argv) {
    // The primary screen, 2048 by 1440 pixels: every window's layout fits on it, at a scale
    // factor of 2 too, so the windows are laid out as they are drawn. Right of it a small one,
    // for the windows that must fit where they do not, and a sharp one with two device pixels
    // to a logical one. The platform reads the file when the application starts.
    QTemporaryFile screens;
    if (!screens.open()) return 1;
    screens.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 2048,
                      "height": 1440, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                                 {"name": "small", "x": 2048, "y": 0, "width": 1024,
                      "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},
                                 {"name": "sharp", "x": 3072, "y": 0, "width": 2048,
                      "height": 1440, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 2}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
