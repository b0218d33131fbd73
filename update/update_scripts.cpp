#include "update_scripts.h"

#include <QStringList>
#include <algorithm>

namespace reversi {
namespace {

// A file name as an argument: quoted, and kept from being read as an option.
QString fileArgument(const QString& name) {
    return shellQuoted(name.startsWith(QLatin1Char('-')) ? QStringLiteral("./") + name : name);
}

QString removeCommand(const QString& name) {
    return QStringLiteral("rm -f ") + fileArgument(name);
}

QString downloadCommand(const QString& url) {
    return QStringLiteral("./") + kDownloaderFileName + QLatin1Char(' ') + shellQuoted(url);
}

QString joinLines(const QStringList& lines) {
    return lines.join(QLatin1Char('\n')) + '\n';
}

// The first line: marks the file as an sh script; sh echoes no commands by default.
const QString kScriptHeader = QStringLiteral("#!/bin/sh");

}  // namespace

QString shellQuoted(const QString& word) {
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

bool isScriptSafeFileName(const QString& name) {
    return !name.isEmpty() && std::none_of(name.begin(), name.end(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('/') ||
               c == QChar::ReplacementCharacter;
    });
}

QString versionCheckScript(const UpdateChannel& channel) {
    // The fifth line removes a leftover download named by the version text, which is still
    // empty at start-up, hence ".exe".
    return joinLines({
        kScriptHeader,
        downloadCommand(channel.versionFileUrl),
        removeCommand(kDownloaderStateFileName),
        removeCommand(kDownloaderFileName),
        removeCommand(QStringLiteral(".exe")),
        removeCommand(kVersionCheckScriptName),
    });
}

QString updaterScript(const UpdateChannel& channel, const QString& versionText,
                      const QString& executableName) {
    const QString download = versionText + QStringLiteral(".exe");
    const QString quotedDownload = fileArgument(download);
    // The downloader saves a file only after a complete answer; a failed run must leave no file
    // for the next lines to install, so it is removed on any failure status. An empty file or one
    // that cannot be made executable is dropped too. mv -f then replaces the executable in one
    // step, so there is never a moment without a program.
    return joinLines({
        kScriptHeader,
        removeCommand(download),
        downloadCommand(channel.downloadBaseUrl + download) + QStringLiteral(" || rm -f ") +
            quotedDownload,
        QStringLiteral("[ -s %1 ] && chmod +x %1 || rm -f %1").arg(quotedDownload),
        QStringLiteral("[ -s %1 ] && mv -f %1 %2")
            .arg(quotedDownload, fileArgument(executableName)),
        removeCommand(kVersionFileName),
        removeCommand(kDownloaderStateFileName),
        removeCommand(kDownloaderFileName),
        removeCommand(download),
        removeCommand(kUpdaterScriptName),
    });
}

}  // namespace reversi
