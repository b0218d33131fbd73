#include "main_menu.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>

#include "error_display.h"
#include "handoff.h"
#include "resource_names.h"
#include "resources.h"

namespace reversi {

using namespace resources;

namespace {
constexpr int firstIntroTick = 3;
constexpr int lastFrameTick = 14;  // ticks 4 to 14 show the frames IMAGE4 to IMAGE14
constexpr int menuTick = 16;
constexpr int defaultCountdown = 300;

// Shrinks a button's font until its caption fits, so no caption is ever cut off whatever font
// the system substitutes.
void fitCaption(QPushButton* button, const QFont& preferred) {
    QFont font = preferred;
    constexpr int padding = 10;
    while (font.pixelSize() > 8 &&
           QFontMetrics(font).horizontalAdvance(button->text()) + padding > button->width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    button->setFont(font);
}
}  // namespace

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
    : QLabel(text, parent), onClick_(std::move(onClick)) {}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    onClick_();
}

MainMenu::MainMenu(WindowDirectory& windows, UpdateHalves update)
    : QWidget(nullptr), windows_(windows), update_(std::move(update)) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Welcome!"));
    setGeometry(261, 270, 765, 613);
    setAutoFillBackground(true);
    setBackground(QApplication::palette().color(QPalette::Button));

    const auto label = [this](const QString& text, QRect geometry) {
        auto* l = new QLabel(text, this);
        l->setGeometry(geometry);
        return l;
    };
    const auto image = [this](QRect geometry) {
        auto* l = new QLabel(this);
        l->setGeometry(geometry);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    const auto button = [this](const QString& caption, QRect geometry, Qt::CursorShape cursor) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(geometry);
        b->setCursor(cursor);
        return b;
    };
    const auto radio = [this](QRect geometry) {
        auto* r = new QRadioButton(this);
        r->setGeometry(geometry);
        r->setCursor(Qt::PointingHandCursor);
        return r;
    };

    // Created in this order, so the intro picture lies over the labels and images before it
    // and under the controls after it.
    lbl1 = label(QStringLiteral("Select interface theme:"), {294, 132, 195, 22});
    img1 = image({191, 221, 97, 96});
    img2 = image({331, 221, 97, 96});
    img3 = image({471, 221, 97, 96});
    lbl2 = label(QStringLiteral("250"), {309, 375, 21, 15});
    lbl3 = label(QStringLiteral(" 1675"), {361, 375, 31, 15});
    lbl4 = label(QStringLiteral("3600"), {420, 375, 28, 15});
    lbl5 = label(QStringLiteral("Select countdown:"), {316, 331, 155, 22});
    lbl6 = label(QString(), {363, 427, 4, 17});
    version = new ClickableLabel(QStringLiteral("v5 STABLE"), this,
                                 [this] { runHandler([this] { versionClick(); }); });
    version->setGeometry(674, 554, 63, 15);
    QPalette red = version->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    version->setPalette(red);
    intra = image({0, 0, 745, 569});
    btn1 = button(QStringLiteral("Exit"), {236, 74, 81, 30}, Qt::PointingHandCursor);
    btn2 = button(QStringLiteral(" Go To Play form"), {331, 74, 119, 30}, Qt::PointingHandCursor);
    rb1 = radio({221, 177, 15, 15});
    rb2 = radio({361, 177, 15, 15});
    rb3 = radio({499, 177, 15, 15});
    btn3 = button(QStringLiteral("?"), {464, 74, 30, 30}, Qt::WhatsThisCursor);
    line1 = new QSlider(Qt::Horizontal, this);
    line1->setGeometry(302, 390, 145, 18);
    line1->setRange(250, 3600);
    line1->setTickPosition(QSlider::TicksBelow);
    line1->setTickInterval(50);
    line1->setSingleStep(1);
    line1->setPageStep(2);
    line1->setValue(250);
    line1->setCursor(Qt::SizeHorCursor);
    btnplaywith =
        button(QStringLiteral("Click to play with pc"), {240, 32, 249, 25}, Qt::ArrowCursor);
    tmr1 = new QTimer(this);
    tmr1->setInterval(200);

    connect(btn1, &QPushButton::clicked, this, [this] { runHandler([this] { btn1Click(); }); });
    connect(btn2, &QPushButton::clicked, this, [this] { runHandler([this] { btn2Click(); }); });
    connect(btn3, &QPushButton::clicked, this, [this] { runHandler([this] { btn3Click(); }); });
    connect(btnplaywith, &QPushButton::clicked, this,
            [this] { runHandler([this] { btnplaywithClick(); }); });
    connect(line1, &QSlider::valueChanged, this, [this] { runHandler([this] { line1Change(); }); });
    connect(tmr1, &QTimer::timeout, this, [this] { runHandler([this] { tmr1Timer(); }); });

    tmr1->start();
    FormCreate();
}

MainMenu::~MainMenu() {
    FormDestroy();
}

QList<QWidget*> MainMenu::menuControls() const {
    return {lbl1, img1, img2, img3,        lbl2, lbl3, lbl4, lbl5, lbl6,
            btn1, btn2, btn3, btnplaywith, rb1,  rb2,  rb3,  line1};
}

void MainMenu::setBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void MainMenu::FormCreate() {
    // Each step runs even when an earlier one failed, so the menu is always fully usable; the
    // failures are reported together, once.
    QStringList failures;
    const auto step = [&failures](const std::function<void()>& run) {
        try {
            run();
        } catch (const std::exception& error) {
            failures << QString::fromUtf8(error.what());
        }
    };
    if (update_.atStartup) step(update_.atStartup);
    introTick = firstIntroTick;
    for (QWidget* control : menuControls())
        control->hide();
    versusComputer = false;
    step([this] {
        img1->setPixmap(QPixmap::fromImage(resourceImage(ResourceType::rawData, "Image1")));
        img2->setPixmap(QPixmap::fromImage(resourceImage(ResourceType::rawData, "Image2")));
        img3->setPixmap(QPixmap::fromImage(resourceImage(ResourceType::rawData, "Image3")));
    });
    step([this] { fonts_.installDecorative(); });
    step([this] { fonts_.installCode(); });
    applyFonts();
    line1->setValue(defaultCountdown);
    rb1->setChecked(true);
    lbl6->setText(QStringLiteral("300"));
    lbl6->adjustSize();
    if (!failures.isEmpty()) showError(failures.join(QLatin1Char('\n')));
}

void MainMenu::applyFonts() {
    const QString decorative = fonts_.decorativeFamily();
    setFont(ProgramFonts::font(decorative, 20));
    for (QLabel* label : {lbl1, lbl5})
        label->setFont(ProgramFonts::font(decorative, 19));
    for (QLabel* label : {lbl2, lbl3, lbl4})
        label->setFont(ProgramFonts::font(decorative, 12));
    lbl6->setFont(ProgramFonts::font(decorative, 15));
    version->setFont(ProgramFonts::font(fonts_.codeFamily(), 12, true));
    for (QLabel* label : {lbl1, lbl2, lbl3, lbl4, lbl5, lbl6, static_cast<QLabel*>(version)}) {
        label->adjustSize();
    }
    for (QPushButton* button : {btn1, btn2, btn3, btnplaywith})
        fitCaption(button, font());
}

void MainMenu::tmr1Timer() {
    ++introTick;
    if (introTick <= lastFrameTick) {
        introFrameName = QString::number(introTick);
        intra->setPixmap(QPixmap::fromImage(
            resourceImage(ResourceType::rawData, QStringLiteral("Image") + introFrameName)));
    }
    if (introFrameName == QStringLiteral("14")) setBackground(Qt::black);
    if (introTick == menuTick) {
        setBackground(QApplication::palette().color(QPalette::Button));
        for (QWidget* control : menuControls())
            control->show();
        intra->hide();
        tmr1->stop();
    }
}

void MainMenu::line1Change() {
    caseof();
}

void MainMenu::caseof() {
    countdownText.clear();
    const int position = line1->value();
    if (position % 5 == 0 && position >= 250 && position <= 3600) countdownValue = position;
    countdownText = QString::number(countdownValue);
    lbl6->setText(countdownText);
    lbl6->adjustSize();
}

void MainMenu::btnplaywithClick() {
    versusComputer = !versusComputer;
    btnplaywith->setText(versusComputer ? QStringLiteral("Click to play with 2nd player")
                                        : QStringLiteral("Click to play with pc"));
    fitCaption(btnplaywith, font());
}

void MainMenu::writeHandoffFile() {
    writeFile(QString::fromLatin1(handoffFileName), countdownText.toLatin1() + "\r\n");
}

void MainMenu::btn2Click() {
    // The countdown is chosen once per run.
    for (QWidget* control :
         {static_cast<QWidget*>(line1), static_cast<QWidget*>(lbl2), static_cast<QWidget*>(lbl3),
          static_cast<QWidget*>(lbl4), static_cast<QWidget*>(lbl5), static_cast<QWidget*>(lbl6)}) {
        control->hide();
    }
    caseof();
    writeHandoffFile();
    const MatchKind kind = versusComputer ? MatchKind::versusComputer : MatchKind::twoPlayer;
    const QRadioButton* themes[] = {rb1, rb2, rb3};
    for (int theme = 1; theme <= 3; ++theme) {
        if (!themes[theme - 1]->isChecked()) continue;
        if (ModalWindow* window = windows_.matchWindow(kind, theme)) window->showModal();
    }
}

void MainMenu::btn3Click() {
    if (ModalWindow* help = windows_.helpWindow()) help->showModal();
}

void MainMenu::versionClick() {
    if (ModalWindow* info = windows_.infoWindow()) info->showModal();
}

void MainMenu::btn1Click() {
    close();
}

void MainMenu::removeFiles() {
    deleteHandoffFile();
    fonts_.remove();
}

void MainMenu::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    deleteHandoffFile();
    // The fonts and their files go whatever happens in the update check.
    if (update_.atExit) runHandler([this] { update_.atExit([this] { fonts_.remove(); }); });
    fonts_.remove();
}

}  // namespace reversi
