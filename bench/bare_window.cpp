// The toolkit's floor: a bare Qt window of the menu's size and title, to hold the game's
// start-up time and memory against.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Welcome!"));
    window.resize(765, 613);
    window.show();
    return QApplication::exec();
}
