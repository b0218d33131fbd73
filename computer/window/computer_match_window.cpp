#include "computer_match_window.h"

#include <QCloseEvent>

#include "error_display.h"
#include "handoff.h"

namespace reversi {

ComputerMatchWindow::ComputerMatchWindow(const Theme& theme, std::unique_ptr<RandomSource> random)
    : MatchWindow(theme),
      computer(game, random ? std::move(random) : std::make_unique<MersenneRandom>()) {
    const auto label = [this](const QString& text, QPoint position, const QFont& font) {
        auto* l = new OpaqueLabel(text, this);
        l->setFont(font);
        l->setBackground(palette().color(QPalette::Window));
        l->setFontColour(colours::windowText.resolve());
        l->move(position);
        l->adjustSize();
        return l;
    };
    QFont code(QStringLiteral("Source Code Pro"));
    code.setPixelSize(16);
    code.setBold(true);
    lbl6 = label(QStringLiteral("Complication:"), {312, 208}, code);
    level1 = new QSlider(Qt::Horizontal, this);
    level1->setGeometry(304, 232, 150, 33);
    level1->setRange(Computer::lowestLevel, Computer::highestLevel);
    level1->setValue(Computer::lowestLevel);
    level1->setTickPosition(QSlider::TicksBelow);
    level1->setPageStep(1);
    lbl7 = label(QStringLiteral("1"), {312, 272}, font());
    lbl8 = label(QStringLiteral("5"), {440, 272}, font());

    QFont betaFont = theme.betaInCodeFont ? code : windowFont(48);
    betaFont.setPixelSize(48);
    BETA = label(QStringLiteral("BETA"), {800, 360}, betaFont);
    BETA->setFontColour(Qt::red);

    Timer2 = new PeriodicTimer(theme.computerDelayMs, this);
    connect(Timer2, &QTimer::timeout, this, [this] { runHandler([this] { Timer2Timer(); }); });
    matchLive = false;
}

void ComputerMatchWindow::btn2Click() {
    // A new game ends any computer turn still pending from the previous one.
    Timer2->setEnabled(false);
    computerTurnHeld = false;
    lbl3->setFontColour(Qt::white);
    Timer1->setEnabled(true);
    game.sideToMove = CellCode::first;
    game.sideWaiting = CellCode::second;
    if (!level1->isHidden()) {
        // The level is chosen once, before the window's first game.
        computer.setLevel(level1->value());
        for (QWidget* selector : {static_cast<QWidget*>(lbl6), static_cast<QWidget*>(lbl7),
                                  static_cast<QWidget*>(lbl8), static_cast<QWidget*>(level1)}) {
            selector->hide();
        }
    }
    growStartingDiscs();
    readHandoffIfFirstStart();
    clear();
}

void ComputerMatchWindow::clear() {
    startClocksFromHandoff();
    deleteHandoffFile();
    setStartLabelBackgrounds();
    for (QWidget* control :
         {static_cast<QWidget*>(lbl1), static_cast<QWidget*>(lbl2), static_cast<QWidget*>(lbl3),
          static_cast<QWidget*>(lbl4), static_cast<QWidget*>(lbl5), static_cast<QWidget*>(btn4)}) {
        control->show();
    }
    game.sideToMove = CellCode::first;
    game.sideWaiting = CellCode::second;
    game.setStartPosition();
    btn2->setText(QStringLiteral("Clear"));
    game.countDiscs();
    game.gameRunning = true;
    handoffRead = true;
    matchLive = true;
    Redraw();
    game.cellX = 0;
    game.cellY = 0;
}

void ComputerMatchWindow::turnHandedOver() {
    if (game.sideToMove == CellCode::second) Timer2->setEnabled(true);
}

void ComputerMatchWindow::Timer2Timer() {
    Timer2->setEnabled(false);
    if (!matchLive) return;  // a finished game gets no further computer move
    if (computer.playTurn()) Redraw();
}

void ComputerMatchWindow::showResult(std::string_view name, std::string_view drawText) {
    MatchWindow::showResult(name, drawText);
    matchLive = false;
    lbl3->setFontColour(theme().firstColour.resolve());
    lbl4->setFontColour(theme().firstColour.resolve());
}

void ComputerMatchWindow::Redraw() {
    MatchWindow::Redraw();
    if (computerTurnHeld && matchLive) {
        computerTurnHeld = false;
        Timer2->setEnabled(true);
    }
}

void ComputerMatchWindow::closeEvent(QCloseEvent* event) {
    // "Exit" pauses the game; a computer turn then waits for the game to resume, so nothing
    // moves in a closed window.
    if (!game.gameRunning && Timer2->isEnabled()) {
        Timer2->setEnabled(false);
        computerTurnHeld = true;
    }
    MatchWindow::closeEvent(event);
}

}  // namespace reversi
