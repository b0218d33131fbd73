#pragma once

#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

namespace reversi {

// The windows' font at a pixel height: Tahoma where it is installed, the system's sans-serif
// face otherwise.
QFont windowFont(int pixels);

// The frame around a top-level window on the platform the layouts were drawn for: 8 pixels at
// the sides and at the bottom, and a title bar that takes 31 pixels from the top.
namespace windowFrame {
inline constexpr int side = 8;
inline constexpr int top = 31;
}  // namespace windowFrame

// Places a top-level window whose layout gives its outer rectangle, frame included: the frame's
// top-left corner goes to the rectangle's, and the inner area is the rectangle less the frame.
void setOuterGeometry(QWidget* window, QRect outer);

// The font at the largest pixel size, up to its own and down to 6, at which `fits` holds.
QFont largestFittingFont(QFont font, const std::function<bool(const QFontMetrics&)>& fits);

// Gives labels that belong together one font: the largest pixel size, up to the font's own, at
// which each label's text fits the width of the box the layout gives it; each text is centred
// in its box. A face wider than the one a layout was drawn for then keeps the texts where the
// layout put them.
void fitTextsToBoxes(const QList<std::pair<QLabel*, QRect>>& labels, QFont font);

// A label with its own background that sizes itself to its text.
class OpaqueLabel : public QLabel {
  public:
    OpaqueLabel(const QString& text, QWidget* parent);

    void setCaption(const QString& text);
    void setBackground(const QColor& colour);
    void setFontColour(const QColor& colour);
    QColor background() const { return palette().color(QPalette::Window); }
    QColor fontColour() const { return palette().color(QPalette::WindowText); }
};

// A timer whose enabling starts a new full interval; enabling a running timer changes nothing.
class PeriodicTimer : public QTimer {
  public:
    PeriodicTimer(int intervalMs, QObject* parent);

    void setEnabled(bool enabled);
    bool isEnabled() const { return isActive(); }
};

// How a window appears the first time it is shown.
enum class FirstShowing { normal, maximised, minimised };

// A top-level window shown modally: showModal() blocks in a nested event loop until the window
// is closed. Closing only hides it, so its controls and state survive until the next showing,
// which keeps the window state (normal, maximised, minimised) it was closed in.
class ModalWindow : public QWidget {
  public:
    explicit ModalWindow(FirstShowing firstShowing, QWidget* parent = nullptr);

    void showModal();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    FirstShowing firstShowing_;
    bool shownBefore_ = false;
    QPointer<QEventLoop> modalLoop_;
};

}  // namespace reversi
