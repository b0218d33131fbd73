#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

// File steps both the game and its downloader take, in plain POSIX: the downloader has no Qt.
namespace reversi::posix {

// Writes all `size` bytes at `data` to `fd`, writing again where a signal cut a write short.
// False, with errno set, when the system refuses.
bool writeAll(int fd, const char* data, std::size_t size);

// The process's file mode creation mask as it is now. The system reports it; umask() could only
// read it by setting it for a moment, under any other thread's feet, and is the last resort.
mode_t currentUmask();

// `mode` narrowed by the umask in what the group and others may do, never in the owner's bits:
// under umask 0777 a file the program cannot read back would be of no use to it.
mode_t narrowedByUmask(mode_t mode);

// A new file that takes the place of another only once it is complete: created exclusively
// under a unique name beside it, then renamed, so that the name holds the former file or the
// whole new one and nothing between. Removed again unless it got there.
class StagedFile {
  public:
    // Creates the file, closed on exec, from `pattern`, a path whose name ends in "XXXXXX".
    // isOpen() says whether it was; errno, right after, why not.
    explicit StagedFile(std::string pattern);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    const std::string& path() const { return path_; }

    // Whether the content must be on the disk before the rename, to outlast a crash.
    enum class Durability { whileRunning, lasting };

    // Gives the complete file `mode`, writes it to the disk as `durability` asks and closes it;
    // `status` (when given) then holds its status, its identity among it. False, with errno
    // set, on failure.
    bool finish(mode_t mode, Durability durability, struct stat* status = nullptr);

    // Renames the finished file to `name`, replacing a file of that name (a link itself, never
    // what it points to). False, with errno set, on failure.
    bool moveTo(const std::string& name);

  private:
    std::string path_;  // empty once renamed into place
    int fd_ = -1;
};

}  // namespace reversi::posix
