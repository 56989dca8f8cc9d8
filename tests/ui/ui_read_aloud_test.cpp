// What a screen reader reads through Qt's accessibility interface (served to Orca over AT-SPI):
// names in Tab order, hidden windows left out, the fields' and reports' names; each command key
// where it acts and where it must not; no Latin letter shown but the allowed ones.
#include <QAccessible>
#include <QClipboard>
#include <QRegularExpression>
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

// A control the keyboard reaches: it takes the focus itself (a list's field passes it on) and
// shows; a label is read as its text.
bool Reachable(const QWidget* widget, const QWidget& window) {
    return widget != &window && widget->focusPolicy() != Qt::NoFocus && !widget->focusProxy() &&
           !qobject_cast<const QLabel*>(widget) && widget->isVisibleTo(&window);
}

QString Said(QObject* object, QAccessible::Text what = QAccessible::Name) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
    return node ? node->text(what) : QStringLiteral("<not in the tree>");
}

// Depth first through the accessibility tree: the reachable controls, and the nameless ones.
void Walk(QAccessibleInterface* node, const QWidget& window, QList<QWidget*>& controls,
          QStringList& nameless) {
    if (!node) return;
    auto* widget = qobject_cast<QWidget*>(node->object());
    if (widget && Reachable(widget, window) && !controls.contains(widget)) controls << widget;
    const QAccessible::State state = node->state();
    if (state.focusable && !state.invisible && node->role() != QAccessible::StaticText &&
        node->text(QAccessible::Name).trimmed().isEmpty())
        nameless << (node->object() ? node->object()->objectName() : QStringLiteral("?"));
    for (int k = 0; k < node->childCount(); ++k) Walk(node->child(k), window, controls, nameless);
}

QList<QWidget*> TreeControls(QWidget& window, QStringList* nameless = nullptr) {
    QList<QWidget*> found;
    QStringList none;
    Walk(QAccessible::queryAccessibleInterface(&window), window, found,
         nameless ? *nameless : none);
    return found;
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
    for (int k = 0; k < application->childCount(); ++k) windows << application->child(k)->object();
    return windows;
}

// A window with what its commands did: "dialog FrmCalc", "path PDF (*.pdf)", "opened X", "copied".
struct Opened {
    RecordingMessenger messages;
    QTemporaryDir folder;
    QStringList done;
    std::vector<QStringList> dialogTexts;  // what each dialog shown showed
    std::unique_ptr<QWidget> window;
    void Dialog(QDialog& dialog) {
        done << QStringLiteral("dialog ") + dialog.objectName();
        dialogTexts.push_back(ShownTexts(dialog));
    }
    bool Show() {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
};

// The windows by name: main, report, timetable (at Rabat; without a table: a zone of half an
// hour), crescent map, About.
std::unique_ptr<Opened> Open(const QByteArray& kind) {
    auto o = std::make_unique<Opened>();
    Opened* r = o.get();
    const auto dialog = [r](QDialog& d) { r->Dialog(d); };
    const auto opener = [r](const QString& path) {
        return r->done << "opened " + QFileInfo(path).fileName(), true;
    };
    if (kind == "main") {  // the report window kept hidden, with its keys, after a report
        auto* main = new ui::FrmMain(o->messages);
        o->window.reset(main);
        ui::ShowReferenceInstant(*main);
        main->SetModalRunner(dialog);
        ui::FrmCalc& report = main->ReportWindow();
        report.SetSaveFolders({o->folder.path()});
        report.SetOpener(opener);
        QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, main,
                         [r] { r->done << QStringLiteral("copied"); });
        report.show();
        report.hide();
    } else if (kind == "report") {
        auto* calc = new ui::FrmCalc(o->messages);
        o->window.reset(calc);
        calc->SetSaveFolders({o->folder.path()});
        calc->SetOpener(opener);
        calc->SetReport(Q(Golden("report-sun-2005-06-17-1200.txt")), ui::FrmCalc::Edge::Left);
    } else if (kind.startsWith("timetable")) {
        services::FieldOptions rabat;
        auto& f = rabat.fields;
        f.TxtDegLon = "6", f.TxtMinLon = "50", f.TxtDegLat = "33", f.TxtMinLat = "58";
        f.TxtZone = kind == "timetable" ? "0" : "5.5", f.TxtYear = "2026", f.TxtMonth = "3";
        auto* table = new ui::FrmTimetable(o->messages, rabat);
        o->window.reset(table);
        table->SetModalRunner(dialog);
        table->SetPathChooser([r](const QString&, const QString& filter) {
            return r->done << "path " + filter, QString();
        });
    } else if (kind == "crescent map") {
        static const CrescentMapGrid grid = CrescentMapOf(2024, 3, 10, false);
        auto* map = new ui::FrmCarte(o->messages, grid, nullptr,
                                     QStringList{QStringLiteral(ZERIN_SOURCE_UI "/../data")});
        o->window.reset(map);
        map->SetPathChooser(
            [r](QWidget*, const QString&) { return r->done << "path png", QString(); });
    } else {
        o->window = std::make_unique<ui::FrmApropos>();
    }
    return o;
}

// clang-format off
struct WindowCase { const char* name; int leastControls; };  // reached by the keyboard, at least
const WindowCase kWindows[] = {
    {"main", 39}, {"report", 3}, {"timetable", 17},
    {"timetable without a table", 17}, {"crescent map", 4}, {"About", 0}};

// A key pressed on a control (none: the window's focus) and what it does ("closed": the window).
struct KeyCase { const char *name, *window, *focus; QKeyCombination key; QStringList done; };
const QKeyCombination kSave(Qt::CTRL | Qt::Key_S), kPrint(Qt::CTRL | Qt::Key_P),
    kSavePdf(Qt::CTRL | Qt::SHIFT | Qt::Key_S), kHelp(Qt::Key_F1), kEscape(Qt::Key_Escape),
    kCopy(Qt::CTRL | Qt::Key_C);
const KeyCase kKeys[] = {
    {"main: F1 in a field", "main", "TxtZone", kHelp, {"dialog FrmCalc"}}, {"main: F1 on a button", "main", "CmdSun", kHelp, {"dialog FrmCalc"}},
    {"main: Ctrl+S", "main", "TxtYear", kSave, {}}, {"main: Ctrl+P", "main", "TxtYear", kPrint, {}},
    {"main: Ctrl+Shift+S", "main", nullptr, kSavePdf, {}}, {"main: Escape leaves it open", "main", "TxtDegLon", kEscape, {}},
    {"main: Ctrl+S saves no kept report", "main", "CmdSun", kSave, {}}, {"main: Ctrl+C on a button", "main", "CmdSun", kCopy, {}},
    {"report: Ctrl+S in the text", "report", "TxtOut", kSave, {"opened SysReg.txt"}},
    {"report: Ctrl+S on the exit", "report", "CmdExit", kSave, {"opened SysReg.txt"}},
    {"report: F1", "report", "TxtOut", kHelp, {}}, {"report: Ctrl+P", "report", "TxtOut", kPrint, {}},
    {"report: Escape closes", "report", "TxtOut", kEscape, {"closed"}},
    {"timetable: Ctrl+P prints", "timetable", "GrdTimes", kPrint, {"dialog DlgPrint"}},
    {"timetable: Ctrl+Shift+S saves the PDF", "timetable", "CboAsr", kSavePdf, {"path PDF (*.pdf)"}},
    {"timetable: Ctrl+S", "timetable", "GrdTimes", kSave, {}}, {"timetable: F1", "timetable", "GrdTimes", kHelp, {}},
    {"timetable: Escape closes", "timetable", "TxtPlaceName", kEscape, {"closed"}},
    {"no table: Ctrl+P", "timetable without a table", "CboAsr", kPrint, {}},
    {"no table: Ctrl+Shift+S", "timetable without a table", nullptr, kSavePdf, {}},
    {"map: Ctrl+S saves", "crescent map", "OptYallop", kSave, {"path png"}}, {"map: Ctrl+P", "crescent map", "OptYallop", kPrint, {}},
    {"map: F1", "crescent map", nullptr, kHelp, {}}, {"map: Escape closes", "crescent map", "CmdSave", kEscape, {"closed"}},
    {"About: F1", "About", nullptr, kHelp, {}}, {"About: Ctrl+S", "About", nullptr, kSave, {}},
    {"About: Escape closes", "About", nullptr, kEscape, {"closed"}}};

// A field's name said, a list's value, and the sign convention its description and tooltip say.
struct FieldCase { const char *name, *said, *value, *convention; };
const char* const kWest = "غرب غرينتش موجب، وشرقه سالب";
const char* const kNorth = "شمال خط الاستواء موجب، وجنوبه سالب";
const FieldCase kFields[] = {
    {"TxtDegLon", "خط الطول، الدرج", "5", kWest}, {"TxtMinLon", "خط الطول، الدقيقة", "40", kWest},
    {"TxtSecLon", "خط الطول، الثواني", "0", kWest}, {"TxtDegLat", "خط العرض، الدرج", "32", kNorth},
    {"TxtMinLat", "خط العرض، الدقيقة", "56", kNorth}, {"TxtSecLat", "خط العرض، الثواني", "0", kNorth},
    {"OptW", "غرب +", nullptr, "غرب غرينتش موجب"}, {"OptS", "جنوب -", nullptr, "وجنوبه سالب"},
    {"TxtZone", "المنطقة الزمنية", nullptr, "شرق غرينتش سالبة"},
    {"TxtEteRegl", "تعديل التوقيت الصيفي", "0", "تُقدَّم بها الساعة صيفاً"},
    {"TxtYear", "السنة", nullptr, nullptr}, {"TxtMonth", "الشهر", nullptr, nullptr},
    {"TxtDay", "اليوم", nullptr, nullptr}, {"TxtHour", "الساعة", nullptr, nullptr},
    {"TxtMin", "الدقيقة", nullptr, nullptr}, {"TxtSec", "الثانية", nullptr, nullptr},
};

// A command of the main window and the name of the report it shows.
struct ReportCase { const char *name, *day; std::vector<const char*> presses; const char* said; };
const ReportCase kReports[] = {
    {"the Sun", "17", {"CmdSun"}, "تقرير الشمس، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"the Sun on a day it limits", "31", {"CmdSun"}, "تقرير الشمس، التاريخ 30/6/2005، الوقت 12:0:0"},
    {"the Moon", "17", {"CmdSun", "CmdPln0"}, "تقرير القمر، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"Saturn", "2", {"CmdSun", "CmdPln5"}, "تقرير زحل، التاريخ 2/6/2005، الوقت 12:0:0"},
    {"the Qibla", "17", {"CmdQibla"}, "تقرير القبلة، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"the crescent", "17", {"CmdHilal"}, "تقرير الهلال مساءً، التاريخ 17/6/2005، الوقت 12:0:0"},
    {"the preface", "17", {"CmdInfo"}, "مقدمة البرنامج: تنبيه هام"},
};

// Signed numbers in the windows' lines, each isolated with its sign to read in logical order.
struct IsolateCase { const char *name, *window, *shown; };
const IsolateCase kIsolates[] = {
    {"the zone's convention", "main", "(مكة المكرمة \u2066-3\u2069)، وغربه موجبة"},
    {"the place's clock", "main", "التوقيت: \u2066UTC+00:00\u2069"},
    {"the clock of the timetable", "timetable", "ساعة النافذة الرئيسية \u2066UTC+00:00\u2069"},
    {"the zones the timetable takes", "timetable without a table", "من \u2066-14\u2069 إلى 12"},
    {"a zone of half an hour", "timetable without a table", "مثل \u2066+05:30\u2069 اختر"},
};

// The Latin letters an Arabic window may show, each with its reason; any other is untranslated.
struct LatinCase { const char *why, *pattern; };
const LatinCase kLatinAllowed[] = {
    {"a key's name, isolated", "\u2066(Ctrl\\+)?(Shift\\+)?(Esc|F\\d+|[A-Z])\u2069"},
    {"a file's kind or name", "\\b(CSV|PDF|PNG|ICS|SysReg\\.txt|gazetteer\\.txt)\\b"},
    {"an offset from universal time", "UTC[+-]\\d\\d:\\d\\d"},
    {"the places' source and its licence", "GeoNames \\(geonames\\.org\\)\\nرخصة CC BY 4\\.0"},
    {"the Latin names a search takes, in its example", "^TxtPlaceSearch: .*Fès$|^TxtZoneSearch: .*Riyadh…$"},
    {"the method's name on the command line, in its tooltip", "^CboMethod: zerin times --method [a-z-]+$"},
    {"a zone's identifier in the zone list", "^LstZones: .* — \u2066[A-Za-z_/-]+\u2069$|^LstZones: \u2066[A-Za-z_/-]+\u2069$"},
    {"a place without an Arabic name, in the zone list", "^LstZones: [A-Za-z ]+،"},
    {"a Latin place name, isolated, in the search list", "^LstPlaceMatches: .*\u2066[^\u2069]+\u2069"},
    {"the user's own files and folders", "/[^ ]+"},
};
// clang-format on

// The texts with a Latin letter left once the exceptions are taken out.
QStringList Untranslated(const QStringList& texts) {
    QStringList left;
    for (QString text : texts) {
        for (const LatinCase& allowed : kLatinAllowed)
            text.remove(QRegularExpression(QString::fromUtf8(allowed.pattern)));
        for (const QChar c : text.section(QStringLiteral(": "), 1))
            if (c.isLetter() && c.script() == QChar::Script_Latin) {
                left << text;
                break;
            }
    }
    return left;
}

}  // namespace

class ReadAloudTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        ui::SetUpScreenReading();
        SetUpLook();
    }

    // The tree holds every control the keyboard reaches, named, in Tab order; nothing nameless
    // inside them; a command's key in its tooltip.
    void everyControlTheKeyboardReachesHasANameInTabOrder_data() { TableRows(kWindows); }
    void everyControlTheKeyboardReachesHasANameInTabOrder() {
        const WindowCase& c = TableRow(kWindows);
        const std::unique_ptr<Opened> o = Open(c.name);
        QWidget& window = *o->window;
        QVERIFY(o->Show());
        QStringList nameless;
        const QList<QWidget*> tree = TreeControls(window, &nameless);
        QVERIFY2(tree.size() >= c.leastControls, qPrintable(Names(tree).join(' ')));
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1String(", "))));
        QList<QWidget*> chain;
        for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
            if (Reachable(w, window)) chain << w;
        QCOMPARE(Names(tree), Names(chain));
        for (QWidget* widget : tree)
            QVERIFY2(!Said(widget).trimmed().isEmpty(), qPrintable(widget->objectName()));
        QVERIFY(!Said(&window).isEmpty());
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
            QVERIFY2(button->shortcut().isEmpty() ||
                         button->toolTip().contains(button->shortcut().toString()),
                     qPrintable(button->objectName() + QLatin1Char(' ') + button->toolTip()));
    }

    // What every window, dialog and the search list show is Arabic but kLatinAllowed, signs
    // isolated.
    void noLatinLetterButTheAllowed_data() { TableRows(kWindows); }
    void noLatinLetterButTheAllowed() {
        const std::unique_ptr<Opened> o = Open(TableRow(kWindows).name);
        QVERIFY(o->Show());
        QStringList texts = ShownTexts(*o->window);
        if (auto* table = qobject_cast<ui::FrmTimetable*>(o->window.get()); table && table->Job()) {
            for (const char* command : {"CmdIcs", "CmdChart"}) Button(*table, command)->click();
            QCOMPARE(int(o->dialogTexts.size()), 2);
            texts << o->dialogTexts[0] << o->dialogTexts[1];
        }
        if (auto* main = qobject_cast<ui::FrmMain*>(o->window.get())) {
            qputenv("ZERIN_GAZETTEER", QByteArray(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt");
            ui::FrmMain searching(o->messages);
            for (const char* typed : {"Sidney", "fes", "الرباط"}) {
                searching.Search().Field()->clear();
                Type(searching.Search().Field(), QString::fromUtf8(typed));
                for (const QString& label : searching.Search().Shown())
                    texts << QStringLiteral("LstPlaceMatches: ") + label;
            }
            qunsetenv("ZERIN_GAZETTEER");
            QVERIFY(texts.filter(QStringLiteral("LstPlaceMatches: ")).size() > 10);
            Q_UNUSED(main);
        }
        QVERIFY2(Untranslated(texts).isEmpty(), qPrintable(Untranslated(texts).join('\n')));
        for (const QString& text : texts) QVERIFY2(SignsIsolated(text), qPrintable(text));
    }

    void signedNumbersAreIsolated_data() { TableRows(kIsolates); }
    void signedNumbersAreIsolated() {
        const IsolateCase& c = TableRow(kIsolates);
        const QString shown = ShownTexts(*Open(c.window)->window).join('\n');
        QVERIFY2(shown.contains(QString::fromUtf8(c.shown)), qPrintable(shown));
    }

    void thePlaceFieldsAreNamedApart_data() { TableRows(kFields); }
    void thePlaceFieldsAreNamedApart() {
        const FieldCase& c = TableRow(kFields);
        const std::unique_ptr<Opened> o = Open("main");
        QWidget* control = Get<QWidget>(*o->window, c.name);
        QCOMPARE(Said(control), QString::fromUtf8(c.said));
        if (c.value) QCOMPARE(Said(control, QAccessible::Value), QString::fromUtf8(c.value));
        const QString convention = Said(control, QAccessible::Description);
        QCOMPARE(convention.isEmpty(), !c.convention);
        QVERIFY2(!c.convention || convention.contains(QString::fromUtf8(c.convention)),
                 qPrintable(convention));
        if (c.convention) QCOMPARE(control->toolTip(), convention);
    }

    // The Hijri date, a label Tab never reaches, is said with the rule's list.
    void theHijriDateIsSaidWithItsRule() {
        const std::unique_ptr<Opened> o = Open("main");
        const auto said = [&] {
            return Said(Get<QWidget>(*o->window, "CboHijriRule"), QAccessible::Description);
        };
        QVERIFY(said().contains(QStringLiteral("1426")));
        QCOMPARE(said(), Get<QLabel>(*o->window, "LblHijri")->text());
        SetField(*o->window, "TxtYear", "2006");
        QVERIFY(said().contains(QStringLiteral("1427")));
    }

    void theReportIsNamedForItsBodyAndDate_data() { TableRows(kReports); }
    void theReportIsNamedForItsBodyAndDate() {
        const ReportCase& c = TableRow(kReports);
        MainWindowUnderTest w;
        w.Set("TxtDay", c.day);
        QStringList said;
        w.main.SetModalRunner(
            [&](QDialog& dialog) { said << Said(Get<QTextEdit>(dialog, "TxtOut")); });
        for (const char* press : c.presses) Button(w.main, press)->click();
        QCOMPARE(said.size(), int(c.presses.size()));
        QCOMPARE(said.back(), QString::fromUtf8(c.said));
    }

    // The report window, kept between commands, is in the tree only while it shows.
    void aHiddenWindowIsNotAnnounced() {
        const std::unique_ptr<Opened> o = Open("main");
        QVERIFY(o->Show());
        ui::FrmCalc& report = static_cast<ui::FrmMain&>(*o->window).ReportWindow();
        report.Prepare();  // its native window exists, hidden
        QVERIFY(report.windowHandle());
        QCOMPARE(AnnouncedWindows(), QList<QObject*>{o->window.get()});
        report.show();
        QVERIFY(QTest::qWaitForWindowExposed(&report));
        QVERIFY(AnnouncedWindows().contains(&report));
        report.hide();
        QCOMPARE(AnnouncedWindows(), QList<QObject*>{o->window.get()});
    }

    void eachKeyActsOnlyWhereItMeansSomething_data() { TableRows(kKeys); }
    void eachKeyActsOnlyWhereItMeansSomething() {
        const KeyCase& c = TableRow(kKeys);
        const std::unique_ptr<Opened> o = Open(c.window);
        QWidget& window = *o->window;
        QVERIFY(o->Show());
        QWidget* target = &window;
        if (c.focus) {
            target = Get<QWidget>(window, c.focus);
            target->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(),
                         target->focusProxy() ? target->focusProxy() : target);
        }
        if (QWidget* focus = QApplication::focusWidget(); focus && focus->window() == &window)
            target = focus;
        QTest::keyClick(target, c.key.key(), c.key.keyboardModifiers());
        // A command's key presses it as a click does, which takes a moment to release.
        if (!c.done.isEmpty() && c.done != QStringList{"closed"})
            QTRY_VERIFY(!o->done.isEmpty());
        else
            QTest::qWait(300);
        if (!window.isVisible()) o->done << QStringLiteral("closed");
        QCOMPARE(o->done, c.done);
        QVERIFY(o->messages.messages.empty());
    }

    // Ctrl+C in the text or on the exit copies the selection, or the whole report, without marks.
    void ctrlCCopiesFromTheReport() {
        const std::unique_ptr<Opened> o = Open("report");
        const QString text = QStringLiteral("خط الطول بالدرج\r\nLon = -5.66666666666667");
        static_cast<ui::FrmCalc&>(*o->window).SetReport(text, ui::FrmCalc::Edge::Left);
        QVERIFY(o->Show());
        auto* box = Get<QTextEdit>(*o->window, "TxtOut");
        for (QWidget* focus : {static_cast<QWidget*>(box), Get<QWidget>(*o->window, "CmdExit")})
            for (const int to : {0, 8}) {
                QApplication::clipboard()->setText(QStringLiteral("before"));
                QTextCursor cursor(box->document());
                cursor.setPosition(to, QTextCursor::KeepAnchor);
                box->setTextCursor(cursor);
                focus->setFocus(Qt::TabFocusReason);
                QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
                QCOMPARE(QApplication::clipboard()->text(), to ? text.left(8) : text);
            }
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::ReadAloudTest)
#include "ui_read_aloud_test.moc"
