#pragma once

#include <QTimer>
#include <functional>

#include "resource_picture.h"

namespace reversi {

// The intro before the menu: its frames shown one a tick in a picture over the menu, each decoded
// only while it is drawn. From the tick of the last frame on, `lastFrameShown` runs on every
// tick; two ticks after it, the picture goes and `finished` runs once.
class IntroAnimation : public ResourcePicture {
  public:
    static constexpr int tickMs = 200;

    IntroAnimation(QWidget* parent, std::function<void()> lastFrameShown,
                   std::function<void()> finished);

    // Starts ticking, from before the first frame.
    void start();
    // Back to before the first frame, still ticking.
    void rewind() { tick_ = beforeFirstFrame; }
    // One tick: the next frame, or the end.
    void tick();
    bool isRunning() const { return timer_->isActive(); }
    int tickInterval() const { return timer_->interval(); }

  private:
    static const int beforeFirstFrame;

    QTimer* timer_;
    int tick_ = beforeFirstFrame;
    std::function<void()> lastFrameShown_;
    std::function<void()> finished_;
};

}  // namespace reversi
