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
    return QStringLiteral("./") + downloaderFileName + QLatin1Char(' ') + shellQuoted(url);
}

QString joinLines(const QStringList& lines) {
    return lines.join(QLatin1Char('\n')) + '\n';
}

// The first line: marks the file as an sh script; sh echoes no commands by default.
const QString scriptHeader = QStringLiteral("#!/bin/sh");

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
        scriptHeader,
        downloadCommand(channel.versionFileUrl),
        removeCommand(downloaderStateFileName),
        removeCommand(downloaderFileName),
        removeCommand(downloadFileName(QString())),
        removeCommand(versionCheckScriptName),
    });
}

QString updaterScript(const UpdateChannel& channel, const QString& versionText,
                      const ProgramFile& executable) {
    const QString download = downloadFileName(versionText);
    const QString identity =
        QStringLiteral("%1:%2").arg(executable.identity.device).arg(executable.identity.inode);
    return joinLines({
        scriptHeader,
        removeCommand(download),
        QStringLiteral("./%1 --replace %2 --identity %3 %4")
            .arg(downloaderFileName, shellQuoted(executable.name), identity,
                 shellQuoted(channel.downloadBaseUrl + download)),
        removeCommand(versionFileName),
        removeCommand(downloaderStateFileName),
        removeCommand(downloaderFileName),
        removeCommand(download),
        removeCommand(updaterScriptName),
    });
}

}  // namespace reversi
