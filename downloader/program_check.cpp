#include "program_check.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace downloader {
namespace {

bool readAt(int fd, void* into, std::size_t size, std::uint64_t offset) {
    return pread(fd, into, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

// Whether `count` entries of `entrySize` bytes from `offset` lie inside a file of `fileSize`.
bool inside(std::uint64_t offset, std::uint64_t count, std::uint64_t entrySize,
            std::uint64_t fileSize) {
    if (count != 0 && entrySize > (fileSize / count)) return false;
    return offset <= fileSize && count * entrySize <= fileSize - offset;
}

template <class Header, class ProgramHeader, class SectionHeader>
std::optional<std::string> checkTables(int fd, std::uint64_t fileSize) {
    Header header{};
    if (!readAt(fd, &header, sizeof header, 0)) return "the file is shorter than an ELF header";
    if (header.e_type != ET_EXEC && header.e_type != ET_DYN) return "it is not an executable";
    if (header.e_version != EV_CURRENT || header.e_ehsize != sizeof header) {
        return "its ELF header is malformed";
    }
    if (header.e_phnum == 0 || header.e_phentsize != sizeof(ProgramHeader) ||
        !inside(header.e_phoff, header.e_phnum, sizeof(ProgramHeader), fileSize)) {
        return "its program header table does not lie inside the file";
    }
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ProgramHeader segment{};
        if (!readAt(fd, &segment, sizeof segment, header.e_phoff + i * sizeof segment)) {
            return "its program header table cannot be read";
        }
        if (segment.p_type == PT_LOAD && !inside(segment.p_offset, 1, segment.p_filesz, fileSize)) {
            return "a segment to load does not lie inside the file";
        }
    }
    if (header.e_shoff != 0 && (header.e_shentsize != sizeof(SectionHeader) ||
                                !inside(header.e_shoff, header.e_shnum == 0 ? 1 : header.e_shnum,
                                        sizeof(SectionHeader), fileSize))) {
        return "its section header table does not lie inside the file";
    }
    return std::nullopt;
}

// The identification bytes and machine of the running program, which the new one must share.
struct Machine {
    unsigned char ident[EI_NIDENT] = {};
    std::uint16_t machine = 0;
};

std::optional<Machine> machineOf(int fd) {
    Machine machine;
    if (!readAt(fd, machine.ident, EI_NIDENT, 0)) return std::nullopt;
    // e_type (2 bytes) follows the identification, then e_machine, in either class.
    if (!readAt(fd, &machine.machine, sizeof machine.machine, EI_NIDENT + 2)) return std::nullopt;
    return machine;
}

std::optional<Machine> thisMachine() {
    const int fd = open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    auto machine = machineOf(fd);
    close(fd);
    return machine;
}

}  // namespace

std::optional<std::string> whyNotAProgram(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0) return "cannot read the download";
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);
    const auto file = machineOf(fd);
    if (!file || std::memcmp(file->ident, ELFMAG, SELFMAG) != 0) return "it is not an ELF program";
    const auto own = thisMachine();
    if (!own) return "cannot tell which machine this is";
    if (file->ident[EI_CLASS] != own->ident[EI_CLASS] ||
        file->ident[EI_DATA] != own->ident[EI_DATA] || file->machine != own->machine) {
        return "it is a program for another machine";
    }
    if (file->ident[EI_CLASS] == ELFCLASS64) {
        return checkTables<Elf64_Ehdr, Elf64_Phdr, Elf64_Shdr>(fd, fileSize);
    }
    if (file->ident[EI_CLASS] == ELFCLASS32) {
        return checkTables<Elf32_Ehdr, Elf32_Phdr, Elf32_Shdr>(fd, fileSize);
    }
    return "its ELF class is unknown";
}

}  // namespace downloader
