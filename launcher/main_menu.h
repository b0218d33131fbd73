#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "intro_animation.h"
#include "program_fonts.h"
#include "widgets.h"
#include "window_directory.h"

namespace reversi {

// A label that reports clicks: the left button pressed on it and released over it.
class ClickableLabel : public QLabel {
  public:
    ClickableLabel(const QString& text, QWidget* parent, std::function<void()> onClick);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::function<void()> onClick_;
    bool pressed_ = false;
};

// The main window: the menu that picks theme, countdown and opponent, shown after its intro.
class MainMenu : public LayoutWindow {
  public:
    explicit MainMenu(WindowDirectory& windows);

    // The menu's steps of the program's start-up (see ProgramRun), in this order. Back to before
    // the intro's first frame, the controls hidden until its end, and two players.
    void rewind();
    // The themes' previews; throws when one cannot be read.
    void loadPreviews();
    // The program's fonts applied; then theme 1 and a countdown of 300.
    void applyFontsAndDefaults(const ProgramFonts& fonts);
    // Hides the version label while the window is shown before its font is there, and shows it.
    void setVersionShown(bool shown);

    // Handlers, public so that the program and tests can drive them directly.
    void onExitClicked();
    void onGoToPlayClicked();
    void onHelpClicked();
    void onVersionClicked();
    void onOpponentClicked();
    void onCountdownChanged();
    // Takes the slider's position as the countdown when it is a multiple of five, and shows it.
    void updateCountdown();

    // The menu's controls and the intro.
    QPushButton* exitButton;
    QPushButton* goToPlayButton;
    QRadioButton* theme1Radio;
    QRadioButton* theme2Radio;
    QRadioButton* theme3Radio;
    QLabel* themeTitleLabel;
    QPushButton* helpButton;
    QLabel* theme1Preview;
    QLabel* theme2Preview;
    QLabel* theme3Preview;
    QSlider* countdownSlider;
    QLabel* countdownMinLabel;
    QLabel* countdownMidLabel;
    QLabel* countdownMaxLabel;
    QLabel* countdownTitleLabel;
    QLabel* countdownValueLabel;
    ClickableLabel* versionLabel;
    QPushButton* opponentButton;
    IntroAnimation* intro;

    // Menu state.
    int countdownValue = 0;
    bool versusComputer = false;

  private:
    void applyFonts(const ProgramFonts& fonts);
    void setBackground(const QColor& colour);
    QList<QWidget*> menuControls() const;

    WindowDirectory& windows_;
};

}  // namespace reversi
