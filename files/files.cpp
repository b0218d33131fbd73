#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "file_error.h"
#include "staged_file.h"

namespace reversi {
namespace {

QByteArray encoded(const QString& name) {
    return QFile::encodeName(name);
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

[[noreturn]] void cannotWrite(const QString& name, const QString& reason) {
    throw FileError(QStringLiteral("Cannot write \"%1\": %2").arg(name, reason).toStdString());
}

[[noreturn]] void cannotRead(const QString& name, const QString& reason) {
    throw FileError(QStringLiteral("Cannot read \"%1\": %2").arg(name, reason).toStdString());
}

FileIdentity identityOf(const struct stat& status) {
    return {status.st_dev, status.st_ino};
}

std::optional<FileIdentity> programIdentity(const QString& program) {
    struct stat status {};
    if (::stat(encoded(program).constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return identityOf(status);
}

// The path a link points to, or the path itself when it is no link.
QString resolvedOnce(const QString& path) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(encoded(path).constData(), target, sizeof target);
    if (length < 0 || length == sizeof target) return path;
    const QString resolved = QFile::decodeName(QByteArray(target, length));
    return QFileInfo(resolved).isAbsolute() ? resolved
                                            : QFileInfo(path).path() + QLatin1Char('/') + resolved;
}

bool isCurrentDirectory(const QString& directory) {
    struct stat here {
    }, there{};
    return ::stat(".", &here) == 0 && ::stat(encoded(directory).constData(), &there) == 0 &&
           identityOf(here) == identityOf(there);
}

// Whether a folder on the way to `name` is a link: a step through it would reach a file of
// another folder than the one the name says.
bool throughLinkedFolder(const QString& name) {
    const QByteArray path = encoded(name);
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1)) {
        struct stat status {};
        if (::lstat(path.left(slash).constData(), &status) == 0 && S_ISLNK(status.st_mode))
            return true;
    }
    return false;
}

// Refuses to replace what a new file must not take the place of.
void checkReplaceable(const QString& name) {
    if (throughLinkedFolder(name))
        cannotWrite(name, QStringLiteral("a folder on its way is a link"));
    struct stat status {};
    if (::lstat(encoded(name).constData(), &status) != 0) return;  // nothing there yet
    if (S_ISLNK(status.st_mode)) return;                           // the link itself is replaced
    if (!S_ISREG(status.st_mode)) cannotWrite(name, QStringLiteral("it is not a regular file"));
    if (isRunningProgram(name)) cannotWrite(name, QStringLiteral("it is the running program"));
}

mode_t modeOf(QFileDevice::Permissions permissions) {
    mode_t mode = 0;
    const std::pair<QFileDevice::Permission, mode_t> bits[] = {
        {QFileDevice::ReadOwner, S_IRUSR},  {QFileDevice::WriteOwner, S_IWUSR},
        {QFileDevice::ExeOwner, S_IXUSR},   {QFileDevice::ReadGroup, S_IRGRP},
        {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
        {QFileDevice::ReadOther, S_IROTH},  {QFileDevice::WriteOther, S_IWOTH},
        {QFileDevice::ExeOther, S_IXOTH}};
    for (const auto& [permission, bit] : bits) {
        if (permissions.testFlag(permission)) mode |= bit;
    }
    return posix::narrowedByUmask(mode);
}

}  // namespace

std::optional<FileIdentity> regularFileIdentity(const QString& name) {
    struct stat status {};
    if (::lstat(encoded(name).constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return identityOf(status);
}

std::optional<ProgramFile> runningProgramHere(const QString& program) {
    const auto identity = programIdentity(program);
    if (!identity) return std::nullopt;
    // The kernel keeps the link up to date across renames; a deleted file reads "(deleted)".
    const QFileInfo path(resolvedOnce(program));
    if (!isCurrentDirectory(path.path())) return std::nullopt;
    const QString name = path.fileName();
    if (regularFileIdentity(name) != identity) return std::nullopt;
    return ProgramFile{name, *identity};
}

bool isRunningProgram(const QString& name, const QString& program) {
    const auto identity = regularFileIdentity(name);
    return identity && identity == programIdentity(program);
}

void openRegularFile(const QString& name, QFile& file) {
    if (throughLinkedFolder(name))
        cannotRead(name, QStringLiteral("a folder on its way is a link"));
    // Non-blocking, so that a FIFO cannot hold the program; the check below then refuses it.
    const int fd =
        ::open(encoded(name).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) cannotRead(name, errno == ELOOP ? QStringLiteral("it is a link") : systemError());
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        cannotRead(name, QStringLiteral("it is not a regular file"));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        cannotRead(name, file.errorString());
    }
}

FileIdentity writeFile(const QString& name, const QByteArray& bytes,
                       QFileDevice::Permissions permissions) {
    checkReplaceable(name);
    const QFileInfo info(name);
    posix::StagedFile file(
        encoded(info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"))
            .toStdString());
    if (!file.isOpen()) cannotWrite(name, systemError());
    struct stat status {};
    // No fsync: these files live only while the program runs, and a run after a crash writes
    // them anew; the downloader, whose file outlives it, syncs.
    if (!posix::writeAll(file.descriptor(), bytes.constData(),
                         static_cast<std::size_t>(bytes.size())) ||
        !file.finish(modeOf(permissions), posix::StagedFile::Durability::whileRunning, &status) ||
        !file.moveTo(encoded(name).toStdString())) {
        cannotWrite(name, systemError());
    }
    return identityOf(status);
}

void removeFile(const QString& name, const QString& program) {
    if (!throughLinkedFolder(name) && !isRunningProgram(name, program))
        ::unlink(encoded(name).constData());
}

void removeFileIfSame(const QString& name, FileIdentity identity) {
    if (!throughLinkedFolder(name) && regularFileIdentity(name) == identity)
        ::unlink(encoded(name).constData());
}

bool isOthersFile(const QString& name, qint64 largest,
                  const std::function<bool(const QByteArray&)>& isProgramsOwn) {
    struct stat status {};
    if (::lstat(encoded(name).constData(), &status) != 0) return false;  // nothing there
    if (!S_ISREG(status.st_mode) || status.st_size > largest) return true;
    QFile file;
    try {
        openRegularFile(name, file);
    } catch (const FileError&) {
        return true;  // unreadable: whose it is cannot be told, so it is left alone
    }
    return !isProgramsOwn(file.read(largest + 1));
}

void reportLeftAlone(const QString& name) {
    static QSet<QString> reported;
    if (reported.contains(name)) return;
    reported.insert(name);
    std::fprintf(stderr,
                 "reversi: \"%s\" is not a file of the game's; it is left as it is, and the game "
                 "goes on without it\n",
                 qPrintable(name));
}

}  // namespace reversi
