#include "update_check.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <optional>
#include <utility>

#include "update_scripts.h"

namespace reversi {
namespace {

struct FileToWrite {
    QString name;
    QByteArray bytes;
    bool executable = false;
};

[[noreturn]] void cannotWrite(const QString& name, const QString& reason) {
    throw FileError(QStringLiteral("Cannot write \"%1\": %2").arg(name, reason).toStdString());
}

// Writes the file under a temporary name beside it and renames it into place, so that no script
// ever sees it half-written and a failure leaves an older file of that name as it was.
void writeAtomically(const FileToWrite& file) {
    QTemporaryFile temporary(QStringLiteral(".%1.XXXXXX").arg(file.name));
    if (!temporary.open()) cannotWrite(file.name, temporary.errorString());
    QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (file.executable) {
        permissions |= QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    }
    if (temporary.write(file.bytes) != file.bytes.size() || !temporary.flush() ||
        !temporary.setPermissions(permissions)) {
        cannotWrite(file.name, temporary.errorString());
    }
    if (::fsync(temporary.handle()) != 0 ||
        std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(file.name).constData()) != 0) {
        cannotWrite(file.name, QString::fromLocal8Bit(std::strerror(errno)));
    }
    temporary.setAutoRemove(false);
}

void removeFiles(const QStringList& names) {
    for (const QString& name : names)
        QFile::remove(name);
}

// Writes all the files or, when one fails, none: those already written are removed again.
void writeAll(std::initializer_list<FileToWrite> files) {
    QStringList written;
    try {
        for (const FileToWrite& file : files) {
            writeAtomically(file);
            written.append(file.name);
        }
    } catch (const FileError&) {
        removeFiles(written);
        throw;
    }
}

}  // namespace

UpdateCheck::UpdateCheck(const NetworkProbe& network, ProcessStarter& starter, UpdateHooks hooks,
                         UpdateChannel channel)
    : network_(network),
      starter_(starter),
      hooks_(std::move(hooks)),
      channel_(std::move(channel)) {}

QString UpdateCheck::executablePath() const {
    return hooks_.executablePath ? hooks_.executablePath()
                                 : QCoreApplication::applicationFilePath();
}

QByteArray UpdateCheck::downloaderProgram() const {
    QByteArray bytes = hooks_.downloaderBytes ? hooks_.downloaderBytes() : QByteArray();
    if (bytes.isEmpty()) cannotWrite(kDownloaderFileName, QStringLiteral("the program is missing"));
    return bytes;
}

void UpdateCheck::checkAtStartUp() {
    state_.exeFileName = QFileInfo(executablePath()).fileName();
    state_.builtInVersion = kBuiltInVersion;
    state_.isOnline = network_.isOnline();
    if (!state_.isOnline || !channel_.isUsable()) return;

    writeAll({{kDownloaderFileName, downloaderProgram(), true},
              {kVersionCheckScriptName, versionCheckScript(channel_).toUtf8()}});
    if (!starter_.startScript(kVersionCheckScriptName)) {
        removeFiles({kDownloaderFileName, kVersionCheckScriptName});
    }
}

void UpdateCheck::finishAtExit(const std::function<void()>& removeFonts) {
    const QString path = executablePath();
    state_.exeFileName = QFileInfo(path).fileName();
    state_.isOnline = network_.isOnline();

    std::exception_ptr failure;

    if (state_.isOnline && QFileInfo::exists(kVersionFileName)) {
        std::optional<std::int32_t> latest;
        try {
            latest = readVersionFile(kVersionFileName);
        } catch (const FileError&) {
            failure = std::current_exception();
        }
        QFile::remove(kVersionFileName);
        // A file that holds no whole number means no update; it is no error of the player's.
        if (latest) {
            state_.latestVersion = *latest;
            state_.updateNeeded = state_.latestVersion > state_.builtInVersion;
            state_.latestVersionText = QString::number(state_.latestVersion);
        }
        if (state_.updateNeeded && channel_.isUsable() && mayReplaceExecutable(path)) {
            try {
                writeAll({{kDownloaderFileName, downloaderProgram(), true},
                          {kUpdaterScriptName,
                           updaterScript(channel_, state_.latestVersionText, state_.exeFileName)
                               .toUtf8()}});
            } catch (const FileError&) {
                failure = std::current_exception();
            }
            if (!failure) {
                if (removeFonts) removeFonts();
                if (starter_.startScript(kUpdaterScriptName)) {
                    hooks_.endProcess ? hooks_.endProcess() : endProcessNow();
                    return;
                }
                removeFiles({kDownloaderFileName, kUpdaterScriptName});
                return;
            }
        }
    }

    if (removeFonts) removeFonts();
    QFile::remove(kVersionFileName);
    if (failure) std::rethrow_exception(failure);
}

// The updater replaces the executable by name in the current directory, so it may run only when
// that name is the running program itself: a writable regular file here (not an installed copy
// elsewhere, not a link), a name the script can carry, and none of the update's own files.
bool UpdateCheck::mayReplaceExecutable(const QString& path) const {
    const QString& name = state_.exeFileName;
    const QStringList updateFiles{kDownloaderFileName,      kVersionCheckScriptName,
                                  kUpdaterScriptName,       kVersionFileName,
                                  kDownloaderStateFileName, state_.latestVersionText + ".exe"};
    if (!isScriptSafeFileName(name) || updateFiles.contains(name)) return false;

    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile()) return false;
    if (info.absoluteDir().canonicalPath() != QDir::current().canonicalPath()) return false;
    return ::access(QFile::encodeName(info.absoluteFilePath()).constData(), W_OK) == 0 &&
           ::access(".", W_OK) == 0;
}

}  // namespace reversi
