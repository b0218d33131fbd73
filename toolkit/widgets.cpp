#include "widgets.h"

#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

#include "accessibility.h"
#include "desktop_session.h"
#include "screen_fit.h"

namespace reversi {

QFont windowFont(int pixels) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    return font;
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
    setLayoutScaling(this, LayoutScaling::sizedToText);
}

void OpaqueLabel::setCaption(const QString& text) {
    setText(text);
    adjustSize();
    accessibility::textChanged(this);
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

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent, std::function<void()> onClick)
    : QLabel(text, parent), onClick_(std::move(onClick)) {
    accessibility::renew(this);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click, as on a button: the left button pressed on the label and released over it.
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) pressed_ = false;
    event->accept();
    if (clicked) click();
}

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (!event->isAutoRepeat()) click();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // The style draws it only where the focus came from the keyboard, as on its buttons.
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
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

LayoutWindow::LayoutWindow(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), scaler_(this) {}

void LayoutWindow::setLayoutGeometry(QRect outer, QSize clientSize) {
    layoutPosition_ = outer.topLeft();
    clientSize_ = clientSize.isValid()
                      ? clientSize
                      : QSize(outer.width() - 2 * windowFrame::side,
                              outer.height() - windowFrame::top - windowFrame::side);
    resize(clientSize_);
    move(layoutPosition_);
}

void LayoutWindow::placeOn(const QScreen* screen) {
    if (!screen) return;
    const ScreenFit fit = fitToScreen(layoutPosition_, clientSize_, desktopSession().frame(),
                                      screen->geometry(), screen->availableGeometry());
    placedScale_ = fit.scale;
    resize(fit.clientSize);
    move(fit.frame.topLeft());
    applyScale(fit.scale);
}

void LayoutWindow::scaleFor(const QScreen* screen) {
    if (screen) {
        placedScale_ =
            fittingScale(clientSize_, desktopSession().frame(), screen->availableGeometry());
        applyScale(placedScale_);
    }
}

void LayoutWindow::fitLayoutToRoom() {
    const bool maximised = windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    applyScale(maximised && isVisible() ? fittingScale(clientSize_, {}, rect()) : placedScale_);
}

void LayoutWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitLayoutToRoom();
}

void LayoutWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) fitLayoutToRoom();
}

void LayoutWindow::applyScale(qreal scale) {
    if (scale == scaler_.scale() && scale == 1) return;
    scaler_.apply(scale);
    layoutScaled();
}

void LayoutWindow::relayout(const std::function<void()>& change) {
    scaler_.relayout(change);
    layoutScaled();
}

ModalWindow::ModalWindow(FirstShowing firstShowing, QWidget* parent)
    : LayoutWindow(parent, Qt::Window), firstShowing_(firstShowing) {
    setWindowModality(Qt::ApplicationModal);
}

const QScreen* ModalWindow::targetScreen() const {
    if (opener_ && opener_->screen()) return opener_->screen();
    return QGuiApplication::primaryScreen();
}

void ModalWindow::showModal() {
    if (modalLoop_) return;  // already showing
    const QScreen* screen = targetScreen();
    Qt::WindowStates state = keptState_;
    // A window closed maximised or minimised keeps that state, but its window system window
    // went: it is made anew from the normal state, then put in the state kept.
    setWindowState(Qt::WindowNoState);
    if (!shownBefore_) {
        shownBefore_ = true;
        placeOn(screen);
        keepNormalGeometry();
        switch (firstShowing_) {
            case FirstShowing::normal:
                state = Qt::WindowNoState;
                break;
            case FirstShowing::maximised:
                state = Qt::WindowMaximized;
                break;
            case FirstShowing::minimised:
                // Only where something can bring the window back: a modal window nobody can
                // restore would leave the program unusable.
                state =
                    desktopSession().restoresMinimised ? Qt::WindowMinimized : Qt::WindowNoState;
                break;
        }
    } else {
        // The place it was closed in, while that still lies on the screen it opens on.
        scaleFor(screen);
        const QRect kept(keptNormalGeometry_.topLeft(),
                         keptNormalGeometry_.size().grownBy(desktopSession().frame()));
        if (screen && screen->availableGeometry().contains(kept)) {
            resize(keptNormalGeometry_.size());
            move(keptNormalGeometry_.topLeft());
        } else {
            placeOn(screen);
            keepNormalGeometry();
        }
    }
    showInState(state, screen);
    raise();
    activateWindow();
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    keptState_ = windowState() & (Qt::WindowMaximized | Qt::WindowMinimized);
    // Closed: the window system's window and its picture of the window go until the next
    // showing, which makes them anew from the controls, which keep everything.
    if (isHidden()) destroy();
}

void ModalWindow::showInState(Qt::WindowStates state, const QScreen* screen) {
    if (state & Qt::WindowMinimized) {
        setWindowState(state);
        show();
    } else if (state & Qt::WindowMaximized) {
        // Without a window manager nobody else maximises it: the screen's available area.
        if (!desktopSession().managesWindows && screen) {
            resize(screen->availableGeometry().size());
            move(screen->availableGeometry().topLeft());
        }
        showMaximized();
    } else {
        showNormal();
    }
}

void ModalWindow::keepNormalGeometry() {
    keptNormalGeometry_ = QRect(pos(), size());
}

void ModalWindow::moveEvent(QMoveEvent* event) {
    LayoutWindow::moveEvent(event);
    if (isVisible() && windowState() == Qt::WindowNoState) keepNormalGeometry();
}

void ModalWindow::resizeEvent(QResizeEvent* event) {
    LayoutWindow::resizeEvent(event);
    if (isVisible() && windowState() == Qt::WindowNoState) keepNormalGeometry();
}

void ModalWindow::keyPressEvent(QKeyEvent* event) {
    if (closesOnEscape_ && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        close();
        return;
    }
    LayoutWindow::keyPressEvent(event);
}

void ModalWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // The window system hides a minimised window spontaneously; only closing or hiding it
    // from the program ends the modal showing.
    if (modalLoop_ && !event->spontaneous()) modalLoop_->quit();
}

}  // namespace reversi
