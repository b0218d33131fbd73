#include "network_and_processes.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>
#include <utility>

namespace reversi {
namespace {

// What the system tells of a running process: its state letter, its process group and when it
// started (in clock ticks since boot); nullopt when there is no such process.
struct ProcessStatus {
    char state;
    pid_t group;
    unsigned long long startTime;
};

std::optional<ProcessStatus> processStatus(pid_t pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // "pid (name) state ppid group …": the name may hold blanks and parentheses, so the fields
    // are counted from its last ')'. The start time is the 22nd field.
    const QByteArray line = file.readAll();
    const qsizetype nameEnd = line.lastIndexOf(')');
    if (nameEnd < 0) return std::nullopt;
    const QList<QByteArray> fields = line.mid(nameEnd + 2).split(' ');
    bool groupRead = false;
    bool startRead = false;
    if (fields.size() < 20 || fields[0].size() != 1) return std::nullopt;
    const pid_t group = fields[2].toInt(&groupRead);
    const unsigned long long startTime = fields[19].toULongLong(&startRead);
    if (!groupRead || !startRead) return std::nullopt;
    return ProcessStatus{fields[0][0], group, startTime};
}

// A process that has ended but was not yet reaped by its parent still shows, as a zombie.
bool hasEnded(const ProcessStatus& status) {
    return status.state == 'Z' || status.state == 'X';
}

// Whether a process of `group` still runs.
bool groupRuns(pid_t group) {
    if (::kill(-group, 0) != 0) return false;
    const QStringList entries =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return std::any_of(entries.begin(), entries.end(), [group](const QString& entry) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        const auto status = isPid ? processStatus(pid) : std::nullopt;
        return status && status->group == group && !hasEnded(*status);
    });
}

// Waits up to `limit` for every process of `group` to end; true when they have.
bool waitForGroupEnd(pid_t group, std::chrono::milliseconds limit) {
    QElapsedTimer waited;
    waited.start();
    while (groupRuns(group)) {
        if (waited.elapsed() >= limit.count()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace

bool InterfaceNetworkProbe::isOnline() const {
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) return false;
    bool online = false;
    for (const ifaddrs* entry = interfaces; entry != nullptr && !online; entry = entry->ifa_next) {
        const unsigned flags = entry->ifa_flags;
        const bool addressed =
            entry->ifa_addr != nullptr &&
            (entry->ifa_addr->sa_family == AF_INET || entry->ifa_addr->sa_family == AF_INET6);
        online = addressed && (flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK);
    }
    ::freeifaddrs(interfaces);
    return online;
}

bool ShellScriptStarter::startScript(const QString& scriptFileName) {
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments({scriptFileName});
    process.setWorkingDirectory(QDir::currentPath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 shell = 0;
    if (!process.startDetached(&shell)) return false;
    // Qt starts it in a session of its own, so its process group holds the script's processes
    // alone; one that has ended already needs no ending.
    const auto status = processStatus(static_cast<pid_t>(shell));
    if (status && !hasEnded(*status) && status->group > 1 && status->group != ::getpgrp())
        started_.push_back({static_cast<pid_t>(shell), status->startTime, status->group});
    return true;
}

void ShellScriptStarter::endStartedScripts() {
    using namespace std::chrono_literals;
    for (const Started& script : std::exchange(started_, {})) {
        // While its shell runs, as the same process, the group is still the script's; once the
        // shell has ended, so has the script.
        const auto shell = processStatus(script.shell);
        if (!shell || hasEnded(*shell) || shell->startTime != script.startTime ||
            shell->group != script.group) {
            continue;
        }
        // The downloader removes its unfinished file when it ends on SIGTERM.
        ::kill(-script.group, SIGTERM);
        if (!waitForGroupEnd(script.group, 1s)) {
            ::kill(-script.group, SIGKILL);
            waitForGroupEnd(script.group, 1s);
        }
    }
}

void endProcessNow() {
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace reversi
