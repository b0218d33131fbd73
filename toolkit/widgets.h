#pragma once

#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace reversi {

// The windows' font at a pixel height: Tahoma where it is installed, the system's sans-serif
// face otherwise.
QFont windowFont(int pixels);

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
