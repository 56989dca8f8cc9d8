// The main window's fields by their controls' names (TxtYear, TxtDegLon, TxtEteRegl...),
// for the tools that drive the window: tests, benchmarks, screenshots.
#pragma once

#include <QString>

class QWidget;

namespace zerin::ui {

// The text of the field, or a null string when window has no field of that name.
QString FieldTextByName(QWidget& window, const QString& name);
// Sets the field's text as typing would; false when there is no such field.
bool SetFieldByName(QWidget& window, const QString& name, const QString& text);

// Fills the date and time with the instant of the reference reports: 17 June 2005,
// 12:00:00.
void ShowReferenceInstant(QWidget& window);

}  // namespace zerin::ui
