// The calculation module's messages as the windows show them: a modal message box with
// the critical icon, the Arabic text and the program's title.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "math/Errors.h"

namespace zerin::ui {

class QtMessenger : public Messenger {
  public:
    // The message boxes stand over the active modal window, or else over parent (the main
    // window once it exists).
    void SetParent(QWidget* parent) { parent_ = parent; }
    void critical(const Message& message) override;

  private:
    QPointer<QWidget> parent_;
};

// A message's Arabic text with its line ends as a message box shows them.
QString MessageText(const Message& message);

}  // namespace zerin::ui
