#pragma once

#include <QObject>

namespace reversi {

// Ends the event loop (every nested one too) when the process is asked to terminate (SIGTERM,
// SIGINT, SIGHUP), so the program closes as if its menu had been closed: the windows are
// destroyed and the exit handler removes the files the program keeps beside it.
void quitOnTerminationSignals(QObject* owner);

}  // namespace reversi
