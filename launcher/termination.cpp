#include "termination.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace reversi {
namespace {

int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t requested = 0;

void onSignal(int) {
    // Only async-signal-safe work here: the event loop picks the byte up.
    requested = 1;
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

void catchTerminationSignals() {
    if (signalPipe[0] != -1) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void quitOnTerminationSignals(QObject* owner) {
    catchTerminationSignals();
    if (signalPipe[1] == -1) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(signalPipe[1], &byte, 1);
        QCoreApplication::exit(0);
    });
}

bool terminationRequested() {
    return requested != 0;
}

}  // namespace reversi
