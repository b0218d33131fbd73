// Starts the game.
#include <QApplication>
#include <QFile>

#include "match_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reversi"));
    QFile handoff(QStringLiteral("0.db"));
    if (handoff.open(QIODevice::WriteOnly | QIODevice::Truncate)) handoff.write("300\r\n");
    handoff.close();
    reversi::MatchWindow window(reversi::themeFor(reversi::MatchKind::twoPlayer, 1));
    window.showModal();
    return 0;
}
