#include "computer_match_window.h"

#include <QCloseEvent>

#include "error_display.h"

namespace reversi {

ComputerMatchWindow::ComputerMatchWindow(const MatchStyle& style,
                                         std::unique_ptr<RandomSource> random,
                                         const QString& codeFamily)
    : MatchWindow(style),
      computer_(gameInPlay(), random ? std::move(random) : std::make_unique<MersenneRandom>()) {
    const auto label = [this](const char* name, const QString& text, QPoint position,
                              const QFont& font) {
        auto* l = new OpaqueLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(font);
        l->setBackground(palette().color(QPalette::Window));
        l->setFontColour(colours::windowText.resolve());
        l->move(position);
        l->adjustSize();
        return l;
    };
    QFont code(codeFamily);
    code.setPixelSize(16);
    code.setBold(true);
    levelTitleLabel_ = label("levelTitleLabel", QStringLiteral("Complication:"), {312, 208}, code);
    levelSlider_ = new QSlider(Qt::Horizontal, this);
    levelSlider_->setObjectName(QStringLiteral("levelSlider"));
    levelSlider_->setGeometry(304, 232, 150, 33);
    levelSlider_->setRange(Computer::lowestLevel, Computer::highestLevel);
    levelSlider_->setValue(Computer::lowestLevel);
    levelSlider_->setTickPosition(QSlider::TicksBelow);
    levelSlider_->setPageStep(1);
    levelSlider_->setAccessibleName(QStringLiteral("Complication"));
    levelSlider_->setAccessibleDescription(QStringLiteral("the computer's level, 1 to 5"));
    lowestLevelLabel_ = label("lowestLevelLabel", QStringLiteral("1"), {312, 272}, font());
    highestLevelLabel_ = label("highestLevelLabel", QStringLiteral("5"), {440, 272}, font());

    QFont betaFont = style.profile.betaInCodeFont ? code : windowFont(48);
    betaFont.setPixelSize(48);
    betaLabel_ = label("betaLabel", QStringLiteral("BETA"), {800, 360}, betaFont);
    betaLabel_->setFontColour(Qt::red);

    computerTurnTimer_ = new PeriodicTimer(style.profile.computerDelayMs, this);
    computerTurnTimer_->setObjectName(QStringLiteral("computerTurnTimer"));
    connectHandler(computerTurnTimer_, &QTimer::timeout, this,
                   &ComputerMatchWindow::onComputerTurnDue);
}

void ComputerMatchWindow::beforeNewGame() {
    computerTurnTimer_->setEnabled(false);
    computerTurnHeld_ = false;
    if (!levelSlider_->isHidden()) {
        // The level is chosen once, before the window's first game.
        computer_.setLevel(levelSlider_->value());
        for (QWidget* selector :
             {static_cast<QWidget*>(levelTitleLabel_), static_cast<QWidget*>(lowestLevelLabel_),
              static_cast<QWidget*>(highestLevelLabel_), static_cast<QWidget*>(levelSlider_)}) {
            selector->hide();
        }
    }
}

void ComputerMatchWindow::turnHandedOver() {
    if (game().sideToMove() == CellCode::second) computerTurnTimer_->setEnabled(true);
}

void ComputerMatchWindow::onComputerTurnDue() {
    computerTurnTimer_->setEnabled(false);
    if (!game().inProgress()) return;  // a finished game gets no further computer move
    bool played = false;
    playAndSay([this, &played] { played = computer_.playTurn(); });
    if (played) {
        resumeGame();
        redrawBoard();
    }
}

void ComputerMatchWindow::resumeGame() {
    if (!game().inProgress()) return;
    MatchWindow::resumeGame();
    if (computerTurnHeld_) {
        computerTurnHeld_ = false;
        computerTurnTimer_->setEnabled(true);
    }
}

void ComputerMatchWindow::closeEvent(QCloseEvent* event) {
    // "Exit" pauses the game; a computer turn then waits for the game to resume, so nothing
    // moves in a closed window.
    if (game().phase() != Game::Phase::running && computerTurnTimer_->isEnabled()) {
        computerTurnTimer_->setEnabled(false);
        computerTurnHeld_ = true;
    }
    MatchWindow::closeEvent(event);
}

}  // namespace reversi
