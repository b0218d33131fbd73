#include "intro_animation.h"

#include "error_display.h"
#include "resource_names.h"

namespace reversi {

using namespace resources;

// Tick n shows the frame numbered n.
const int IntroAnimation::beforeFirstFrame = ResourceName::firstIntroFrame - 1;

IntroAnimation::IntroAnimation(QWidget* parent, std::function<void()> lastFrameShown,
                               std::function<void()> finished)
    : ResourcePicture(parent),
      timer_(new QTimer(this)),
      lastFrameShown_(std::move(lastFrameShown)),
      finished_(std::move(finished)) {
    timer_->setInterval(tickMs);
    connectHandler(timer_, &QTimer::timeout, this, &IntroAnimation::tick);
}

void IntroAnimation::start() {
    rewind();
    timer_->start();
}

void IntroAnimation::tick() {
    constexpr int endTick = ResourceName::lastIntroFrame + 2;
    ++tick_;
    if (tick_ <= ResourceName::lastIntroFrame)
        setPicture(QString::fromLatin1(ResourceName::image(tick_)));
    if (tick_ >= ResourceName::lastIntroFrame) lastFrameShown_();
    if (tick_ == endTick) {
        timer_->stop();
        hide();
        setPicture({});  // never shown again
        finished_();
    }
}

}  // namespace reversi
