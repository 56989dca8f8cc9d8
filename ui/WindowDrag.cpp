#include "WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zerin::ui {

WindowDrag::WindowDrag(QWidget& window) : QObject(&window), window_(window) {
    window.installEventFilter(this);
}

bool WindowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* press = static_cast<QMouseEvent*>(event);
            QWindow* handle = window_.windowHandle();
            if (handle && handle->startSystemMove()) return true;
            following_ = true;
            grab_ = press->globalPosition().toPoint() - window_.frameGeometry().topLeft();
            return true;
        }
        case QEvent::MouseMove:
            if (!following_) return false;
            window_.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - grab_);
            return true;
        case QEvent::MouseButtonRelease:
            if (!following_) return false;
            following_ = false;
            return true;
        default:
            return false;
    }
}

}  // namespace zerin::ui
