// What a screen reader reads of the windows, through Qt's accessibility interface (the one
// the AT-SPI bridge serves to Orca): every control the keyboard reaches has a name, the
// controls read in Tab order, a hidden window is not in the tree; the place fields' names
// and conventions, the report named for its body and date; and the commands' keys, tried
// with key events in every window, where they act and where they must not.
#include <QAccessible>
#include <QClipboard>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QtTest>
#include <memory>

#include "FrmApropos.h"
#include "FrmCarte.h"
#include "FrmTimetable.h"
#include "ReadAloud.h"
#include "UiSupport.h"
#include "crescent/CrescentMap.h"

namespace zerin::test {

namespace {

// A control the keyboard can reach: it takes the focus itself (a list's text field passes
// it to the list) and shows with its window. A label is read as its text.
bool Reachable(const QWidget* widget, const QWidget& window) {
    return widget != &window && widget->focusPolicy() != Qt::NoFocus && !widget->focusProxy() &&
           !qobject_cast<const QLabel*>(widget) && widget->isVisibleTo(&window);
}

// The reachable controls as the accessibility tree holds them, depth first.
void TreeControls(QAccessibleInterface* node, const QWidget& window, QList<QWidget*>& found) {
    if (!node) return;
    if (auto* widget = qobject_cast<QWidget*>(node->object());
        widget && Reachable(widget, window) && !found.contains(widget))
        found << widget;
    for (int k = 0; k < node->childCount(); ++k) TreeControls(node->child(k), window, found);
}

// What in the tree takes the focus and shows but has no name to say (a label is read as
// its text, and says nothing when it holds none).
void Nameless(QAccessibleInterface* node, QStringList& found) {
    if (!node) return;
    const QAccessible::State state = node->state();
    if (state.focusable && !state.invisible && node->role() != QAccessible::StaticText &&
        node->text(QAccessible::Name).trimmed().isEmpty())
        found << QString::fromLatin1(node->object() ? node->object()->metaObject()->className()
                                                    : "?") +
                     QLatin1Char(' ') + (node->object() ? node->object()->objectName() : QString());
    for (int k = 0; k < node->childCount(); ++k) Nameless(node->child(k), found);
}

QList<QWidget*> TreeControls(QWidget& window) {
    QList<QWidget*> found;
    TreeControls(QAccessible::queryAccessibleInterface(&window), window, found);
    return found;
}

QList<QWidget*> TabControls(QWidget& window) {
    QList<QWidget*> chain;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
        if (Reachable(w, window)) chain << w;
    return chain;
}

QString Said(QObject* object, QAccessible::Text what = QAccessible::Name) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
    return node ? node->text(what) : QStringLiteral("<not in the tree>");
}

QStringList Names(const QList<QWidget*>& widgets) {
    QStringList names;
    for (QWidget* w : widgets) names << w->objectName() + QLatin1Char('=') + Said(w);
    return names;
}

// The windows shown in the application's accessibility tree.
QList<QObject*> AnnouncedWindows() {
    QList<QObject*> windows;
    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    for (int k = 0; k < application->childCount(); ++k) {
        QAccessibleInterface* child = application->child(k);
        if (child && application->indexOfChild(child) == k) windows << child->object();
    }
    return windows;
}

const CrescentMapGrid& MapGrid() {
    static const CrescentMapGrid grid = CrescentMapOf(2024, 3, 10, false);
    return grid;
}

// A window opened on the screen and made active, with what its commands did recorded.
struct Opened {
    RecordingMessenger messages;
    QTemporaryDir folder;
    QStringList done;  // "dialog FrmCalc", "path PDF (*.pdf)", "opened SysReg.txt"...
    virtual ~Opened() = default;
    virtual QWidget& Window() = 0;
    void Record(const QString& what) { done << what; }
    void RecordDialog(QDialog& dialog) { done << QStringLiteral("dialog ") + dialog.objectName(); }
    bool Show() {
        Window().show();
        Window().activateWindow();
        return QTest::qWaitForWindowActive(&Window());
    }
};

struct OpenedMain : Opened {
    ui::FrmMain main{messages};
    OpenedMain() {
        ui::ShowReferenceInstant(main);
        main.SetModalRunner([this](QDialog& dialog) { RecordDialog(dialog); });
    }
    QWidget& Window() override { return main; }
};

// The main window after a report: the report window is kept, hidden, with its keys.
struct OpenedMainAfterAReport : OpenedMain {
    OpenedMainAfterAReport() {
        ui::FrmCalc& report = main.ReportWindow();
        report.SetSaveFolders({folder.path()});
        report.SetOpener([this](const QString&) {
            Record(QStringLiteral("opened"));
            return true;
        });
        QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, &main,
                         [this] { Record(QStringLiteral("copied")); });
        report.show();
        report.hide();
    }
};

struct OpenedReport : Opened {
    ui::FrmCalc calc{messages};
    OpenedReport() {
        calc.SetSaveFolders({folder.path()});
        calc.SetOpener([this](const QString& path) {
            Record(QStringLiteral("opened ") + QFileInfo(path).fileName());
            return true;
        });
        calc.SetReport(Q(Golden("report-sun-2005-06-17-1200.txt")), ui::FrmCalc::Edge::Left);
    }
    QWidget& Window() override { return calc; }
};

services::FieldOptions Rabat(const char* zone) {
    services::FieldOptions place;
    place.fields.TxtDegLon = "6";
    place.fields.TxtMinLon = "50";
    place.fields.TxtDegLat = "33";
    place.fields.TxtMinLat = "58";
    place.fields.TxtZone = zone;
    place.fields.TxtYear = "2026";
    place.fields.TxtMonth = "3";
    place.north = true;
    return place;
}

struct OpenedTimetable : Opened {
    ui::FrmTimetable table;
    explicit OpenedTimetable(const char* zone) : table(messages, Rabat(zone)) {
        table.SetModalRunner([this](QDialog& dialog) { RecordDialog(dialog); });
        table.SetPathChooser([this](const QString&, const QString& filter) {
            Record(QStringLiteral("path ") + filter);
            return QString();
        });
    }
    QWidget& Window() override { return table; }
};

struct OpenedMap : Opened {
    ui::FrmCarte map{messages, MapGrid(), nullptr,
                     QStringList{QStringLiteral(ZERIN_SOURCE_UI "/../data")}};
    OpenedMap() {
        map.SetPathChooser([this](QWidget*, const QString&) {
            Record(QStringLiteral("path png"));
            return QString();
        });
    }
    QWidget& Window() override { return map; }
};

struct OpenedAbout : Opened {
    ui::FrmApropos about;
    QWidget& Window() override { return about; }
};

struct WindowCase {
    const char* name;
    std::unique_ptr<Opened> (*open)();
    int leastControls;  // the controls the keyboard reaches, at least
};

const WindowCase kWindows[] = {
    {"main", []() -> std::unique_ptr<Opened> { return std::make_unique<OpenedMain>(); }, 39},
    {"main after a report",
     []() -> std::unique_ptr<Opened> { return std::make_unique<OpenedMainAfterAReport>(); }, 39},
    {"report", []() -> std::unique_ptr<Opened> { return std::make_unique<OpenedReport>(); }, 3},
    {"timetable",
     []() -> std::unique_ptr<Opened> { return std::make_unique<OpenedTimetable>("0"); }, 17},
    {"timetable without a table",
     []() -> std::unique_ptr<Opened> { return std::make_unique<OpenedTimetable>("5.5"); }, 17},
    {"crescent map", []() -> std::unique_ptr<Opened> { return std::make_unique<OpenedMap>(); }, 4},
    {"About", []() -> std::unique_ptr<Opened> { return std::make_unique<OpenedAbout>(); }, 0},
};

const WindowCase& WindowNamed(const char* name) {
    for (const WindowCase& c : kWindows)
        if (QByteArray(c.name) == name) return c;
    qFatal("no window %s", name);
}

// A key pressed in a window, on the control named focus (the window's own focus when
// none), and what it must do there: nothing where it means nothing.
struct KeyCase {
    const char* name;
    const char* window;
    const char* focus;
    QKeyCombination key;
    QStringList done;  // and "closed" when the window closed
};

const QKeyCombination kSave(Qt::CTRL | Qt::Key_S), kPrint(Qt::CTRL | Qt::Key_P),
    kSavePdf(Qt::CTRL | Qt::SHIFT | Qt::Key_S), kHelp(Qt::Key_F1), kEscape(Qt::Key_Escape);

const KeyCase kKeys[] = {
    {"F1 in the main window shows the preface", "main", "TxtZone", kHelp, {"dialog FrmCalc"}},
    {"F1 from a button of the main window", "main", "CmdSun", kHelp, {"dialog FrmCalc"}},
    {"Ctrl+S in the main window", "main", "TxtYear", kSave, {}},
    {"Ctrl+P in the main window", "main", "TxtYear", kPrint, {}},
    {"Ctrl+Shift+S in the main window", "main", nullptr, kSavePdf, {}},
    {"Escape leaves the main window open", "main", "TxtDegLon", kEscape, {}},
    {"Ctrl+S in the main window saves no kept report", "main after a report", "CmdSun", kSave, {}},
    {"Ctrl+C on a button of the main window",
     "main after a report",
     "CmdSun",
     QKeyCombination(Qt::CTRL | Qt::Key_C),
     {}},
    {"Ctrl+S in the report's text saves it", "report", "TxtOut", kSave, {"opened SysReg.txt"}},
    {"Ctrl+S on the report's exit saves it", "report", "CmdExit", kSave, {"opened SysReg.txt"}},
    {"F1 in the report window", "report", "TxtOut", kHelp, {}},
    {"Ctrl+P in the report window", "report", "TxtOut", kPrint, {}},
    {"Escape closes the report window", "report", "TxtOut", kEscape, {"closed"}},
    {"Ctrl+P prints the timetable", "timetable", "GrdTimes", kPrint, {"dialog DlgPrint"}},
    {"Ctrl+Shift+S saves the timetable's PDF",
     "timetable",
     "CboAsr",
     kSavePdf,
     {"path PDF (*.pdf)"}},
    {"Ctrl+S in the timetable window", "timetable", "GrdTimes", kSave, {}},
    {"F1 in the timetable window", "timetable", "GrdTimes", kHelp, {}},
    {"Escape closes the timetable window", "timetable", "TxtPlaceName", kEscape, {"closed"}},
    {"Ctrl+P with no table to print", "timetable without a table", "CboAsr", kPrint, {}},
    {"Ctrl+Shift+S with no table to save", "timetable without a table", nullptr, kSavePdf, {}},
    {"Ctrl+S saves the crescent map", "crescent map", "OptYallop", kSave, {"path png"}},
    {"Ctrl+P in the crescent map", "crescent map", "OptYallop", kPrint, {}},
    {"F1 in the crescent map", "crescent map", nullptr, kHelp, {}},
    {"Escape closes the crescent map", "crescent map", "CmdSave", kEscape, {"closed"}},
    {"F1 in the About window", "About", nullptr, kHelp, {}},
    {"Ctrl+S in the About window", "About", nullptr, kSave, {}},
    {"Escape closes the About window", "About", nullptr, kEscape, {"closed"}},
};

// The main window's fields: the name a screen reader says, and the sign convention that
// its description and tooltip say, if it takes one.
struct FieldCase {
    const char* name;
    const char* control;
    const char* said;
    const char* convention;
};

const FieldCase kFields[] = {
    {"longitude degrees", "TxtDegLon", "خط الطول، الدرج", "غرب غرينتش موجب، وشرقه سالب"},
    {"longitude minutes", "TxtMinLon", "خط الطول، الدقيقة", "غرب غرينتش موجب، وشرقه سالب"},
    {"longitude seconds", "TxtSecLon", "خط الطول، الثواني", "غرب غرينتش موجب، وشرقه سالب"},
    {"latitude degrees", "TxtDegLat", "خط العرض، الدرج", "شمال خط الاستواء موجب، وجنوبه سالب"},
    {"latitude minutes", "TxtMinLat", "خط العرض، الدقيقة", "شمال خط الاستواء موجب، وجنوبه سالب"},
    {"latitude seconds", "TxtSecLat", "خط العرض، الثواني", "شمال خط الاستواء موجب، وجنوبه سالب"},
    {"West", "OptW", "غرب +", "غرب غرينتش موجب"},
    {"South", "OptS", "جنوب -", "وجنوبه سالب"},
    {"zone", "TxtZone", "المنطقة الزمنية", "شرق غرينتش سالبة"},
    {"summer time", "TxtEteRegl", "تعديل التوقيت الصيفي", "تُقدَّم بها الساعة صيفاً"},
    {"year", "TxtYear", "السنة", nullptr},
    {"month", "TxtMonth", "الشهر", nullptr},
    {"day", "TxtDay", "اليوم", nullptr},
    {"hour", "TxtHour", "الساعة", nullptr},
    {"minute", "TxtMin", "الدقيقة", nullptr},
    {"second", "TxtSec", "الثانية", nullptr},
};

// A command of the main window and the name of the report it shows.
struct ReportCase {
    const char* name;
    const char* day;
    std::vector<const char*> presses;
    const char* said;
};

const ReportCase kReports[] = {
    {"the Sun", "17", {"CmdSun"}, "تقرير الشمس، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"the Sun on a day it limits",
     "31",
     {"CmdSun"},
     "تقرير الشمس، التاريخ 30/6/2005، الوقت 12:0:0"},
    {"the Moon", "17", {"CmdSun", "CmdPln0"}, "تقرير القمر، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"Saturn", "2", {"CmdSun", "CmdPln5"}, "تقرير زحل، التاريخ 2/6/2005، الوقت 12:0:0"},
    {"the Qibla", "17", {"CmdQibla"}, "تقرير القبلة، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"the crescent", "17", {"CmdHilal"}, "تقرير الهلال مساءً، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"the preface", "17", {"CmdInfo"}, "مقدمة البرنامج: تنبيه هام"},
};

}  // namespace

class ReadAloudTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        ui::SetUpScreenReading();
        SetUpLook();
    }

    void everyControlTheKeyboardReachesHasAName_data() { TableRows(kWindows); }
    void everyControlTheKeyboardReachesHasAName() {
        const WindowCase& c = TableRow(kWindows);
        const std::unique_ptr<Opened> opened = c.open();
        QWidget& window = opened->Window();
        QVERIFY(opened->Show());
        const QList<QWidget*> tree = TreeControls(window);
        QVERIFY2(tree.size() >= c.leastControls, qPrintable(Names(tree).join(' ')));
        // The tree holds every control the keyboard reaches, each with a name.
        for (QWidget* widget : window.findChildren<QWidget*>())
            if (Reachable(widget, window))
                QVERIFY2(tree.contains(widget), qPrintable(widget->objectName()));
        for (QWidget* widget : tree)
            QVERIFY2(!Said(widget).trimmed().isEmpty(),
                     qPrintable(widget->objectName() + QLatin1Char(' ') +
                                widget->metaObject()->className()));
        QVERIFY(!Said(&window).isEmpty());
        // Nor is anything inside them nameless: a list's own text field reads as its list.
        QStringList nameless;
        Nameless(QAccessible::queryAccessibleInterface(&window), nameless);
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1String(", "))));
    }

    void theControlsReadInTabOrder_data() { TableRows(kWindows); }
    void theControlsReadInTabOrder() {
        const std::unique_ptr<Opened> opened = TableRow(kWindows).open();
        QCOMPARE(Names(TreeControls(opened->Window())), Names(TabControls(opened->Window())));
    }

    // Every command with a key shows it in its tooltip.
    void theTooltipsShowTheKeys_data() { TableRows(kWindows); }
    void theTooltipsShowTheKeys() {
        const std::unique_ptr<Opened> opened = TableRow(kWindows).open();
        for (QAbstractButton* button : opened->Window().findChildren<QAbstractButton*>()) {
            if (button->shortcut().isEmpty()) continue;
            QVERIFY2(button->toolTip().contains(button->shortcut().toString()),
                     qPrintable(button->objectName() + QLatin1Char(' ') + button->toolTip()));
        }
    }

    void thePlaceFieldsAreNamedApart_data() { TableRows(kFields); }
    void thePlaceFieldsAreNamedApart() {
        const FieldCase& c = TableRow(kFields);
        OpenedMain w;
        auto* control = w.main.findChild<QWidget*>(QLatin1String(c.control));
        QVERIFY(control);
        QCOMPARE(Said(control), QString::fromUtf8(c.said));
        const QString convention = Said(control, QAccessible::Description);
        QCOMPARE(convention.isEmpty(), !c.convention);
        if (!c.convention) return;
        QVERIFY2(convention.contains(QString::fromUtf8(c.convention)), qPrintable(convention));
        QCOMPARE(control->toolTip(), convention);
    }

    void theSixDegreeFieldsHaveSixNames() {
        OpenedMain w;
        QSet<QString> names;
        for (const char* control :
             {"TxtDegLon", "TxtMinLon", "TxtSecLon", "TxtDegLat", "TxtMinLat", "TxtSecLat"})
            names.insert(Said(w.main.findChild<QWidget*>(QLatin1String(control))));
        QCOMPARE(names.size(), 6);
        // Each list's entry is still read, as its value.
        QCOMPARE(Said(w.main.findChild<QWidget*>("TxtMinLat"), QAccessible::Value), "56");
        QCOMPARE(Said(w.main.findChild<QWidget*>("TxtDegLon"), QAccessible::Value), "5");
    }

    // The Hijri date, a label Tab never reaches, is said with the rule's list.
    void theHijriDateIsSaidWithItsRule() {
        OpenedMain w;
        const auto said = [&] {
            return Said(w.main.findChild<QWidget*>("CboHijriRule"), QAccessible::Description);
        };
        const QString hijri = w.main.findChild<QLabel*>("LblHijri")->text();
        QVERIFY(hijri.contains(QStringLiteral("1426")));
        QCOMPARE(said(), hijri);
        SetField(w.main, "TxtYear", "2006");
        QVERIFY(said().contains(QStringLiteral("1427")));
    }

    void theReportIsNamedForItsBodyAndDate_data() { TableRows(kReports); }
    void theReportIsNamedForItsBodyAndDate() {
        const ReportCase& c = TableRow(kReports);
        RecordingMessenger messages;
        ui::FrmMain main(messages);
        ui::ShowReferenceInstant(main);
        SetField(main, "TxtDay", c.day);
        QStringList said;
        main.SetModalRunner([&](QDialog& dialog) {
            said << Said(dialog.findChild<QTextEdit*>(QStringLiteral("TxtOut")));
        });
        for (const char* press : c.presses) Button(main, press)->click();
        QCOMPARE(said.size(), int(c.presses.size()));
        QCOMPARE(said.back(), QString::fromUtf8(c.said));
    }

    // The report window, kept between commands, is in the tree only while it shows.
    void aHiddenWindowIsNotAnnounced() {
        OpenedMain w;
        QVERIFY(w.Show());
        ui::FrmCalc& report = w.main.ReportWindow();
        report.Prepare();  // its native window exists, hidden
        QVERIFY(report.windowHandle());
        QCOMPARE(AnnouncedWindows(), QList<QObject*>{&w.main});
        report.show();
        QVERIFY(QTest::qWaitForWindowExposed(&report));
        QVERIFY(AnnouncedWindows().contains(&report));
        report.hide();
        QCOMPARE(AnnouncedWindows(), QList<QObject*>{&w.main});
    }

    void eachKeyActsOnlyWhereItMeansSomething_data() { TableRows(kKeys); }
    void eachKeyActsOnlyWhereItMeansSomething() {
        const KeyCase& c = TableRow(kKeys);
        const std::unique_ptr<Opened> opened = WindowNamed(c.window).open();
        QWidget& window = opened->Window();
        QVERIFY(opened->Show());
        QWidget* target = &window;
        if (c.focus) {
            target = window.findChild<QWidget*>(QLatin1String(c.focus));
            QVERIFY2(target, c.focus);
            target->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(),
                         target->focusProxy() ? target->focusProxy() : target);
        }
        if (QWidget* focus = QApplication::focusWidget(); focus && focus->window() == &window)
            target = focus;
        QTest::keyClick(target, c.key.key(), c.key.keyboardModifiers());
        // A command's key presses it as a click does, which takes a moment to release.
        if (!c.done.isEmpty() && c.done != QStringList{"closed"})
            QTRY_VERIFY(!opened->done.isEmpty());
        else
            QTest::qWait(300);
        if (!window.isVisible()) opened->Record(QStringLiteral("closed"));
        QCOMPARE(opened->done, c.done);
        QVERIFY(opened->messages.messages.empty());
    }

    // Ctrl+C copies the selected text, or the whole report when nothing is selected,
    // without the marks that show signed numbers in the right-to-left lines.
    void ctrlCCopiesFromTheReport() {
        OpenedReport w;
        const QString text = QStringLiteral("خط الطول بالدرج\r\nLon = -5.66666666666667");
        w.calc.SetReport(text, ui::FrmCalc::Edge::Left);
        QVERIFY(w.Show());
        auto* box = w.calc.findChild<QTextEdit*>(QStringLiteral("TxtOut"));
        QWidget* exit = Button(w.calc, "CmdExit");
        const struct {
            QWidget* focus;
            int from, to;  // the selection in the box's text, none when equal
            QString copied;
        } cases[] = {
            {box, 0, 0, text},
            {exit, 0, 0, text},
            {box, 0, 8, QStringLiteral("خط الطول")},
            {exit, 0, 8, QStringLiteral("خط الطول")},
        };
        for (const auto& c : cases) {
            QApplication::clipboard()->setText(QStringLiteral("before"));
            QTextCursor cursor(box->document());
            cursor.setPosition(c.from);
            cursor.setPosition(c.to, QTextCursor::KeepAnchor);
            box->setTextCursor(cursor);
            c.focus->setFocus(Qt::TabFocusReason);
            QTest::keyClick(c.focus, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QApplication::clipboard()->text(), c.copied);
        }
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::ReadAloudTest)
#include "ui_read_aloud_test.moc"
