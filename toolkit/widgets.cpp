#include "widgets.h"

#include <QHideEvent>

namespace reversi {

QFont windowFont(int pixels) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

OpaqueLabel::OpaqueLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAutoFillBackground(true);
    adjustSize();
}

void OpaqueLabel::setCaption(const QString& text) {
    setText(text);
    adjustSize();
}

void OpaqueLabel::setBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void OpaqueLabel::setFontColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

PeriodicTimer::PeriodicTimer(int intervalMs, QObject* parent) : QTimer(parent) {
    setInterval(intervalMs);
    setTimerType(Qt::PreciseTimer);
}

void PeriodicTimer::setEnabled(bool enabled) {
    if (!enabled) {
        stop();
    } else if (!isActive()) {
        start();
    }
}

ModalWindow::ModalWindow(FirstShowing firstShowing, QWidget* parent)
    : QWidget(parent, Qt::Window), firstShowing_(firstShowing) {
    setWindowModality(Qt::ApplicationModal);
}

void ModalWindow::showModal() {
    if (modalLoop_) return;  // already showing
    if (!shownBefore_) {
        shownBefore_ = true;
        switch (firstShowing_) {
            case FirstShowing::normal:
                show();
                break;
            case FirstShowing::maximised:
                showMaximized();
                break;
            case FirstShowing::minimised:
                showMinimized();
                break;
        }
    } else {
        show();
    }
    raise();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    // Closed: the window system's window and its picture of the window go until the next
    // showing, which makes them anew from the controls, which keep everything.
    if (isHidden()) destroy();
}

void ModalWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // The window system hides a minimised window spontaneously; only closing or hiding it
    // from the program ends the modal showing.
    if (modalLoop_ && !event->spontaneous()) modalLoop_->quit();
}

}  // namespace reversi
