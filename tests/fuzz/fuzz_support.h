#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace reversi::fuzz {

// While one lives, the working directory is an empty directory of this process's own under
// $TMPDIR, for readers that take files by bare name in the working directory as the program
// does; the one it replaced comes back after, so paths given to libFuzzer keep their meaning.
// The directory and what was written there are removed when the process exits normally.
class InPrivateDirectory {
  public:
    InPrivateDirectory();
    ~InPrivateDirectory();
    InPrivateDirectory(const InPrivateDirectory&) = delete;
    InPrivateDirectory& operator=(const InPrivateDirectory&) = delete;

  private:
    int previous_;
};

// Writes `bytes` to the file `name` in the working directory, replacing what it held; aborts
// on failure, since the reader would then see something else than the input.
void putFile(const char* name, std::string_view bytes);

// The input as characters.
inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace reversi::fuzz
