// What a screen reader reads of the windows: the controls' names and the conventions they
// take, the shortcuts of the commands shown in their tooltips, the reading order, and only
// the windows that are shown.
#pragma once

#include <QKeySequence>
#include <QString>

class QAbstractButton;
class QWidget;

namespace zerin::ui {

// What the accessibility tree (and through it a screen reader) holds: only the shown
// windows as the application's children, so that a hidden window (the report window, kept
// between commands) is not announced; each list named by its name or caption, with its
// entry as its value. Call once, after the QApplication exists and before any window is
// created.
void SetUpScreenReading();

// Says the convention a control's value takes (East is negative...), to a screen reader and
// in the control's tooltip.
void Describe(QWidget* control, const QString& convention);
// Names a control that has no caption of its own, and says its convention when it has one.
void NameControl(QWidget* control, const QString& name, const QString& convention = {});

// tip followed by the key in brackets, read left to right: "حفظ التقرير (Ctrl+S)".
QString TipWithKey(const QString& tip, const QKeySequence& key);

// Gives a command its key and shows the key in its tooltip. The key works only in the
// command's window, while the command is shown and enabled.
void SetCommandKey(QAbstractButton* command, const QKeySequence& key, const QString& tip);

// Orders the window's controls in the accessibility tree as Tab visits them, so that a
// screen reader reads them in the order the keyboard reaches them, and names the text
// field of each list that takes typing as its list. Call at the end of the window's
// construction, once its controls are named.
void ReadyToReadAloud(QWidget& window);

}  // namespace zerin::ui
