// Moving a borderless window by pressing any free point of its surface.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>

class QMouseEvent;
class QWidget;

namespace zerin::ui {

// Installed on a window: a press of any mouse button on the window's free surface (the
// window itself, or a picture, caption or frame, but no control), followed by a motion
// of a few pixels with the button held, moves the window by exactly the pointer's motion
// until the button is released. A click without motion moves nothing.
// On X11 the window moves itself (the window managers disagree on where a move begun by
// the program grabs the window); on Wayland, where a program cannot place its windows,
// the compositor moves it.
class WindowDrag : public QObject {
    Q_OBJECT

  public:
    explicit WindowDrag(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class State { Idle, Pressed, Moving };

    void Press(const QMouseEvent& press);
    void Follow(const QMouseEvent& move);

    QWidget& window_;
    State state_ = State::Idle;
    Qt::MouseButton button_ = Qt::NoButton;
    QPointF pressed_;  // the pointer's place on the screen at the press
    QPoint start_;     // the window's place at the press
};

}  // namespace zerin::ui
