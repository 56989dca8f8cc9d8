#include "ReadAloud.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <QWindow>

#include "Look.h"

namespace zerin::ui {

namespace {

// The application in the accessibility tree, whose children are its shown windows.
class ShownWindowsApplication : public QAccessibleApplication {
  public:
    int childCount() const override { return static_cast<int>(Shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QObject*> shown = Shown();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child ? static_cast<int>(Shown().indexOf(child->object())) : -1;
    }

  private:
    static QList<QObject*> Shown() {
        QList<QObject*> shown;
        for (QWindow* window : QGuiApplication::topLevelWindows()) {
            if (!window->isVisible() || window->type() == Qt::Popup ||
                window->type() == Qt::Desktop)
                continue;
            if (QAccessibleInterface* root = window->accessibleRoot())
                if (root->object()) shown.append(root->object());
        }
        return shown;
    }
};

// A list (a combo box) as a screen reader reads it: named by the name it was given or by
// its caption, with the entry it shows as its value. (Qt on Linux names a list by its entry,
// so that a degrees list reads "combo box 5", and never says what the 5 is.)
class NamedList : public QAccessibleWidget {
  public:
    explicit NamedList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return List()->currentText();
        const QString text = QAccessibleWidget::text(t);
        // A list with neither a name nor a caption is still read by its entry.
        return t == QAccessible::Name && text.isEmpty() ? List()->currentText() : text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = List()->isEditable();
        state.expandable = true;
        state.expanded = List()->view()->isVisible();
        state.collapsed = !state.expanded;
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction())
            List()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

  private:
    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* ReadAloudInterface(const QString& className, QObject* object) {
    if (object == qApp && className == QLatin1String("QApplication"))
        return new ShownWindowsApplication;
    if (className == QLatin1String("QComboBox"))
        if (auto* list = qobject_cast<QComboBox*>(object)) return new NamedList(list);
    return nullptr;
}

// A control that takes the focus itself (a list's text field passes it on to the list) and
// shows when its window shows. A label is read as its text, not as a control.
bool TakesFocus(const QWidget* widget, const QWidget& window) {
    return widget != &window && widget->focusPolicy() != Qt::NoFocus && !widget->focusProxy() &&
           !widget->inherits("QLabel") && widget->isVisibleTo(&window);
}

// The name a control was given, else the text of the caption that stands for it.
QString NameOf(const QWidget& control) {
    if (!control.accessibleName().isEmpty() || !control.parentWidget())
        return control.accessibleName();
    for (const QLabel* caption :
         control.parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (caption->buddy() == &control) return caption->text().remove(QLatin1Char('&'));
    return {};
}

}  // namespace

void SetUpScreenReading() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(ReadAloudInterface);
}

void Describe(QWidget* control, const QString& convention) {
    control->setAccessibleDescription(convention);
    control->setToolTip(convention);
}

void NameControl(QWidget* control, const QString& name, const QString& convention) {
    control->setAccessibleName(name);
    if (!convention.isEmpty()) Describe(control, convention);
}

QString TipWithKey(const QString& tip, const QKeySequence& key) {
    return tip + QStringLiteral(" (") + Isolated(key.toString(QKeySequence::NativeText)) +
           QLatin1Char(')');
}

void SetCommandKey(QAbstractButton* command, const QKeySequence& key, const QString& tip) {
    command->setShortcut(key);
    command->setToolTip(TipWithKey(tip, key));
}

void ReadyToReadAloud(QWidget& window) {
    // A list's text field is in the tree too, inside its list: it reads as the list does.
    for (QComboBox* list : window.findChildren<QComboBox*>())
        if (QLineEdit* field = list->lineEdit(); field && field->accessibleName().isEmpty())
            field->setAccessibleName(NameOf(*list));

    // Raising a control makes it its parent's last child: raised in Tab order, each with
    // the frames that hold it, the controls and their frames follow one another as Tab
    // visits them.
    for (QWidget* widget = window.nextInFocusChain(); widget != &window;
         widget = widget->nextInFocusChain()) {
        if (!TakesFocus(widget, window)) continue;
        for (QWidget* raised = widget; raised && raised != &window; raised = raised->parentWidget())
            raised->raise();
    }
}

}  // namespace zerin::ui
