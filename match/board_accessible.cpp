#include "board_accessible.h"

#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <array>

#include "board_cursor.h"

namespace reversi {
namespace {

// The board: a table whose cells are its children, the cursor's cell the focused one.
class BoardInterface : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit BoardInterface(BoardCursor* cursor) : QAccessibleWidget(cursor, QAccessible::Table) {}
    ~BoardInterface() override {
        for (const QAccessible::Id id : cells_) {
            if (id != 0) QAccessible::deleteAccessibleInterface(id);
        }
    }

    BoardCursor* cursor() const { return static_cast<BoardCursor*>(widget()); }

    int childCount() const override { return Board::cellCount; }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int index = 0; index < Board::cellCount; ++index) {
            if (cells_[static_cast<std::size_t>(index)] != 0 &&
                QAccessible::accessibleInterface(cells_[static_cast<std::size_t>(index)]) == child)
                return index;
        }
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = cursor()->mapFromGlobal(QPoint(x, y));
        for (int index = 0; index < Board::cellCount; ++index) {
            if (cursor()->cellArea(cellAtIndex(index)).contains(at)) return child(index);
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return cursor()->hasFocus() ? child(cellIndex(cursor()->cell())) : nullptr;
    }
    // What was said last is the board's description.
    QString text(QAccessible::Text type) const override {
        return type == QAccessible::Description ? cursor()->lastSaid()
                                                : QAccessibleWidget::text(type);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The table: 8 rows of 8 columns, nothing selected.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= Board::size || column < 0 || column >= Board::size) return nullptr;
        return child(cellIndex({column, row}));
    }
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {}; }
    QString columnDescription(int column) const override { return QChar(u'a' + column); }
    QString rowDescription(int row) const override { return QString::number(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Board::size; }
    int rowCount() const override { return Board::size; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

  private:
    // Made when first asked for, registered so that they keep one id each.
    mutable std::array<QAccessible::Id, Board::cellCount> cells_{};
};

// A cell: named by its place and content; its action plays it, as a click on it would.
class CellInterface : public QAccessibleInterface,
                      public QAccessibleTableCellInterface,
                      public QAccessibleActionInterface {
  public:
    CellInterface(BoardInterface* board, int index) : board_(board), cell_(cellAtIndex(index)) {}

    bool isValid() const override { return board_->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_->window(); }
    QAccessibleInterface* parent() const override { return board_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QString text(QAccessible::Text type) const override {
        const BoardCursor* cursor = board_->cursor();
        switch (type) {
            case QAccessible::Name:
                return cursor->cellText(cell_);
            case QAccessible::Description:
                // What was said about this cell, until the cursor leaves it.
                return cursor->cell() == cell_ ? cursor->lastSaidHere() : QString();
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        const BoardCursor* cursor = board_->cursor();
        const QRect area = cursor->cellArea(cell_);
        return {cursor->mapToGlobal(area.topLeft()), area.size()};
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.focusable = true;
        state.focused = board_->cursor()->hasFocus() && board_->cursor()->cell() == cell_;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // The table cell.
    bool isSelected() const override { return false; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return cell_.x; }
    int rowIndex() const override { return cell_.y; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return board_; }

    // The one action: playing the cell.
    QStringList actionNames() const override { return {pressAction()}; }
    // The move is played once the call has returned: its discs grow for longer than an
    // assistive technology waits for an answer.
    void doAction(const QString& name) override {
        if (name != pressAction()) return;
        BoardCursor* cursor = board_->cursor();
        const CellPos cell = cell_;
        QTimer::singleShot(0, cursor, [cursor, cell] { cursor->play(cell); });
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
    }

  private:
    BoardInterface* board_;
    CellPos cell_;
};

QAccessibleInterface* BoardInterface::child(int index) const {
    if (index < 0 || index >= Board::cellCount) return nullptr;
    QAccessible::Id& id = cells_[static_cast<std::size_t>(index)];
    if (id == 0) {
        id = QAccessible::registerAccessibleInterface(
            new CellInterface(const_cast<BoardInterface*>(this), index));
    }
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* boardFactory(const QString&, QObject* object) {
    if (auto* cursor = dynamic_cast<BoardCursor*>(object)) return new BoardInterface(cursor);
    return nullptr;
}

}  // namespace

void installBoardAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(boardFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace reversi
