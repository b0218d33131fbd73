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
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("Help"));
    setGeometry(397, 29, 1153, 805);
    setFont(ProgramFonts::font(fonts.decorativeFamily(), 11));
    QPalette p = palette();
    p.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
    setPalette(p);
    setAutoFillBackground(true);

    strgrid1 = new QTableWidget(rowCount, 2, this);
    strgrid1->setGeometry(0, 0, 1143, 769);
    strgrid1->horizontalHeader()->hide();
    strgrid1->verticalHeader()->hide();
    strgrid1->setColumnWidth(0, 250);
    strgrid1->setColumnWidth(1, 970);
    for (int row = 0; row < rowCount; ++row)
        strgrid1->setRowHeight(row, 50);
    strgrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    strgrid1->setWordWrap(false);
    strgrid1->setTextElideMode(Qt::ElideNone);
    strgrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    strgrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    strgrid1->setFont(ProgramFonts::font(fonts.codeFamily(), 12, true));

    btn1 = new QPushButton(QStringLiteral("X"), this);
    btn1->setGeometry(1115, 0, 26, 25);
    btn1->setCursor(Qt::PointingHandCursor);
    btn1->setFont(windowFont(13));
    QPalette white = btn1->palette();
    white.setColor(QPalette::ButtonText, Qt::white);
    btn1->setPalette(white);
    connect(btn1, &QPushButton::clicked, this, &QWidget::close);

    FormCreate();
}

void HelpWindow::FormCreate() {
    const QColor fixedColour = QApplication::palette().color(QPalette::Button);
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem(cellText(row, column));
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            // The first row and column are the grid's fixed header cells.
            if (row == 0 || column == 0) item->setBackground(fixedColour);
            strgrid1->setItem(row, column, item);
        }
    }
    QFont font = strgrid1->font();
    font.setPointSize(13);
    strgrid1->setFont(font);
}

InfoWindow::InfoWindow(const ProgramFonts& fonts) : ModalWindow(FirstShowing::minimised) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Info"));
    setGeometry(699, 312, 266, 148);
    setFont(windowFont(11));

    QPalette red = palette();
    red.setColor(QPalette::WindowText, Qt::red);
    lbl1 = new QLabel(QStringLiteral("Version 4"), this);
    lbl1->setGeometry(80, 8, 99, 24);
    lbl1->setFont(ProgramFonts::font(fonts.codeFamily(), 19, true));
    lbl1->setPalette(red);
    lbl2 = new QLabel(QStringLiteral("Reversi engine version 0.6 BETA"), this);
    lbl2->setGeometry(8, 40, 229, 18);
    lbl2->setFont(ProgramFonts::font(fonts.decorativeFamily(), 16));
    lbl2->setPalette(red);
    for (QLabel* label : {lbl1, lbl2})
        label->adjustSize();

    btn1 = new QPushButton(QStringLiteral("OK"), this);
    btn1->setGeometry(92, 72, 75, 25);
    connect(btn1, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace reversi
