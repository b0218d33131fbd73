#include <gtest/gtest.h>

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

}  // namespace
}  // namespace reversi
