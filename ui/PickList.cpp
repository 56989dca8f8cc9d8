#include "PickList.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace zerin::ui {

PickList::PickList(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    ShowNumberLeftToRight();
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!listOpen_ && !stepping_) return;
        listOpen_ = false;  // one pick per opening of the list
        emit picked(index);
    });
}

// "-1", not "1-", aligned at the right as in the rest of the window. The list gives its
// text the window's direction again whenever the style or the direction changes.
void PickList::ShowNumberLeftToRight() {
    lineEdit()->setLayoutDirection(Qt::LeftToRight);
    lineEdit()->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void PickList::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::LayoutDirectionChange)
        ShowNumberLeftToRight();
}

void PickList::showPopup() {
    // Opening the list takes the focus from the typed text, which ends the typing (and
    // may report its entry as activated) before the list is open.
    QComboBox::showPopup();
    listOpen_ = true;
}

void PickList::hidePopup() {
    QComboBox::hidePopup();
    // An entry chosen in the list is reported right after the list closes, in the same
    // event: the note is cleared once that event is over.
    QTimer::singleShot(0, this, [this] { listOpen_ = view()->isVisible(); });
}

void PickList::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The text completes as usual, and Return still reaches the window, whose
            // default command it runs.
            QComboBox::keyPressEvent(event);
            event->ignore();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            stepping_ = !(event->modifiers() & Qt::AltModifier);  // Alt+Down opens the list
            break;
        default:
            break;
    }
    QComboBox::keyPressEvent(event);
    stepping_ = false;
}

void PickList::wheelEvent(QWheelEvent* event) {
    stepping_ = true;
    QComboBox::wheelEvent(event);
    stepping_ = false;
}

}  // namespace zerin::ui
