#pragma once

#include <stdexcept>
#include <string>

namespace reversi {

// A failed file step (open, read, write, close). Raised by the operation that failed and
// caught at the boundary of the event handler that ran it, where it is shown to the player.
class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace reversi
