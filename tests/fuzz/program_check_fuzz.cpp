// The check that a download is a complete program for this machine before it takes the place of
// the game: any bytes a server sends. The input's first 4 bytes (little-endian) give a length of
// zero bytes that follows the rest, so that large files with tables far out cost nothing; the
// file goes to an in-memory file, as the download does to a temporary one. Whatever is accepted
// must be a 64-bit ELF executable for this machine whose program header table, loadable segments
// and section header table lie inside the file, worked out here again in wide arithmetic that
// cannot overflow.

#include <elf.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "program_check.h"

namespace {

int memoryFile = -1;  // where each input is written

// The file: its bytes, then zeros up to its size.
struct Download {
    std::string_view bytes;
    std::uint64_t size;
};

template <class T>
bool readAt(const Download& file, std::uint64_t offset, T& into) {
    if (offset > file.size || file.size - offset < sizeof into) return false;
    std::memset(&into, 0, sizeof into);
    if (offset < file.bytes.size()) {
        std::memcpy(&into, file.bytes.data() + offset,
                    std::min(sizeof into, file.bytes.size() - offset));
    }
    return true;
}

bool insideFile(std::uint64_t offset, std::uint64_t length, std::uint64_t fileSize) {
    return static_cast<unsigned __int128>(offset) + length <= fileSize;
}

// Whether the tables a loader reads lie inside the file, for a header of this machine.
bool tablesInside(const Download& file) {
    Elf64_Ehdr header{};
    if (!readAt(file, 0, header)) return false;
    if (header.e_phnum == 0 ||
        !insideFile(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(Elf64_Phdr),
                    file.size)) {
        return false;
    }
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment{};
        if (!readAt(file, header.e_phoff + i * sizeof segment, segment)) return false;
        if (segment.p_type == PT_LOAD &&
            !insideFile(segment.p_offset, segment.p_filesz, file.size)) {
            return false;
        }
    }
    const std::uint64_t sections = header.e_shnum == 0 ? 1 : header.e_shnum;
    return header.e_shoff == 0 ||
           insideFile(header.e_shoff, sections * sizeof(Elf64_Shdr), file.size);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    memoryFile = memfd_create("download", MFD_CLOEXEC);
    if (memoryFile < 0) {
        std::perror("memfd_create");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = reversi::fuzz::asText(data, size);
    std::uint32_t zeros = 0;
    std::memcpy(&zeros, input.data(), std::min(sizeof zeros, input.size()));
    input.remove_prefix(std::min(sizeof zeros, input.size()));
    const Download download{input, input.size() + std::uint64_t{zeros}};
    if (ftruncate(memoryFile, 0) != 0 ||
        pwrite(memoryFile, input.data(), input.size(), 0) != static_cast<ssize_t>(input.size()) ||
        ftruncate(memoryFile, static_cast<off_t>(download.size)) != 0) {
        std::abort();
    }

    const auto reason = downloader::whyNotAProgram(memoryFile);
    if (reason && reason->empty()) std::abort();  // a refusal always says why
    if (!reason) {
        Elf64_Ehdr header{};
        if (!readAt(download, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
            header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
            (header.e_type != ET_EXEC && header.e_type != ET_DYN) ||
            header.e_phentsize != sizeof(Elf64_Phdr) || !tablesInside(download) ||
            (header.e_shoff != 0 && header.e_shentsize != sizeof(Elf64_Shdr))) {
            std::abort();
        }
    }
    return 0;
}
