// The real downloader and the real scripts, run detached against a local HTTP server.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>
#include <memory>

#include "local_http_server.h"
#include "update_scripts.h"
#include "update_test_support.h"

namespace reversi {
namespace {

const QString commitPath = QStringLiteral("/reversi/raw/89abcdef0123456789abcdef0123456789abcdef/");

// A complete program for this machine: the downloader itself.
QByteArray newProgram() {
    QFile file(QStringLiteral(REVERSI_DOWNLOADER_PATH));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class UpdateEndToEndTest : public UpdateDirectoryTest {
  protected:
    void SetUp() override {
        UpdateDirectoryTest::SetUp();
        ASSERT_TRUE(served_.isValid());
        ASSERT_TRUE(QDir(served_.path()).mkpath("reversi/master"));
        ASSERT_TRUE(QDir(served_.path()).mkpath(commitPath.mid(1)));
    }

    void publish(const QByteArray& version, bool withProgram, const QStringList& faults = {}) {
        writeFile(served_.filePath("reversi/master/version.txt"), version);
        QFile::remove(served_.filePath(commitPath.mid(1) + "6.exe"));
        if (withProgram) writeFile(served_.filePath(commitPath.mid(1) + "6.exe"), newProgram());
        server_ = std::make_unique<LocalHttpServer>(served_.path(), faults);
    }

    UpdateCheck update(const QString& executablePath) {
        UpdateHooks hooks = recordingHooks(newProgram());
        hooks.programFile = [executablePath] { return executablePath; };
        return UpdateCheck(online_, starter_, hooks,
                           {server_->url("/reversi/master/version.txt"), server_->url(commitPath)});
    }

    // Runs the start-up half, then the exit half, each time waiting for the detached script to
    // finish: it removes itself last.
    void runCheckAndExit(const QString& executablePath, QStringList* afterCheck = nullptr) {
        UpdateCheck check = update(executablePath);  // one run: both halves
        check.checkAtStartUp();
        waitUntilGone(versionCheckScriptName);
        if (afterCheck) *afterCheck = files();
        check.finishAtExit(removeFonts());
        waitUntilGone(updaterScriptName);
    }

    static void waitUntilGone(const QString& script) {
        const QDeadlineTimer deadline(30000);
        while (QFile::exists(script) && !deadline.hasExpired())
            QThread::msleep(20);
        ASSERT_FALSE(QFile::exists(script)) << script.toStdString() << " did not finish";
    }

    // Runs the current test once more in a new process of this program, still as root (so it
    // can read the build tree wherever that is) but without the capabilities that let root
    // ignore permission bits.
    static void expectPassesUnprivileged() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("REVERSI_TEST_UNPRIVILEGED", "1");
        child.setProcessEnvironment(environment);
        child.setWorkingDirectory(QDir::tempPath());
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(
            "setpriv",
            {"--bounding-set=-dac_override,-dac_read_search,-fowner",
             QCoreApplication::applicationFilePath(),
             QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QString output = QString::fromUtf8(child.readAll());
        EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
    }

    QTemporaryDir served_;
    std::unique_ptr<LocalHttpServer> server_;
    FixedNetwork online_{true};
    ShellScriptStarter starter_;
};

TEST_F(UpdateEndToEndTest, NewerVersionReplacesTheExecutableAndRemovesEveryUpdateFile) {
    // The name also proves the quoting: blanks, quotes, $ and ; reach mv unchanged.
    const QString name = "my 'game' $HOME; x";
    ASSERT_TRUE(QFile::rename("game", name));
    publish("6\n", true);
    QStringList afterCheck;
    runCheckAndExit(work_.filePath(name), &afterCheck);

    EXPECT_EQ(afterCheck, (QStringList{name, "version.txt"}));
    EXPECT_EQ(events_, (Events{"fonts", "end"}));
    EXPECT_EQ(files(), QStringList{name});
    EXPECT_EQ(readFile(name), newProgram());
    EXPECT_TRUE(QFileInfo(name).isExecutable());
}

TEST_F(UpdateEndToEndTest, FailedDownloadOrBadVersionKeepsTheOldExecutable) {
    struct Fault {
        const char* version;
        bool withProgram;
        QStringList faults;
    };
    for (const Fault& fault :
         {Fault{"6\n", false, {}},  // 404 for 6.exe
          Fault{"6\n", true, {"--truncate", commitPath + "6.exe"}}, Fault{"abc\n", true, {}}}) {
        publish(fault.version, fault.withProgram, fault.faults);
        runCheckAndExit(gamePath());
        EXPECT_EQ(files(), QStringList{"game"}) << fault.faults.join(' ').toStdString();
        EXPECT_EQ(readFile("game"), oldProgram) << fault.faults.join(' ').toStdString();
        EXPECT_TRUE(QFileInfo("game").isExecutable());
    }
}

TEST_F(UpdateEndToEndTest, ReadOnlyDirectoryOrProgramIsLeftAsItWas) {
    publish("6\n", true);
    writeFile(versionFileName, "6");
    ASSERT_TRUE(QFile::setPermissions(work_.path(), QFile::ReadOwner | QFile::ExeOwner));
    if (::access(".", W_OK) == 0) {
        // Root writes anyway.
        if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("REVERSI_TEST_UNPRIVILEGED")) {
            return expectPassesUnprivileged();
        }
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    EXPECT_THROW(update(gamePath()).checkAtStartUp(), FileError);
    EXPECT_NO_THROW(update(gamePath()).finishAtExit(removeFonts()));
    EXPECT_EQ(events_, Events{"fonts"});
    EXPECT_EQ(files(), (QStringList{"game", "version.txt"}));

    // A program made read-only in a writable directory is not replaced either.
    ASSERT_TRUE(QFile::setPermissions(work_.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::setPermissions("game", QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_NO_THROW(update(gamePath()).finishAtExit(removeFonts()));
    EXPECT_EQ(events_, (Events{"fonts", "fonts"}));
    EXPECT_EQ(files(), QStringList{"game"});
    EXPECT_EQ(readFile("game"), oldProgram);
}

// A check still waiting for its answer when the program ends ends with it: nothing of it is left
// in the folder, neither a file nor a process.
TEST_F(UpdateEndToEndTest, ACheckStillRunningAtExitEndsWithTheProgram) {
    publish("6\n", true, {"--delay", "/reversi/master/version.txt=60"});
    UpdateCheck check = update(gamePath());
    check.checkAtStartUp();
    const QDeadlineTimer deadline(30000);  // until the downloader has sent its request
    while (files().filter(".download-").isEmpty() && !deadline.hasExpired())
        QThread::msleep(20);
    check.finishAtExit(removeFonts());
    EXPECT_EQ(events_, Events{"fonts"});
    EXPECT_EQ(files(), QStringList{"game"});
    // At work in the folder only this test and its HTTP server, whose process group is this one.
    const QString here = QDir::current().canonicalPath();
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const pid_t pid = entry.toInt();
        if (pid > 0 && QFileInfo("/proc/" + entry + "/cwd").symLinkTarget() == here) {
            EXPECT_EQ(::getpgid(pid), ::getpgrp())
                << QFileInfo("/proc/" + entry + "/exe").symLinkTarget().toStdString();
        }
    }
}

}  // namespace
}  // namespace reversi
