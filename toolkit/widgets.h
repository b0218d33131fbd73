#pragma once

#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>

#include "layout_scale.h"

namespace reversi {

// The windows' font at a pixel height: Tahoma where it is installed, the system's sans-serif
// face otherwise.
QFont windowFont(int pixels);

// The frame the windows' layouts count around a top-level window: 8 pixels at the sides and at
// the bottom, and a title bar that takes 31 pixels from the top.
namespace windowFrame {
inline constexpr int side = 8;
inline constexpr int top = 31;
}  // namespace windowFrame

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

// A label that acts as a button: the left button pressed on it and released over it clicks it,
// and so do Enter and Space while it has the keyboard focus. Given Qt::TabFocus, it takes the
// focus from the Tab key alone, never from a click, and then shows the style's focus outline as
// a button does; a mouse player sees it as before.
class ClickableLabel : public QLabel {
  public:
    ClickableLabel(const QString& text, QWidget* parent, std::function<void()> onClick);

    void click() { onClick_(); }

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<void()> onClick_;
    bool pressed_ = false;
};

// A timer whose enabling starts a new full interval; enabling a running timer changes nothing.
class PeriodicTimer : public QTimer {
  public:
    PeriodicTimer(int intervalMs, QObject* parent);

    void setEnabled(bool enabled);
    bool isEnabled() const { return isActive(); }
};

// A top-level window drawn for a layout, on a screen that may be smaller than the layout: it
// opens where its layout puts it when it fits there, moved into the screen's available area
// when it does not, and with its whole layout scaled down by one factor where it is larger
// than that area.
class LayoutWindow : public QWidget {
  public:
    explicit LayoutWindow(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // The layout's outer rectangle, frame included, relative to the screen's top-left corner;
    // `clientSize`, when given, is what the content needs inside the frame, where that differs.
    void setLayoutGeometry(QRect outer, QSize clientSize = {});
    // Places the window on a screen where its layout says, and scales it to fit there.
    void placeOn(const QScreen* screen);
    // Scales the layout to fit a screen, leaving the window where it is.
    void scaleFor(const QScreen* screen);
    qreal layoutScale() const { return scaler_.scale(); }
    // Runs a change of the controls' fonts or places at the layout's own scale.
    void relayout(const std::function<void()>& change);
    // Where the layout puts the frame, relative to the screen, and the client area it needs.
    QPoint layoutPosition() const { return layoutPosition_; }
    QSize layoutClientSize() const { return clientSize_; }

  protected:
    // After the controls were scaled: for what the window draws or places itself.
    virtual void layoutScaled() {}

    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void applyScale(qreal scale);
    // A maximised window has the room the window system gives it, whatever its frame and the
    // panels take: its layout is scaled to fit that room. A normal one keeps the scale its
    // place was fitted with.
    void fitLayoutToRoom();

    QPoint layoutPosition_;
    QSize clientSize_;
    qreal placedScale_ = 1;
    LayoutScaler scaler_;
};

// How a window appears the first time it is shown.
enum class FirstShowing { normal, maximised, minimised };

// A top-level window shown modally: showModal() blocks in a nested event loop until the window
// is closed. Closing only hides it, so its controls and state survive until the next showing,
// which keeps the window state (normal, maximised, minimised) it was closed in and, when
// normal, its place and size. It opens on the screen of the window that opens it.
class ModalWindow : public LayoutWindow {
  public:
    explicit ModalWindow(FirstShowing firstShowing, QWidget* parent = nullptr);

    // The window whose screen this one opens on; the primary screen while there is none.
    void setOpener(QWidget* opener) { opener_ = opener; }
    // Whether the Escape key closes the window.
    void setClosesOnEscape(bool closes) { closesOnEscape_ = closes; }
    void showModal();

  protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    const QScreen* targetScreen() const;
    void showInState(Qt::WindowStates state, const QScreen* screen);
    void keepNormalGeometry();

    FirstShowing firstShowing_;
    bool shownBefore_ = false;
    bool closesOnEscape_ = false;
    Qt::WindowStates keptState_;
    QRect keptNormalGeometry_;  // frame position and client size while normal
    QPointer<QWidget> opener_;
    QPointer<QEventLoop> modalLoop_;
};

}  // namespace reversi
