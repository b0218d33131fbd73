#pragma once

#include <functional>

#include "program_fonts.h"

namespace reversi {

class MainMenu;

// The two halves of the update check, run by the program's start-up and exit work.
struct UpdateHalves {
    std::function<void()> atStartup;
    // Given the removal of the fonts, which it runs before handing over to an updater.
    std::function<void(const std::function<void()>& removeFonts)> atExit;
    // Removes the update's files when the program must end without its exit work.
    std::function<void()> removeFiles;
};

// The work at either end of one run of the program: at start-up the update check's first half,
// the fonts and the menu's previews and defaults; at exit the files the run wrote removed and the
// update check's second half.
class ProgramRun {
  public:
    explicit ProgramRun(UpdateHalves update) : update_(std::move(update)) {}
    // Runs the exit work unless it has run.
    ~ProgramRun() { shutDown(); }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // The start-up work, once the menu's controls exist. Each step runs even when an earlier
    // one failed, so the menu is always fully usable; the failures are reported together, once.
    // `beforeStartUp`, when given, runs first; the program shows the window there, so that it
    // appears at once. The version label then waits for its font.
    void startUp(MainMenu& menu, const std::function<void(MainMenu&)>& beforeStartUp = {});
    // The exit work: run once, when the program ends, after every window but the menu is gone.
    void shutDown();
    // Removes the files the run keeps beside the program, when it must end without its exit
    // work (the display is gone).
    void removeFiles();

    const ProgramFonts& fonts() const { return fonts_; }

  private:
    UpdateHalves update_;
    ProgramFonts fonts_;
    bool shutDownDone_ = false;
};

}  // namespace reversi
