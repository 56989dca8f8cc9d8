// Moving a borderless window by pressing any free point of its surface.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace zerin::ui {

// Installed on a window: a press of any mouse button that reaches the window itself (on
// its surface, or on a label or frame that leaves the press to it) moves the window with
// the mouse until the button is released. The window system moves it where it can;
// otherwise the window follows the mouse itself.
class WindowDrag : public QObject {
    Q_OBJECT

  public:
    explicit WindowDrag(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    bool following_ = false;
    QPoint grab_;  // the press point relative to the window's top left corner
};

}  // namespace zerin::ui
