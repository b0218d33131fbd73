#pragma once

#include <QString>
#include <optional>

#include "files.h"

namespace reversi {

// The folder the game keeps its files in, the current directory while this object lives.
//
// A copy run from its own folder (its file lies in the current directory) stays there, if it
// may write there and the folder is not one of the system's (see isSystemFolder). Any other
// copy, such as an installed one started from the desktop menu, from a terminal in the home
// folder or in /usr/games, moves to a folder of its own under the user's data directory, created
// private (mode 0700), so that no file of the user's is ever written or deleted and none is left
// in a system folder.
//
// One copy of the game at a time keeps its files in a folder: a second copy started meanwhile
// leaves them to the first and keeps its own in a private temporary folder (under TMPDIR, or
// /tmp when TMPDIR cannot hold one), and so does a copy that cannot make or enter its folder.
// Every folder it makes is private (mode 0700) whatever the umask.
class WorkingFolder {
  public:
    // Enters the folder. The application's name must be set first: it names the folder.
    explicit WorkingFolder(const QString& program = runningProgramLink);
    // Leaves it (see leave()) and lets another copy have it.
    ~WorkingFolder();
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    // What the player should be told (the folder that could not be used, and why), or nothing.
    const std::optional<QString>& problem() const { return problem_; }
    // False when no folder at all was found for the game's files, not even a temporary one: the
    // game must then write nothing, and ends.
    bool usable() const { return usable_; }
    // Whether the game keeps its files in a temporary folder this time.
    bool isTemporary() const { return temporary_; }

    // Removes the program's own folder under the data directory, or its temporary one, when
    // nothing is left in it, so that no trace of the game stays after its files are gone. For an
    // end that skips destructors; the destructor does it too.
    void leave();

  private:
    std::optional<QString> enter(const QString& program);
    std::optional<QString> enterOwnFolder();
    std::optional<QString> enterTemporaryFolder();
    bool holdFolder();

    QString ownFolder_;  // under the data directory, or the temporary one, once entered
    bool temporary_ = false;
    bool usable_ = true;
    int lock_ = -1;  // the open folder this copy holds a lock on
    std::optional<QString> problem_;
};

// Whether `folder` (an absolute path without links) is one the system installs programs, their
// libraries, data or settings in: /, /usr, /usr/local, or a folder under /etc, /opt, /snap or
// bin, sbin, games, lib*, libexec or share of /, /usr or /usr/local.
bool isSystemFolder(const QString& folder);

}  // namespace reversi
