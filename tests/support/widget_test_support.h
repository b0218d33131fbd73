#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QTimerEvent>
#include <stdexcept>
#include <string>

#include "error_display.h"

namespace reversi::test_support {

// A window's control, found as an accessibility tool finds it: by its object name. Also for
// classes without Qt's type information (the intro, the help grid's corner).
template <class Control>
Control* control(const QObject& window, const char* name) {
    auto* found = dynamic_cast<Control*>(window.findChild<QObject*>(QString::fromLatin1(name)));
    if (!found) throw std::logic_error(std::string("the window has no control named ") + name);
    return found;
}

// A tick of a window's timer, at once, as if its interval had passed.
inline void tick(const QObject& window, const char* timerName) {
    auto* timer = control<QTimer>(window, timerName);
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
}

// Runs each test in a fresh working directory and records the errors shown to the player.
class WidgetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(directory_.isValid());
        previousDirectory_ = QDir::currentPath();
        QDir::setCurrent(directory_.path());
        previousPresenter_ = setErrorPresenter([this](const QString& text) { errors << text; });
    }
    void TearDown() override {
        setErrorPresenter(previousPresenter_);
        QDir::setCurrent(previousDirectory_);
    }

    static void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    static QByteArray readFile(const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString path() const { return directory_.path(); }

    QStringList errors;

  private:
    QTemporaryDir directory_;
    QString previousDirectory_;
    ErrorPresenter previousPresenter_;
};

}  // namespace reversi::test_support
