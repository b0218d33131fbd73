#include "board_cursor.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "board_accessible.h"
#include "board_view.h"
#include "screen_fit.h"

namespace reversi {
namespace {

// The outline is this wide and lies this far inside the cell's grid lines, with the background
// showing on both sides of it.
constexpr int outlineWidth = 2;
constexpr int outlineInset = 3;

}  // namespace

BoardCursor::BoardCursor(QColor colour, std::function<void(CellPos)> play, CellContent content,
                         QWidget* parent)
    : QWidget(parent),
      colour_(colour),
      play_(std::move(play)),
      content_(std::move(content)),
      announcer_(new accessibility::Announcer(parent)) {
    installBoardAccessibility();
    // Over the grid, its last lines included.
    constexpr int side = Board::size * geometry::cellSize + 1;
    setGeometry(geometry::gridOrigin, geometry::gridOrigin, side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Clicks never reach it: the window hands it the focus on a press on the board.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Board"));
    moveTo(startCell);
    for (int index = 0; index < Board::cellCount; ++index)
        contentSeen_[static_cast<std::size_t>(index)] = content_(cellAtIndex(index));
}

QString BoardCursor::cellText(CellPos cell) const {
    return cellName(cell) + QStringLiteral(", ") + content_(cell);
}

void BoardCursor::cellsChanged() {
    for (int index = 0; index < Board::cellCount; ++index) {
        QString content = content_(cellAtIndex(index));
        QString& seen = contentSeen_[static_cast<std::size_t>(index)];
        if (content == seen) continue;
        seen = std::move(content);
        if (!QAccessible::isActive()) continue;
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        changed.setChild(index);
        QAccessible::updateAccessibility(&changed);
    }
}

QRect BoardCursor::cellArea(CellPos cell) const {
    constexpr int side = geometry::cellSize + 1;
    return scaledRect({cell.x * geometry::cellSize, cell.y * geometry::cellSize, side, side},
                      scale_);
}

void BoardCursor::say(const QString& text) {
    lastSaid_ = text;
    saidHere_ = true;
    announcer_->say(text);
    if (!QAccessible::isActive()) return;
    // The board's description keeps what was said last, for a screen reader to read again.
    QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

void BoardCursor::announceFocusedCell() {
    if (!hasFocus() || !QAccessible::isActive()) return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(cellIndex(cell_));
    QAccessible::updateAccessibility(&focus);
}

QString BoardCursor::cellName(CellPos cell) {
    return QChar(u'a' + cell.x) + QString::number(cell.y + 1);
}

void BoardCursor::hideOutline() {
    if (!outlineShown_) return;
    outlineShown_ = false;
    updateOutline(cell_);
}

void BoardCursor::setScale(qreal scale) {
    scale_ = scale;
    update();
}

void BoardCursor::updateOutline(CellPos cell) {
    update(coveringRect(outline(cell), scale_));
}

void BoardCursor::moveTo(CellPos cell) {
    updateOutline(cell_);
    if (cell != cell_) saidHere_ = false;
    cell_ = cell;
    updateOutline(cell_);
    announceFocusedCell();
}

void BoardCursor::keyPressEvent(QKeyEvent* event) {
    CellPos next = cell_;
    bool plays = false;
    switch (event->key()) {
        case Qt::Key_Left:
            --next.x;
            break;
        case Qt::Key_Right:
            ++next.x;
            break;
        case Qt::Key_Up:
            --next.y;
            break;
        case Qt::Key_Down:
            ++next.y;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            plays = true;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    if (!outlineShown_) {
        // The first key shows where the cursor is, so no key moves or plays it unseen; a screen
        // reader says the cell.
        outlineShown_ = true;
        updateOutline(cell_);
        say(cellText(cell_));
    } else if (plays) {
        // One key press is one click, however long the key is held.
        if (!event->isAutoRepeat()) play_(cell_);
    } else {
        constexpr int last = Board::size - 1;
        moveTo({std::clamp(next.x, 0, last), std::clamp(next.y, 0, last)});
    }
}

void BoardCursor::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    updateOutline(cell_);
    announceFocusedCell();
}

void BoardCursor::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    updateOutline(cell_);
}

QRect BoardCursor::outline(CellPos cell) {
    constexpr int side = geometry::cellSize - 2 * outlineInset + 1;
    return {cell.x * geometry::cellSize + outlineInset, cell.y * geometry::cellSize + outlineInset,
            side, side};
}

void BoardCursor::paintEvent(QPaintEvent*) {
    if (!outlineShown_ || !hasFocus()) return;
    const QRect outer = outline(cell_);
    const QRect inner = outer.adjusted(outlineWidth, outlineWidth, -outlineWidth, -outlineWidth);
    QPainter painter(this);
    painter.scale(scale_, scale_);
    painter.setClipRegion(QRegion(outer).subtracted(QRegion(inner)));
    painter.fillRect(outer, colour_);
}

}  // namespace reversi
