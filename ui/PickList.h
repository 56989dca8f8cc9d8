// An editable list of numbers that tells an entry picked from its list apart from text
// typed into it, and shows its number left to right in a right-to-left window.
#pragma once

#include <QComboBox>

namespace zerin::ui {

// QComboBox also reports "activated" when typing ends (Tab, a click elsewhere) on a text
// that matches an entry; picked() is emitted only when the user chooses an entry: from
// the open list (mouse or keyboard), or by stepping through the entries with the arrow
// keys or the wheel. Return and Enter are left to the window (its default command).
class PickList : public QComboBox {
    Q_OBJECT

  public:
    explicit PickList(QWidget* parent = nullptr);

    void showPopup() override;
    void hidePopup() override;

  signals:
    void picked(int index);

  protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void ShowNumberLeftToRight();

    bool listOpen_ = false;  // the list is open, or its pick is being delivered
    bool stepping_ = false;  // an arrow key or the wheel is choosing the entry
};

}  // namespace zerin::ui
