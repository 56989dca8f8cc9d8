#include "FieldNames.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace zerin::ui {

QString FieldTextByName(QWidget& window, const QString& name) {
    if (auto* list = window.findChild<QComboBox*>(name)) return list->currentText();
    if (auto* edit = window.findChild<QLineEdit*>(name)) return edit->text();
    return {};
}

bool SetFieldByName(QWidget& window, const QString& name, const QString& text) {
    if (auto* list = window.findChild<QComboBox*>(name)) {
        list->setEditText(text);
        return true;
    }
    if (auto* edit = window.findChild<QLineEdit*>(name)) {
        edit->setText(text);
        return true;
    }
    return false;
}

void ShowReferenceInstant(QWidget& window) {
    const char* const texts[][2] = {{"TxtYear", "2005"}, {"TxtMonth", "6"}, {"TxtDay", "17"},
                                    {"TxtHour", "12"},   {"TxtMin", "0"},   {"TxtSec", "0"}};
    for (const auto& [name, text] : texts)
        SetFieldByName(window, QLatin1String(name), QLatin1String(text));
}

}  // namespace zerin::ui
