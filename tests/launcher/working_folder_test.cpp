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
// moves to its private folder under the data directory.
TEST(WorkingFolder, ACopyKeepsItsFilesBesideItselfOnlyWhereItMayWrite) {
    const QString applicationName = QCoreApplication::applicationName();
    const QString startedIn = QDir::currentPath();
    QCoreApplication::setApplicationName(QStringLiteral("Reversi"));
    for (const bool writable : {true, false}) {
        if (!writable && ::geteuid() == 0) continue;  // root may write in any folder
        SCOPED_TRACE(writable ? "writable" : "read-only");
        QTemporaryDir work;
        ASSERT_TRUE(work.isValid());
        const QString folder = work.filePath(QStringLiteral("games"));
        const QString data = work.filePath(QStringLiteral("data"));
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile program(folder + QStringLiteral("/reversi"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.close();
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), writable ? 0755 : 0555), 0);
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        ASSERT_TRUE(QDir::setCurrent(folder));

        EXPECT_EQ(enterWorkingFolder(program.fileName()), std::nullopt);
        EXPECT_EQ(QDir::currentPath(), writable ? folder : data + QStringLiteral("/Reversi"));

        leaveWorkingFolder();
        QDir::setCurrent(startedIn);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    }
    qunsetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName(applicationName);
}

// Where the private folder cannot be had, or another copy keeps its files there, the game keeps
// them in a temporary folder of its own; the player is told of a folder that cannot be used.
TEST(WorkingFolder, WithoutAUsableFolderOrBesideAnotherCopyTheGameUsesATemporaryOne) {
    const QString applicationName = QCoreApplication::applicationName();
    const QString startedIn = QDir::currentPath();
    const QByteArray home = qgetenv("HOME");
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
        const char* told;  // what the player is told; nothing for a second copy
    } cases[] = {
        {"no home", "", "", "HOME is not set"},
        {"a data directory that is a file", QFile::encodeName(plainFile.fileName()), home,
         "Cannot create"},
        {"a second copy", QFile::encodeName(data), home, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        qputenv("XDG_DATA_HOME", c.dataHome);
        qputenv("HOME", c.home);
        const auto told = enterWorkingFolder(QStringLiteral("/nonexistent/reversi"));
        EXPECT_EQ(told.has_value(), c.told != nullptr);
        if (c.told) {
            EXPECT_TRUE(told->contains(QLatin1String(c.told))) << told->toStdString();
        }
        const QString folder = QDir::currentPath();
        EXPECT_TRUE(folder.startsWith(QDir::tempPath() + QStringLiteral("/reversi-")))
            << folder.toStdString();
        QDir::setCurrent(startedIn);
        leaveWorkingFolder();
        EXPECT_FALSE(QFileInfo::exists(folder));
    }
    ::close(otherCopy);
    qputenv("HOME", home);
    qunsetenv("XDG_DATA_HOME");
    QCoreApplication::setApplicationName(applicationName);
}

}  // namespace
}  // namespace reversi
