#include "termination.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace reversi {
namespace {

// A connected socket pair: the handler writes a byte into one end, the event loop reads it
// from the other.
int signalSockets[2] = {-1, -1};
int& handlerEnd = signalSockets[0];
int& eventLoopEnd = signalSockets[1];
volatile std::sig_atomic_t requested = 0;

void onSignal(int) {
    // Only async-signal-safe work here: the event loop picks the byte up. The write may change
    // errno under the code the signal interrupted, so it is put back.
    const int savedErrno = errno;
    requested = 1;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(handlerEnd, &byte, 1);
    errno = savedErrno;
}

// A write to a pipe nobody reads any more (standard error into `| true`) fails with EPIPE
// instead of ending the program with its files left behind. Caught rather than ignored, so the
// update's scripts and their downloader start with the signal's usual action.
void onBrokenPipe(int) {}

}  // namespace

void catchTerminationSignals() {
    if (handlerEnd != -1) return;
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    action.sa_handler = onBrokenPipe;
    ::sigaction(SIGPIPE, &action, nullptr);
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) return;
    ::fcntl(handlerEnd, F_SETFL, O_NONBLOCK);
    action.sa_handler = onSignal;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void quitOnTerminationSignals(QObject* owner) {
    catchTerminationSignals();
    if (eventLoopEnd == -1) return;
    auto* notifier = new QSocketNotifier(eventLoopEnd, QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(eventLoopEnd, &byte, 1);
        QCoreApplication::exit(0);
    });
}

bool terminationRequested() {
    return requested != 0;
}

}  // namespace reversi
