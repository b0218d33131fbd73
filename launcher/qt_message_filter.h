#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

namespace reversi {

// Says in one line that the program has no display to open its windows on, and why, and ends
// it with status 1.
[[noreturn]] void exitForLackOfDisplay(const QString& detail);

// Stands between Qt's messages and standard error while it lives (one at a time). Until the
// application is up they are held back: where Qt cannot open a display it says so in several
// lines and aborts, and the program says it in one line and ends instead. Once up, a lost
// connection to the X11 display ends the program through the action given for it, since the
// platform plug-in then ends the process without returning to main().
class QtMessageFilter {
  public:
    // `display` is the display the program is to open, for the message when it cannot.
    explicit QtMessageFilter(QString display);
    ~QtMessageFilter();
    QtMessageFilter(const QtMessageFilter&) = delete;
    QtMessageFilter& operator=(const QtMessageFilter&) = delete;

    // The application is up: the messages held back are shown after all, but for a missing
    // Wayland plug-in where Qt went on with another platform (X11): that fallback is silent.
    void applicationStarted();

    // What to do, once, when the connection to the display breaks; none when empty.
    void setDisplayLostAction(std::function<void()> action);

  private:
    struct HeldMessage {
        QtMsgType type;
        QString category;
        QString text;
    };

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message);
    void handleStartingUp(QtMsgType type, const QMessageLogContext& context,
                          const QString& message);
    bool waylandPluginMissing() const;
    static bool isWaylandPluginNotFound(const HeldMessage& held);

    static QtMessageFilter* installed_;  // Qt's handler is a plain function
    QtMessageHandler previousHandler_ = nullptr;
    QString display_;
    bool startingUp_ = true;
    std::vector<HeldMessage> heldMessages_;
    std::function<void()> displayLost_;
};

}  // namespace reversi
