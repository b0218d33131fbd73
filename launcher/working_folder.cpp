#include "working_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

namespace reversi {
namespace {

QString ownFolder;  // the folder under the data directory, when the program moved there

// Whether a copy started from the folder that holds it keeps its files there: only where it
// may write them, and never in a folder of the system's, which is an installed copy's (root may
// write in /usr/games, but files left there belong to no package).
bool keepsFilesBesideItself(const QString& program) {
    if (!runningProgramHere(program)) return false;
    if (::access(".", W_OK | X_OK) != 0) return false;
    return !isSystemFolder(QDir::current().canonicalPath());
}

}  // namespace

bool isSystemFolder(const QString& folder) {
    // The root and the two prefixes themselves, and everything under the folders where programs,
    // their libraries, data and settings are installed; not /usr/src or /usr/local/src, where
    // sources may be built.
    static const char* const prefixes[] = {"", "/usr", "/usr/local"};
    static const char* const installed[] = {"bin",   "sbin",   "games",   "lib",  "lib32",
                                            "lib64", "libx32", "libexec", "share"};
    QStringList trees = {QStringLiteral("/etc"), QStringLiteral("/opt"), QStringLiteral("/snap")};
    for (const char* prefix : prefixes) {
        if (folder == (*prefix ? QLatin1String(prefix) : QLatin1String("/"))) return true;
        for (const char* name : installed)
            trees << QStringLiteral("%1/%2").arg(QLatin1String(prefix), QLatin1String(name));
    }
    for (const QString& tree : trees) {
        if (folder == tree || folder.startsWith(tree + QLatin1Char('/'))) return true;
    }
    return false;
}

std::optional<QString> enterWorkingFolder(const QString& program) {
    if (keepsFilesBesideItself(program)) return std::nullopt;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) return QStringLiteral("the user's data directory is unknown");
    const QString parent = QFileInfo(folder).path();
    if (!QDir().mkpath(parent)) return QStringLiteral("cannot create %1").arg(parent);
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST) {
        return QStringLiteral("cannot create %1: %2")
            .arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!QDir::setCurrent(folder)) return QStringLiteral("cannot enter %1").arg(folder);
    ownFolder = folder;
    return std::nullopt;
}

void leaveWorkingFolder() {
    if (!ownFolder.isEmpty()) ::rmdir(QFile::encodeName(ownFolder).constData());  // only if empty
}

}  // namespace reversi
