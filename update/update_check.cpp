#include "update_check.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <exception>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "update_scripts.h"

namespace reversi {
namespace {

struct FileToWrite {
    QString name;
    QByteArray bytes;
    bool executable = false;
};

using WrittenFiles = std::vector<WrittenFile>;

void removeWritten(const WrittenFiles& files) {
    for (const WrittenFile& file : files)
        removeFileIfSame(file.name, file.identity);
}

// Whether one of `names` is the program itself, under whatever name: the update must then
// neither write nor delete it.
bool oneIsTheProgram(const QStringList& names, const QString& program) {
    return std::any_of(names.begin(), names.end(),
                       [&program](const QString& name) { return isRunningProgram(name, program); });
}

// What the start-up half writes and its script deletes.
QStringList startUpFiles() {
    return {downloaderFileName, versionCheckScriptName, versionFileName, downloaderStateFileName,
            downloadFileName(QString())};
}

// Writes all the files or, when one fails, none: those already written are removed again.
WrittenFiles writeAll(std::initializer_list<FileToWrite> files) {
    WrittenFiles written;
    try {
        for (const FileToWrite& file : files) {
            const auto permissions =
                file.executable ? programFilePermissions : defaultFilePermissions;
            written.push_back({file.name, writeFile(file.name, file.bytes, permissions)});
        }
    } catch (const FileError&) {
        removeWritten(written);
        throw;
    }
    return written;
}

}  // namespace

UpdateCheck::UpdateCheck(const NetworkProbe& network, ProcessStarter& starter, UpdateHooks hooks,
                         UpdateChannel channel)
    : network_(network),
      starter_(starter),
      hooks_(std::move(hooks)),
      channel_(std::move(channel)) {}

QString UpdateCheck::programFile() const {
    return hooks_.programFile ? hooks_.programFile() : QString::fromLatin1(runningProgramLink);
}

void UpdateCheck::takeProgramName() {
    const QFileInfo program(programFile());
    const auto here = runningProgramHere(program.filePath());
    state_.exeFileName = here                  ? here->name
                         : program.isSymLink() ? QFileInfo(program.symLinkTarget()).fileName()
                                               : program.fileName();
}

QByteArray UpdateCheck::downloaderProgram() const {
    QByteArray bytes = hooks_.downloaderBytes ? hooks_.downloaderBytes() : QByteArray();
    if (bytes.isEmpty()) {
        throw FileError(QStringLiteral("Cannot write \"%1\": the program is missing")
                            .arg(downloaderFileName)
                            .toStdString());
    }
    return bytes;
}

void UpdateCheck::checkAtStartUp() {
    takeProgramName();
    state_.builtInVersion = thisProgramsVersion;
    state_.isOnline = network_.isOnline();
    if (!state_.isOnline || !channel_.isUsable()) return;
    if (oneIsTheProgram(startUpFiles(), programFile())) return;
    // Somebody else's file under one of the check's names stays: no check this time.
    if (anyLeftAlone({{downloaderFileName, downloaderProgram()},
                      {versionCheckScriptName, versionCheckScript(channel_).toUtf8()},
                      {downloaderStateFileName, QByteArray()},
                      {downloadFileName(QString()), std::nullopt}}) ||
        versionFileIsOthers()) {
        return;
    }

    checkStarted_ = true;
    checkFiles_ = writeAll({{downloaderFileName, downloaderProgram(), true},
                            {versionCheckScriptName, versionCheckScript(channel_).toUtf8()}});
    if (!starter_.startScript(versionCheckScriptName))
        removeWritten(std::exchange(checkFiles_, {}));
}

void UpdateCheck::endCheck() {
    if (!checkStarted_) return;
    starter_.endStartedScripts();
    // What the check wrote and its script did not get to remove: its own files, and the
    // downloader's state file, which the check found missing or empty.
    removeWritten(std::exchange(checkFiles_, {}));
    if (!isOthersFile(downloaderStateFileName, 0, [](const QByteArray&) { return true; }))
        removeFile(downloaderStateFileName, programFile());
}

bool UpdateCheck::versionFileIsOthers() const {
    // What appears after this run's check is its answer, whatever it holds.
    if (checkStarted_) return false;
    constexpr qint64 longestVersionFile = 4096;
    if (!isOthersFile(versionFileName, longestVersionFile, [](const QByteArray& content) {
            return parseVersionNumber(content).has_value();
        })) {
        return false;
    }
    reportLeftAlone(versionFileName);
    return true;
}

bool UpdateCheck::anyLeftAlone(
    std::initializer_list<std::pair<QString, std::optional<QByteArray>>> files) {
    bool any = false;
    for (const auto& file : files) {
        const std::optional<QByteArray>& bytes = file.second;
        if (isOthersFile(
                file.first, bytes ? bytes->size() : 0,
                [&bytes](const QByteArray& content) { return bytes && content == *bytes; })) {
            reportLeftAlone(file.first);
            any = true;
        }
    }
    return any;
}

void UpdateCheck::removeLeftovers() {
    endCheck();
    if (!versionFileIsOthers()) removeFile(versionFileName, programFile());
}

void UpdateCheck::finishAtExit(const std::function<void()>& removeFonts) {
    endCheck();
    takeProgramName();
    state_.isOnline = network_.isOnline();

    std::exception_ptr failure;

    const bool versionFileOurs = !versionFileIsOthers();
    if (state_.isOnline && versionFileOurs && QFileInfo::exists(versionFileName)) {
        std::optional<std::int32_t> latest;
        try {
            latest = readVersionFile(versionFileName);
        } catch (const FileError&) {
            failure = std::current_exception();
        }
        removeFile(versionFileName, programFile());
        // A file that holds no whole number means no update; it is no error of the player's.
        if (latest) {
            state_.latestVersion = *latest;
            state_.updateNeeded = state_.latestVersion > state_.builtInVersion;
            state_.latestVersionText = QString::number(state_.latestVersion);
        }
        const auto program = replaceableProgram();
        if (state_.updateNeeded && channel_.isUsable() && program &&
            !anyLeftAlone({{downloaderFileName, downloaderProgram()},
                           {downloaderStateFileName, QByteArray()},
                           {updaterScriptName,
                            updaterScript(channel_, state_.latestVersionText, *program).toUtf8()},
                           {downloadFileName(state_.latestVersionText), std::nullopt}})) {
            WrittenFiles written;
            try {
                written = writeAll(
                    {{downloaderFileName, downloaderProgram(), true},
                     {updaterScriptName,
                      updaterScript(channel_, state_.latestVersionText, *program).toUtf8()}});
            } catch (const FileError&) {
                failure = std::current_exception();
            }
            if (!failure) {
                if (removeFonts) removeFonts();
                if (starter_.startScript(updaterScriptName)) {
                    hooks_.endProcess ? hooks_.endProcess() : endProcessNow();
                    return;
                }
                removeWritten(written);
                return;
            }
        }
    }

    if (removeFonts) removeFonts();
    if (versionFileOurs) removeFile(versionFileName, programFile());
    if (failure) std::rethrow_exception(failure);
}

// The updater replaces the executable in the current directory, so it may run only for the
// running program's own file here (found by what it is, not by the name it started under; not
// an installed copy elsewhere), under a name the script can carry that none of the update's
// files shares, in a directory the program may write.
std::optional<ProgramFile> UpdateCheck::replaceableProgram() const {
    const QString program = programFile();
    auto here = runningProgramHere(program);
    if (!here || !isScriptSafeFileName(here->name)) return std::nullopt;
    QStringList updateFiles = startUpFiles();
    updateFiles << updaterScriptName << downloadFileName(state_.latestVersionText);
    if (updateFiles.contains(here->name) || oneIsTheProgram(updateFiles, program)) {
        return std::nullopt;
    }
    if (::access(QFile::encodeName(here->name).constData(), W_OK) != 0 ||
        ::access(".", W_OK) != 0) {
        return std::nullopt;
    }
    return here;
}

}  // namespace reversi
