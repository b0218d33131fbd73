#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "help_windows.h"
#include "main_menu.h"
#include "match_window.h"
#include "program_run.h"

namespace reversi {

// Makes the match window of a kind and theme.
using MatchWindowFactory = std::function<std::unique_ptr<MatchWindow>(MatchKind, int theme)>;

// The program's nine windows, each created once, in a fixed order, each complete before the
// next: the menu, the program's start-up work, the others. Destroyed in the reverse order, the
// menu last, with the exit work just before it.
class WindowSet final : public WindowDirectory {
  public:
    // `beforeMenuStartUp` is handed to the start-up work (see ProgramRun::startUp).
    explicit WindowSet(UpdateHalves update, MatchWindowFactory makeMatchWindow = {},
                       const std::function<void(MainMenu&)>& beforeMenuStartUp = {});
    ~WindowSet() override;

    MainMenu& menu() { return *menu_; }
    ProgramRun& run() { return run_; }
    // Every window in the order of creation; absent ones (a failed creation) left out.
    std::vector<QWidget*> windows() const;

    MatchWindow* matchWindow(MatchKind kind, int theme) override;
    ModalWindow* helpWindow() override { return help_; }
    ModalWindow* infoWindow() override { return info_; }

  private:
    ProgramRun run_;
    std::unique_ptr<MainMenu> menu_;
    std::vector<std::unique_ptr<QWidget>> others_;  // in the order of creation
    InfoWindow* info_ = nullptr;
    HelpWindow* help_ = nullptr;
    std::array<MatchWindow*, themeCount> twoPlayer_{};
    std::array<MatchWindow*, themeCount> versusComputer_{};
};

}  // namespace reversi
