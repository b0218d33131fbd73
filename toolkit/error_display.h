#pragma once

#include <QObject>
#include <QString>
#include <exception>
#include <functional>
#include <utility>

#include "file_error.h"

namespace reversi {

// Shows an error to the player: a message box titled "Reversi" with the error's text.
void showError(const QString& text);

// Replaces what showError does (tests record the messages instead of opening a box); returns
// the previous presenter. An empty function restores the message box.
using ErrorPresenter = std::function<void(const QString&)>;
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

// Runs an event handler; an error raised out of it ends the handler and is shown, and the
// program goes on. No exception ever crosses the Qt event loop.
template <class Handler>
void runHandler(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        showError(QString::fromUtf8(error.what()));
    }
}

// Connects `signal` of `sender` to the event handler `handler` of `receiver`, run through
// runHandler.
template <class Sender, class Signal, class Receiver>
void connectHandler(Sender* sender, Signal signal, Receiver* receiver,
                    void (Receiver::*handler)()) {
    QObject::connect(sender, signal, receiver,
                     [receiver, handler] { runHandler([&] { (receiver->*handler)(); }); });
}

}  // namespace reversi
