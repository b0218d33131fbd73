#pragma once

#include "theme.h"
#include "widgets.h"

namespace reversi {

// The windows the menu opens, created after it.
class WindowDirectory {
  public:
    virtual ~WindowDirectory() = default;
    virtual ModalWindow* matchWindow(MatchKind kind, int theme) = 0;
    virtual ModalWindow* helpWindow() = 0;
    virtual ModalWindow* infoWindow() = 0;
};

}  // namespace reversi
