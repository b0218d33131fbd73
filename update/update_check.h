#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "file_error.h"
#include "files.h"
#include "network_and_processes.h"
#include "update_channel.h"
#include "update_version.h"

namespace reversi {

// What the update check knows; readable by the menu and by tests.
struct UpdateState {
    std::int32_t builtInVersion = thisProgramsVersion;
    bool isOnline = false;
    QString exeFileName;             // the running program's file name, without its directory
    std::int32_t latestVersion = 0;  // read from "version.txt" at exit
    QString latestVersionText;       // its decimal text; empty until a valid number was read
    bool updateNeeded = false;       // latestVersion > builtInVersion
};

// A file this run wrote, removed again only while it is still the one it wrote.
struct WrittenFile {
    QString name;
    FileIdentity identity;
};

// What the update check needs from the program around it.
struct UpdateHooks {
    // The downloader program to write out as "downloader.exe".
    std::function<QByteArray()> downloaderBytes;
    // The running program's file, or a link to it; empty means /proc/self/exe.
    std::function<QString()> programFile;
    // Ends the process right after the updater started; empty means endProcessNow().
    std::function<void()> endProcess;
};

// The version check at start-up and the self-replacement at exit. Every file it writes or
// removes is in the current directory. The scripts run detached and are never waited for.
class UpdateCheck {
  public:
    UpdateCheck(const NetworkProbe& network, ProcessStarter& starter, UpdateHooks hooks,
                UpdateChannel channel = UpdateChannel::builtIn());

    // When online, writes "downloader.exe" and "check.bat" and starts the script, which leaves the
    // published version number in "version.txt"; nothing when one of the files it writes or its
    // script deletes is the program itself or somebody else's. Throws FileError when a file
    // cannot be written, after removing the ones it wrote.
    void checkAtStartUp();

    // First ends the check if it still runs and removes what it left (see removeLeftovers).
    // Reads and deletes "version.txt" when online. When the number is greater than the built-in
    // one and the running program's file lies in the current directory and may be replaced,
    // writes "downloader.exe" and "updater.bat",
    // calls `removeFonts`, starts the script and ends the process. Otherwise calls `removeFonts`,
    // deletes any "version.txt" and returns. Throws FileError, after that clean-up, when
    // "version.txt" cannot be read or an update file cannot be written. `removeFonts` unregisters
    // and deletes the font files; it is called exactly once and must not throw.
    void finishAtExit(const std::function<void()>& removeFonts);

    // Ends this run's check if it still runs, and removes what it left in the current directory
    // (its files, the downloader's empty state file, "version.txt"), when the program must end
    // without its exit handler (its display is gone).
    void removeLeftovers();

    const UpdateState& state() const { return state_; }

  private:
    QString programFile() const;
    void takeProgramName();
    QByteArray downloaderProgram() const;
    std::optional<ProgramFile> replaceableProgram() const;
    // Whether "version.txt" is somebody else's (reported once): not what a check writes, and not
    // made by this run's check.
    bool versionFileIsOthers() const;
    // Whether any of these files is there but does not hold the bytes the program writes under
    // its name (nullopt: a name it writes nothing under); each such file is reported once.
    static bool anyLeftAlone(
        std::initializer_list<std::pair<QString, std::optional<QByteArray>>> files);
    // Ends the check's script if it still runs, and removes the files the check wrote, so that
    // nothing of it outlives the program.
    void endCheck();

    const NetworkProbe& network_;
    ProcessStarter& starter_;
    UpdateHooks hooks_;
    UpdateChannel channel_;
    UpdateState state_;
    bool checkStarted_ = false;            // this run's check has started its script
    std::vector<WrittenFile> checkFiles_;  // what it wrote, while it may still be there
};

}  // namespace reversi
