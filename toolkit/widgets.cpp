#include "widgets.h"

#include <QHideEvent>
#include <algorithm>

namespace reversi {

QFont windowFont(int pixels) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
}

void setOuterGeometry(QWidget* window, QRect outer) {
    window->resize(outer.width() - 2 * windowFrame::side,
                   outer.height() - windowFrame::top - windowFrame::side);
    window->move(outer.topLeft());
}

QFont largestFittingFont(QFont font, const std::function<bool(const QFontMetrics&)>& fits) {
    constexpr int smallest = 6;
    while (font.pixelSize() > smallest && !fits(QFontMetrics(font)))
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

void fitTextsToBoxes(const QList<std::pair<QLabel*, QRect>>& labels, QFont font) {
    font = largestFittingFont(font, [&labels](const QFontMetrics& metrics) {
        for (const auto& [label, box] : labels) {
            if (metrics.horizontalAdvance(label->text()) > box.width()) return false;
        }
        return true;
    });
    for (const auto& [label, box] : labels) {
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        // Never shorter than the text, so a line is not cut off at the bottom.
        label->setGeometry(box.x(), box.y(), box.width(),
                           std::max(box.height(), label->sizeHint().height()));
    }
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
