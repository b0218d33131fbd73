#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

// local_http_server.py started for one test: bound to 127.0.0.1 on a free port, stopped when
// this object goes away.
class LocalHttpServer {
  public:
    // `root` holds the files to serve; `options` are the script's fault options.
    LocalHttpServer(const QString& root, const QStringList& options = {}) {
        process_.setProgram(QStringLiteral("python3"));
        process_.setArguments(
            QStringList{QStringLiteral(REVERSI_TEST_HTTP_SERVER), QStringLiteral("--root"), root} +
            options);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted(10000)) {
            ADD_FAILURE() << "python3 did not start";
            return;
        }
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        bool ok = false;
        port_ = QString::fromLatin1(process_.readLine()).trimmed().toInt(&ok);
        if (!ok) ADD_FAILURE() << "the test HTTP server did not report its port";
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;
    ~LocalHttpServer() {
        process_.kill();
        process_.waitForFinished(10000);
    }

    int port() const { return port_; }
    QString url(const char* path) const { return url(QString::fromUtf8(path)); }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
    }

  private:
    QProcess process_;
    int port_ = 0;
};
