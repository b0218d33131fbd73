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

}  // namespace

std::optional<QString> enterWorkingFolder(const QString& program) {
    if (runningProgramHere(program)) return std::nullopt;
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
