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
                           kChannel);
    }

    FixedNetwork network_{false};
    RecordingStarter starter_{events_};
};

TEST_F(UpdateCheckTest, OfflineWritesAndStartsNothing) {
    UpdateCheck update = check(false);
    update.checkAtStartUp();
    EXPECT_EQ(files(), QStringList{"game"});

    writeFile(kVersionFileName, "6\n");  // left from an earlier run: only removed
    update.finishAtExit(removeFonts());
    EXPECT_EQ(files(), QStringList{"game"});
    EXPECT_EQ(events_, Events{"fonts"});
}

TEST_F(UpdateCheckTest, OnlineStartUpWritesTheDownloaderAndTheCheckScriptThenStartsIt) {
    writeFile(kDownloaderFileName, "an older, longer downloader");
    UpdateCheck update = check(true);
    update.checkAtStartUp();

    EXPECT_EQ(files(), (QStringList{"check.bat", "downloader.exe", "game"}));
    EXPECT_EQ(readFile(kDownloaderFileName), "downloader program");
    EXPECT_TRUE(QFileInfo(kDownloaderFileName).isExecutable());
    EXPECT_EQ(readFile(kVersionCheckScriptName), versionCheckScript(kChannel).toUtf8());
    EXPECT_EQ(events_, Events{"start check.bat"});
    EXPECT_EQ(update.state().exeFileName, "game");
}

TEST_F(UpdateCheckTest, StartUpFailureLeavesNothingHalfWritten) {
    // A directory in the way stands for a file that cannot be written.
    for (const QString& blocked : {kVersionCheckScriptName, kDownloaderFileName}) {
        ASSERT_TRUE(QDir().mkpath(blocked + "/x"));
        EXPECT_THROW(check(true).checkAtStartUp(), FileError);
        EXPECT_EQ(files(), (QStringList{blocked, "game"}));
        ASSERT_TRUE(QDir(blocked).removeRecursively());
    }
    EXPECT_THROW(check(true, recordingHooks(QByteArray())).checkAtStartUp(), FileError);
    EXPECT_EQ(files(), QStringList{"game"});
    EXPECT_TRUE(events_.empty());
}

TEST_F(UpdateCheckTest, NewerVersionWritesTheUpdaterRemovesFontsStartsItAndEnds) {
    writeFile(kVersionFileName, "  6\r\n");
    UpdateCheck update = check(true);
    update.finishAtExit(removeFonts());

    EXPECT_EQ(events_, (Events{"fonts", "start updater.bat", "end"}));
    EXPECT_EQ(files(), (QStringList{"downloader.exe", "game", "updater.bat"}));
    EXPECT_EQ(readFile(kUpdaterScriptName),
              updaterScript(kChannel, QStringLiteral("6"), game()).toUtf8());
    EXPECT_EQ(update.state().latestVersionText, "6");
    EXPECT_TRUE(update.state().updateNeeded);
}

TEST_F(UpdateCheckTest, NoUpdateWithoutANewerWholeNumber) {
    for (const char* content : {"5", "4\n", "", "abc", "99999999999"}) {
        events_.clear();
        writeFile(kVersionFileName, content);
        UpdateCheck update = check(true);
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
        writeFile(kVersionFileName, "6");
        UpdateHooks hooks = recordingHooks();
        hooks.programFile = [path] { return path; };
        check(true, hooks).finishAtExit(removeFonts());
        EXPECT_EQ(events_, Events{"fonts"}) << path.toStdString();
        EXPECT_FALSE(QFile::exists(kUpdaterScriptName) || QFile::exists(kVersionFileName));
    }
}

TEST_F(UpdateCheckTest, ExitFailureIsReportedAfterTheCleanUp) {
    writeFile(kVersionFileName, "6");
    ASSERT_TRUE(QDir().mkpath("updater.bat/x"));
    EXPECT_THROW(check(true).finishAtExit(removeFonts()), FileError);
    EXPECT_EQ(events_, Events{"fonts"});
    EXPECT_EQ(files(), (QStringList{"game", "updater.bat"}));
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
        for (const QString& written : {kVersionCheckScriptName, kDownloaderFileName}) {
            if (written != name) QFile::remove(written);
        }

        events_.clear();
        if (name != kVersionFileName) writeFile(kVersionFileName, "6");
        check(true, hooks).finishAtExit(removeFonts());
        EXPECT_EQ(events_, Events{"fonts"}) << name.toStdString();
        EXPECT_EQ(readFile(name), kOldProgram) << name.toStdString();
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

    writeFile(kVersionFileName, "6");
    check(true).finishAtExit(removeFonts());
    EXPECT_EQ(events_, (Events{"cannot start check.bat", "fonts", "cannot start updater.bat"}));
    EXPECT_EQ(files(), QStringList{"game"});
    EXPECT_EQ(readFile("game"), kOldProgram);
}

TEST_F(UpdateCheckTest, AVersionFileThatIsNoRegularFileIsNotReadAndGoes) {
    writeFile("outside", "6");
    for (const auto& make : std::initializer_list<std::function<bool()>>{
             [] { return ::mkfifo("version.txt", 0600) == 0; },
             [] { return QFile::link("outside", "version.txt"); }}) {
        events_.clear();
        ASSERT_TRUE(make());
        // Returns at once: a FIFO with no writer would otherwise hold the program for ever.
        EXPECT_THROW(check(true).finishAtExit(removeFonts()), FileError);
        EXPECT_EQ(events_, Events{"fonts"});
        EXPECT_EQ(files(), (QStringList{"game", "outside"}));
        EXPECT_EQ(readFile("outside"), "6");
    }
}

}  // namespace
}  // namespace reversi
