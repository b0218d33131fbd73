#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "update_check.h"

namespace reversi {

// A channel on the reserved .invalid domain, as the scripts under test name it.
inline const UpdateChannel testChannel{
    QStringLiteral("https://raw.reversi-updates.invalid/reversi/master/version.txt"),
    QStringLiteral(
        "https://reversi-updates.invalid/reversi/raw/0123456789abcdef0123456789abcdef01234567/")};

class FixedNetwork : public NetworkProbe {
  public:
    explicit FixedNetwork(bool online) : online_(online) {}
    bool isOnline() const override { return online_; }

  private:
    bool online_;
};

// What the update check did, in order: "fonts", "start <script>", "end".
using Events = std::vector<std::string>;

// Records each start; `starts` says whether the script could be started.
class RecordingStarter : public ProcessStarter {
  public:
    explicit RecordingStarter(Events& events) : events_(events) {}
    bool startScript(const QString& scriptFileName) override {
        events_.push_back((starts ? "start " : "cannot start ") + scriptFileName.toStdString());
        return starts;
    }
    bool starts = true;

  private:
    Events& events_;
};

// Each test runs in a fresh temporary current directory holding a stand-in executable "game".
class UpdateDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(work_.isValid());
        previousDirectory_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(work_.path()));
        writeFile("game", oldProgram);
        QFile::setPermissions("game", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override {
        QFile::setPermissions(work_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir::setCurrent(previousDirectory_);
    }

    static void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
        file.write(bytes);
    }
    static QByteArray readFile(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QStringList files() {
        return QDir::current().entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    QString gamePath() const { return work_.filePath("game"); }

    // Hooks that record into events_ and never end this process.
    UpdateHooks recordingHooks(const QByteArray& downloader = "downloader program") {
        return {[downloader] { return downloader; }, [this] { return gamePath(); },
                [this] { events_.push_back("end"); }};
    }
    // The stand-in program as the updater script names it.
    ProgramFile game() const {
        return {QStringLiteral("game"), *regularFileIdentity(QStringLiteral("game"))};
    }
    // The menu's font removal, recorded.
    std::function<void()> removeFonts() {
        return [this] { events_.push_back("fonts"); };
    }

    static inline const QByteArray oldProgram = "#!/bin/sh\necho old\n";
    QTemporaryDir work_;
    QString previousDirectory_;
    Events events_;
};

}  // namespace reversi
