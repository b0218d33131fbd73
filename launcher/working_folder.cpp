#include "working_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace reversi {
namespace {

// Whether a copy started from the folder that holds it keeps its files there: only where it
// may write them, and never in a folder of the system's, which is an installed copy's (root may
// write in /usr/games, but files left there belong to no package).
bool keepsFilesBesideItself(const QString& program) {
    if (!runningProgramHere(program)) return false;
    if (::access(".", W_OK | X_OK) != 0) return false;
    return !isSystemFolder(QDir::current().canonicalPath());
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Makes the folder `path` private to the user: mode 0700 whatever the umask, which may have
// taken the owner's bits too. False, with errno set, when it cannot be made.
bool makePrivateFolder(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0) return false;
    ::chmod(path.constData(), 0700);
    return true;
}

// Makes the folders of `path` that are missing, each private to the user, as the rules of the
// user's data directory ask. False, with errno set, when one cannot be made.
bool makeFolders(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    for (qsizetype slash = bytes.indexOf('/', 1);; slash = bytes.indexOf('/', slash + 1)) {
        const QByteArray step = slash < 0 ? bytes : bytes.left(slash);
        if (!makePrivateFolder(step) && errno != EEXIST) return false;
        if (slash < 0) return true;
    }
}

// Makes `path` the current directory; 0, or why it cannot be.
int enterFolder(const QByteArray& path) {
    return ::chdir(path.constData()) == 0 ? 0 : errno;
}

}  // namespace

WorkingFolder::WorkingFolder(const QString& program) : problem_(enter(program)) {}

WorkingFolder::~WorkingFolder() {
    leave();
    if (lock_ >= 0) ::close(lock_);
}

void WorkingFolder::leave() {
    if (!ownFolder_.isEmpty()) ::rmdir(QFile::encodeName(ownFolder_).constData());  // if empty
}

std::optional<QString> WorkingFolder::enter(const QString& program) {
    std::optional<QString> problem;
    if (keepsFilesBesideItself(program)) {
        if (holdFolder()) return std::nullopt;
    } else {
        problem = enterOwnFolder();
        if (!problem && holdFolder()) return std::nullopt;
    }
    // Another copy keeps its files here, or there is no folder of its own: a temporary one.
    const QString why =
        problem.value_or(QStringLiteral("another copy of the game keeps its files here"));
    if (const auto noTemporary = enterTemporaryFolder()) {
        usable_ = false;
        return QStringLiteral(
                   "%1; no temporary folder either (%2): the game cannot keep its "
                   "files anywhere and ends")
            .arg(why, *noTemporary);
    }
    if (!problem) return std::nullopt;  // a second copy: nothing the player must know
    return QStringLiteral("%1; this time the game keeps its files in %2, removed at its end")
        .arg(*problem, ownFolder_);
}

// The folder under the user's data directory, made private and entered; or why it cannot be.
// Without a home (HOME unset) and without XDG_DATA_HOME there is no data directory: nothing is
// made at the file system's root. A folder made here that cannot be used is removed again.
std::optional<QString> WorkingFolder::enterOwnFolder() {
    if (qEnvironmentVariableIsEmpty("XDG_DATA_HOME") && qEnvironmentVariableIsEmpty("HOME"))
        return QStringLiteral("The game has no folder of its own: HOME is not set");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) return QStringLiteral("The user's data directory is unknown");
    const QString parent = QFileInfo(folder).path();
    if (!makeFolders(parent))
        return QStringLiteral("Cannot create %1: %2").arg(parent, systemError(errno));
    const QByteArray path = QFile::encodeName(folder);
    const bool made = makePrivateFolder(path);
    if (!made && errno != EEXIST)
        return QStringLiteral("Cannot create %1: %2").arg(folder, systemError(errno));
    int error = ::access(path.constData(), W_OK | X_OK) == 0 ? 0 : errno;
    if (error == 0) error = enterFolder(path);
    if (error != 0) {
        if (made) ::rmdir(path.constData());
        return QStringLiteral("Cannot use %1: %2").arg(folder, systemError(error));
    }
    ownFolder_ = folder;
    return std::nullopt;
}

// Makes a private temporary folder and enters it: under TMPDIR when that names a folder it can
// be made in, else under /tmp; never in the folder the game was started from. Returns why none
// could be had.
std::optional<QString> WorkingFolder::enterTemporaryFolder() {
    QStringList bases{QStringLiteral("/tmp")};
    QStringList reasons;
    if (const QString tmpdir = qEnvironmentVariable("TMPDIR"); !tmpdir.isEmpty()) {
        if (QDir::isAbsolutePath(tmpdir)) {
            bases.prepend(QDir::cleanPath(tmpdir));
        } else {
            reasons << QStringLiteral("TMPDIR \"%1\" is no absolute path").arg(tmpdir);
        }
    }
    bases.removeDuplicates();
    for (const QString& base : bases) {
        QByteArray path = QFile::encodeName(base + QStringLiteral("/reversi-XXXXXX"));
        if (!::mkdtemp(path.data())) {
            reasons << QStringLiteral("%1: %2").arg(base, systemError(errno));
            continue;
        }
        ::chmod(path.constData(), 0700);  // mkdtemp leaves it to the umask
        if (const int error = enterFolder(path)) {
            reasons << QStringLiteral("%1: %2").arg(QFile::decodeName(path), systemError(error));
            ::rmdir(path.constData());
            continue;
        }
        ownFolder_ = QFile::decodeName(path);
        temporary_ = true;
        return std::nullopt;
    }
    return reasons.join(QStringLiteral("; "));
}

// Takes the current folder for this copy for as long as it runs: a lock on the folder itself, so
// no file is added for it; released by the system when the process ends, however it ends. False
// when another copy holds it.
bool WorkingFolder::holdFolder() {
    const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return true;  // cannot tell: the folder is used without the lock
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error != EWOULDBLOCK) return true;
        ownFolder_.clear();
        return false;
    }
    if (lock_ >= 0) ::close(lock_);
    lock_ = fd;
    return true;
}

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

}  // namespace reversi
