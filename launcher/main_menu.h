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

// The two halves of the update check, run by the menu's start-up and exit handlers.
struct UpdateHalves {
    std::function<void()> atStartup;
    // Given the removal of the fonts, which it runs before handing over to an updater.
    std::function<void(const std::function<void()>& removeFonts)> atExit;
    // Removes the update's files when the program must end without its exit handler.
    std::function<void()> removeFiles;
};

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
    // `beforeStartUp`, when given, runs once the controls exist and before the start-up work
    // (the update check, the previews, the fonts); the program shows the window there, so that
    // it appears at once. The version label then waits for its font.
    MainMenu(WindowDirectory& windows, UpdateHalves update,
             const std::function<void(MainMenu&)>& beforeStartUp = {});
    ~MainMenu() override;

    // The exit handler: run once, when the program ends, after every other window is gone.
    void shutDown();
    // Removes the files the menu keeps beside the program, when it must end without its exit
    // handler (the display is gone).
    void removeFiles();

    const ProgramFonts& fonts() const { return fonts_; }

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
    // The start-up handler: the update check's first half, the previews, the fonts and the
    // defaults; every failure is reported once at the end.
    void startUp();
    void applyFonts();
    void setBackground(const QColor& colour);
    QList<QWidget*> menuControls() const;

    WindowDirectory& windows_;
    UpdateHalves update_;
    ProgramFonts fonts_;
    bool shutDownDone_ = false;
};

}  // namespace reversi
