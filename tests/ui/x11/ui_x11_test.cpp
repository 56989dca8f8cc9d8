// The main window under a real X server and window manager, driven by real pointer and
// key events (xdotool): dragging moves the window by the pointer's motion, typed degrees
// keep the zone, a minus and a comma typed are read as the line under the place says, Tab
// follows the reading order, Return shows the Sun's report, which is the command line's for
// the same fields, a key acts only in the window where it means
// something, and a place typed by its name in Arabic fills the fields. Run by run-under-x.sh.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "FrmMain.h"
#include "ReportFile.h"
#include "TestSupport.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

// Runs xdotool with args; returns its output, or a null string when it failed.
QString Xdo(const QStringList& args) {
    QProcess xdo;
    xdo.start(QStringLiteral("xdotool"), args);
    if (!xdo.waitForFinished(10000) || xdo.exitStatus() != QProcess::NormalExit ||
        xdo.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(xdo.readAllStandardOutput());
}

// Lets the events the X server sends arrive and be handled.
void Settle(int ms = 150) {
    QTest::qWait(ms);
}

// The window's place on the screen as the X server reports it (not as Qt believes it).
QPoint ScreenPlace(const QWidget& window) {
    const QString shell = Xdo({"getwindowgeometry", "--shell", QString::number(window.winId())});
    int x = INT_MIN, y = INT_MIN;
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("X="))) x = line.mid(2).toInt();
        if (line.startsWith(QLatin1String("Y="))) y = line.mid(2).toInt();
    }
    return {x, y};
}

QStringList Point(QPoint p) {
    return {QString::number(p.x()), QString::number(p.y())};
}

// Moves the pointer to p (screen coordinates) with a real motion event. (Not --sync:
// it waits forever when the pointer is there already.)
void PointerTo(QPoint p) {
    Xdo(QStringList{"mousemove"} + Point(p));
    Settle(80);
}

// Where a point of a widget is on the screen, from the window's place as the X server
// reports it.
QPoint OnScreen(const QWidget* widget, QPoint at) {
    return ScreenPlace(*widget->window()) + widget->mapTo(widget->window(), at);
}

void ClickOn(const QWidget* widget, QPoint at = {}) {
    PointerTo(OnScreen(widget, at.isNull() ? widget->rect().center() : at));
    Xdo({"click", "1"});
    Settle();
}

// Types text into the focused widget as key presses, after selecting what it holds.
void TypeOver(const QString& text) {
    Xdo({"key", "ctrl+a"});
    Xdo({"type", "--delay", "20", "--", text});  // "--": a text may start with "-"
    Settle();
}

// Switches the X server's keyboard to a layout (setxkbmap); false when it cannot.
bool KeyboardLayout(const char* layout) {
    QProcess xkb;
    xkb.start(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), QLatin1String(layout)});
    const bool done = xkb.waitForFinished(10000) && xkb.exitStatus() == QProcess::NormalExit &&
                      xkb.exitCode() == 0;
    Settle(300);
    return done;
}

void PressKey(const char* key) {
    Xdo({"key", QLatin1String(key)});
    Settle();
}

struct Drag {
    const char *name, *where;
    int dx, dy;
    bool placed;  // the window placed by the program, not by the window manager
};
const Drag kDrags[] = {
    {"title picture", "Img", 60, 40, false},
    {"time frame, back up and left", "Frame1", -45, -30, false},
    {"heading, window placed by the program", "SkinLabel0", 70, -20, true},
    {"a bare click on the title picture", "Img", 0, 0, false},
};

// The report window a command opens, as it shows: its text and title, read once it is the
// active modal window, and whether Escape closed it. (Shared, so that the timer's callback
// may fill them after this returns.)
struct ShownReport {
    std::shared_ptr<QString> text = std::make_shared<QString>();
    std::shared_ptr<QString> title = std::make_shared<QString>();
    std::shared_ptr<bool> closed = std::make_shared<bool>(false);
    std::shared_ptr<QTimer> poll = std::make_shared<QTimer>();
};

ShownReport ReportShownAfter(const std::function<void()>& command) {
    ShownReport shown;
    // The timer's own callback holds the results, not the timer: a shared pointer to the timer
    // inside its own connection would never be freed.
    QTimer* poll = shown.poll.get();
    QObject::connect(poll, &QTimer::timeout,
                     [poll, text = shown.text, title = shown.title, closed = shown.closed] {
                         auto* report =
                             qobject_cast<ui::FrmCalc*>(QApplication::activeModalWidget());
                         if (!report || !report->isActiveWindow()) return;
                         poll->stop();
                         *text = report->Text();
                         *title = report->windowTitle();
                         PressKey("Escape");
                         *closed = !report->isVisible();
                     });
    shown.poll->start(100);
    command();
    return shown;
}

}  // namespace

class RealDisplayTest : public QObject {
    Q_OBJECT

    struct Window {
        RecordingMessenger messages;
        ui::FrmMain main{messages};
        // Where the window manager places the window, or at a place the program asks
        // for (Openbox then leaves Qt believing the window is at 0, 0).
        explicit Window(bool placed = false) {
            ui::ShowReferenceInstant(main);
            if (placed) main.move(150, 90);
            main.show();
            main.activateWindow();
        }
        // The window is shown, active, and stays at one place.
        bool Ready() {
            if (!QTest::qWaitForWindowActive(&main)) return false;
            QPoint place = ScreenPlace(main);
            for (int k = 0; k < 50; ++k) {
                Settle(100);
                const QPoint now = ScreenPlace(main);
                if (now == place && now.x() != INT_MIN) return true;
                place = now;
            }
            return false;
        }
        QWidget* Widget(const char* name) { return main.findChild<QWidget*>(name); }
        // The widget that has the focus for a field (a list holds it for its text).
        QWidget* Focus(const char* name) { return Widget(name); }
        QLineEdit* Edit(const char* name) {
            if (auto* list = main.findChild<QComboBox*>(name)) return list->lineEdit();
            return main.findChild<QLineEdit*>(name);
        }
        QString Field(const char* name) { return FieldText(main, name); }
        bool East() { return main.findChild<QRadioButton*>("OptE")->isChecked(); }
    };

  private slots:
    void initTestCase() {
        SetUpLook();
        qputenv("ZERIN_GAZETTEER", QByteArray(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt");
        ::setenv("ZERIN_GAZETTEER", ZERIN_SOURCE_DIR "/data/gazetteer.txt", 1);
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY2(!Xdo({"getmouselocation"}).isNull(), "xdotool cannot reach the X server");
    }

    // A press on the title picture, a frame or a heading and a motion with the button held
    // move the window by exactly the pointer's motion, seen by the X server; a bare click
    // moves nothing. Either way the window does not stay stuck to the pointer.
    void aDragMovesTheWindowByThePointersMotion_data() { TableRows(kDrags); }
    void aDragMovesTheWindowByThePointersMotion() {
        const Drag& c = TableRow(kDrags);
        const QPoint motion(c.dx, c.dy);
        Window w(c.placed);
        QVERIFY(w.Ready());
        const QPoint before = ScreenPlace(w.main);
        const QWidget* surface = w.Widget(c.where);
        QVERIFY(surface);
        const QPoint start = OnScreen(surface, QPoint(6, 6));
        PointerTo(start);
        Xdo({"mousedown", "1"});
        Settle();
        PointerTo(start + motion / 4);
        PointerTo(start + motion / 2);
        PointerTo(start + motion);
        Xdo({"mouseup", "1"});
        QTRY_COMPARE_WITH_TIMEOUT(ScreenPlace(w.main), before + motion, 3000);
        // The button is up: the window no longer follows the pointer.
        PointerTo(start + motion + QPoint(80, 50));
        Settle(500);
        QCOMPARE(ScreenPlace(w.main), before + motion);
    }

    // Typed degrees, left with Tab, a click in another field or a click on the Sun, keep
    // the zone the user wrote: Algiers, East, zone -1, longitude 3.
    void typedDegreesKeepTheZone() {
        Window w;
        QVERIFY(w.Ready());
        w.main.SetModalRunner([](QDialog&) {});
        ClickOn(w.Widget("OptE"));
        QTRY_VERIFY(w.East());
        ClickOn(w.Edit("TxtZone"));
        TypeOver("-1");

        QTRY_COMPARE(w.Field("TxtZone"), QStringLiteral("-1"));
        ClickOn(w.Edit("TxtDegLon"));
        TypeOver("3");
        PressKey("Tab");
        QTRY_COMPARE(QApplication::focusWidget(), w.Focus("TxtMinLon"));
        QTRY_COMPARE(w.Field("TxtDegLon"), QStringLiteral("3"));
        QTRY_COMPARE(w.Field("TxtZone"), QStringLiteral("-1"));

        ClickOn(w.Edit("TxtDegLon"));
        TypeOver("39");
        ClickOn(w.Edit("TxtYear"));
        QTRY_COMPARE(QApplication::focusWidget(), w.Focus("TxtYear"));
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-1"));

        ClickOn(w.Edit("TxtDegLon"));
        TypeOver("15");
        w.Edit("TxtZone")->setText(QStringLiteral("-4"));
        ClickOn(w.Widget("CmdSun"));
        QTRY_VERIFY(Button(w.main, "CmdPln0")->isEnabled());  // the Sun has run
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-4"));
        QCOMPARE(w.Field("TxtDegLon"), QStringLiteral("15"));
    }

    // The line under the place reads what real keys type: a minus in the degrees is the East of
    // "شرق -", a comma between digits a decimal separator.
    void theLineReadsAMinusAndACommaAsTyped() {
        Window w;
        QVERIFY(w.Ready());
        ClickOn(w.Edit("TxtDegLon"));
        TypeOver("-5");
        QTRY_VERIFY(w.East());
        QTRY_COMPARE(w.Field("TxtDegLon"), QStringLiteral("5"));
        ClickOn(w.Edit("TxtDegLat"));
        TypeOver("34,5");
        QTRY_COMPARE(w.Field("TxtDegLat"), QStringLiteral("34,5"));
        QTRY_VERIFY(w.main.findChild<QLabel*>("LblPlaceReading")
                        ->text()
                        .startsWith(QStringLiteral("٣٥° ٢٦′ شمالاً، ٥° ٤٠′ شرقاً، التوقيت: ")));
    }

    // Tab goes through the window in its reading order, with real key presses.
    void tabFollowsTheReadingOrder() {
        Window w;
        QVERIFY(w.Ready());
        ClickOn(w.Edit("TxtDegLon"));
        const char* const order[] = {
            "TxtDegLon",  "TxtMinLon",    "TxtSecLon", "OptW",       "TxtDegLat",    "TxtMinLat",
            "TxtSecLat",  "OptN",         "TxtZone",   "TxtEteRegl", "TxtYear",      "TxtMonth",
            "TxtDay",     "TxtHour",      "TxtMin",    "TxtSec",     "CboHijriRule", "CmdMonth",
            "CmdSun",     "CmdHilal",     "OptSoir",   "CmdCarte",   "CmdQibla",     "CmdInfo",
            "CmdApropos", "CmdTimetable", "CmdExit"};
        QTRY_COMPARE(QApplication::focusWidget(), w.Focus(order[0]));
        for (std::size_t k = 1; k < std::size(order); ++k) {
            PressKey("Tab");
            QTRY_COMPARE(QApplication::focusWidget(), w.Focus(order[k]));
        }
        // "39 Tab 49 Tab 30" fills the longitude as it reads.
        ClickOn(w.Edit("TxtDegLon"));
        for (const char* text : {"39", "49"}) {
            TypeOver(QLatin1String(text));
            PressKey("Tab");
        }
        TypeOver("30");
        QTRY_COMPARE(w.Field("TxtDegLon"), QStringLiteral("39"));
        QTRY_COMPARE(w.Field("TxtMinLon"), QStringLiteral("49"));
        QTRY_COMPARE(w.Field("TxtSecLon"), QStringLiteral("30"));
        QTRY_COMPARE(w.Field("TxtDegLat"), QStringLiteral("32"));
    }

    // Return shows the Sun's report in the real modal report window; its text is the
    // command line's for the same fields. Escape closes it.
    void returnShowsTheSunsReport() {
        Window w;
        QVERIFY(w.Ready());
        ClickOn(w.Widget("OptE"));
        const std::pair<const char*, const char*> mecca[] = {{"TxtDegLon", "39"},
                                                             {"TxtMinLon", "49"},
                                                             {"TxtDegLat", "21"},
                                                             {"TxtMinLat", "25"},
                                                             {"TxtZone", "-3"}};
        for (const auto& [name, text] : mecca) {
            ClickOn(w.Edit(name));
            TypeOver(QLatin1String(text));
        }
        const CliResult cli = RunCli(ReportArgsOf(w.main, "sun", true, true));
        QCOMPARE(cli.status, 0);

        const ShownReport report = ReportShownAfter([] { PressKey("Return"); });
        QTRY_VERIFY_WITH_TIMEOUT(!report.text->isEmpty(), 10000);
        QCOMPARE(*report.text, QString::fromStdString(cli.out));
        QVERIFY(report.text->contains(QStringLiteral("\r\n-39.8166666666667 = Lon ")));
        QTRY_VERIFY(*report.closed);
        QVERIFY(w.main.isActiveWindow() || QTest::qWaitForWindowActive(&w.main));
    }

    // F1 shows the preface in the real modal report window, named for a screen reader; there
    // F1 means nothing, Ctrl+S saves the report and Escape closes it.
    void theKeysActInTheActiveWindowOnly() {
        Window w;
        QVERIFY(w.Ready());
        QTemporaryDir folder;
        ui::FrmCalc& report = w.main.ReportWindow();
        report.SetSaveFolders({folder.path()});
        QStringList opened;
        report.SetOpener([&](const QString& path) {
            opened << QFileInfo(path).fileName();
            return true;
        });
        int shows = 0;
        w.main.SetModalRunner([&](QDialog& dialog) {
            ++shows;
            dialog.exec();
        });
        QString said;
        QTimer poll;
        connect(&poll, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<ui::FrmCalc*>(QApplication::activeModalWidget());
            if (!modal || !modal->isActiveWindow()) return;
            poll.stop();
            said = QAccessible::queryAccessibleInterface(modal->findChild<QTextEdit*>("TxtOut"))
                       ->text(QAccessible::Name);
            PressKey("F1");
            PressKey("ctrl+s");
            for (int k = 0; k < 30 && opened.isEmpty(); ++k) Settle(100);
            PressKey("Escape");
        });
        poll.start(100);
        PressKey("F1");
        QTRY_VERIFY_WITH_TIMEOUT(!said.isEmpty(), 10000);
        QTRY_VERIFY(!report.isVisible());
        QCOMPARE(said, QStringLiteral("مقدمة البرنامج: تنبيه هام"));
        QCOMPARE(shows, 1);
        QCOMPARE(opened, QStringList{"SysReg.txt"});
        QCOMPARE(ReadBytes(folder.filePath("SysReg.txt")), ui::ReportRecord(report.Text()));
    }

    // Typing الرباط in the place search and taking the first match with Return fills the
    // place; the Sun's report is then the command line's with --place الرباط at the same
    // date and time.
    void typingAPlacesNameAndPickingItGivesItsReport() {
        Window w;
        QVERIFY(w.Ready());
        ClickOn(w.Edit("TxtPlaceSearch"));
        // Typed on the Arabic keyboard, key by key.
        QVERIFY(KeyboardLayout("ara"));
        Xdo({"key", "--delay", "40", "Arabic_alef", "Arabic_lam", "Arabic_ra", "Arabic_beh",
             "Arabic_alef", "Arabic_tah"});
        Settle();
        QVERIFY(KeyboardLayout("us"));
        auto* popup = w.main.Search().Popup();
        QTRY_COMPARE(w.Edit("TxtPlaceSearch")->text(), QStringLiteral("الرباط"));
        QTRY_VERIFY_WITH_TIMEOUT(popup->isVisible(), 5000);
        QVERIFY(popup->model()->index(0, 0).data().toString().startsWith(
            QStringLiteral("الرباط، المغرب")));
        PressKey("Return");
        QTRY_COMPARE(w.Field("TxtSecLon"), QStringLiteral("57.36"));
        QCOMPARE(w.Field("TxtDegLon"), QStringLiteral("6"));
        QCOMPARE(w.Field("TxtMinLon"), QStringLiteral("49"));
        QCOMPARE(w.Field("TxtDegLat"), QStringLiteral("34"));
        QCOMPARE(w.Field("TxtMinLat"), QStringLiteral("0"));
        QCOMPARE(w.Field("TxtSecLat"), QStringLiteral("47.52"));
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("0"));  // Greenwich time in June 2005
        QVERIFY(!w.East());
        QVERIFY(!popup->isVisible());

        std::vector<std::string> args{"report", "sun", "--place", "الرباط"};
        for (const char* field : {"TxtYear", "TxtMonth", "TxtDay", "TxtHour", "TxtMin", "TxtSec"}) {
            args.push_back(FieldOptionNames().at(field));
            args.push_back(w.Field(field).toStdString());
        }
        const CliResult cli = RunCli(args);
        QCOMPARE(cli.status, 0);
        const ShownReport report = ReportShownAfter([&w] { ClickOn(w.Widget("CmdSun")); });
        QTRY_VERIFY_WITH_TIMEOUT(!report.text->isEmpty(), 10000);
        const QString& shown = *report.text;
        const QString& title = *report.title;
        QCOMPARE(shown, QString::fromStdString(cli.out));
        QVERIFY(shown.contains(QStringLiteral("\r\n6.8326 = Lon ")));
        QVERIFY(title.endsWith(QStringLiteral("الرباط")));
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::RealDisplayTest)
#include "ui_x11_test.moc"
