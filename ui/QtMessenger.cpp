#include "QtMessenger.h"

#include <QApplication>
#include <QMessageBox>

#include "Look.h"

namespace zerin::ui {

QString MessageText(const Message& message) {
    QString text = QString::fromStdString(message.arabic);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

void QtMessenger::critical(const Message& message) {
    // Over the report window when the message comes from it, else over the main window.
    QWidget* owner = QApplication::activeModalWidget();
    QMessageBox::critical(owner ? owner : parent_.data(), AppTitle(), MessageText(message));
}

}  // namespace zerin::ui
