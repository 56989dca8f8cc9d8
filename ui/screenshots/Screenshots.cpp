// Renders the windows to PNG files for the documentation:
//   zerin_screenshots FOLDER
// writes main-window.png, report-window.png (the start of the Sun's report),
// report-window-formulas.png (the same report further on, where long formulas read left
// to right beside Arabic labels), preface-window.png, about-window.png and
// timetable-window.png (June 2005 at Mecca on the zone Asia/Riyadh, found by a search) and
// calendar-dialog.png (the options of its «حفظ للتقويم»), with the observer at Mecca on 17 June
// 2005 at noon. Run it on the offscreen platform (scripts/screenshots does).
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <clocale>
#include <cstdio>

#include "FieldNames.h"
#include "FrmMain.h"
#include "FrmTimetable.h"
#include "Look.h"
#include "QtMessenger.h"

namespace {

// Messages go to standard error: a screenshot run has no one to press OK.
class PrintingMessenger : public zerin::Messenger {
  public:
    void critical(const zerin::Message& message) override {
        std::fprintf(stderr, "message: %s\n", message.english.c_str());
    }
};

// Lets the windows lay out and paint.
void Settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool Save(QWidget& window, const QDir& folder, const QString& name) {
    Settle();
    const QString path = folder.filePath(name);
    if (window.grab().save(path)) {
        std::printf("%s\n", qPrintable(QDir::toNativeSeparators(path)));
        return true;
    }
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}

// Scrolls the report box so that the paragraph starting with text is at the top.
void ScrollReportTo(QWidget& report, const QString& text) {
    auto* box = report.findChild<QTextEdit*>(QStringLiteral("TxtOut"));
    if (!box) return;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        if (!block.text().startsWith(text)) continue;
        const QRectF place = box->document()->documentLayout()->blockBoundingRect(block);
        box->verticalScrollBar()->setValue(static_cast<int>(place.top()));
        return;
    }
}

// Mecca: East, so that the report shows negative longitudes.
void ShowMecca(QWidget& window) {
    if (auto* east = window.findChild<QRadioButton*>(QStringLiteral("OptE"))) east->click();
    const char* const texts[][2] = {{"TxtDegLon", "39"}, {"TxtMinLon", "49"}, {"TxtSecLon", "0"},
                                    {"TxtDegLat", "21"}, {"TxtMinLat", "25"}, {"TxtSecLat", "0"},
                                    {"TxtZone", "-3"}};
    for (const auto& [name, text] : texts)
        zerin::ui::SetFieldByName(window, QLatin1String(name), QLatin1String(text));
}

// The timetable of Mecca on the zone of Riyadh, found as a user finds it: by a search.
void ShowMeccaTimetable(QDialog& timetable) {
    if (auto* name = timetable.findChild<QLineEdit*>(QStringLiteral("TxtPlaceName")))
        name->setText(QStringLiteral("مكة المكرمة"));
    auto* search = timetable.findChild<QLineEdit*>(QStringLiteral("TxtZoneSearch"));
    if (!search) return;
    search->setText(QStringLiteral("riyadh"));
    QMetaObject::invokeMethod(search, "returnPressed");
}

void Press(QWidget& window, const char* name) {
    if (auto* button = window.findChild<QPushButton*>(QLatin1String(name))) button->click();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zerin_screenshots FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    zerin::ui::SetUpArabicLook(app);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) return 1;

    PrintingMessenger messenger;
    zerin::ui::FrmMain window(messenger);
    bool ok = true;
    QString next;  // the file name of the dialog the next command shows
    window.SetModalRunner([&](QDialog& dialog) {
        if (next == QLatin1String("timetable-window.png")) ShowMeccaTimetable(dialog);
        dialog.show();
        ok = Save(dialog, folder, next) && ok;
        if (auto* timetable = qobject_cast<zerin::ui::FrmTimetable*>(&dialog)) {
            timetable->SetModalRunner([&](QDialog& options) {
                options.show();
                ok = Save(options, folder, QStringLiteral("calendar-dialog.png")) && ok;
                options.hide();
            });
            Press(dialog, "CmdIcs");
        }
        if (next == QLatin1String("report-window.png")) {
            ScrollReportTo(dialog, QStringLiteral("C = ((1.91946"));
            ok = Save(dialog, folder, QStringLiteral("report-window-formulas.png")) && ok;
        }
        dialog.hide();
    });
    zerin::ui::ShowReferenceInstant(window);
    ShowMecca(window);
    window.show();

    next = QStringLiteral("report-window.png");
    Press(window, "CmdSun");
    ok = Save(window, folder, QStringLiteral("main-window.png")) && ok;
    next = QStringLiteral("preface-window.png");
    Press(window, "CmdInfo");
    next = QStringLiteral("about-window.png");
    Press(window, "CmdApropos");
    next = QStringLiteral("timetable-window.png");
    Press(window, "CmdTimetable");
    return ok ? 0 : 1;
}
