#include "staged_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace reversi::posix {

bool writeAll(int fd, const char* data, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

mode_t currentUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask);
    }
    const mode_t current = ::umask(0);
    ::umask(current);
    return current;
}

mode_t narrowedByUmask(mode_t mode) {
    return mode & (~currentUmask() | S_IRWXU);
}

StagedFile::StagedFile(std::string pattern) : path_(std::move(pattern)) {
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        const int error = errno;
        path_.clear();
        errno = error;
    }
}

StagedFile::~StagedFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.c_str());
}

bool StagedFile::finish(mode_t mode, Durability durability, struct stat* status) {
    if (::fchmod(fd_, mode) != 0) return false;
    if (durability == Durability::lasting && ::fsync(fd_) != 0) return false;
    if (status && ::fstat(fd_, status) != 0) return false;
    // Closed whether or not that succeeds: a failed close leaves the descriptor unusable.
    return ::close(std::exchange(fd_, -1)) == 0;
}

bool StagedFile::moveTo(const std::string& name) {
    if (std::rename(path_.c_str(), name.c_str()) != 0) return false;
    path_.clear();
    return true;
}

}  // namespace reversi::posix
