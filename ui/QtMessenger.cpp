#include "QtMessenger.h"

#include <QMessageBox>

#include "Look.h"

namespace zerin::ui {

QString MessageText(const Message& message) {
    QString text = QString::fromStdString(message.arabic);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void QtMessenger::critical(const Message& message) {
    QMessageBox::critical(parent_.data(), AppTitle(), MessageText(message));
}

}  // namespace zerin::ui
