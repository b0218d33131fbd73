#include "window_set.h"

#include "accessibility.h"
#include "computer_match_window.h"
#include "error_display.h"

namespace reversi {

WindowSet::WindowSet(UpdateHalves update, MatchWindowFactory makeMatchWindow,
                     const std::function<void(MainMenu&)>& beforeMenuStartUp)
    : run_(std::move(update)) {
    // Before the first window, which a screen reader may meet as soon as it is shown.
    accessibility::install();
    menu_ = std::make_unique<MainMenu>(*this);
    run_.startUp(*menu_, beforeMenuStartUp);
    const ProgramFonts& fonts = run_.fonts();
    if (!makeMatchWindow) {
        makeMatchWindow = [&fonts](MatchKind kind, int theme) -> std::unique_ptr<MatchWindow> {
            if (kind == MatchKind::versusComputer) {
                return std::make_unique<ComputerMatchWindow>(styleFor(kind, theme), nullptr,
                                                             fonts.codeFamily());
            }
            return std::make_unique<MatchWindow>(styleFor(kind, theme));
        };
    }

    // A window whose creation fails is reported and left out; the others are still made.
    const auto create = [this](const std::function<std::unique_ptr<QWidget>()>& make) {
        QWidget* made = nullptr;
        runHandler([&] {
            others_.push_back(make());
            made = others_.back().get();
        });
        return made;
    };
    const auto match = [&](MatchKind kind, int theme) {
        auto* window =
            static_cast<MatchWindow*>(create([&] { return makeMatchWindow(kind, theme); }));
        (kind == MatchKind::twoPlayer ? twoPlayer_ : versusComputer_)[theme - 1] = window;
    };
    info_ = static_cast<InfoWindow*>(create([&] { return std::make_unique<InfoWindow>(fonts); }));
    match(MatchKind::versusComputer, 3);
    match(MatchKind::twoPlayer, 1);
    match(MatchKind::twoPlayer, 2);
    match(MatchKind::twoPlayer, 3);
    help_ = static_cast<HelpWindow*>(create([&] { return std::make_unique<HelpWindow>(fonts); }));
    match(MatchKind::versusComputer, 1);
    match(MatchKind::versusComputer, 2);
    // Each opens on the menu's screen.
    for (const auto& window : others_) {
        if (auto* modal = dynamic_cast<ModalWindow*>(window.get())) modal->setOpener(menu_.get());
    }
}

WindowSet::~WindowSet() {
    while (!others_.empty())
        others_.pop_back();
    run_.shutDown();
    menu_.reset();
}

std::vector<QWidget*> WindowSet::windows() const {
    std::vector<QWidget*> all{menu_.get()};
    for (const auto& window : others_)
        all.push_back(window.get());
    return all;
}

MatchWindow* WindowSet::matchWindow(MatchKind kind, int theme) {
    if (theme < 1 || theme > themeCount) return nullptr;
    return (kind == MatchKind::twoPlayer ? twoPlayer_ : versusComputer_)[theme - 1];
}

}  // namespace reversi
