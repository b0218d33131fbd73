#include "match_window.h"

#include <QApplication>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPainter>

#include "accessibility.h"
#include "board_accessible.h"
#include "error_display.h"
#include "file_error.h"
#include "handoff.h"
#include "match_texts.h"
#include "resources.h"

namespace reversi {
namespace {

// The board and the controls right of it fit in this client area without a window manager.
constexpr QSize clientSize(976, 700);

// While it lives, the player's presses and keys in one window are dropped.
class InputDrop : public QObject {
  public:
    explicit InputDrop(const QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~InputDrop() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease: {
                const auto* widget = qobject_cast<const QWidget*>(receiver);
                return widget && widget->window() == window_;
            }
            default:
                return false;
        }
    }

  private:
    const QWidget* window_;
};

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MatchWindow::MatchWindow(const MatchStyle& style, QWidget* parent)
    : ModalWindow(FirstShowing::maximised, parent),
      theme_(style.theme),
      profile_(style.profile),
      board_(*this, style.theme, clientSize),
      game_(*this) {
    const Theme& theme = style.theme;
    const WindowProfile& profile = style.profile;
    setObjectName(QString::fromLatin1(profile.objectName));
    setWindowTitle(QStringLiteral("Play!"));
    setFont(windowFont(11));
    // Opened maximised; its normal place is the layout's, 976 by 629 at (444, 168), with room
    // for the whole board.
    setLayoutGeometry(
        {444, 168, 976 + 2 * windowFrame::side, 629 + windowFrame::top + windowFrame::side},
        clientSize);

    boardCursor_ = new BoardCursor(
        theme.cursorColour.resolve(),
        [this](CellPos cell) { runHandler([this, cell] { playCell(cell); }); },
        [this](CellPos cell) { return cellContent(cell); }, this);
    boardCursor_->setObjectName(QStringLiteral("boardCursor"));
    exitButton_ = makeButton("exitButton", QStringLiteral("Exit"), {856, 80, 81, 25});
    playButton_ = makeButton("playButton", QStringLiteral("Play!"), {856, 104, 81, 25});
    redrawButton_ = makeButton("redrawButton", QStringLiteral("Redraw"), {856, 128, 81, 25});
    dumpBoardButton_ =
        makeButton("dumpBoardButton", QStringLiteral("otladka.txt"), {848, 16, 75, 25});
    dumpBoardButton_->hide();  // the board dump has no visible button
    const auto& font = profile.labelFontColours;
    firstCountLabel_ = makeLabel("firstCountLabel", {828, 168}, 19, font[0], colours::buttonFace);
    secondCountLabel_ = makeLabel("secondCountLabel", {900, 168}, 19, font[1], colours::buttonFace);
    firstClockLabel_ = makeLabel("firstClockLabel", {828, 224}, 19, font[2], colours::buttonFace);
    secondClockLabel_ = makeLabel("secondClockLabel", {900, 224}, 19, font[3], colours::buttonFace);
    verdictLabel_ = makeLabel("verdictLabel", {840, profile.verdictLabelTop}, 19,
                              colours::windowText, profile.verdictLabelColour);
    debugLabel_ = makeLabel("debugLabel", {68, 880}, 13, colours::windowText, colours::buttonFace);
    // Nothing ever writes the debug label; hidden, its empty box never shows in a tall window.
    debugLabel_->hide();

    clockTimer_ = new PeriodicTimer(1000, this);
    clockTimer_->setObjectName(QStringLiteral("clockTimer"));
    connectHandler(clockTimer_, &QTimer::timeout, this, &MatchWindow::onClockTick);
    connectHandler(exitButton_, &QPushButton::clicked, this, &MatchWindow::onExitClicked);
    connectHandler(playButton_, &QPushButton::clicked, this, &MatchWindow::onPlayClicked);
    connectHandler(dumpBoardButton_, &QPushButton::clicked, this, &MatchWindow::onDumpBoardClicked);
    connectHandler(redrawButton_, &QPushButton::clicked, this, &MatchWindow::onRedrawClicked);

    nameLabels();
    setInitialState();
    clockTimer_->setEnabled(profile.kind == MatchKind::twoPlayer || profile.clockEnabledAtCreation);
    // The window opens with the keyboard on the board, where it shows nothing until a key.
    boardCursor_->setFocus();
}

QPushButton* MatchWindow::makeButton(const char* name, const QString& caption, QRect geometry) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    // Reached with Tab and pressed with Space; a click leaves the keyboard where it was.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

OpaqueLabel* MatchWindow::makeLabel(const char* name, QPoint position, int fontPixels,
                                    Colour fontColour, Colour background) {
    auto* label = new OpaqueLabel(QString(), this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(windowFont(fontPixels));
    label->move(position);
    label->setFontColour(fontColour.resolve());
    label->setBackground(background.resolve());
    return label;
}

void MatchWindow::setInitialState() {
    for (QWidget* control :
         {static_cast<QWidget*>(firstCountLabel_), static_cast<QWidget*>(secondCountLabel_),
          static_cast<QWidget*>(firstClockLabel_), static_cast<QWidget*>(secondClockLabel_),
          static_cast<QWidget*>(verdictLabel_), static_cast<QWidget*>(redrawButton_)}) {
        control->hide();
    }
    QPalette p = palette();
    p.setColor(QPalette::Window, theme_.backgroundColour.resolve());
    setPalette(p);
    setAutoFillBackground(true);
    game_.setStartPosition();
    boardCursor_->cellsChanged();
}

void MatchWindow::setPosition(const Board& board, Cell toMove) {
    game_.setPosition(board, toMove);
    redrawBoard();
}

// --- the buttons -------------------------------------------------------------------------

void MatchWindow::onExitClicked() {
    game_.pause();
    close();
}

void MatchWindow::onPlayClicked() {
    beforeNewGame();
    if (profile_.firstClockWhiteAtStart) firstClockLabel_->setFontColour(Qt::white);
    clockTimer_->setEnabled(true);
    growStartingDiscs();
    startGameFromHandoff();
    showStartLabels();
    playButton_->setText(QStringLiteral("Clear"));
    redrawBoard();
}

void MatchWindow::onDumpBoardClicked() {
    if (!profile_.writesBoardDump) return;
    QByteArray dump;
    for (int y = 0; y < Board::size; ++y) {
        for (int x = 0; x < Board::size; ++x) {
            dump += ' ';
            dump += QByteArray::number(game_.board().at(x, y));
        }
        dump += "\r\n";
    }
    writeFile(QStringLiteral("otladka.txt"), dump);
}

void MatchWindow::onRedrawClicked() {
    resumeGame();
    redrawBoard();
}

// --- steps of a new game -----------------------------------------------------------------

void MatchWindow::growStartingDiscs() {
    // The previous game's final position first, without a marker still pending from it.
    game_.dropMarker();
    redrawBoard();
    constexpr std::pair<CellPos, Cell> discs[] = {{{3, 3}, CellCode::first},
                                                  {{4, 3}, CellCode::second},
                                                  {{3, 4}, CellCode::second},
                                                  {{4, 4}, CellCode::first}};
    for (const auto& [cell, side] : discs)
        board_.growDisc(cell, side);
    // Presses that came while the new game was laid out are dropped: each "Clear" among them
    // would lay it out once more, and a burst of them would keep the window busy for seconds.
    if (board_.animated()) {
        const InputDrop drop(this);
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
    }
}

void MatchWindow::startGameFromHandoff() {
    if (!handoffRead_) handoffText_ = readHandoffLine();
    const auto countdown = handoffCountdown(handoffText_.toStdString());
    if (!countdown || !game_.newGame(*countdown)) {
        throw FileError(QStringLiteral("The countdown \"%1\" in \"%2\" is not one the menu offers "
                                       "(%3 to %4, a multiple of %5)")
                            .arg(handoffText_.left(16), QString::fromLatin1(handoffFileName))
                            .arg(shortestCountdown)
                            .arg(longestCountdown)
                            .arg(countdownStep)
                            .toStdString());
    }
    deleteHandoffFile();
    handoffRead_ = true;
}

void MatchWindow::nameLabels() {
    const QString first = QString::fromUtf8(theme_.firstName);
    const QString second = QString::fromUtf8(theme_.secondName);
    accessibility::nameValueLabel(firstCountLabel_, first + QStringLiteral(" discs"));
    accessibility::nameValueLabel(secondCountLabel_, second + QStringLiteral(" discs"));
    accessibility::nameValueLabel(firstClockLabel_, first + QStringLiteral(" clock"));
    accessibility::nameValueLabel(secondClockLabel_, second + QStringLiteral(" clock"));
    accessibility::nameValueLabel(verdictLabel_, QStringLiteral("Verdict"));
}

void MatchWindow::showStartLabels() {
    firstCountLabel_->setBackground(theme_.firstColour.resolve());
    firstClockLabel_->setBackground(theme_.firstColour.resolve());
    secondCountLabel_->setBackground(theme_.secondColour.resolve());
    secondClockLabel_->setBackground(theme_.secondColour.resolve());
    if (profile_.verdictLabelBlackAtStart) verdictLabel_->setBackground(Qt::black);
    for (auto* label : {firstCountLabel_, secondCountLabel_, firstClockLabel_, secondClockLabel_})
        label->show();
    switch (profile_.verdictLabelAtStart) {
        case VerdictLabelAtStart::hide:
            verdictLabel_->hide();
            break;
        case VerdictLabelAtStart::keep:
            break;
        case VerdictLabelAtStart::show:
            verdictLabel_->show();
            break;
    }
    redrawButton_->show();
}

// --- clicks and ticks --------------------------------------------------------------------

void MatchWindow::playCell(CellPos cell) {
    if (acceptsClicks()) playAndSay([this, cell] { game_.click(cell); }, cell);
}

void MatchWindow::playAndSay(const std::function<void()>& move, std::optional<CellPos> clicked) {
    const Board before = game_.board();
    const Cell mover = game_.sideToMove();
    const bool markerBefore = game_.markerShown();
    playingMove_ = true;
    resultWords_.clear();
    move();
    playingMove_ = false;
    boardCursor_->cellsChanged();
    if (game_.board() != before) {
        sayMove(before, mover);
    } else if (clicked && !markerBefore && game_.markerShown()) {
        boardCursor_->say(BoardCursor::cellName(*clicked) + QStringLiteral(": ") + shownVerdict() +
                          QStringLiteral("not a move."));
    }
}

QString MatchWindow::shownVerdict() const {
    if (verdictLabel_->isHidden() || verdictLabel_->text().isEmpty()) return {};
    return verdictLabel_->text() + QStringLiteral(", ");
}

void MatchWindow::redrawBoard() {
    board_.drawBoard(game_.board());
    boardCursor_->cellsChanged();
}

QString MatchWindow::sideName(Cell side) const {
    return QString::fromUtf8(side == CellCode::second ? theme_.secondName : theme_.firstName);
}

QString MatchWindow::cellContent(CellPos cell) const {
    const Cell code = game_.board().at(cell);
    return code == CellCode::empty ? QStringLiteral("empty") : sideName(code);
}

QString MatchWindow::countsText() const {
    return QStringLiteral("%1 %2, %3 %4")
        .arg(sideName(CellCode::first))
        .arg(game_.firstCount())
        .arg(sideName(CellCode::second))
        .arg(game_.secondCount());
}

void MatchWindow::sayMove(const Board& before, Cell mover) {
    std::optional<CellPos> placed;
    int turned = 0;
    for (int index = 0; index < Board::cellCount; ++index) {
        const CellPos cell = cellAtIndex(index);
        if (before.at(cell) == game_.board().at(cell)) continue;
        if (before.at(cell) == CellCode::empty)
            placed = cell;
        else
            ++turned;
    }
    if (!placed) return;
    QString text = sideName(mover) + QStringLiteral(" plays ") + BoardCursor::cellName(*placed) +
                   QStringLiteral(": ");
    if (game_.phase() != Game::Phase::over) text += shownVerdict();
    text += QStringLiteral("%1 %2 turned. %3.")
                .arg(turned)
                .arg(turned == 1 ? QStringLiteral("disc") : QStringLiteral("discs"), countsText());
    if (game_.phase() == Game::Phase::over) {
        text += QLatin1Char(' ') + resultWords_;
    } else if (game_.sideToMove() == mover) {
        // The other side has no move: it passes, silently on the screen.
        text += QLatin1Char(' ') + sideName(opponentOf(mover)) + QStringLiteral(" passes.");
    }
    boardCursor_->say(text);
}

void MatchWindow::onClockTick() {
    game_.tick();
}

void MatchWindow::mousePressEvent(QMouseEvent* event) {
    // Every mouse button plays, at the layout's pixel under the pointer.
    const QPoint at = (event->position() / layoutScale()).toPoint();
    // The keyboard's cursor goes until the next key; a press on the board gives it the keyboard.
    boardCursor_->hideOutline();
    if (boardCursor_->geometry().contains(event->position().toPoint()))
        boardCursor_->setFocus(Qt::MouseFocusReason);
    if (const auto cell = geometry::cellAt(at)) runHandler([&] { playCell(*cell); });
}

// --- what the rules show -----------------------------------------------------------------

void MatchWindow::showCounts(int firstCount, int secondCount) {
    firstCountLabel_->setCaption(QString::number(firstCount));
    secondCountLabel_->setCaption(QString::number(secondCount));
}

void MatchWindow::showVerdict(Verdict verdict) {
    verdictLabel_->setCaption(fromUtf8(verdictText(verdict)));
}

void MatchWindow::showClocks(int firstClock, int secondClock) {
    secondClockLabel_->setCaption(QString::number(secondClock));
    firstClockLabel_->setCaption(QString::number(firstClock));
}

void MatchWindow::showResult(Outcome outcome) {
    const ResultText result = resultText(outcome, theme_);
    resultWords_ = fromUtf8(result.name) + QLatin1Char(' ') + fromUtf8(result.lose);
    if (!result.drawText.empty()) resultWords_ += QLatin1Char(' ') + fromUtf8(result.drawText);
    // A result at the end of a move is said with the move.
    if (!playingMove_) boardCursor_->say(resultWords_);
    firstClockLabel_->setCaption(fromUtf8(result.name));
    secondClockLabel_->setCaption(fromUtf8(result.lose));
    verdictLabel_->setCaption(fromUtf8(result.drawText));
    firstClockLabel_->setBackground(theme_.backgroundColour.resolve());
    secondClockLabel_->setBackground(theme_.backgroundColour.resolve());
    if (profile_.resultInFirstColour) {
        firstClockLabel_->setFontColour(theme_.firstColour.resolve());
        secondClockLabel_->setFontColour(theme_.firstColour.resolve());
    }
}

// --- painting ----------------------------------------------------------------------------

void MatchWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    board_.paint(painter, event->rect());
}

void MatchWindow::showEvent(QShowEvent* event) {
    board_.matchCanvasToScreen();
    ModalWindow::showEvent(event);
}

void MatchWindow::hideEvent(QHideEvent* event) {
    // Nobody sees a closed window's board: its pixels go, and come back drawn from what was
    // drawn when it shows again.
    if (!event->spontaneous()) board_.release();
    ModalWindow::hideEvent(event);
}

void MatchWindow::layoutScaled() {
    boardCursor_->setScale(layoutScale());
    update();
}

}  // namespace reversi
