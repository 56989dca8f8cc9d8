// What a screen reader reads through Qt's accessibility interface (served to Orca over AT-SPI):
// names in Tab order, hidden windows left out, the fields' and reports' names; each command key
// where it acts and where it must not; no Latin letter shown but the allowed ones.
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
};

// The windows by name: main, report, timetable (at Rabat; without a table: a zone of half an
// hour), crescent map, About.
std::unique_ptr<Opened> Open(const QString& kind) {
    auto o = std::make_unique<Opened>();
    Opened* r = o.get();
    const auto dialog = [r](QDialog& d) {
        r->done << "dialog " + d.objectName();
        r->dialogTexts.push_back(ShownTexts(d));
    };
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

// The texts with a Latin letter left once the exceptions are taken out.
QStringList Untranslated(const QStringList& texts) {
    QStringList left;
    static const std::vector<QStringList> allowed = DataFile("latin-allowed.txt");
    for (QString text : texts) {
        for (std::size_t k = 1; k < allowed.size(); ++k)
            text.remove(QRegularExpression(allowed[k][1]));
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
    void everyControlTheKeyboardReachesHasANameInTabOrder_data() {
        DataFileRows("read-aloud-windows.txt");
    }
    void everyControlTheKeyboardReachesHasANameInTabOrder() {
        const DataFileRow c = DataRow();
        const std::unique_ptr<Opened> o = Open(c["name"]);
        QWidget& window = *o->window;
        QVERIFY(ShowActive(*o->window));
        QStringList nameless;
        QList<QWidget*> tree;
        Walk(QAccessible::queryAccessibleInterface(&window), window, tree, nameless);
        QVERIFY2(tree.size() >= c["controls"].toInt(), qPrintable(Names(tree).join(' ')));
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

    // What every window, dialog and the search list show is Arabic but the Latin letters allowed,
    // signs isolated.
    void noLatinLetterButTheAllowed_data() { DataFileRows("read-aloud-windows.txt"); }
    void noLatinLetterButTheAllowed() {
        const std::unique_ptr<Opened> o = Open(DataRow()["name"]);
        QVERIFY(ShowActive(*o->window));
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

    void signedNumbersAreIsolated_data() { DataFileRows("read-aloud-isolates.txt"); }
    void signedNumbersAreIsolated() {
        const DataFileRow c = DataRow();
        const QString shown = ShownTexts(*Open(c["window"])->window).join('\n');
        QVERIFY2(shown.contains(c["shown"]), qPrintable(shown));
    }

    void thePlaceFieldsAreNamedApart_data() { DataFileRows("read-aloud-fields.txt"); }
    void thePlaceFieldsAreNamedApart() {
        const DataFileRow c = DataRow();
        const std::unique_ptr<Opened> o = Open("main");
        QWidget* control = Get<QWidget>(*o->window, c["name"]);
        QCOMPARE(Said(control), c["said"]);
        if (!c["value"].isEmpty()) QCOMPARE(Said(control, QAccessible::Value), c["value"]);
        const QString convention = Said(control, QAccessible::Description);
        QVERIFY2(convention.contains(c["convention"]), qPrintable(convention));
        QCOMPARE(convention.isEmpty(), c["convention"].isEmpty());
        if (!convention.isEmpty()) QCOMPARE(control->toolTip(), convention);
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

    void theReportIsNamedForItsBodyAndDate_data() { DataFileRows("read-aloud-reports.txt"); }
    void theReportIsNamedForItsBodyAndDate() {
        const DataFileRow c = DataRow();
        MainWindowUnderTest w;
        w.Set("TxtDay", c["day"]);
        QStringList said;
        w.main.SetModalRunner(
            [&](QDialog& dialog) { said << Said(Get<QTextEdit>(dialog, "TxtOut")); });
        const QStringList presses = c["presses"].split(' ');
        for (const QString& press : presses) Button(w.main, press)->click();
        QCOMPARE(said.size(), presses.size());
        QCOMPARE(said.back(), c["said"]);
    }

    // The report window, kept between commands, is in the tree only while it shows.
    void aHiddenWindowIsNotAnnounced() {
        const std::unique_ptr<Opened> o = Open("main");
        QVERIFY(ShowActive(*o->window));
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

    void eachKeyActsOnlyWhereItMeansSomething_data() { DataFileRows("read-aloud-keys.txt"); }
    void eachKeyActsOnlyWhereItMeansSomething() {
        const DataFileRow c = DataRow();
        const QStringList done = c["done"].isEmpty() ? QStringList() : QStringList{c["done"]};
        const QKeySequence key(c["key"]);
        QVERIFY(key.count() == 1 && key[0].key() != Qt::Key_unknown);
        const std::unique_ptr<Opened> o = Open(c["window"]);
        QWidget& window = *o->window;
        QVERIFY(ShowActive(*o->window));
        QWidget* target = &window;
        if (!c["focus"].isEmpty()) {
            target = Get<QWidget>(window, c["focus"]);
            target->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(QApplication::focusWidget(),
                         target->focusProxy() ? target->focusProxy() : target);
        }
        if (QWidget* focus = QApplication::focusWidget(); focus && focus->window() == &window)
            target = focus;
        QTest::keyClick(target, key[0].key(), key[0].keyboardModifiers());
        // A command's key presses it as a click does, which takes a moment to release.
        if (!done.isEmpty() && done != QStringList{"closed"})
            QTRY_VERIFY(!o->done.isEmpty());
        else
            QTest::qWait(300);
        if (!window.isVisible()) o->done << QStringLiteral("closed");
        QCOMPARE(o->done, done);
        QVERIFY(o->messages.messages.empty());
    }

    // Ctrl+C in the text or on the exit copies the selection, or the whole report, without marks.
    void ctrlCCopiesFromTheReport() {
        const std::unique_ptr<Opened> o = Open("report");
        const QString text = QStringLiteral("خط الطول بالدرج\r\nLon = -5.66666666666667");
        static_cast<ui::FrmCalc&>(*o->window).SetReport(text, ui::FrmCalc::Edge::Left);
        QVERIFY(ShowActive(*o->window));
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
