#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "working_folder.h"

namespace reversi {
namespace {

// The permission bits of `path`; 0 when there is nothing.
mode_t modeOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

TEST(WorkingFolder, SystemFoldersAreThoseProgramsAndTheirFilesAreInstalledIn) {
    const struct {
        const char* folder;
        bool system;
    } cases[] = {
        {"/", true},
        {"/usr/games", true},
        {"/usr/local/games", true},
        {"/usr", true},
        {"/usr/share/games/reversi", true},
        {"/opt/reversi/bin", true},
        {"/lib64", true},
        {"/usrlocal/games", false},  // a name that only begins like one
        {"/libre", false},
        {"/usr/local/src/reversi/build", false},  // sources built where they lie
        {"/home/player/reversi/build", false},
        {"/tmp/reversi", false},
    };
    for (const auto& [folder, system] : cases)
        EXPECT_EQ(isSystemFolder(QString::fromLatin1(folder)), system) << folder;
}

// A copy started from its own folder keeps its files there only if it may write there; else it
// moves to its private folder under the data directory, which it makes private, under any umask,
// and so are the files it writes there.
TEST(WorkingFolder, ACopyKeepsItsFilesBesideItselfOnlyWhereItMayWrite) {
    const QString applicationName = QCoreApplication::applicationName();
    const QString startedIn = QDir::currentPath();
    QCoreApplication::setApplicationName(QStringLiteral("Reversi"));
    const struct {
        const char* what;
        bool started, writable;  // from its own folder; which it may write in
        mode_t umask;
    } cases[] = {
        {"writable", true, true, 022},
        {"read-only", true, false, 022},
        {"elsewhere, umask 0777", false, true, 0777},
    };
    for (const auto& c : cases) {
        if (!c.writable && ::geteuid() == 0) continue;  // root may write in any folder
        SCOPED_TRACE(c.what);
        QTemporaryDir work;
        ASSERT_TRUE(work.isValid());
        const QString folder = work.filePath(QStringLiteral("games"));
        const QString data = work.filePath(QStringLiteral("data"));
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile program(folder + QStringLiteral("/reversi"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.close();
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), c.writable ? 0755 : 0555), 0);
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        ASSERT_TRUE(QDir::setCurrent(folder));

        const mode_t umask = ::umask(c.umask);
        {
            const WorkingFolder working(c.started ? program.fileName()
                                                  : QStringLiteral("/elsewhere"));
            EXPECT_EQ(working.problem(), std::nullopt);
            const QString own = data + QStringLiteral("/Reversi");
            EXPECT_EQ(QDir::currentPath(), c.started && c.writable ? folder : own);
            if (!c.started || !c.writable) {
                EXPECT_EQ(modeOf(data), 0700u);
                EXPECT_EQ(modeOf(own), 0700u);
            }
            reversi::writeFile(QStringLiteral("5.db"), "font");
            EXPECT_EQ(modeOf(QStringLiteral("5.db")), c.umask == 0777 ? 0600u : 0644u);
            ::umask(umask);
            QFile::remove(QStringLiteral("5.db"));
        }
        QDir::setCurrent(startedIn);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    }
    qunsetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName(applicationName);
}

// Where the private folder cannot be had, or another copy keeps its files there, the game keeps
// them in a private temporary folder of its own, under /tmp when TMPDIR cannot hold one; the
// player is told of a folder that cannot be used.
TEST(WorkingFolder, WithoutAUsableFolderOrBesideAnotherCopyTheGameUsesATemporaryOne) {
    const QString applicationName = QCoreApplication::applicationName();
    const QString startedIn = QDir::currentPath();
    const QByteArray home = qgetenv("HOME");
    const QByteArray tmpdir = qgetenv("TMPDIR");
    QCoreApplication::setApplicationName(QStringLiteral("Reversi"));
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString data = work.filePath(QStringLiteral("data"));
    QFile plainFile(work.filePath(QStringLiteral("file")));
    ASSERT_TRUE(plainFile.open(QIODevice::WriteOnly));
    plainFile.close();
    ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("/Reversi")));
    const int otherCopy =
        ::open(QFile::encodeName(data + QStringLiteral("/Reversi")).constData(), O_RDONLY);
    ASSERT_GE(otherCopy, 0);
    ASSERT_EQ(::flock(otherCopy, LOCK_EX), 0);

    const struct {
        const char* what;
        QByteArray dataHome, home;
        const char* told;          // what the player is told; nothing for a second copy
        QByteArray temporaryBase;  // TMPDIR: empty for the test's own
        mode_t umask;
    } cases[] = {
        {"no home", "", "", "HOME is not set", "", 022},
        {"a data directory that is a file", QFile::encodeName(plainFile.fileName()), home,
         "Cannot create", "", 022},
        {"a second copy", QFile::encodeName(data), home, nullptr, "", 022},
        {"no home nor TMPDIR", "", "", "HOME is not set", "/nonexistent", 022},
        {"a second copy without TMPDIR", QFile::encodeName(data), home, nullptr, "/nonexistent",
         0777},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        qputenv("XDG_DATA_HOME", c.dataHome);
        qputenv("HOME", c.home);
        qputenv("TMPDIR", c.temporaryBase.isEmpty() ? tmpdir : c.temporaryBase);
        const mode_t umask = ::umask(c.umask);
        QString folder;
        {
            const WorkingFolder working(QStringLiteral("/nonexistent/reversi"));
            ::umask(umask);
            const auto& told = working.problem();
            EXPECT_EQ(told.has_value(), c.told != nullptr);
            if (c.told) {
                EXPECT_TRUE(told->contains(QLatin1String(c.told))) << told->toStdString();
            }
            EXPECT_TRUE(working.isTemporary());
            folder = QDir::currentPath();
            const QString base =
                c.temporaryBase.isEmpty() ? QDir::tempPath() : QStringLiteral("/tmp");
            EXPECT_TRUE(folder.startsWith(base + QStringLiteral("/reversi-")))
                << folder.toStdString();
            EXPECT_EQ(modeOf(folder), 0700u);
            QDir::setCurrent(startedIn);
        }
        EXPECT_FALSE(QFileInfo::exists(folder));
    }
    ::close(otherCopy);
    qputenv("HOME", home);
    tmpdir.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpdir);
    qunsetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName(applicationName);
}

}  // namespace
}  // namespace reversi
