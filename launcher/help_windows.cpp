#include "help_windows.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyleOptionHeader>
#include <algorithm>
#include <array>
#include <cmath>

#include "screen_fit.h"

namespace reversi {
namespace {

// Column 0 and column 1 of each row; an empty string is an empty cell.
constexpr std::array<std::array<const char*, 2>, HelpWindow::rowCount> helpTexts{{
    {"Що?", "Як?"},
    {"Змінити кольори", "На головній формі натиснути на radiobutton над картинкою фону."},
    {"Змінити час гри",
     "Перетягніть курсор вибору часу у праву сторону для збільшення кількост часу для обох "
     "гравців."},
    {"Як грати", "Виконуючи хід у грі ви маєте обов`язково \"з`їсти\" фішку противника."},
    {"", "Щоб \"з`їсти\" фішку або декілька фішок противника потрібно,"},
    {"",
     "щоб за нею (ними) у будь-яку сторону та/або по діагоналі без пропусків* стояла ваша "
     "фішка."},
    {"", "Якщо у противника немає можливості походити, то хід автоматично надається вам знову."},
    {"Програє той, у кого:", " - закінчився час"},
    {"", " - не залишилося жодної фішки"},
    {"", " - коли все поле заповнене кількість його фішок менша за кількість фішок противника"},
    {"", " - коли не все поле заповнене, але можливі ходи закінчилися та"},
    {"", "кількість його фішок менша за кількість фішок противника."},
    {"*", "без пропусків означає, що між клітинками противника та вашми немає пропусків."},
    {"Грати з компютером", "Натиснути на кнопку Play with pc"},
    {"Вибрати складність гри", "Перетягнути курсор на рівні складності у режимі гри з компютером"},
}};

// The grid's layout: its box, its fixed first column and row, its rows and its answer column.
constexpr QRect gridBox(0, 0, 1143, 769);
constexpr int fixedColumnWidth = 250;
constexpr int fixedRowHeight = 50;
constexpr int rowHeight = 50;
constexpr int answerColumnWidth = 970;
constexpr QRect closeButtonBox(1115, 0, 26, 25);

// An answer as a screen reader reads it: after its row's question, if the row has one. Reading
// the table row by row, it reads the cells of a row but not its header, where the question is.
QString spokenAnswer(int row) {
    const QString question = HelpWindow::cellText(row, 0);
    const QString answer = HelpWindow::cellText(row, 1).trimmed();
    if (question.isEmpty()) return answer;
    const bool endsInMark = question.endsWith(u':') || question.endsWith(u'*');
    return question + (endsInMark ? QStringLiteral(" ") : QStringLiteral(": ")) + answer;
}

}  // namespace

QString HelpWindow::cellText(int row, int column) {
    return QString::fromUtf8(
        helpTexts.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)));
}

GridCorner::GridCorner(const QString& text, QTableView* grid) : QWidget(grid), text_(text) {
    placeOverCorner();
    raise();  // over the grid's own, empty corner
}

void GridCorner::placeOverCorner() {
    const auto* grid = static_cast<const QTableView*>(parentWidget());
    setGeometry(grid->frameWidth(), grid->frameWidth(), grid->verticalHeader()->width(),
                grid->horizontalHeader()->height());
}

void GridCorner::paintEvent(QPaintEvent*) {
    const auto* grid = static_cast<const QTableView*>(parentWidget());
    QStyleOptionHeader option;
    option.initFrom(grid->horizontalHeader());
    option.rect = rect();
    option.text = text_;
    option.textAlignment = grid->horizontalHeader()->defaultAlignment();
    option.position = QStyleOptionHeader::OnlyOneSection;
    option.orientation = Qt::Horizontal;
    QPainter painter(this);
    painter.setFont(grid->horizontalHeader()->font());
    style()->drawControl(QStyle::CE_Header, &option, &painter, this);
}

HelpWindow::HelpWindow(const ProgramFonts& fonts)
    : ModalWindow(FirstShowing::maximised), fonts_(fonts) {
    setObjectName(QStringLiteral("help"));
    setWindowTitle(QStringLiteral("Help"));
    setLayoutGeometry({397, 29, 1153, 805});
    setClosesOnEscape(true);
    setFont(ProgramFonts::font(fonts.decorativeFamily(), 11));
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    setPalette(p);
    setAutoFillBackground(true);
}

void HelpWindow::setVisible(bool visible) {
    // Made at the layout's scale, then scaled as the window is.
    if (visible && !grid_) relayout([this] { makeControls(); });
    ModalWindow::setVisible(visible);
}

void HelpWindow::makeControls() {
    grid_ = new QTableWidget(rowCount - 1, 1, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setGeometry(gridBox);
    // The fixed first column and first row, 250 pixels wide and 50 high.
    QHeaderView* fixedColumn = grid_->verticalHeader();
    QHeaderView* fixedRow = grid_->horizontalHeader();
    fixedColumn->setFixedWidth(fixedColumnWidth);
    fixedRow->setFixedHeight(fixedRowHeight);
    for (QHeaderView* header : {fixedColumn, fixedRow}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
        header->setTextElideMode(Qt::ElideNone);
    }
    fixedColumn->setMinimumSectionSize(1);
    fixedColumn->setDefaultSectionSize(rowHeight);
    grid_->setCornerButtonEnabled(false);
    grid_->setColumnWidth(0, answerColumnWidth);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    grid_->setTextElideMode(Qt::ElideNone);
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid_->setFont(ProgramFonts::font(fonts_.codeFamily(), 12, true));
    grid_->setAccessibleName(QStringLiteral("Questions and answers"));
    gridCorner_ = new GridCorner(cellText(0, 0), grid_);
    gridCorner_->setObjectName(QStringLiteral("gridCorner"));

    closeButton_ = new QPushButton(QStringLiteral("X"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setGeometry(closeButtonBox);
    closeButton_->setCursor(Qt::PointingHandCursor);
    closeButton_->setFont(windowFont(13));
    closeButton_->setAccessibleName(QStringLiteral("Close"));
    // The window places both itself; the scale reaches only their fonts.
    setLayoutScaling(grid_, LayoutScaling::fontOnly);
    setLayoutScaling(closeButton_, LayoutScaling::fontOnly);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    // The window opens with the keyboard on its button, so the grid has no current cell and no
    // cell looks selected until the player picks one.
    closeButton_->setFocus();

    fillGrid();
}

void HelpWindow::layoutScaled() {
    if (!grid_) return;  // not made yet
    const auto scaled = [this](int length) {
        return std::max(1, static_cast<int>(std::lround(length * layoutScale())));
    };
    grid_->verticalHeader()->setFixedWidth(scaled(fixedColumnWidth));
    grid_->horizontalHeader()->setFixedHeight(scaled(fixedRowHeight));
    grid_->verticalHeader()->setDefaultSectionSize(scaled(rowHeight));
    grid_->setColumnWidth(0, scaled(answerColumnWidth));
    gridCorner_->placeOverCorner();
    fitGridAndButton();
}

void HelpWindow::resizeEvent(QResizeEvent* event) {
    ModalWindow::resizeEvent(event);
    fitGridAndButton();
}

void HelpWindow::fitGridAndButton() {
    if (!grid_) return;
    const QRect box = scaledRect(gridBox, layoutScale());
    grid_->setGeometry(0, 0, std::min(box.width(), width()), std::min(box.height(), height()));
    const QRect button = scaledRect(closeButtonBox, layoutScale());
    closeButton_->setGeometry(std::max(0, std::min(button.x(), width() - button.width())),
                              button.y(), button.width(), button.height());
}

void HelpWindow::fillGrid() {
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < 2; ++column) {
            if (row == 0 && column == 0) continue;  // the corner, which holds its text itself
            auto* item = new QTableWidgetItem(cellText(row, column));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (row == 0) {
                grid_->setHorizontalHeaderItem(column - 1, item);
            } else if (column == 0) {
                grid_->setVerticalHeaderItem(row - 1, item);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setData(Qt::AccessibleTextRole, spokenAnswer(row));
                grid_->setItem(row - 1, column - 1, item);
            }
        }
    }
    QFont font = grid_->font();
    font.setPointSize(13);
    grid_->setFont(font);
}

InfoWindow::InfoWindow(const ProgramFonts& fonts) : ModalWindow(FirstShowing::minimised) {
    setObjectName(QStringLiteral("info"));
    setWindowTitle(QStringLiteral("Info"));
    setLayoutGeometry({699, 312, 266, 148});
    setClosesOnEscape(true);
    setFont(windowFont(11));

    QPalette red = palette();
    red.setColor(QPalette::WindowText, Qt::red);
    versionLabel_ = new QLabel(QStringLiteral("Version 4"), this);
    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    versionLabel_->setGeometry(80, 8, 99, 24);
    versionLabel_->setFont(ProgramFonts::font(fonts.codeFamily(), 19, true));
    versionLabel_->setPalette(red);
    versionLabel_->adjustSize();
    setLayoutScaling(versionLabel_, LayoutScaling::sizedToText);
    engineVersionLabel_ = new QLabel(QStringLiteral("Reversi engine version 0.6 BETA"), this);
    engineVersionLabel_->setObjectName(QStringLiteral("engineVersionLabel"));
    fitTextsToBoxes({{engineVersionLabel_, {8, 40, 229, 18}}},
                    ProgramFonts::font(fonts.decorativeFamily(), 16));
    engineVersionLabel_->setPalette(red);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setGeometry(92, 72, 75, 25);
    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace reversi
