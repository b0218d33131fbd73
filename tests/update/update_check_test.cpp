#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QFileInfo>

#include "update_scripts.h"
#include "update_test_support.h"

namespace reversi {
namespace {

class UpdateCheckTest : public UpdateDirectoryTest {
  protected:
    UpdateCheck check(bool online, UpdateHooks hooks = {}) {
        network_ = FixedNetwork(online);
        return UpdateCheck(network_, starter_, hooks.downloaderBytes ? hooks : recordingHooks(),
                           testChannel);
    }

    FixedNetwork network_{false};
    RecordingStarter starter_{events_};
};

TEST_F(UpdateCheckTest, OfflineWritesAndStartsNothing) {
    UpdateCheck update = check(false);
    update.checkAtStartUp();
    EXPECT_EQ(files(), QStringList{"game"});

    writeFile(versionFileName, "6\n");  // left from an earlier run: only removed
    update.finishAtExit(removeFonts());
    EXPECT_EQ(files(), QStringList{"game"});
    EXPECT_EQ(events_, Events{"fonts"});
}

TEST_F(UpdateCheckTest, OnlineStartUpWritesTheDownloaderAndTheCheckScriptThenStartsIt) {
    writeFile(downloaderFileName, "downloader program");  // an earlier run's
    UpdateCheck update = check(true);
    update.checkAtStartUp();

    EXPECT_EQ(files(), (QStringList{"check.bat", "downloader.exe", "game"}));
    EXPECT_EQ(readFile(downloaderFileName), "downloader program");
    EXPECT_TRUE(QFileInfo(downloaderFileName).isExecutable());
    EXPECT_EQ(readFile(versionCheckScriptName), versionCheckScript(testChannel).toUtf8());
    EXPECT_EQ(events_, Events{"start check.bat"});
    EXPECT_EQ(update.state().exeFileName, "game");
}

TEST_F(UpdateCheckTest, StartUpFailureLeavesNothingHalfWritten) {
    EXPECT_THROW(check(true, recordingHooks(QByteArray())).checkAtStartUp(), FileError);
    EXPECT_EQ(files(), QStringList{"game"});
    EXPECT_TRUE(events_.empty());
}

// A file under one of the update's names that the program did not write (it holds something
// else, or is a folder, a link or a FIFO) is neither replaced nor deleted, and the step that
// would have is skipped.
TEST_F(UpdateCheckTest, FilesOfItsNamesThatAreNotItsOwnAreNeverReplacedOrDeleted) {
    writeFile("outside", "user text");
    const struct {
        const char* name;
        std::function<bool()> make;
    } cases[] = {
        {"downloader.exe", [] { return writeFile("downloader.exe", "my program"), true; }},
        {"check.bat", [] { return writeFile("check.bat", "my script"), true; }},
        {"check.bat", [] { return QDir().mkdir("check.bat"); }},
        {".wget-hsts", [] { return writeFile(".wget-hsts", "my settings"), true; }},
        {".wget-hsts", [] { return ::mkfifo(".wget-hsts", 0600) == 0; }},
        {"version.txt", [] { return writeFile("version.txt", "Release notes 2.1"), true; }},
        {"version.txt", [] { return QFile::link("outside", "version.txt"); }},
        {"updater.bat", [] { return writeFile("updater.bat", "my script"), true; }},
        // The scripts remove the download of a version before and after, which nothing saves.
        {".exe", [] { return writeFile(".exe", "my program"), true; }},
        {"6.exe", [] { return writeFile("6.exe", "my program"), true; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events_.clear();
        ASSERT_TRUE(c.make());
        const QFileInfo before(c.name);
        const QByteArray content = before.isFile() ? readFile(c.name) : QByteArray();
        const QString name = QString::fromLatin1(c.name);
        UpdateCheck update = check(true);
        update.checkAtStartUp();  // writes check.bat and downloader.exe, or nothing
        const bool updaterName = name == updaterScriptName || name == "6.exe";
        EXPECT_EQ(events_.empty(), !updaterName);
        events_.clear();
        if (name != versionFileName) writeFile(versionFileName, "6");
        update.finishAtExit(removeFonts());
        // Only the updater's own files keep it from running; it never touches "check.bat".
        const Events expected = name == versionCheckScriptName || name == ".exe"
                                    ? Events{"fonts", "start updater.bat", "end"}
                                    : Events{"fonts"};
        EXPECT_EQ(events_, expected);
        const QFileInfo after(name);
        EXPECT_TRUE(after.exists() || after.isSymLink());
        EXPECT_EQ(after.isFile() ? readFile(name) : QByteArray(), content);
        EXPECT_EQ(readFile("outside"), "user text");
        for (const QString& file : {name, versionCheckScriptName, downloaderFileName,
                                    updaterScriptName, versionFileName}) {
            QFile::remove(file);
            QDir().rmdir(file);
        }
    }
}

TEST_F(UpdateCheckTest, NewerVersionWritesTheUpdaterRemovesFontsStartsItAndEnds) {
    writeFile(versionFileName, "  6\r\n");
    UpdateCheck update = check(true);
    update.finishAtExit(removeFonts());

    EXPECT_EQ(events_, (Events{"fonts", "start updater.bat", "end"}));
    EXPECT_EQ(files(), (QStringList{"downloader.exe", "game", "updater.bat"}));
    EXPECT_EQ(readFile(updaterScriptName),
              updaterScript(testChannel, QStringLiteral("6"), game()).toUtf8());
    EXPECT_EQ(update.state().latestVersionText, "6");
    EXPECT_TRUE(update.state().updateNeeded);
}

TEST_F(UpdateCheckTest, NoUpdateWithoutANewerWholeNumber) {
    // The answer of this run's check goes whatever it holds.
    for (const char* content : {"5", "4\n", "", "abc", "99999999999"}) {
        events_.clear();
        UpdateCheck update = check(true);
        update.checkAtStartUp();
        QFile::remove(versionCheckScriptName);
        QFile::remove(downloaderFileName);
        events_.clear();
        writeFile(versionFileName, content);
        EXPECT_NO_THROW(update.finishAtExit(removeFonts())) << content;
        EXPECT_EQ(events_, Events{"fonts"}) << content;
        EXPECT_EQ(files(), QStringList{"game"}) << content;
        EXPECT_FALSE(update.state().updateNeeded) << content;
    }
}

TEST_F(UpdateCheckTest, OnlyTheRunningProgramInThisDirectoryIsReplaced) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::copy("game", elsewhere.filePath("game")));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("game"), "link"));
    writeFile("6.exe", "a file named like the download");
    writeFile("line\nbreak", "a name that cannot stand in a script");

    for (const QString& path : {elsewhere.filePath("game"), work_.filePath("link"),
                                work_.filePath("6.exe"), work_.filePath("line\nbreak")}) {
        events_.clear();
        writeFile(versionFileName, "6");
        UpdateHooks hooks = recordingHooks();
        hooks.programFile = [path] { return path; };
        check(true, hooks).finishAtExit(removeFonts());
        EXPECT_EQ(events_, Events{"fonts"}) << path.toStdString();
        EXPECT_FALSE(QFile::exists(updaterScriptName) || QFile::exists(versionFileName));
    }
}

TEST_F(UpdateCheckTest, AProgramNamedLikeAnUpdateFileIsNeverTouched) {
    // The start-up writes or its script deletes the first five; the updater the others.
    for (const char* fileName : {"downloader.exe", "check.bat", "version.txt", ".wget-hsts", ".exe",
                                 "updater.bat", "6.exe"}) {
        const QString name = QString::fromLatin1(fileName);
        events_.clear();
        ASSERT_TRUE(QFile::rename("game", name));
        UpdateHooks hooks = recordingHooks();
        hooks.programFile = [this, name] { return work_.filePath(name); };
        check(true, hooks).checkAtStartUp();
        const bool startUpFile = name != "updater.bat" && name != "6.exe";
        EXPECT_EQ(events_.empty(), startUpFile) << name.toStdString();
        for (const QString& written : {versionCheckScriptName, downloaderFileName}) {
            if (written != name) QFile::remove(written);
        }

        events_.clear();
        if (name != versionFileName) writeFile(versionFileName, "6");
        check(true, hooks).finishAtExit(removeFonts());
        EXPECT_EQ(events_, Events{"fonts"}) << name.toStdString();
        EXPECT_EQ(readFile(name), oldProgram) << name.toStdString();
        ASSERT_TRUE(QFile::rename(name, "game"));
    }
    // A second name of the program counts as the program.
    events_.clear();
    ASSERT_EQ(::link("game", "downloader.exe"), 0);
    check(true).checkAtStartUp();
    EXPECT_TRUE(events_.empty());
}

TEST_F(UpdateCheckTest, AScriptThatCannotStartLeavesNoFile) {
    starter_.starts = false;
    check(true).checkAtStartUp();
    EXPECT_EQ(files(), QStringList{"game"});

    writeFile(versionFileName, "6");
    check(true).finishAtExit(removeFonts());
    EXPECT_EQ(events_, (Events{"cannot start check.bat", "fonts", "cannot start updater.bat"}));
    EXPECT_EQ(files(), QStringList{"game"});
    EXPECT_EQ(readFile("game"), oldProgram);
}

}  // namespace
}  // namespace reversi
