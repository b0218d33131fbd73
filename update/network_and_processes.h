#pragma once

#include <sys/types.h>

#include <QString>
#include <vector>

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
    // Ends the scripts started so far that still run, with every process they started, and
    // returns once they are gone (or after a bounded wait): nothing of theirs works on after it.
    virtual void endStartedScripts() {}
};

// Runs the script with /bin/sh, detached, in the current directory, with standard input, output
// and error on /dev/null so that it never talks to a terminal. Each script runs in a session of
// its own, whose process group it is ended by.
class ShellScriptStarter : public ProcessStarter {
  public:
    bool startScript(const QString& scriptFileName) override;
    void endStartedScripts() override;

  private:
    // A started script: its shell, known by its pid and start time (a pid can be reused), and
    // the process group of the shell and everything it starts.
    struct Started {
        pid_t shell;
        unsigned long long startTime;
        pid_t group;
    };
    std::vector<Started> started_;
};

// Flushes the C streams and ends the process at once, without running destructors or exit
// handlers: the updater script takes over from here.
[[noreturn]] void endProcessNow();

}  // namespace reversi
