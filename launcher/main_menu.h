#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <array>

#include "intro_animation.h"
#include "program_fonts.h"
#include "resource_picture.h"
#include "widgets.h"
#include "window_directory.h"

namespace reversi {

// The main window: the menu that picks theme, countdown and opponent, shown after its intro.
// Its controls are named after what they do ("goToPlayButton", "countdownSlider", "intro", ...).
class MainMenu : public LayoutWindow {
  public:
    explicit MainMenu(WindowDirectory& windows);

    // What the player chose: the countdown of every match, in seconds, and the opponent.
    int countdown() const { return countdown_; }
    bool versusComputer() const { return versusComputer_; }

    // The menu's steps of the program's start-up (see ProgramRun), in this order. Back to before
    // the intro's first frame, the controls hidden until its end, and two players.
    void rewind();
    // The themes' previews, decoded when they are drawn; throws when one is no picture.
    void setPreviews();
    // The program's fonts applied; then theme 1 and a countdown of 300.
    void applyFontsAndDefaults(const ProgramFonts& fonts);
    // Hides the version label while the window is shown before its font is there, and shows it.
    void setVersionShown(bool shown);

  private:
    void onExitClicked();
    void onGoToPlayClicked();
    void onHelpClicked();
    void onVersionClicked();
    void onOpponentClicked();
    // Takes the slider's position as the countdown when it is a multiple of five, and shows it.
    void updateCountdown();
    void applyFonts(const ProgramFonts& fonts);
    void setBackground(const QColor& colour);
    QList<QWidget*> menuControls() const;

    WindowDirectory& windows_;
    QPushButton* exitButton_;
    QPushButton* goToPlayButton_;
    std::array<QRadioButton*, themeCount> themeRadios_;
    QLabel* themeTitleLabel_;
    QPushButton* helpButton_;
    std::array<ResourcePicture*, themeCount> themePreviews_;
    QSlider* countdownSlider_;
    QLabel* countdownMinLabel_;
    QLabel* countdownMidLabel_;
    QLabel* countdownMaxLabel_;
    QLabel* countdownTitleLabel_;
    QLabel* countdownValueLabel_;
    QLabel* versionLabel_;
    QPushButton* opponentButton_;
    IntroAnimation* intro_;
    int countdown_ = 0;
    bool versusComputer_ = false;
};

}  // namespace reversi
