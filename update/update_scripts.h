#pragma once

#include <QString>

#include "files.h"
#include "update_channel.h"

namespace reversi {

// The files of the update, all in the current directory.
inline const QString downloaderFileName = QStringLiteral("downloader.exe");
inline const QString versionCheckScriptName = QStringLiteral("check.bat");
inline const QString updaterScriptName = QStringLiteral("updater.bat");
inline const QString versionFileName = QStringLiteral("version.txt");
inline const QString downloaderStateFileName = QStringLiteral(".wget-hsts");
// The name of version `versionText`'s download, which the scripts remove before and after an
// update: ".exe" at start-up, whose version text is still empty. Nothing the update runs saves a
// file under it (the downloader puts a program straight in place of the executable), so a file
// of that name is never the game's.
inline QString downloadFileName(const QString& versionText) {
    return versionText + QStringLiteral(".exe");
}

// `word` as one sh word: in single quotes, each ' written as '\''.
QString shellQuoted(const QString& word);

// True when `name` can stand in a script as a file name: not empty, no slash, no line end or
// other control character (one command per line), and no character that could not be decoded
// from the file system's bytes (the script would name another file).
bool isScriptSafeFileName(const QString& name);

// The script that fetches the published version number into "version.txt" and then removes the
// downloader, its state file and itself. Six lines, LF-terminated, for /bin/sh.
QString versionCheckScript(const UpdateChannel& channel);

// The script that downloads version `versionText` and puts it in place of the executable, then
// removes every file of the update, itself last. The downloader replaces the executable itself:
// only with a complete program for this machine, given the old file's permission bits first, in
// one rename, and only while `executable` is still the file it names. Eight lines,
// LF-terminated, for /bin/sh. The executable's name must pass isScriptSafeFileName.
QString updaterScript(const UpdateChannel& channel, const QString& versionText,
                      const ProgramFile& executable);

}  // namespace reversi
