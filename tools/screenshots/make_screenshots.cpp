// Renders the screenshots of the store listing offscreen: the main menu and a two-player game in
// progress, each window drawn at twice its size and set on a plain backdrop, at the sizes the
// software stores take (16:9, 1920x1080 and 1280x720). The metainfo names the 1920x1080 ones
// under the project's screenshot address; a publisher uploads the files this program writes.
//   reversi-screenshots OUTDIR
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

#include "intro_animation.h"
#include "match_window.h"
#include "rules.h"
#include "window_set.h"

namespace {

using namespace reversi;

constexpr QSize screenshotSizes[] = {{1920, 1080}, {1280, 720}};
const QColor backdrop(48, 48, 48);

// The window's picture in device pixels, at most nine tenths of `size` and centred on it.
QImage onBackdrop(const QImage& window, QSize size) {
    QImage canvas(size, QImage::Format_RGB32);
    canvas.fill(backdrop);
    const QImage fitted = window.scaled(size * 0.9, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&canvas);
    painter.drawImage((size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2,
                      fitted);
    return canvas;
}

QImage picture(QWidget& window) {
    window.show();
    QApplication::processEvents();
    QImage image = window.grab().toImage();
    image.setDevicePixelRatio(1);
    return image;
}

// The menu after its intro, as the player first sees it.
QImage menuPicture(MainMenu& menu) {
    auto* intro = dynamic_cast<IntroAnimation*>(menu.findChild<QWidget*>(QStringLiteral("intro")));
    if (!intro) return {};
    for (int tick = 0; tick < 20 && intro->isRunning(); ++tick)
        intro->tick();
    return picture(menu);
}

// A two-player game of the first theme, ten moves in: each side plays one of its moves, chosen
// by a fixed rule so that every run shows the same position.
QImage gamePicture(MatchWindow& window) {
    window.setGrowStep(std::chrono::nanoseconds(0));
    window.show();
    QFile handoff(QStringLiteral("0.db"));
    if (!handoff.open(QIODevice::WriteOnly) || handoff.write("300\r\n") != 5) return {};
    handoff.close();
    auto* play = window.findChild<QPushButton*>(QStringLiteral("playButton"));
    if (!play) return {};
    play->click();
    for (int move = 0; move < 10; ++move) {
        const Game& game = window.game();
        const auto moves = legalMoves(game.board(), game.sideToMove(), game.sideWaiting());
        if (moves.empty()) break;
        const CellPos cell = moves[(move * 3) % moves.size()];
        // A press on the cell, as the player's mouse makes it, at the window's scale.
        const QPointF at = QPointF(geometry::cellCentre(cell)) * window.layoutScale();
        QMouseEvent press(QEvent::MouseButtonPress, at, window.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &press);
    }
    return picture(window);
}

bool write(const QDir& folder, const QString& name, const QImage& window) {
    if (window.isNull()) {
        std::fprintf(stderr, "cannot draw the %s\n", qPrintable(name));
        return false;
    }
    bool written = true;
    for (const QSize size : screenshotSizes) {
        const QString path = folder.filePath(
            QStringLiteral("%1-%2x%3.png").arg(name).arg(size.width()).arg(size.height()));
        const bool saved = onBackdrop(window, size).save(path, "PNG");
        std::fprintf(saved ? stdout : stderr, saved ? "%s\n" : "cannot write %s\n",
                     qPrintable(path));
        written = saved && written;
    }
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    // No display needed; the windows drawn at twice their size, as on a high-DPI screen, on a
    // screen large enough for every layout at that size, so that none is scaled down to fit.
    QTemporaryFile screen;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && screen.open()) {
        screen.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 3840,
                         "height": 2400, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screen.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName().toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR")) qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Reversi"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: reversi-screenshots OUTDIR\n");
        return 2;
    }
    const QDir folder(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    // The windows write their files (fonts, the countdown hand-off) in a folder of their own.
    const QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path())) {
        std::fprintf(stderr, "cannot make a working folder\n");
        return 1;
    }
    bool written = true;
    {
        WindowSet windows{UpdateHalves{}};
        written = write(folder, QStringLiteral("menu"), menuPicture(windows.menu())) && written;
        MatchWindow* game = windows.matchWindow(MatchKind::twoPlayer, 1);
        written = game && write(folder, QStringLiteral("game"), gamePicture(*game)) && written;
    }
    QDir::setCurrent(folder.path());
    return written ? 0 : 1;
}
