#include "match_window.h"

#include <QApplication>
#include <QFile>
#include <QHideEvent>
#include <QMouseEvent>
#include <QPainter>
#include <thread>

#include "error_display.h"
#include "file_error.h"
#include "handoff.h"
#include "resources.h"
#include "screen_fit.h"

namespace reversi {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int growSteps = 30;  // the disc widens and heightens in 31 steps each
constexpr int growStepCount = (growSteps + 1) * (growSteps + 1);
// One growing disc takes about this long on any machine: every step due a little after the one
// before.
constexpr auto defaultGrowStep =
    std::chrono::nanoseconds(std::chrono::milliseconds(160)) / growStepCount;
// The screen is brought up to date at most this often while a disc grows; when the steps are
// this far ahead of their time, the window shows them and the program sleeps until they are due.
constexpr auto flushInterval = std::chrono::milliseconds(8);
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

// What the window does while discs grow: it answers the window system (pings, exposures,
// repaints), while the player's input and every timer wait until the drawing is done.
constexpr auto whileDrawing = QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers;

}  // namespace

MatchWindow::MatchWindow(const MatchStyle& style, QWidget* parent)
    : ModalWindow(FirstShowing::maximised, parent),
      theme_(style.theme),
      profile_(style.profile),
      canvas_(clientSize, style.theme.backgroundColour.resolve()),
      game_(*this, style.theme.firstName, style.theme.secondName),
      growStep_(defaultGrowStep) {
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
        [this](CellPos cell) { runHandler([this, cell] { onCellKeyed(cell); }); }, this);
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
    const QColor background = theme_.backgroundColour.resolve();
    QPalette p = palette();
    p.setColor(QPalette::Window, background);
    setPalette(p);
    setAutoFillBackground(true);
    canvas_.fill(background);
    game_.setStartPosition();
}

// --- the buttons -------------------------------------------------------------------------

void MatchWindow::onExitClicked() {
    game_.pause();
    close();
}

void MatchWindow::onPlayClicked() {
    growStartingDiscs();
    readHandoffIfFirstStart();
    startGameFromHandoff();
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
    playButton_->setText(QStringLiteral("Clear"));
    redrawBoard();
}

void MatchWindow::onDumpBoardClicked() {
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
    struct StartingDisc {
        CellPos cell;
        Cell side;
    };
    constexpr StartingDisc discs[] = {{{3, 3}, CellCode::first},
                                      {{4, 3}, CellCode::second},
                                      {{3, 4}, CellCode::second},
                                      {{4, 4}, CellCode::first}};
    for (const auto& disc : discs)
        growDisc(disc.cell, disc.side);
    // Presses that came while the new game was laid out are dropped: each "Clear" among them
    // would lay it out once more, and a burst of them would keep the window busy for seconds.
    if (animated()) {
        const InputDrop drop(this);
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
    }
}

void MatchWindow::readHandoffIfFirstStart() {
    if (!handoffRead_) handoffText_ = readHandoffLine();
}

void MatchWindow::startGameFromHandoff() {
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
    setStartLabelBackgrounds();
}

void MatchWindow::setStartLabelBackgrounds() {
    firstCountLabel_->setBackground(theme_.firstColour.resolve());
    firstClockLabel_->setBackground(theme_.firstColour.resolve());
    secondCountLabel_->setBackground(theme_.secondColour.resolve());
    secondClockLabel_->setBackground(theme_.secondColour.resolve());
}

// --- clicks and ticks --------------------------------------------------------------------

void MatchWindow::onWindowClicked(int x, int y) {
    if (acceptsClicks()) game_.click(x, y);
}

void MatchWindow::onCellKeyed(CellPos cell) {
    constexpr int toCentre = geometry::discSize / 2;
    onWindowClicked(geometry::discOrigin(cell.x) + toCentre,
                    geometry::discOrigin(cell.y) + toCentre);
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
    runHandler([&] { onWindowClicked(at.x(), at.y()); });
}

// --- what the rules show -----------------------------------------------------------------

void MatchWindow::showCounts(int firstCount, int secondCount) {
    firstCountLabel_->setCaption(QString::number(firstCount));
    secondCountLabel_->setCaption(QString::number(secondCount));
}

void MatchWindow::showVerdict(std::string_view text) {
    verdictLabel_->setCaption(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void MatchWindow::showClocks(int firstClock, int secondClock) {
    secondClockLabel_->setCaption(QString::number(secondClock));
    firstClockLabel_->setCaption(QString::number(firstClock));
}

void MatchWindow::showResult(std::string_view name, std::string_view drawText) {
    firstClockLabel_->setCaption(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    secondClockLabel_->setCaption(QString::fromUtf8(texts::lose.data(), texts::lose.size()));
    verdictLabel_->setCaption(
        QString::fromUtf8(drawText.data(), static_cast<qsizetype>(drawText.size())));
    firstClockLabel_->setBackground(theme_.backgroundColour.resolve());
    secondClockLabel_->setBackground(theme_.backgroundColour.resolve());
}

void MatchWindow::drawPlacedDisc(int discX, int discY, Cell side) {
    drawDiscAtOnce({discX, discY}, sideColour(side));
}

void MatchWindow::drawGrowingDisc(int discX, int discY, Cell side) {
    drawGrowingDisc(QPoint(discX, discY), sideColour(side));
}

void MatchWindow::drawMarker(int discX, int discY, bool shown) {
    drawMarkerOrBlank({discX, discY}, shown);
}

// --- drawing -----------------------------------------------------------------------------

QRect MatchWindow::discBox(QPoint origin) {
    return {origin, QSize(geometry::discSize, geometry::discSize)};
}

QColor MatchWindow::sideColour(Cell side) const {
    return (side == CellCode::second ? theme_.secondColour : theme_.firstColour).resolve();
}

void MatchWindow::growDisc(CellPos cell, Cell side) {
    drawGrowingDisc(QPoint(geometry::discOrigin(cell.x), geometry::discOrigin(cell.y)),
                    sideColour(side));
}

void MatchWindow::redrawBoard() {
    canvas_.setPenColour(theme_.gridColour.resolve());
    constexpr int first = geometry::gridOrigin, last = geometry::gridEnd;
    // Each line runs through the last line's pixel, so the grid's corners close.
    for (int x = first; x <= last; x += geometry::cellSize) {
        canvas_.moveTo(x, first);
        canvas_.lineTo(x, last + 1);
    }
    for (int y = first; y <= last; y += geometry::cellSize) {
        canvas_.moveTo(first, y);
        canvas_.lineTo(last + 1, y);
    }
    for (int column = 0; column < Board::size; ++column) {
        for (int row = 0; row < Board::size; ++row) {
            const QPoint origin(geometry::discOrigin(column), geometry::discOrigin(row));
            const Cell code = game_.board().at(column, row);
            if (code == CellCode::first || code == CellCode::second) {
                drawDiscAtOnce(origin, sideColour(code));
            } else if (code == CellCode::empty) {
                drawMarkerOrBlank(origin, false);
            }
        }
    }
    flush({0, 0, last + 1, last + 1});
}

void MatchWindow::drawMarkerOrBlank(QPoint origin, bool shown) {
    const QColor colour = (shown ? theme_.markerColour : theme_.backgroundColour).resolve();
    canvas_.setPenColour(colour);
    canvas_.setBrushColour(colour);
    const QRect box = discBox(origin);
    canvas_.ellipse(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    flush(box);
}

void MatchWindow::drawGrowingDisc(QPoint origin, QColor colour) {
    // The disc widens from a vertical line through its centre, one pixel each side a step.
    const QPoint centre =
        discBox(origin).topLeft() + QPoint(geometry::discSize / 2, geometry::discSize / 2);
    growDeadline_ = Clock::now();
    // Every step lies inside the last one, in the same colour. Where no step can be seen (no
    // pause between steps, or a hidden window) the last step alone gives the same pixels.
    const int firstStep = animated() ? 0 : growSteps;
    for (int i = firstStep; i <= growSteps; ++i) {
        for (int j = firstStep; j <= growSteps; ++j) {
            canvas_.setPenColour(colour);
            canvas_.setBrushColour(colour);
            canvas_.ellipse(centre.x() + i, centre.y() + j, centre.x() - i, centre.y() - j);
            flushIfDue(discBox(origin));
            growDelay();
        }
    }
    drawCentreDot(origin);
    flush(discBox(origin));
}

void MatchWindow::drawDiscAtOnce(QPoint origin, QColor colour) {
    canvas_.setPenColour(colour);
    canvas_.setBrushColour(colour);
    const QRect box = discBox(origin);
    canvas_.ellipse(box.left(), box.top(), box.left() + box.width(), box.top() + box.height());
    drawCentreDot(origin);
    flush(box);
}

void MatchWindow::drawCentreDot(QPoint origin) {
    const QColor background = theme_.backgroundColour.resolve();
    canvas_.setPenColour(background);
    canvas_.setBrushColour(background);
    const int cx = origin.x() + geometry::discSize / 2;
    const int cy = origin.y() + geometry::discSize / 2;
    constexpr int r = geometry::dotRadius;
    canvas_.ellipse(cx - r, cy - r, cx + r, cy + r);
}

bool MatchWindow::animated() const {
    return growStep_.count() > 0 && isVisible();
}

void MatchWindow::growDelay() {
    // Paced by the clock, so that a disc takes the same time on every machine and time lost to
    // a slow step is made up by the next ones. Steps run ahead until a frame's worth is drawn,
    // then the window shows them, answers the window system and sleeps until they are due: no
    // busy waiting, and never a window that seems to hang. A hidden window shows no progress,
    // so it has nothing to wait for.
    if (!animated()) return;
    growDeadline_ += growStep_;
    if (growDeadline_ - Clock::now() < flushInterval) return;
    flush(QRect());
    QCoreApplication::processEvents(whileDrawing);
    std::this_thread::sleep_until(growDeadline_);
    lastFlush_ = Clock::now();  // nothing was drawn meanwhile: the screen is still current
}

void MatchWindow::flush(QRect area) {
    pendingFlush_ |= area;
    // The window's pixels that show the area, at its scale.
    if (isVisible() && !pendingFlush_.isEmpty())
        repaint(coveringRect(pendingFlush_, layoutScale()));
    pendingFlush_ = QRect();
    lastFlush_ = Clock::now();
}

void MatchWindow::flushIfDue(QRect area) {
    pendingFlush_ |= area;
    if (Clock::now() - lastFlush_ >= flushInterval) flush(QRect());
}

void MatchWindow::paintEvent(QPaintEvent* event) {
    // Beyond the canvas the window is all background, which Qt fills in itself. The canvas
    // holds the layout's pixels at the window's own resolution: each of its device pixels is
    // one of the window's.
    matchCanvasToScreen();
    const qreal ratio = devicePixelRatioF();
    const QRect deviceArea =
        QRectF(QRectF(event->rect()).topLeft() * ratio, QSizeF(event->rect().size()) * ratio)
            .toAlignedRect() &
        canvas_.image().rect();
    if (deviceArea.isEmpty()) return;
    QPainter painter(this);
    painter.drawImage(
        QRectF(QPointF(deviceArea.topLeft()) / ratio, QSizeF(deviceArea.size()) / ratio),
        canvas_.image(), deviceArea);
}

void MatchWindow::matchCanvasToScreen() {
    // A new scale or screen draws the board again at the new resolution, never resampled.
    canvas_.setDevicePixelRatio(devicePixelRatioF() * layoutScale());
}

void MatchWindow::showEvent(QShowEvent* event) {
    matchCanvasToScreen();
    ModalWindow::showEvent(event);
}

void MatchWindow::hideEvent(QHideEvent* event) {
    // Nobody sees a closed window's board: its pixels go, and come back drawn from what was
    // drawn when it shows again.
    if (!event->spontaneous()) canvas_.release();
    ModalWindow::hideEvent(event);
}

void MatchWindow::layoutScaled() {
    boardCursor_->setScale(layoutScale());
    update();
}

}  // namespace reversi
