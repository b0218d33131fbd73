#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

}  // namespace
}  // namespace reversi
