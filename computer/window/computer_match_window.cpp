#include "computer_match_window.h"

#include <QCloseEvent>

#include "error_display.h"
#include "handoff.h"
#include "resource_names.h"

namespace reversi {

ComputerMatchWindow::ComputerMatchWindow(const MatchStyle& style,
                                         std::unique_ptr<RandomSource> random)
    : MatchWindow(style),
      computer(gameInPlay(), random ? std::move(random) : std::make_unique<MersenneRandom>()) {
    const auto label = [this](const QString& text, QPoint position, const QFont& font) {
        auto* l = new OpaqueLabel(text, this);
        l->setFont(font);
        l->setBackground(palette().color(QPalette::Window));
        l->setFontColour(colours::windowText.resolve());
        l->move(position);
        l->adjustSize();
        return l;
    };
    QFont code(QString::fromLatin1(resources::ResourceName::sourceCodeFamily));
    code.setPixelSize(16);
    code.setBold(true);
    levelTitleLabel = label(QStringLiteral("Complication:"), {312, 208}, code);
    levelSlider = new QSlider(Qt::Horizontal, this);
    levelSlider->setGeometry(304, 232, 150, 33);
    levelSlider->setRange(Computer::lowestLevel, Computer::highestLevel);
    levelSlider->setValue(Computer::lowestLevel);
    levelSlider->setTickPosition(QSlider::TicksBelow);
    levelSlider->setPageStep(1);
    levelSlider->setAccessibleName(QStringLiteral("Complication"));
    lowestLevelLabel = label(QStringLiteral("1"), {312, 272}, font());
    highestLevelLabel = label(QStringLiteral("5"), {440, 272}, font());

    QFont betaFont = style.profile.betaInCodeFont ? code : windowFont(48);
    betaFont.setPixelSize(48);
    betaLabel = label(QStringLiteral("BETA"), {800, 360}, betaFont);
    betaLabel->setFontColour(Qt::red);

    computerTurnTimer = new PeriodicTimer(style.profile.computerDelayMs, this);
    connectHandler(computerTurnTimer, &QTimer::timeout, this,
                   &ComputerMatchWindow::onComputerTurnDue);
    matchLive = false;
}

void ComputerMatchWindow::onPlayClicked() {
    // A new game ends any computer turn still pending from the previous one.
    computerTurnTimer->setEnabled(false);
    computerTurnHeld = false;
    firstClockLabel->setFontColour(Qt::white);
    clockTimer->setEnabled(true);
    if (!levelSlider->isHidden()) {
        // The level is chosen once, before the window's first game.
        computer.setLevel(levelSlider->value());
        for (QWidget* selector :
             {static_cast<QWidget*>(levelTitleLabel), static_cast<QWidget*>(lowestLevelLabel),
              static_cast<QWidget*>(highestLevelLabel), static_cast<QWidget*>(levelSlider)}) {
            selector->hide();
        }
    }
    growStartingDiscs();
    readHandoffIfFirstStart();
    startGame();
}

void ComputerMatchWindow::startGame() {
    startGameFromHandoff();
    for (QWidget* control :
         {static_cast<QWidget*>(firstCountLabel), static_cast<QWidget*>(secondCountLabel),
          static_cast<QWidget*>(firstClockLabel), static_cast<QWidget*>(secondClockLabel),
          static_cast<QWidget*>(verdictLabel), static_cast<QWidget*>(redrawButton)}) {
        control->show();
    }
    playButton->setText(QStringLiteral("Clear"));
    matchLive = true;
    redrawBoard();
}

void ComputerMatchWindow::turnHandedOver() {
    if (game().sideToMove() == CellCode::second) computerTurnTimer->setEnabled(true);
}

void ComputerMatchWindow::onComputerTurnDue() {
    computerTurnTimer->setEnabled(false);
    if (!matchLive) return;  // a finished game gets no further computer move
    if (computer.playTurn()) redrawBoard();
}

void ComputerMatchWindow::showResult(std::string_view name, std::string_view drawText) {
    MatchWindow::showResult(name, drawText);
    matchLive = false;
    firstClockLabel->setFontColour(theme().firstColour.resolve());
    secondClockLabel->setFontColour(theme().firstColour.resolve());
}

void ComputerMatchWindow::redrawBoard() {
    MatchWindow::redrawBoard();
    if (computerTurnHeld && matchLive) {
        computerTurnHeld = false;
        computerTurnTimer->setEnabled(true);
    }
}

void ComputerMatchWindow::closeEvent(QCloseEvent* event) {
    // "Exit" pauses the game; a computer turn then waits for the game to resume, so nothing
    // moves in a closed window.
    if (game().phase() != Game::Phase::running && computerTurnTimer->isEnabled()) {
        computerTurnTimer->setEnabled(false);
        computerTurnHeld = true;
    }
    MatchWindow::closeEvent(event);
}

}  // namespace reversi
