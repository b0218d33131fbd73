#include <elf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <ctime>

#include "exit_status.h"
#include "local_http_server.h"

namespace {

namespace exitStatus = downloader::exitStatus;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A complete program for this machine: the downloader itself.
const QByteArray& aProgram() {
    static const QByteArray bytes = fileBytes(QStringLiteral(REVERSI_DOWNLOADER_PATH));
    return bytes;
}

class DownloaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(work_.isValid() && served_.isValid());
        serve("6.exe", body_);
        serve("small.bin", QByteArray(4096, 's'));
        serve("big.bin", QByteArray(5000, 'b'));
        serve("streamed.bin", QByteArray(5000, 'c'));
        serve("cut.bin", QByteArray(4000, 't'));
        serve("twice.bin", QByteArray(3000, 'w'));
    }

    // Runs the downloader in the working directory; returns its exit status. A failure must say
    // why in exactly one line on standard error.
    int download(const QStringList& arguments) {
        QProcess process;
        process.setWorkingDirectory(work_.path());
        process.start(QStringLiteral(REVERSI_DOWNLOADER_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        const QByteArray errors = process.readAllStandardError();
        lastErrors_ = QString::fromUtf8(errors);
        if (process.exitCode() == exitStatus::saved) {
            EXPECT_TRUE(errors.isEmpty()) << errors.constData();
        } else {
            EXPECT_EQ(errors.count('\n'), 1) << errors.constData();
            EXPECT_TRUE(errors.endsWith('\n')) << errors.constData();
        }
        return process.exitCode();
    }

    void serve(const char* name, const QByteArray& bytes) {
        QFile file(served_.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Everything in the working directory but the downloader's own state file.
    QStringList leftFiles() const {
        QStringList names =
            QDir(work_.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDir::Name);
        names.removeAll(QStringLiteral(".wget-hsts"));
        return names;
    }

    QByteArray saved(const char* name) const {
        return fileBytes(QDir(work_.path()).filePath(QString::fromLatin1(name)));
    }
    // A file of the user's outside the working directory, holding "user text".
    QString userFile() {
        serve("user.txt", "user text");
        return served_.filePath(QStringLiteral("user.txt"));
    }
    QString inWork(const char* name) const {
        return QDir(work_.path()).filePath(QString::fromLatin1(name));
    }

    QTemporaryDir work_;
    QTemporaryDir served_;
    QString lastErrors_;  // what the last run printed on standard error
    const QByteArray body_ = QByteArray(300000, 'x') + "end";
};

TEST_F(DownloaderTest, SavesACompleteAnswerUnderTheLastPathSegment) {
    LocalHttpServer server(
        served_.path(), {"--redirect", "/moved/version.txt=/hop", "--redirect", "/hop=/small.bin"});
    {
        QFile old(QDir(work_.path()).filePath(QStringLiteral("6.exe")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    EXPECT_EQ(download({server.url("/missing/6.exe")}), exitStatus::serverError);
    EXPECT_EQ(saved("6.exe"), "old");

    EXPECT_EQ(download({server.url("/6.exe")}), exitStatus::saved);
    EXPECT_EQ(saved("6.exe"), body_);
    EXPECT_TRUE(QFile::exists(QDir(work_.path()).filePath(QStringLiteral(".wget-hsts"))));

    // Redirects between loopback addresses are followed; the name stays the requested one.
    EXPECT_EQ(download({server.url("/moved/version.txt")}), exitStatus::saved);
    EXPECT_EQ(saved("version.txt"), QByteArray(4096, 's'));
    EXPECT_EQ(leftFiles(), (QStringList{"6.exe", "version.txt"}));
}

TEST_F(DownloaderTest, FailedTransfersLeaveNoFile) {
    LocalHttpServer server(
        served_.path(), {"--truncate", "/cut.bin", "--chunked", "/streamed.bin", "--redirect",
                         "/away.txt=http://example.invalid/x", "--redirect", "/loop.txt=/loop.txt",
                         "--second-length", "/twice.bin=300"});
    struct Case {
        const char* path;
        int status;
    };
    for (const Case& c : {
             Case{"/missing.txt", exitStatus::serverError},
             Case{"/cut.bin", exitStatus::networkFailure},  // the connection closes mid-body
             Case{"/big.bin", exitStatus::tooLarge},        // its length announced up front
             Case{"/streamed.bin", exitStatus::tooLarge},   // only counted as it arrives
             // Refused (2), not a failed name look-up (4): no connection was tried.
             Case{"/away.txt", exitStatus::refused}, Case{"/loop.txt", exitStatus::networkFailure},
             Case{"/twice.bin", exitStatus::networkFailure},  // two lengths: where does it end?
         }) {
        EXPECT_EQ(download({"--max-bytes", "4096", server.url(c.path)}), c.status) << c.path;
        EXPECT_TRUE(leftFiles().isEmpty()) << c.path << ": " << leftFiles().join(' ').toStdString();
    }
    EXPECT_EQ(download({"--max-bytes", "4096", server.url("/small.bin")}), exitStatus::saved);
}

TEST_F(DownloaderTest, AnOverlongHeaderIsATooLargeAnswer) {
    // One line over libcurl's 100 KB, or lines over its 300 KiB in all: the server's doing.
    for (const char* header : {"/small.bin=1048576", "/small.bin=60000x6"}) {
        LocalHttpServer server(served_.path(), {"--long-header", header});
        EXPECT_EQ(download({server.url("/small.bin")}), exitStatus::tooLarge) << header;
        EXPECT_TRUE(lastErrors_.contains("answer is too large")) << lastErrors_.toStdString();
        EXPECT_FALSE(lastErrors_.contains("memory", Qt::CaseInsensitive))
            << lastErrors_.toStdString();
        EXPECT_TRUE(leftFiles().isEmpty()) << leftFiles().join(' ').toStdString();
    }
}

TEST_F(DownloaderTest, RefusesUnsafeUrlsBeforeAnyConnection) {
    // Nothing listens on port 9 here: a connection attempt would end in status 4.
    for (const char* url :
         {"http://example.invalid/version.txt",
          "https://raw.reversi-updates.INVALID./reversi/master/version.txt",
          "ftp://127.0.0.1:9/version.txt", "file:///etc/hostname", "http://127.0.0.1:9/",
          "http://127.0.0.1:9/..", "http://127.0.0.1:9/%2e%2e", "http://127.0.0.1:9/.profile",
          "http://127.0.0.1:9/a%2Fb", "http://127.0.0.1:9/a%0Ab"}) {
        EXPECT_EQ(download({QString::fromLatin1(url)}), exitStatus::refused) << url;
    }
    EXPECT_TRUE(leftFiles().isEmpty()) << leftFiles().join(' ').toStdString();
}

TEST_F(DownloaderTest, UnwritableTargetLeavesNoTemporaryFile) {
    LocalHttpServer server(served_.path());
    // A directory in the way of the rename stands for a target that cannot be written.
    ASSERT_TRUE(QDir(work_.path()).mkpath(QStringLiteral("6.exe/inside")));
    EXPECT_EQ(download({server.url("/6.exe")}), exitStatus::fileFailure);
    EXPECT_EQ(leftFiles(), QStringList{"6.exe"});
}

}  // namespace

namespace {

TEST_F(DownloaderTest, RefusesAnswersThatMayNotBeWhole) {
    LocalHttpServer server(served_.path(), {"--no-length", "/6.exe", "--status", "/small.bin=206"});
    EXPECT_EQ(download({server.url("/6.exe")}),
              exitStatus::networkFailure);  // cut short, or not: unknown
    EXPECT_EQ(download({server.url("/small.bin")}),
              exitStatus::serverError);  // a range never asked for
    EXPECT_TRUE(leftFiles().isEmpty()) << leftFiles().join(' ').toStdString();
}

TEST_F(DownloaderTest, NeverFollowsARedirectFromHttpsToPlainHttp) {
    QTemporaryDir keys;
    const QString pem = keys.filePath("server.pem");
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                              "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                              "-keyout", pem, "-out", keys.filePath("certificate.pem")});
    ASSERT_TRUE(openssl.waitForFinished(60000) && openssl.exitCode() == 0)
        << openssl.readAllStandardError().constData();
    QFile combined(pem);
    ASSERT_TRUE(combined.open(QIODevice::Append));
    combined.write(fileBytes(keys.filePath("certificate.pem")));
    combined.close();

    LocalHttpServer plain(served_.path());
    LocalHttpServer secure(served_.path(), {"--certificate", pem, "--redirect",
                                            "/down/small.bin=" + plain.url("/small.bin")});
    const QString https = QStringLiteral("https://127.0.0.1:%1").arg(secure.port());
    const QStringList trust{"--ca-file", keys.filePath("certificate.pem")};
    EXPECT_EQ(download(trust + QStringList{https + "/small.bin"}), exitStatus::saved);  // TLS works
    EXPECT_EQ(download(trust + QStringList{https + "/down/small.bin"}), exitStatus::refused);
    EXPECT_EQ(leftFiles(), QStringList{"small.bin"});
}

TEST_F(DownloaderTest, ReplacesAFileOnlyWithACompleteProgramForThisMachine) {
    QByteArray otherMachine = aProgram();
    auto* header = reinterpret_cast<Elf64_Ehdr*>(otherMachine.data());
    header->e_machine = header->e_machine == EM_AARCH64 ? EM_X86_64 : EM_AARCH64;
    const auto sectionsStart = static_cast<qsizetype>(
        reinterpret_cast<const Elf64_Ehdr*>(aProgram().constData())->e_shoff);
    serve("program", aProgram());
    serve("page.html", "<html><body>Down for maintenance</body></html>\n");
    serve("cut", aProgram().left(sectionsStart));  // whole segments, no section table
    serve("other", otherMachine);

    struct Case {
        const char* path;
        int status;
    };
    for (const Case& c :
         {Case{"/page.html", exitStatus::notAProgram}, Case{"/cut", exitStatus::notAProgram},
          Case{"/other", exitStatus::notAProgram}, Case{"/program", exitStatus::saved}}) {
        const QString game = inWork("game");
        QFile::remove(game);
        QFile old(game);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old program");
        old.close();
        ASSERT_EQ(::chmod(QFile::encodeName(game).constData(), 0750), 0);
        LocalHttpServer server(served_.path());
        EXPECT_EQ(download({"--replace", "game", server.url(c.path)}), c.status) << c.path;
        EXPECT_EQ(saved("game"), c.status == exitStatus::saved ? aProgram() : "old program")
            << c.path;
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(game).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0750u) << c.path;
        EXPECT_EQ(leftFiles(), QStringList{"game"}) << c.path;
    }
}

TEST_F(DownloaderTest, ReplacesOnlyTheExpectedRegularFile) {
    serve("program", aProgram());
    LocalHttpServer server(served_.path());
    const QString outside = userFile();

    // A link is not replaced, nor what it points to.
    ASSERT_TRUE(QFile::link(outside, inWork("link")));
    EXPECT_EQ(download({"--replace", "link", server.url("/program")}), exitStatus::refused);
    EXPECT_EQ(fileBytes(outside), "user text");
    EXPECT_TRUE(QFileInfo(inWork("link")).isSymLink());

    // Another file that took the name meanwhile is left as it is.
    QFile game(inWork("game"));
    ASSERT_TRUE(game.open(QIODevice::WriteOnly));
    game.write("someone else's file");
    game.close();
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(game.fileName()).constData(), &status), 0);
    const QString wrong = QStringLiteral("%1:%2").arg(status.st_dev).arg(status.st_ino + 1);
    EXPECT_EQ(download({"--replace", "game", "--identity", wrong, server.url("/program")}),
              exitStatus::refused);
    EXPECT_EQ(saved("game"), "someone else's file");
    const QString right = QStringLiteral("%1:%2").arg(status.st_dev).arg(status.st_ino);
    EXPECT_EQ(download({"--replace", "game", "--identity", right, server.url("/program")}),
              exitStatus::saved);
    EXPECT_EQ(saved("game"), aProgram());
    EXPECT_EQ(leftFiles(), (QStringList{"game", "link"}));
}

TEST_F(DownloaderTest, TheStateFileIsNeverOpenedThroughALinkNorWaitedOn) {
    LocalHttpServer server(served_.path());
    const QString outside = userFile();
    ASSERT_TRUE(QFile::link(outside, inWork(".wget-hsts")));
    EXPECT_EQ(download({server.url("/small.bin")}), exitStatus::saved);
    EXPECT_EQ(fileBytes(outside), "user text");

    QFile::remove(inWork(".wget-hsts"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(inWork(".wget-hsts")).constData(), 0600), 0);
    EXPECT_EQ(download({server.url("/small.bin")}),
              exitStatus::saved);  // returns: nothing waits on it
}

TEST_F(DownloaderTest, RemovesOnlyItsOwnTemporaryFilesLeftByKilledRuns) {
    struct Leftover {
        const char* name;
        mode_t mode;
        int ageMinutes;
        bool removed;
    };
    const Leftover leftovers[] = {
        {".download-a1B2c3", 0600, 60, true},   // a killed run's
        {".download-d4E5f6", 0600, 1, false},   // a run still going on
        {".download-g7H8i9", 0644, 60, false},  // not made as this program makes them
        {".download-j1", 0600, 60, false},      // another name
        {"download-k2L3m4", 0600, 60, false},
    };
    for (const Leftover& leftover : leftovers) {
        const QByteArray path = QFile::encodeName(inWork(leftover.name));
        QFile file(inWork(leftover.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        ASSERT_EQ(::chmod(path.constData(), leftover.mode), 0);
        const time_t then = std::time(nullptr) - leftover.ageMinutes * 60;
        const utimbuf times{then, then};
        ASSERT_EQ(::utime(path.constData(), &times), 0);
    }
    LocalHttpServer server(served_.path());
    EXPECT_EQ(download({server.url("/small.bin")}), exitStatus::saved);
    for (const Leftover& leftover : leftovers) {
        EXPECT_EQ(QFile::exists(inWork(leftover.name)), !leftover.removed) << leftover.name;
    }
}

}  // namespace
