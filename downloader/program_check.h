#pragma once

#include <optional>
#include <string>

namespace downloader {

// Why the file open at `fd` is not a complete program for this machine, or nullopt when it is:
// an ELF executable or shared object of the running program's class, byte order and machine,
// whose program header table, loadable segments and section header table all lie inside the
// file. A web page, a cut-off download or a build for another machine is refused.
std::optional<std::string> whyNotAProgram(int fd);

}  // namespace downloader
