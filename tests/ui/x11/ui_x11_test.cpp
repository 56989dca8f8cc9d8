// The windows under a real X server and window manager, driven by xdotool's pointer and keys:
// dragging, typed degrees, Tab order, Return, keys in the active window only, a place typed in
// Arabic; the windows fit the screen's free area (a laptop's too, from run-under-x.sh).
#include "FrmTimetable.h"
#include "ReportFile.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

// Runs a program to its end: true when it exits 0, its output in `out`.
bool Run(const QString& program, const QStringList& args, QString* out = nullptr) {
    QProcess run;
    run.start(program, args);
    const bool done = run.waitForFinished(10000) && run.exitStatus() == QProcess::NormalExit &&
                      run.exitCode() == 0;
    if (out) *out = QString::fromLocal8Bit(run.readAllStandardOutput());
    return done;
}
bool Xdo(const QStringList& args) {
    return Run(QStringLiteral("xdotool"), args);
}

// Lets the X server's events arrive and be handled.
void Settle(int ms = 150) {
    QTest::qWait(ms);
}

// The window's place as the X server has it (not as Qt believes; xdotool counts a title twice).
QPoint ScreenPlace(const QWidget& window) {
    QString shown;
    Run(QStringLiteral("xwininfo"), {"-id", QString::number(window.winId())}, &shown);
    const auto at = [&shown](const char* axis) {
        const QRegularExpression line(
            QStringLiteral("Absolute upper-left %1:\\s*(-?\\d+)").arg(axis));
        const QRegularExpressionMatch m = line.match(shown);
        return m.hasMatch() ? m.captured(1).toInt() : INT_MIN;
    };
    return {at("X"), at("Y")};
}

QPoint OnScreen(const QWidget* widget, QPoint at) {
    return ScreenPlace(*widget->window()) + widget->mapTo(widget->window(), at);
}

// A real motion event (not --sync: it waits forever when the pointer is there already).
void PointerTo(QPoint p) {
    Xdo({"mousemove", QString::number(p.x()), QString::number(p.y())});
    Settle(80);
}

void ClickOn(const QWidget* widget) {
    PointerTo(OnScreen(widget, widget->rect().center()));
    Xdo({"click", "1"});
    Settle();
}

void PressKey(const char* key) {
    Xdo({"key", QLatin1String(key)});
    Settle();
}

// Types over what a widget holds.
void TypeOver(const QWidget* widget, const QString& text) {
    ClickOn(widget);
    PressKey("ctrl+a");
    Xdo({"type", "--delay", "20", "--", text});  // "--": a text may start with "-"
    Settle();
}

// Switches the X server's keyboard layout; false when it cannot.
bool KeyboardLayout(const char* layout) {
    const bool done = Run(QStringLiteral("setxkbmap"), {"-layout", layout});
    Settle(300);
    return done;
}

// Runs a command that opens the report window, and `inside` once that window is the active
// modal one.
void InTheReportAfter(const std::function<void()>& command,
                      const std::function<void(ui::FrmCalc&)>& inside) {
    QTimer poll;
    bool reached = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* report = qobject_cast<ui::FrmCalc*>(QApplication::activeModalWidget());
        if (!report || !report->isActiveWindow()) return;
        poll.stop();
        reached = true;
        inside(*report);
    });
    poll.start(100);
    command();
    QTRY_VERIFY_WITH_TIMEOUT(reached, 10000);
}

// The report window a command opens: its text and title; then Escape, which must close it.
struct ShownReport {
    QString text, title;
    bool closed = false;
};
void ReadReportAfter(const std::function<void()>& command, ShownReport& shown) {
    InTheReportAfter(command, [&shown](ui::FrmCalc& report) {
        shown.text = report.Text(), shown.title = report.windowTitle();
        PressKey("Escape");
        shown.closed = !report.isVisible();
    });
    QTRY_VERIFY(shown.closed);
}

// A window is shown, active, and stays at one place.
bool Ready(QWidget& window) {
    if (!QTest::qWaitForWindowActive(&window)) return false;
    QPoint place = ScreenPlace(window);
    for (int k = 0; k < 50; ++k) {
        Settle(100);
        const QPoint now = ScreenPlace(window);
        if (now == place && now.x() != INT_MIN) return true;
        place = now;
    }
    return false;
}

// The window within the screen's free area as the X server has it, and every shown button.
void CheckInside(QWidget& window, const QRect& free) {
    const QRect shown(ScreenPlace(window), window.size());
    QVERIFY2(free.contains(shown), qPrintable(window.objectName() + QDebug::toString(shown)));
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->isVisibleTo(&window)) continue;
        const QRect shown(OnScreen(button, QPoint()), button->size());
        QVERIFY2(free.contains(shown), qPrintable(button->objectName()));
    }
}

}  // namespace

class RealDisplayTest : public QObject {
    Q_OBJECT

    // The main window where the window manager or the program places it (Openbox then leaves
    // Qt believing it at 0, 0).
    struct Window {
        RecordingMessenger messages;
        ui::FrmMain main{messages};
        explicit Window(bool placed = false) {
            ui::ShowReferenceInstant(main);
            if (placed) main.move(150, 90);
            main.show();
            main.activateWindow();
        }
        QWidget* Widget(const QString& name) { return Get<QWidget>(main, name); }
        QWidget* Edit(const QString& name) { return TypingField(main, name); }
        QString Field(const QString& name) { return ui::FieldTextByName(main, name); }
        bool East() { return Get<QRadioButton>(main, "OptE")->isChecked(); }
    };

  private slots:
    void initTestCase() {
        SetUpLook();
        qputenv("ZERIN_GAZETTEER", QByteArray(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt");
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY2(Xdo({"getmouselocation"}), "xdotool cannot reach the X server");
    }

    // Within the free area (ZERIN_X_FREE, "1366x720", from run-under-x.sh): both windows, each
    // button; the grid shows twelve days at least; one Tab leaves the grid.
    void theWindowsFitTheScreensFreeArea() {
        const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
        const QString expected = qEnvironmentVariable("ZERIN_X_FREE");
        if (!expected.isEmpty())
            QCOMPARE(QStringLiteral("%1x%2").arg(free.width()).arg(free.height()), expected);
        Window w;
        QVERIFY(Ready(w.main));
        CheckInside(w.main, free);
        services::FieldOptions mecca;  // in June 2005
        auto& f = mecca.fields;
        f.TxtDegLon = "39", f.TxtMinLon = "49", f.TxtDegLat = "21", f.TxtMinLat = "25";
        f.TxtZone = "-3", f.TxtYear = "2005", f.TxtMonth = "6", mecca.east = true;
        ui::FrmTimetable table(w.messages, mecca);
        table.show();
        QVERIFY(Ready(table));
        CheckInside(table, free);
        QTableWidget* grid = Get<QTableWidget>(table, "GrdTimes");
        QCOMPARE(grid->rowCount(), 30);
        const int first = grid->rowAt(0), last = grid->rowAt(grid->viewport()->height() - 1);
        QVERIFY2(last - first + 1 >= 12 || last < 0, qPrintable(QString::number(last - first + 1)));
        ClickOn(grid->viewport());
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        PressKey("Tab");
        QTRY_VERIFY(QApplication::focusWidget() != grid &&
                    QApplication::focusWidget()->window() == &table);
    }

    // A press and a motion on the free surface move the window by the pointer's motion, seen by
    // the X server; a bare click nothing; the window does not stay stuck to the pointer.
    void aDragMovesTheWindowByThePointersMotion_data() { DataFileRows("x11-drags.txt"); }
    void aDragMovesTheWindowByThePointersMotion() {
        const DataFileRow c = DataRow();
        const QPoint motion(c["dx"].toInt(), c["dy"].toInt());
        Window w(c["placed by"] == "program");
        QVERIFY(Ready(w.main));
        const QPoint before = ScreenPlace(w.main),
                     start = OnScreen(w.Widget(c["where"]), QPoint(6, 6));
        PointerTo(start);
        Xdo({"mousedown", "1"});
        Settle();
        for (const int part : {4, 2, 1}) PointerTo(start + motion / part);
        Xdo({"mouseup", "1"});
        QTRY_COMPARE_WITH_TIMEOUT(ScreenPlace(w.main), before + motion, 3000);
        PointerTo(start + motion + QPoint(80, 50));
        Settle(500);
        QCOMPARE(ScreenPlace(w.main), before + motion);
    }

    // Typed degrees, left by Tab or a click in a field or on the Sun, keep the zone written.
    void typedDegreesKeepTheZone() {
        Window w;
        QVERIFY(Ready(w.main));
        w.main.SetModalRunner([](QDialog&) {});
        ClickOn(w.Widget("OptE"));
        QTRY_VERIFY(w.East());
        TypeOver(w.Edit("TxtZone"), "-1");
        QTRY_COMPARE(w.Field("TxtZone"), QStringLiteral("-1"));
        TypeOver(w.Edit("TxtDegLon"), "3");
        PressKey("Tab");
        QTRY_COMPARE(QApplication::focusWidget(), w.Widget("TxtMinLon"));
        QTRY_COMPARE(w.Field("TxtDegLon") + w.Field("TxtZone"), QStringLiteral("3-1"));
        TypeOver(w.Edit("TxtDegLon"), "39");
        ClickOn(w.Edit("TxtYear"));
        QTRY_COMPARE(QApplication::focusWidget(), w.Widget("TxtYear"));
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-1"));
        TypeOver(w.Edit("TxtDegLon"), "15");
        SetField(w.main, "TxtZone", "-4");
        ClickOn(w.Widget("CmdSun"));
        QTRY_VERIFY(Button(w.main, "CmdPln0")->isEnabled());  // the Sun has run
        QCOMPARE(w.Field("TxtZone") + w.Field("TxtDegLon"), QStringLiteral("-415"));
    }

    // Tab follows the reading order; "39 Tab 49 Tab 30" fills the longitude as it reads.
    void tabFollowsTheReadingOrder() {
        Window w;
        QVERIFY(Ready(w.main));
        ClickOn(w.Edit("TxtDegLon"));
        const QStringList order =
            QStringLiteral(
                "TxtDegLon TxtMinLon TxtSecLon OptW TxtDegLat TxtMinLat TxtSecLat OptN TxtZone "
                "TxtEteRegl TxtYear TxtMonth TxtDay TxtHour TxtMin TxtSec CboHijriRule CmdMonth "
                "CmdSun "
                "CmdHilal OptSoir CmdCarte CmdQibla CmdInfo CmdApropos CmdTimetable CmdExit")
                .split(' ');
        QTRY_COMPARE(QApplication::focusWidget(), w.Widget(order[0]));
        for (qsizetype k = 1; k < order.size(); ++k) {
            PressKey("Tab");
            QTRY_COMPARE(QApplication::focusWidget(), w.Widget(order[k]));
        }
        TypeOver(w.Edit("TxtDegLon"), "39");
        for (const char* text : {"49", "30"}) {
            PressKey("Tab");
            Xdo({"type", "--delay", "20", "--", QLatin1String(text)});
        }
        QTRY_COMPARE(w.Field("TxtDegLon") + w.Field("TxtMinLon") + w.Field("TxtSecLon") +
                         w.Field("TxtDegLat"),
                     QStringLiteral("39493032"));
    }

    // Return shows the command line's Sun's report in the real modal window; Escape closes it.
    void returnShowsTheSunsReport() {
        Window w;
        QVERIFY(Ready(w.main));
        ClickOn(w.Widget("OptE"));
        for (const QString& typed : QStringList{"TxtDegLon=39", "TxtMinLon=49", "TxtDegLat=21",
                                                "TxtMinLat=25", "TxtZone=-3"})
            TypeOver(w.Edit(typed.section('=', 0, 0)), typed.section('=', 1));
        const CliResult cli = RunCli(ReportArgsOf(w.main, "sun", true, true));
        QCOMPARE(cli.status, 0);
        ShownReport report;
        ReadReportAfter([] { PressKey("Return"); }, report);
        QCOMPARE(report.text, Q(cli.out));
        QVERIFY(report.text.contains(QStringLiteral("\r\n-39.8166666666667 = Lon ")));
        QVERIFY(w.main.isActiveWindow() || QTest::qWaitForWindowActive(&w.main));
    }

    // F1 shows the preface in the real modal window, named; there F1 means nothing, Ctrl+S
    // saves and Escape closes it.
    void theKeysActInTheActiveWindowOnly() {
        Window w;
        QVERIFY(Ready(w.main));
        QTemporaryDir folder;
        ui::FrmCalc& report = w.main.ReportWindow();
        report.SetSaveFolders({folder.path()});
        QStringList opened;
        report.SetOpener([&](const QString& path) {
            opened << QFileInfo(path).fileName();
            return true;
        });
        int shows = 0;
        w.main.SetModalRunner([&](QDialog& dialog) { ++shows, dialog.exec(); });
        QString said;
        InTheReportAfter(
            [] { PressKey("F1"); },
            [&](ui::FrmCalc& modal) {
                said = QAccessible::queryAccessibleInterface(Get<QTextEdit>(modal, "TxtOut"))
                           ->text(QAccessible::Name);
                PressKey("F1");
                PressKey("ctrl+s");
                for (int k = 0; k < 30 && opened.isEmpty(); ++k) Settle(100);
                PressKey("Escape");
            });
        QTRY_VERIFY(!report.isVisible());
        QCOMPARE(said, QStringLiteral("مقدمة البرنامج: تنبيه هام"));
        QCOMPARE(shows, 1);
        QCOMPARE(opened, QStringList{"SysReg.txt"});
        QCOMPARE(ReadBytes(folder.filePath("SysReg.txt")), ui::ReportRecord(report.Text()));
    }

    // الرباط typed on the Arabic keyboard, Return: the place filled (Greenwich time in June 2005),
    // the Sun's report `--place الرباط`'s, titled with the place.
    void typingAPlacesNameAndPickingItGivesItsReport() {
        Window w;
        QVERIFY(Ready(w.main));
        ClickOn(w.Edit("TxtPlaceSearch"));
        QVERIFY(KeyboardLayout("ara"));
        Xdo({"key", "--delay", "40", "Arabic_alef", "Arabic_lam", "Arabic_ra", "Arabic_beh",
             "Arabic_alef", "Arabic_tah"});
        Settle();
        QVERIFY(KeyboardLayout("us"));
        QAbstractItemView* popup = w.main.Search().Popup();
        QTRY_COMPARE(w.main.Search().Field()->text(), QStringLiteral("الرباط"));
        QTRY_VERIFY_WITH_TIMEOUT(popup->isVisible(), 5000);
        QVERIFY(popup->model()->index(0, 0).data().toString().startsWith(
            QStringLiteral("الرباط، المغرب")));
        PressKey("Return");
        QTRY_COMPARE(w.Field("TxtSecLon"), QStringLiteral("57.36"));
        QCOMPARE(Texts(w.main, "TxtDegLon TxtMinLon TxtDegLat TxtMinLat TxtSecLat TxtZone"),
                 QStringLiteral("6 49 34 0 47.52 0"));
        QVERIFY(!w.East() && !popup->isVisible());
        std::vector<std::string> args{"report", "sun", "--place", "الرباط"};
        for (const char* field : {"TxtYear", "TxtMonth", "TxtDay", "TxtHour", "TxtMin", "TxtSec"})
            args.insert(args.end(), {FieldOptionNames().at(field), w.Field(field).toStdString()});
        const CliResult cli = RunCli(args);
        QCOMPARE(cli.status, 0);
        ShownReport report;
        ReadReportAfter([&w] { ClickOn(w.Widget("CmdSun")); }, report);
        QCOMPARE(report.text, Q(cli.out));
        QVERIFY(report.text.contains(QStringLiteral("\r\n6.8326 = Lon ")));
        QVERIFY(report.title.endsWith(QStringLiteral("الرباط")));
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::RealDisplayTest)
#include "ui_x11_test.moc"
