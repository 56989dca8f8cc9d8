#include "WindowDrag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zerin::ui {

namespace {

// A press on a picture, a caption or a frame moves the window; one on a control (a
// field, a button, even one that leaves the press or is disabled) does not.
bool IsFreeSurface(QWidget& window, QPoint point) {
    for (QWidget* w = window.childAt(point); w && w != &window; w = w->parentWidget())
        if (w->focusPolicy() != Qt::NoFocus) return false;
    return true;
}

bool CompositorMovesWindows() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

WindowDrag::WindowDrag(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
}

void WindowDrag::Press(const QMouseEvent& press) {
    state_ = State::Pressed;
    button_ = press.button();
    pressed_ = press.globalPosition();
    // The window's place as the pointer shows it, rather than as Qt last heard it: a
    // window manager that honours a requested place may leave Qt believing another.
    const QPoint frameToClient = window_.geometry().topLeft() - window_.pos();
    start_ = (press.globalPosition() - press.position()).toPoint() - frameToClient;
}

void WindowDrag::Follow(const QMouseEvent& move) {
    if (!(move.buttons() & button_)) {  // the release went elsewhere
        state_ = State::Idle;
        return;
    }
    const QPoint motion = (move.globalPosition() - pressed_).toPoint();
    if (state_ == State::Pressed) {
        if (motion.manhattanLength() < QApplication::startDragDistance()) return;
        state_ = State::Moving;
        QWindow* handle = window_.windowHandle();
        if (CompositorMovesWindows() && handle && handle->startSystemMove()) {
            state_ = State::Idle;  // the compositor has the pointer until the release
            return;
        }
    }
    window_.move(start_ + motion);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* press = static_cast<QMouseEvent*>(event);
            if (state_ != State::Idle) return true;
            if (!IsFreeSurface(window_, press->position().toPoint())) return false;
            Press(*press);
            return true;
        }
        case QEvent::MouseMove:
            if (state_ == State::Idle) return false;
            Follow(*static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            if (state_ == State::Idle) return false;
            if (static_cast<QMouseEvent*>(event)->button() == button_) state_ = State::Idle;
            return true;
        case QEvent::WindowDeactivate:
        case QEvent::Hide:
            state_ = State::Idle;
            return false;
        default:
            return false;
    }
}

}  // namespace zerin::ui
