#include "program_run.h"

#include <QStringList>

#include "error_display.h"
#include "handoff.h"
#include "main_menu.h"

namespace reversi {

void ProgramRun::startUp(MainMenu& menu, const std::function<void(MainMenu&)>& beforeStartUp) {
    if (beforeStartUp) {
        menu.setVersionShown(false);
        beforeStartUp(menu);
    }
    QStringList failures;
    const auto step = [&failures](const std::function<void()>& run) {
        try {
            run();
        } catch (const std::exception& error) {
            failures << QString::fromUtf8(error.what());
        }
    };
    if (update_.atStartup) step(update_.atStartup);
    menu.rewind();
    step([&menu] { menu.setPreviews(); });
    step([this] { fonts_.installDecorative(); });
    step([this] { fonts_.installCode(); });
    menu.applyFontsAndDefaults(fonts_);
    if (!failures.isEmpty()) showError(failures.join(QLatin1Char('\n')));
    if (beforeStartUp) menu.setVersionShown(true);
}

void ProgramRun::removeFiles() {
    deleteHandoffFile();
    fonts_.remove();
    if (update_.removeFiles) runHandler(update_.removeFiles);
}

void ProgramRun::shutDown() {
    if (shutDownDone_) return;
    shutDownDone_ = true;
    deleteHandoffFile();
    // The fonts and their files go whatever happens in the update check.
    if (update_.atExit) runHandler([this] { update_.atExit([this] { fonts_.remove(); }); });
    fonts_.remove();
}

}  // namespace reversi
