#include "main_menu.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>

#include "error_display.h"
#include "handoff.h"
#include "intro_animation.h"
#include "resource_names.h"
#include "resources.h"

namespace reversi {

using namespace resources;

namespace {
constexpr int defaultCountdown = 300;

// Boxes the layout gives the labels in the decorative face; their texts are fitted to them and
// centred in them. The two headings keep their layout widths but are centred over what they head
// (their layout places were drawn for a narrower face, whose left-aligned texts sat there): the
// previews' pictures (x 191 to 551) and the countdown slider (x 302 to 446).
constexpr QRect themeTitleBox(274, 132, 195, 22);
constexpr QRect countdownMinBox(309, 375, 21, 15);
constexpr QRect countdownMidBox(361, 375, 31, 15);
constexpr QRect countdownMaxBox(420, 375, 28, 15);
constexpr QRect countdownTitleBox(297, 331, 155, 22);

// One caption size for a row of buttons: the largest, up to the font's own, at which every
// caption a button of the row shows, now or later, fits it. Fits also a face wider than the one
// the layout was drawn for, and no caption is ever cut off.
void fitCaptions(const QList<std::pair<QPushButton*, QStringList>>& row, const QFont& font) {
    constexpr int padding = 10;  // the button's frame and margins
    const QFont fitted = largestFittingFont(font, [&row](const QFontMetrics& metrics) {
        for (const auto& [button, captions] : row) {
            for (const QString& caption : captions) {
                if (metrics.horizontalAdvance(caption) + padding > button->width()) return false;
            }
        }
        return true;
    });
    for (const auto& entry : row)
        entry.first->setFont(fitted);
}

const QString playWithComputer = QStringLiteral("Click to play with pc");
const QString playWithSecondPlayer = QStringLiteral("Click to play with 2nd player");
}  // namespace

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
    : QLabel(text, parent), onClick_(std::move(onClick)) {}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click, as on a button: the left button pressed on the label and released over it.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) pressed_ = false;
    event->accept();
    if (click) onClick_();
}

MainMenu::MainMenu(WindowDirectory& windows) : windows_(windows) {
    setObjectName(QStringLiteral("menu"));
    setWindowTitle(QStringLiteral("Welcome!"));
    setLayoutGeometry({261, 270, 765, 613});
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
        setLayoutScaling(l, LayoutScaling::picture);
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
    themeTitleLabel = label(QStringLiteral("Select interface theme:"), themeTitleBox);
    theme1Preview = image({191, 221, 97, 96});
    theme2Preview = image({331, 221, 97, 96});
    theme3Preview = image({471, 221, 97, 96});
    countdownMinLabel = label(QStringLiteral("250"), countdownMinBox);
    countdownMidLabel = label(QStringLiteral(" 1675"), countdownMidBox);
    countdownMaxLabel = label(QStringLiteral("3600"), countdownMaxBox);
    countdownTitleLabel = label(QStringLiteral("Select countdown:"), countdownTitleBox);
    countdownValueLabel = label(QString(), {363, 427, 4, 17});
    versionLabel = new ClickableLabel(QStringLiteral("v5 STABLE"), this,
                                      [this] { runHandler([this] { onVersionClicked(); }); });
    versionLabel->setGeometry(674, 554, 63, 15);
    QPalette red = versionLabel->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    versionLabel->setPalette(red);
    intro = new IntroAnimation(
        this, [this] { setBackground(Qt::black); },  // as black as the last frame's edge
        [this] {
            setBackground(QApplication::palette().color(QPalette::Button));
            for (QWidget* control : menuControls())
                control->show();
        });
    intro->setGeometry(0, 0, 745, 569);
    setLayoutScaling(intro, LayoutScaling::picture);
    exitButton = button(QStringLiteral("Exit"), {236, 74, 81, 30}, Qt::PointingHandCursor);
    goToPlayButton =
        button(QStringLiteral(" Go To Play form"), {331, 74, 119, 30}, Qt::PointingHandCursor);
    theme1Radio = radio({221, 177, 15, 15});
    theme2Radio = radio({361, 177, 15, 15});
    theme3Radio = radio({499, 177, 15, 15});
    helpButton = button(QStringLiteral("?"), {464, 74, 30, 30}, Qt::WhatsThisCursor);
    countdownSlider = new QSlider(Qt::Horizontal, this);
    countdownSlider->setGeometry(302, 390, 145, 18);
    countdownSlider->setRange(shortestCountdown, longestCountdown);
    countdownSlider->setTickPosition(QSlider::TicksBelow);
    countdownSlider->setTickInterval(50);
    countdownSlider->setSingleStep(1);
    countdownSlider->setPageStep(2);
    countdownSlider->setValue(shortestCountdown);
    countdownSlider->setCursor(Qt::SizeHorCursor);
    opponentButton = button(playWithComputer, {240, 32, 249, 25}, Qt::ArrowCursor);
    // What a screen reader says for the controls whose captions are no words, or that have none.
    helpButton->setAccessibleName(QStringLiteral("Help"));
    theme1Radio->setAccessibleName(QStringLiteral("Theme 1"));
    theme2Radio->setAccessibleName(QStringLiteral("Theme 2"));
    theme3Radio->setAccessibleName(QStringLiteral("Theme 3"));
    countdownSlider->setAccessibleName(QStringLiteral("Countdown"));
    for (QLabel* sizedToText : {countdownValueLabel, static_cast<QLabel*>(versionLabel)})
        setLayoutScaling(sizedToText, LayoutScaling::sizedToText);
    // The menu opens on the primary screen, where its layout puts it when it fits.
    placeOn(QGuiApplication::primaryScreen());

    connectHandler(exitButton, &QPushButton::clicked, this, &MainMenu::onExitClicked);
    connectHandler(goToPlayButton, &QPushButton::clicked, this, &MainMenu::onGoToPlayClicked);
    connectHandler(helpButton, &QPushButton::clicked, this, &MainMenu::onHelpClicked);
    connectHandler(opponentButton, &QPushButton::clicked, this, &MainMenu::onOpponentClicked);
    connectHandler(countdownSlider, &QSlider::valueChanged, this, &MainMenu::onCountdownChanged);

    intro->start();
}

QList<QWidget*> MainMenu::menuControls() const {
    return {themeTitleLabel,     theme1Preview,     theme2Preview,     theme3Preview,
            countdownMinLabel,   countdownMidLabel, countdownMaxLabel, countdownTitleLabel,
            countdownValueLabel, exitButton,        goToPlayButton,    helpButton,
            opponentButton,      theme1Radio,       theme2Radio,       theme3Radio,
            countdownSlider};
}

void MainMenu::setBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void MainMenu::rewind() {
    intro->rewind();
    for (QWidget* control : menuControls())
        control->hide();
    versusComputer = false;
}

void MainMenu::loadPreviews() {
    const qreal ratio = devicePixelRatioF();
    theme1Preview->setPixmap(resourcePixmap(ResourceType::rawData, "Image1", ratio));
    theme2Preview->setPixmap(resourcePixmap(ResourceType::rawData, "Image2", ratio));
    theme3Preview->setPixmap(resourcePixmap(ResourceType::rawData, "Image3", ratio));
}

void MainMenu::applyFontsAndDefaults(const ProgramFonts& fonts) {
    relayout([this, &fonts] { applyFonts(fonts); });
    countdownSlider->setValue(defaultCountdown);
    theme1Radio->setChecked(true);
    countdownValueLabel->setText(QStringLiteral("300"));
    countdownValueLabel->adjustSize();
}

void MainMenu::setVersionShown(bool shown) {
    versionLabel->setVisible(shown);
}

void MainMenu::applyFonts(const ProgramFonts& fonts) {
    const QString decorative = fonts.decorativeFamily();
    setFont(ProgramFonts::font(decorative, 20));
    fitTextsToBoxes({{themeTitleLabel, themeTitleBox}, {countdownTitleLabel, countdownTitleBox}},
                    ProgramFonts::font(decorative, 19));
    fitTextsToBoxes({{countdownMinLabel, countdownMinBox},
                     {countdownMidLabel, countdownMidBox},
                     {countdownMaxLabel, countdownMaxBox}},
                    ProgramFonts::font(decorative, 12));
    countdownValueLabel->setFont(ProgramFonts::font(decorative, 15));
    versionLabel->setFont(ProgramFonts::font(fonts.codeFamily(), 12, true));
    for (QLabel* label : {countdownValueLabel, static_cast<QLabel*>(versionLabel)})
        label->adjustSize();
    fitCaptions({{exitButton, {exitButton->text()}},
                 {goToPlayButton, {goToPlayButton->text()}},
                 {helpButton, {helpButton->text()}}},
                font());
    fitCaptions({{opponentButton, {playWithComputer, playWithSecondPlayer}}}, font());
}

void MainMenu::onCountdownChanged() {
    updateCountdown();
}

void MainMenu::updateCountdown() {
    const int position = countdownSlider->value();
    if (position % countdownStep == 0 && position >= shortestCountdown &&
        position <= longestCountdown) {
        countdownValue = position;
    }
    countdownValueLabel->setText(QString::number(countdownValue));
    countdownValueLabel->adjustSize();
}

void MainMenu::onOpponentClicked() {
    versusComputer = !versusComputer;
    opponentButton->setText(versusComputer ? playWithSecondPlayer : playWithComputer);
}

void MainMenu::onGoToPlayClicked() {
    // The countdown is chosen once per run.
    for (QWidget* control :
         {static_cast<QWidget*>(countdownSlider), static_cast<QWidget*>(countdownMinLabel),
          static_cast<QWidget*>(countdownMidLabel), static_cast<QWidget*>(countdownMaxLabel),
          static_cast<QWidget*>(countdownTitleLabel), static_cast<QWidget*>(countdownValueLabel)}) {
        control->hide();
    }
    updateCountdown();
    writeHandoffFile(countdownValue);
    const MatchKind kind = versusComputer ? MatchKind::versusComputer : MatchKind::twoPlayer;
    const QRadioButton* themes[] = {theme1Radio, theme2Radio, theme3Radio};
    for (int theme = 1; theme <= 3; ++theme) {
        if (!themes[theme - 1]->isChecked()) continue;
        if (ModalWindow* window = windows_.matchWindow(kind, theme)) window->showModal();
    }
}

void MainMenu::onHelpClicked() {
    if (ModalWindow* help = windows_.helpWindow()) help->showModal();
}

void MainMenu::onVersionClicked() {
    if (ModalWindow* info = windows_.infoWindow()) info->showModal();
}

void MainMenu::onExitClicked() {
    close();
}

}  // namespace reversi
