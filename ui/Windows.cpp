// zerin with no arguments: the main window and the event loop.
#include "Windows.h"

#include <QApplication>
#include <clocale>

#include "FileDevice.h"
#include "FrmMain.h"
#include "Look.h"
#include "QtMessenger.h"
#include "ReadAloud.h"

namespace zerin {

int RunWindows(int argc, char** argv) {
    // The pages and pictures the windows save are the same bytes for the same input.
    ui::MakeOutputReproducible();
    QApplication app(argc, argv);
    ui::SetUpScreenReading();
    // Qt adopts the user's locale for the C library; numbers must not depend on it.
    std::setlocale(LC_NUMERIC, "C");
    ui::SetUpArabicLook(app);
    ui::QtMessenger messenger;
    ui::FrmMain window(messenger);
    messenger.SetParent(&window);
    window.show();
    return app.exec();
}

}  // namespace zerin
