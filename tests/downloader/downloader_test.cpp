#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "local_http_server.h"

namespace {

// Exit statuses of the downloader.
enum Status {
    kSaved = 0,
    kRefused = 2,
    kFileFailure = 3,
    kNetworkFailure = 4,
    kServerError = 5,
    kTooLarge = 6
};

class DownloaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(work_.isValid() && served_.isValid());
        serve("6.exe", body_);
        serve("small.bin", QByteArray(4096, 's'));
        serve("big.bin", QByteArray(5000, 'b'));
        serve("streamed.bin", QByteArray(5000, 'c'));
        serve("cut.bin", QByteArray(4000, 't'));
    }

    // Runs the downloader in the working directory; returns its exit status. A failure must say
    // why in exactly one line on standard error.
    int download(const QStringList& arguments) {
        QProcess process;
        process.setWorkingDirectory(work_.path());
        process.start(QStringLiteral(REVERSI_DOWNLOADER_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        const QByteArray errors = process.readAllStandardError();
        if (process.exitCode() == kSaved) {
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
        QFile file(QDir(work_.path()).filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir work_;
    QTemporaryDir served_;
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
    EXPECT_EQ(download({server.url("/missing/6.exe")}), kServerError);
    EXPECT_EQ(saved("6.exe"), "old");

    EXPECT_EQ(download({server.url("/6.exe")}), kSaved);
    EXPECT_EQ(saved("6.exe"), body_);
    EXPECT_TRUE(QFile::exists(QDir(work_.path()).filePath(QStringLiteral(".wget-hsts"))));

    // Redirects between loopback addresses are followed; the name stays the requested one.
    EXPECT_EQ(download({server.url("/moved/version.txt")}), kSaved);
    EXPECT_EQ(saved("version.txt"), QByteArray(4096, 's'));
    EXPECT_EQ(leftFiles(), (QStringList{"6.exe", "version.txt"}));
}

TEST_F(DownloaderTest, FailedTransfersLeaveNoFile) {
    LocalHttpServer server(served_.path(), {"--truncate", "/cut.bin", "--chunked", "/streamed.bin",
                                            "--redirect", "/away.txt=http://example.invalid/x",
                                            "--redirect", "/loop.txt=/loop.txt"});
    struct Case {
        const char* path;
        int status;
    };
    for (const Case& c : {
             Case{"/missing.txt", kServerError},
             Case{"/cut.bin", kNetworkFailure},  // the connection closes mid-body
             Case{"/big.bin", kTooLarge},        // its length announced up front
             Case{"/streamed.bin", kTooLarge},   // only counted as it arrives
             // Refused (2), not a failed name look-up (4): no connection was tried.
             Case{"/away.txt", kRefused},
             Case{"/loop.txt", kNetworkFailure},
         }) {
        EXPECT_EQ(download({"--max-bytes", "4096", server.url(c.path)}), c.status) << c.path;
        EXPECT_TRUE(leftFiles().isEmpty()) << c.path << ": " << leftFiles().join(' ').toStdString();
    }
    EXPECT_EQ(download({"--max-bytes", "4096", server.url("/small.bin")}), kSaved);
}

TEST_F(DownloaderTest, RefusesUnsafeUrlsBeforeAnyConnection) {
    // Nothing listens on port 9 here: a connection attempt would end in status 4.
    for (const char* url :
         {"http://example.invalid/version.txt",
          "https://raw.reversi-updates.INVALID./reversi/master/version.txt",
          "ftp://127.0.0.1:9/version.txt", "file:///etc/hostname", "http://127.0.0.1:9/",
          "http://127.0.0.1:9/..", "http://127.0.0.1:9/%2e%2e", "http://127.0.0.1:9/.profile",
          "http://127.0.0.1:9/a%2Fb", "http://127.0.0.1:9/a%0Ab"}) {
        EXPECT_EQ(download({QString::fromLatin1(url)}), kRefused) << url;
    }
    EXPECT_TRUE(leftFiles().isEmpty()) << leftFiles().join(' ').toStdString();
}

TEST_F(DownloaderTest, UnwritableTargetLeavesNoTemporaryFile) {
    LocalHttpServer server(served_.path());
    // A directory in the way of the rename stands for a target that cannot be written.
    ASSERT_TRUE(QDir(work_.path()).mkpath(QStringLiteral("6.exe/inside")));
    EXPECT_EQ(download({server.url("/6.exe")}), kFileFailure);
    EXPECT_EQ(leftFiles(), QStringList{"6.exe"});
}

}  // namespace
