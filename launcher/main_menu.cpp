#include "main_menu.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>

#include "accessibility.h"
#include "error_display.h"
#include "handoff.h"
#include "intro_animation.h"
#include "program_info.h"
#include "resource_names.h"

namespace reversi {

using namespace resources;

namespace {
constexpr int defaultCountdown = 300;

// Boxes the layout gives the labels in the decorative face; their texts are fitted to them and
// centred in them. The two headings keep their layout widths but are centred over what they head
// (their layout places were drawn for a narrower face, whose left-aligned texts sat there): the
// previews' pictures (x 191 to 551) and the countdown slider (x 302 to 446).
constexpr QRect themeTitleBox(274, 132, 195, 22);
// Each theme's radio button and, below it, its preview; left to right from theme 1.
struct ThemeChoice {
    QRect radio;
    QRect preview;
};
constexpr ThemeChoice themeChoices[] = {{{221, 177, 15, 15}, {191, 221, 97, 96}},
                                        {{361, 177, 15, 15}, {331, 221, 97, 96}},
                                        {{499, 177, 15, 15}, {471, 221, 97, 96}}};
static_assert(std::size(themeChoices) == themeCount);
// What each theme's preview shows, for a screen reader: its two sides' colours on its board's.
constexpr const char* themeColours[] = {"red and yellow on grey", "white and black on blue",
                                        "lime and yellow on magenta"};
static_assert(std::size(themeColours) == themeCount);
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

MainMenu::MainMenu(WindowDirectory& windows) : windows_(windows) {
    setObjectName(QStringLiteral("menu"));
    setWindowTitle(QStringLiteral("Welcome!"));
    setLayoutGeometry({261, 270, 765, 613});
    setAutoFillBackground(true);
    setBackground(QApplication::palette().color(QPalette::Button));

    // Each control named after what it does, by which it can be found from outside.
    const auto named = [](QWidget* control, const char* name) {
        control->setObjectName(QLatin1String(name));
        return control;
    };
    const auto label = [&](const char* name, const QString& text, QRect geometry) {
        auto* l = new QLabel(text, this);
        named(l, name)->setGeometry(geometry);
        return l;
    };
    const auto picture = [&](const char* name, QRect geometry) {
        auto* p = new ResourcePicture(this);
        named(p, name)->setGeometry(geometry);
        return p;
    };
    const auto button = [&](const char* name, const QString& caption, QRect geometry,
                            Qt::CursorShape cursor) {
        auto* b = new QPushButton(caption, this);
        named(b, name)->setGeometry(geometry);
        b->setCursor(cursor);
        return b;
    };
    const auto radio = [&](const char* name, QRect geometry) {
        auto* r = new QRadioButton(this);
        named(r, name)->setGeometry(geometry);
        r->setCursor(Qt::PointingHandCursor);
        return r;
    };

    // Created in this order, so the intro picture lies over the labels and images before it
    // and under the controls after it.
    themeTitleLabel_ =
        label("themeTitleLabel", QStringLiteral("Select interface theme:"), themeTitleBox);
    for (int theme = 1; theme <= themeCount; ++theme) {
        const auto name = QStringLiteral("theme%1Preview").arg(theme).toLatin1();
        themePreviews_[theme - 1] = picture(name.constData(), themeChoices[theme - 1].preview);
        themePreviews_[theme - 1]->setAccessibleName(
            QStringLiteral("Theme %1: %2").arg(theme).arg(QLatin1String(themeColours[theme - 1])));
        accessibility::presentAs(themePreviews_[theme - 1], QAccessible::Graphic);
    }
    countdownMinLabel_ =
        label("countdownMinLabel", QString::number(shortestCountdown), countdownMinBox);
    countdownMidLabel_ = label("countdownMidLabel", QStringLiteral(" 1675"), countdownMidBox);
    countdownMaxLabel_ =
        label("countdownMaxLabel", QString::number(longestCountdown), countdownMaxBox);
    countdownTitleLabel_ =
        label("countdownTitleLabel", QStringLiteral("Select countdown:"), countdownTitleBox);
    countdownValueLabel_ = label("countdownValueLabel", QString(), {363, 427, 4, 17});
    intro_ = new IntroAnimation(
        this, [this] { setBackground(Qt::black); },  // as black as the last frame's edge
        [this] {
            setBackground(QApplication::palette().color(QPalette::Button));
            for (QWidget* control : menuControls())
                control->show();
            versionLabel_->setFocusPolicy(Qt::TabFocus);
        });
    named(intro_, "intro")->setGeometry(0, 0, 745, 569);
    exitButton_ =
        button("exitButton", QStringLiteral("Exit"), {236, 74, 81, 30}, Qt::PointingHandCursor);
    goToPlayButton_ = button("goToPlayButton", QStringLiteral(" Go To Play form"),
                             {331, 74, 119, 30}, Qt::PointingHandCursor);
    for (int theme = 1; theme <= themeCount; ++theme) {
        const auto name = QStringLiteral("theme%1Radio").arg(theme).toLatin1();
        QRadioButton* choice = radio(name.constData(), themeChoices[theme - 1].radio);
        // What a screen reader says for a control without a caption.
        choice->setAccessibleName(QStringLiteral("Theme %1").arg(theme));
        choice->setAccessibleDescription(QLatin1String(themeColours[theme - 1]));
        themeRadios_[theme - 1] = choice;
    }
    helpButton_ = button("helpButton", QStringLiteral("?"), {464, 74, 30, 30}, Qt::WhatsThisCursor);
    countdownSlider_ = new QSlider(Qt::Horizontal, this);
    named(countdownSlider_, "countdownSlider")->setGeometry(302, 390, 145, 18);
    countdownSlider_->setRange(shortestCountdown, longestCountdown);
    countdownSlider_->setTickPosition(QSlider::TicksBelow);
    countdownSlider_->setTickInterval(50);
    countdownSlider_->setSingleStep(1);
    countdownSlider_->setPageStep(2);
    countdownSlider_->setValue(shortestCountdown);
    countdownSlider_->setCursor(Qt::SizeHorCursor);
    opponentButton_ =
        button("opponentButton", playWithComputer, {240, 32, 249, 25}, Qt::ArrowCursor);
    // Made last, so that the keyboard reaches it last, once the intro is over; drawn under the
    // intro, as the labels made before it.
    versionLabel_ =
        new ClickableLabel(QStringLiteral("v%1 STABLE").arg(program::majorVersion), this,
                           [this] { runHandler([this] { onVersionClicked(); }); });
    named(versionLabel_, "versionLabel")->setGeometry(674, 554, 63, 15);
    versionLabel_->stackUnder(intro_);
    QPalette red = versionLabel_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    versionLabel_->setPalette(red);
    // What a screen reader says for the controls whose captions are no words, or that have none.
    helpButton_->setAccessibleName(QStringLiteral("Help"));
    countdownSlider_->setAccessibleName(QStringLiteral("Countdown in seconds"));
    for (QLabel* sizedToText : {countdownValueLabel_, versionLabel_})
        setLayoutScaling(sizedToText, LayoutScaling::sizedToText);
    // The menu opens on the primary screen, where its layout puts it when it fits.
    placeOn(QGuiApplication::primaryScreen());

    connectHandler(exitButton_, &QPushButton::clicked, this, &MainMenu::onExitClicked);
    connectHandler(goToPlayButton_, &QPushButton::clicked, this, &MainMenu::onGoToPlayClicked);
    connectHandler(helpButton_, &QPushButton::clicked, this, &MainMenu::onHelpClicked);
    connectHandler(opponentButton_, &QPushButton::clicked, this, &MainMenu::onOpponentClicked);
    connectHandler(countdownSlider_, &QSlider::valueChanged, this, &MainMenu::updateCountdown);

    // The controls wait for the intro's end, also in the window shown before the start-up work.
    rewind();
    intro_->start();
}

QList<QWidget*> MainMenu::menuControls() const {
    QList<QWidget*> controls{themeTitleLabel_};
    for (QWidget* preview : themePreviews_)
        controls.append(preview);
    controls.append({countdownMinLabel_, countdownMidLabel_, countdownMaxLabel_,
                     countdownTitleLabel_, countdownValueLabel_, exitButton_, goToPlayButton_,
                     helpButton_, opponentButton_});
    for (QWidget* radio : themeRadios_)
        controls.append(radio);
    controls.append(countdownSlider_);
    return controls;
}

void MainMenu::setBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void MainMenu::rewind() {
    intro_->rewind();
    for (QWidget* control : menuControls())
        control->hide();
    versionLabel_->setFocusPolicy(Qt::NoFocus);
    versusComputer_ = false;
}

void MainMenu::setPreviews() {
    for (int theme = 1; theme <= themeCount; ++theme) {
        themePreviews_[theme - 1]->setPicture(
            QString::fromLatin1(ResourceName::image(ResourceName::firstPreview + theme - 1)));
    }
}

void MainMenu::applyFontsAndDefaults(const ProgramFonts& fonts) {
    relayout([this, &fonts] { applyFonts(fonts); });
    countdownSlider_->setValue(defaultCountdown);
    themeRadios_[0]->setChecked(true);
    countdownValueLabel_->setText(QString::number(defaultCountdown));
    countdownValueLabel_->adjustSize();
}

void MainMenu::setVersionShown(bool shown) {
    versionLabel_->setVisible(shown);
}

void MainMenu::applyFonts(const ProgramFonts& fonts) {
    const QString decorative = fonts.decorativeFamily();
    setFont(ProgramFonts::font(decorative, 20));
    fitTextsToBoxes({{themeTitleLabel_, themeTitleBox}, {countdownTitleLabel_, countdownTitleBox}},
                    ProgramFonts::font(decorative, 19));
    fitTextsToBoxes({{countdownMinLabel_, countdownMinBox},
                     {countdownMidLabel_, countdownMidBox},
                     {countdownMaxLabel_, countdownMaxBox}},
                    ProgramFonts::font(decorative, 12));
    countdownValueLabel_->setFont(ProgramFonts::font(decorative, 15));
    versionLabel_->setFont(ProgramFonts::font(fonts.codeFamily(), 12, true));
    for (QLabel* label : {countdownValueLabel_, versionLabel_})
        label->adjustSize();
    fitCaptions({{exitButton_, {exitButton_->text()}},
                 {goToPlayButton_, {goToPlayButton_->text()}},
                 {helpButton_, {helpButton_->text()}}},
                font());
    fitCaptions({{opponentButton_, {playWithComputer, playWithSecondPlayer}}}, font());
}

void MainMenu::updateCountdown() {
    const int position = countdownSlider_->value();
    if (position % countdownStep == 0 && position >= shortestCountdown &&
        position <= longestCountdown) {
        countdown_ = position;
    }
    countdownValueLabel_->setText(QString::number(countdown_));
    countdownValueLabel_->adjustSize();
}

void MainMenu::onOpponentClicked() {
    versusComputer_ = !versusComputer_;
    opponentButton_->setText(versusComputer_ ? playWithSecondPlayer : playWithComputer);
}

void MainMenu::onGoToPlayClicked() {
    // The countdown is chosen once per run.
    for (QWidget* control : std::initializer_list<QWidget*>{
             countdownSlider_, countdownMinLabel_, countdownMidLabel_, countdownMaxLabel_,
             countdownTitleLabel_, countdownValueLabel_}) {
        control->hide();
    }
    updateCountdown();
    writeHandoffFile(countdown_);
    const MatchKind kind = versusComputer_ ? MatchKind::versusComputer : MatchKind::twoPlayer;
    for (int theme = 1; theme <= themeCount; ++theme) {
        if (!themeRadios_[theme - 1]->isChecked()) continue;
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
