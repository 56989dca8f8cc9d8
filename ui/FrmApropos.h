// The About window: the logo and, below it, a panel with the program's name, the
// makers' dedication and two captions. A click on the logo closes it, as does Escape;
// a press anywhere else moves it.
#pragma once

#include <QDialog>
#include <QImage>
#include <QWidget>

namespace zerin::ui {

// The logo: shows its picture stretched to its size and emits clicked for a press and a
// release both on it. A press on it never moves the window.
class LogoImage : public QWidget {
    Q_OBJECT

  public:
    LogoImage(QImage picture, QWidget* parent);

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    bool pressed_ = false;
};

class FrmApropos : public QDialog {
    Q_OBJECT

  public:
    explicit FrmApropos(QWidget* parent = nullptr);

  private:
    void BuildPanel();
};

}  // namespace zerin::ui
