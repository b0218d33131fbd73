#include "fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace reversi::fuzz {
namespace {

std::string privateDirectory;
std::set<std::string> writtenNames;

void removePrivateDirectory() {
    for (const std::string& name : writtenNames)
        unlink((privateDirectory + '/' + name).c_str());
    rmdir(privateDirectory.c_str());
}

[[noreturn]] void fail(const char* step) {
    std::perror(step);
    std::abort();
}

}  // namespace

InPrivateDirectory::InPrivateDirectory()
    : previous_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (previous_ < 0) fail("open .");
    if (privateDirectory.empty()) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/reversi-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) fail("mkdtemp");
        privateDirectory = pattern;
        std::atexit(removePrivateDirectory);
    }
    if (chdir(privateDirectory.c_str()) != 0) fail("chdir");
}

InPrivateDirectory::~InPrivateDirectory() {
    if (fchdir(previous_) != 0) fail("fchdir");
    close(previous_);
}

void putFile(const char* name, std::string_view bytes) {
    writtenNames.insert(name);
    // A new file each time: truncating a file that holds data makes some file systems (ext4)
    // write it out at once, which slows the run many times over.
    if (unlink(name) != 0 && errno != ENOENT) fail(name);
    const int fd = open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) fail(name);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) fail(name);
        done += static_cast<std::size_t>(written);
    }
    if (close(fd) != 0) fail(name);
}

}  // namespace reversi::fuzz
