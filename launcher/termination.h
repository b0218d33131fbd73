#pragma once

#include <QObject>

namespace reversi {

// A termination request (SIGTERM, SIGINT, SIGHUP) closes the program as if its menu had been
// closed: the windows are destroyed and the exit handler removes the files the program keeps
// beside it, whenever the request comes.

// Catches the signals; the first thing main() does, so no request is lost during start-up. A
// signal only records the request. SIGPIPE is caught too and does nothing: a message to a closed
// standard error is lost, and the game goes on. SIGQUIT keeps its usual action (a core dump).
void catchTerminationSignals();

// Once the application exists: a request ends every event loop, a nested one too.
void quitOnTerminationSignals(QObject* owner);

// Whether a request came, for instance before the event loop ran.
bool terminationRequested();

}  // namespace reversi
