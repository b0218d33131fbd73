#include "help_windows.h"

#include <QApplication>
#include <QHeaderView>
#include <array>

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

}  // namespace

QString HelpWindow::cellText(int row, int column) {
    return QString::fromUtf8(
        helpTexts.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)));
}

HelpWindow::HelpWindow(const ProgramFonts& fonts) : ModalWindow(FirstShowing::maximised) {
    setObjectName(QStringLiteral("help"));
    setWindowTitle(QStringLiteral("Help"));
    setGeometry(397, 29, 1153, 805);
    setFont(ProgramFonts::font(fonts.decorativeFamily(), 11));
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    setPalette(p);
    setAutoFillBackground(true);

    grid = new QTableWidget(rowCount, 2, this);
    grid->setGeometry(0, 0, 1143, 769);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->setColumnWidth(0, 250);
    grid->setColumnWidth(1, 970);
    for (int row = 0; row < rowCount; ++row)
        grid->setRowHeight(row, 50);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setFont(ProgramFonts::font(fonts.codeFamily(), 12, true));

    closeButton = new QPushButton(QStringLiteral("X"), this);
    closeButton->setGeometry(1115, 0, 26, 25);
    closeButton->setCursor(Qt::PointingHandCursor);
    closeButton->setFont(windowFont(13));
    QPalette white = closeButton->palette();
    white.setColor(QPalette::ButtonText, Qt::white);
    closeButton->setPalette(white);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    fillGrid();
}

void HelpWindow::fillGrid() {
    const QColor fixedColour = QApplication::palette().color(QPalette::Button);
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem(cellText(row, column));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            // The first row and column are the grid's fixed header cells.
            if (row == 0 || column == 0) item->setBackground(fixedColour);
            grid->setItem(row, column, item);
        }
    }
    QFont font = grid->font();
    font.setPointSize(13);
    grid->setFont(font);
}

InfoWindow::InfoWindow(const ProgramFonts& fonts) : ModalWindow(FirstShowing::minimised) {
    setObjectName(QStringLiteral("info"));
    setWindowTitle(QStringLiteral("Info"));
    setGeometry(699, 312, 266, 148);
    setFont(windowFont(11));

    QPalette red = palette();
    red.setColor(QPalette::WindowText, Qt::red);
    versionLabel = new QLabel(QStringLiteral("Version 4"), this);
    versionLabel->setGeometry(80, 8, 99, 24);
    versionLabel->setFont(ProgramFonts::font(fonts.codeFamily(), 19, true));
    versionLabel->setPalette(red);
    engineVersionLabel = new QLabel(QStringLiteral("Reversi engine version 0.6 BETA"), this);
    engineVersionLabel->setGeometry(8, 40, 229, 18);
    engineVersionLabel->setFont(ProgramFonts::font(fonts.decorativeFamily(), 16));
    engineVersionLabel->setPalette(red);
    for (QLabel* label : {versionLabel, engineVersionLabel})
        label->adjustSize();

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setGeometry(92, 72, 75, 25);
    connect(okButton, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace reversi
