#pragma once

#include <QString>

namespace reversi {

// Whether the computer is online; tests say yes or no without touching the network.
class NetworkProbe {
  public:
    virtual ~NetworkProbe() = default;
    virtual bool isOnline() const = 0;
};

// Online when some interface other than loopback is up, running and has an address.
class InterfaceNetworkProbe : public NetworkProbe {
  public:
    bool isOnline() const override;
};

// Starts an update script and never waits for it; false when it could not be started.
class ProcessStarter {
  public:
    virtual ~ProcessStarter() = default;
    virtual bool startScript(const QString& scriptFileName) = 0;
};

// Runs the script with /bin/sh, detached, in the current directory, with standard input, output
// and error on /dev/null so that it never talks to a terminal.
class ShellScriptStarter : public ProcessStarter {
  public:
    bool startScript(const QString& scriptFileName) override;
};

// Flushes the C streams and ends the process at once, without running destructors or exit
// handlers: the updater script takes over from here.
[[noreturn]] void endProcessNow();

}  // namespace reversi
