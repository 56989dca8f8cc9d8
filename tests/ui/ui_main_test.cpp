// The main window: its commands against the command line's reports, the zone's rewriting and
// proposal, the day limit, refused input, faults, signs typed, the Hijri row, About, dragging.
#include <ctime>

#include "Artwork.h"
#include "FrmApropos.h"
#include "UiSupport.h"
#include "hijri/HijriRules.h"
#include "report/Preface.h"

namespace zerin::test {

namespace {

struct Window : MainWindowUnderTest {
    QComboBox* List(const QString& name) { return main.findChild<QComboBox*>(name); }
    QWidget* Typing(const QString& name) { return TypingField(main, name); }
    // Replaces a field's text as a user does: focus, select all, type.
    void Type(const QString& name, const QString& text) {
        QWidget* typing = Typing(name);
        typing->setFocus(Qt::TabFocusReason);
        QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
        test::Type(typing, text);
    }
    bool BodiesEnabled() {
        for (int k = 0; k < 9; ++k)
            if (!Button(main, ("CmdPln" + std::to_string(k)).c_str())->isEnabled()) return false;
        return true;
    }
    QString Hijri() { return main.findChild<QLabel*>("LblHijri")->text(); }
    void Date(const QString& year, const QString& month, const QString& day) {
        Set("TxtYear", year), Set("TxtMonth", month), Set("TxtDay", day);
    }
};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpLook(); }

    void startsWithDefaultsClockAndDisabledBodies() {
        const std::time_t before = std::time(nullptr);
        RecordingMessenger messages;
        ui::FrmMain main(messages);
        std::tm today{};
        localtime_r(&before, &today);
        const char* place = "TxtDegLon TxtMinLon TxtSecLon TxtDegLat TxtMinLat TxtSecLat TxtZone";
        QCOMPARE(Texts(main, place) + ui::FieldTextByName(main, "TxtEteRegl"), "5 40 0 32 56 0 00");
        QCOMPARE(ui::FieldTextByName(main, "TxtYear"), QString::number(today.tm_year + 1900));
        QCOMPARE(ui::FieldTextByName(main, "TxtMonth"), QString::number(today.tm_mon + 1));
        QVERIFY(main.findChild<QRadioButton*>("OptW")->isChecked());
        QVERIFY(main.findChild<QRadioButton*>("OptN")->isChecked());
        QVERIFY(Button(main, "CmdSun")->isEnabled() && !Button(main, "CmdPln8")->isEnabled());
    }

    // TxtOut holds exactly what `zerin report sun` writes for the same fields.
    void sunReportIsTheCommandLines_data() { DataFileRows("main-sun.txt"); }
    void sunReportIsTheCommandLines() {
        const DataFileRow c = DataRow();
        Window w;
        for (const QString& side : c["sides"].split(' ', Qt::SkipEmptyParts)) w.Choose(side);
        for (const QString& field : c["typed"].split(';', Qt::SkipEmptyParts))
            w.Type(field.section('=', 0, 0).trimmed(), field.section('=', 1));
        w.Press("CmdSun");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        QCOMPARE(w.shown.texts.front(), Q(w.Cli("sun").out));
        QCOMPARE(int(w.messages.messages.size()), c["messages"].toInt());
        QVERIFY(w.BodiesEnabled());
    }

    void moonAndPlanetsAreTheCommandLines() {
        Window w;
        w.Press("CmdSun");
        w.Set("TxtHour", "21");  // the Moon and planets use their own instant
        const FieldTexts bodies{{"CmdPln0", "moon"}, {"CmdPln1", "mercury"}, {"CmdPln5", "saturn"}};
        for (const auto& [button, body] : bodies) {
            const CliResult cli = w.Cli(body);
            w.Press(button);
            QCOMPARE(w.shown.texts.back(), Q(cli.out));
        }
        QVERIFY(w.messages.messages.empty());
        w.Set("TxtHour", "12");
        w.Press("CmdPln0");
        QCOMPARE(w.shown.texts.back(), Q(Golden("report-moon-2005-06-17-1200.txt")));
    }

    void theDayLimitIsTheSunsAndShown_data() { DataFileRows("main-day-limit.txt"); }
    void theDayLimitIsTheSunsAndShown() {
        const DataFileRow c = DataRow();
        Window w;
        if (c["button"] != "CmdSun") w.Press("CmdSun");
        w.Date(c["year"], c["month"], c["day"]);
        const CliResult cli = w.Cli(c["body"].toStdString());
        w.Press(c["button"]);
        QCOMPARE(w.Field("TxtDay"), c["after"]);
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
    }

    // An entry picked from the open list (mouse or keyboard) proposes the longitude's zone;
    // degrees typed afterwards keep the zone.
    void anEntryPickedFromTheOpenListProposesAZone_data() {
        QTest::addColumn<bool>("mouse");
        QTest::newRow("mouse") << true;
        QTest::newRow("keyboard in the open list") << false;
    }
    void anEntryPickedFromTheOpenListProposesAZone() {
        QFETCH(bool, mouse);
        Window w;
        QVERIFY(ShowActive(w.main));
        w.Choose("OptE");
        w.Set("TxtMinLon", "49");  // Mecca, 39 49 E: zone -3
        QComboBox* list = w.List("TxtDegLon");
        list->setFocus();
        list->showPopup();
        QAbstractItemView* view = list->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        if (mouse) {
            view->scrollTo(list->model()->index(39, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->visualRect(list->model()->index(39, 0)).center());
        } else {
            view->setCurrentIndex(list->model()->index(38, 0));
            QTest::keyClick(view, Qt::Key_Down);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QCOMPARE(w.Field("TxtDegLon"), QStringLiteral("39"));
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-3"));
        w.Set("TxtZone", "-2");
        w.Type("TxtDegLon", "40");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-2"));
    }

    void aSignChoosesTheSide_data() { DataFileRows("main-signs.txt"); }
    void aSignChoosesTheSide() {
        const DataFileRow c = DataRow();
        Window w;
        w.Choose(c["before"]);
        w.Set("TxtZone", c["before"] == "OptE" ? "-1" : "1");
        w.Type(c["field"], c["typed"]);
        QCOMPARE(w.Field(c["field"]), c["after"]);
        QVERIFY(w.Checked(c["side"]));
        QCOMPARE(w.Field("TxtZone"), c["zone"]);
    }

    // A text not wholly a number is marked and named in the line reading the place as computed.
    void otherTextIsMarkedAndNamed() {
        Window w;
        w.Type("TxtDegLat", "34,5");
        auto* line = w.main.findChild<QLabel*>("LblPlaceReading");
        QVERIFY(line->text().startsWith(QStringLiteral("٣٥° ٢٦′ شمالاً، ٥° ٤٠′ غرباً")));
        w.Type("TxtMinLat", "3x");
        QVERIFY(w.List("TxtMinLat")->property("problem").toBool());
        QVERIFY(!w.List("TxtSecLat")->property("problem").toBool());
        QVERIFY(line->text().endsWith(QStringLiteral("خط العرض، الدقيقة «3x» يُقرأ ٣")));
        w.Set("TxtYear", "");
        QVERIFY(w.Typing("TxtYear")->property("problem").toBool());
        w.Type("TxtMinLat", "3");
        QVERIFY(!w.List("TxtMinLat")->property("problem").toBool());
    }

    void enterRunsTheSun_data() { DataFileRows("main-keys.txt"); }
    void enterRunsTheSun() {
        const DataFileRow c = DataRow();
        const bool preface = c["shows"] == "the preface";
        const Qt::Key key = QKeySequence(c["key"])[0].key();
        QVERIFY(key == Qt::Key_Return || key == Qt::Key_Enter);
        Window w;
        QVERIFY(ShowActive(w.main));
        w.Set("TxtZone", "2");
        QWidget* focus = w.List(c["focus"]) ? w.List(c["focus"]) : w.Typing(c["focus"]);
        focus->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focus, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        QCOMPARE(w.shown.texts.back(),
                 preface ? Q(std::string(PrefaceText())) : Q(w.Cli("sun").out));
        QCOMPARE(w.BodiesEnabled(), !preface);
    }

    // Every number field lays its text out left to right (the minus before the digits).
    void numberFieldsReadLeftToRight() {
        Window w;
        QVERIFY(ShowActive(w.main));
        for (const auto& [name, option] : FieldOptionNames()) {
            auto* edit = qobject_cast<QLineEdit*>(w.Typing(name.c_str()));
            w.Set(name.c_str(), "-12");
            edit->setCursorPosition(0);
            const int beforeMinus = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
            edit->setCursorPosition(1);
            QVERIFY2(beforeMinus < edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x(),
                     name.c_str());
        }
    }

    void eastAndWestRewriteTheZone_data() { DataFileRows("main-zone-side.txt"); }
    void eastAndWestRewriteTheZone() {
        const DataFileRow c = DataRow();
        Window w;
        w.Set("TxtZone", c["zone"]);
        w.Choose(c["side"]);
        QCOMPARE(w.Field("TxtZone"), c["after"]);
    }

    void pickingALongitudeProposesAZone_data() { DataFileRows("main-zone-proposed.txt"); }
    void pickingALongitudeProposesAZone() {
        const DataFileRow c = DataRow();
        Window w;
        w.Choose(c["side"]);
        w.Set("TxtMinLon", c["minutes"]);
        w.Set("TxtZone", "99");
        // The user picks the entry with the keyboard: one step down from the one above.
        QComboBox* list = w.List("TxtDegLon");
        list->setCurrentIndex(c["degrees"].toInt() - 1);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(w.Field("TxtZone"), c["zone"]);
    }

    void refusedInputIsNamedAndNothingIsComputed_data() { DataFileRows("main-refused.txt"); }
    void refusedInputIsNamedAndNothingIsComputed() {
        const DataFileRow c = DataRow();
        Window w;
        const bool sunFirst = c["button"] != "CmdSun";
        if (sunFirst) w.Press("CmdSun");
        SetFields(w.main, c["fields"]);
        w.Press(c["button"]);
        QCOMPARE(w.shown.kinds.size(), sunFirst ? 1u : 0u);
        QCOMPARE(w.messages.messages.size(), 1u);
        const QString message = Q(w.messages.messages[0].arabic);
        QVERIFY2(message.contains(c["message"]), qPrintable(message));
    }

    // A fault: its message, then the report up to it; after the Sun's, no Moon nor planets.
    void faultsShowTheirMessageThenThePartialReport() {
        Window w;
        w.Set("TxtYear", "1e200");
        const CliResult sun = w.Cli("sun");
        QCOMPARE(sun.status, 1);
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.back(), Q(sun.out));
        QVERIFY(!w.BodiesEnabled());
        w.Set("TxtYear", "2005");
        w.Press("CmdSun");
        w.Set("TxtDegLat", "1.5e308");
        const CliResult moon = w.Cli("moon");
        QCOMPARE(moon.status, 1);
        w.Press("CmdPln0");
        QCOMPARE(w.messages.messages.size(), 2u);
        QVERIFY(w.messages.messages[1].arabic.find("GeocLat") != std::string::npos);
        QCOMPARE(w.shown.texts.back(), Q(moon.out));
    }

    // The preface, then the Sun's report replacing it, each titled for its subject; About modal.
    void prefaceThenAComputationReplacesIt() {
        Window w;
        w.Press("CmdInfo");
        QCOMPARE(w.shown.texts.back(), Q(Golden("preface.txt")));
        QCOMPARE(w.shown.titles.back(), QStringLiteral("مقدمة البرنامج"));
        QVERIFY(!w.BodiesEnabled());
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.back(), Q(Golden("report-sun-2005-06-17-1200.txt")));
        QCOMPARE(w.shown.titles.back(), QStringLiteral("تقرير الشمس"));
        w.Press("CmdApropos");
        QCOMPARE(w.shown.kinds.back(), QStringLiteral("FrmApropos"));
    }

    // The real modal report window: Escape closes it, its text kept; Exit closes the main one.
    void reportWindowIsModalAndEscapeClosesIt() {
        RecordingMessenger messages;
        ui::FrmMain main(messages);
        ui::ShowReferenceInstant(main);
        main.show();
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* report = qobject_cast<ui::FrmCalc*>(QApplication::activeModalWidget());
            if (!report) return;
            seen = report->Text();
            QTest::keyClick(report, Qt::Key_Escape);
        });
        Button(main, "CmdSun")->click();  // returns when the report window is closed
        QCOMPARE(seen, Q(Golden("report-sun-2005-06-17-1200.txt")));
        QCOMPARE(main.ReportWindow().Text(), seen);
        Button(main, "CmdExit")->click();
        QVERIFY(!main.isVisible());
    }

    void aPressAndAMotionOnTheFreeSurfaceMoveTheWindow_data() { DataFileRows("main-drags.txt"); }
    void aPressAndAMotionOnTheFreeSurfaceMoveTheWindow() {
        const DataFileRow c = DataRow();
        const QPoint motion = c["dx"] == "drag distance - 1"
                                  ? QPoint(QApplication::startDragDistance() - 1, 0)
                                  : QPoint(c["dx"].toInt(), c["dy"].toInt());
        const Qt::MouseButton button = c["button"] == "right" ? Qt::RightButton : Qt::LeftButton;
        Window w;
        ui::FrmApropos about;
        QWidget& window = c["window"] == "About" ? static_cast<QWidget&>(about) : w.main;
        window.move(300, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* target = Get<QWidget>(window, c["where"]);
        const QPoint start = window.pos(), press(5, 5);
        const QPoint after = c["moves"] == "yes" ? start + motion : start;
        QTest::mousePress(target, button, {}, press);
        QTest::mouseMove(target, press + motion);
        QTest::mouseRelease(target, button, {}, press + motion);
        QCOMPARE(window.pos(), after);
        QVERIFY(window.isVisible());  // a press on the logo released outside it does not close
        QTest::mouseMove(target, press + motion + QPoint(30, 30));  // no longer following
        QCOMPARE(window.pos(), after);
    }

    // About's captions whole; a click on the logo or Escape closes it.
    void aClickOnTheLogoOrEscapeClosesTheAboutWindow() {
        ui::FrmApropos clicked, escaped;
        clicked.show(), escaped.show();
        QVERIFY(QTest::qWaitForWindowExposed(&clicked));
        QCOMPARE(Get<QWidget>(clicked, "ImgLogo")->size(), QSize(540, 440));
        const std::vector<QStringList> captions = DataFile("about-captions.txt");
        for (std::size_t k = 1; k < captions.size(); ++k) {
            auto* label = Get<QLabel>(clicked, captions[k][0]);
            QCOMPARE(label->text(), captions[k][1]);
            QVERIFY2(label->sizeHint().width() <= label->width() &&
                         label->sizeHint().height() <= label->height(),
                     qPrintable(captions[k][0]));
        }
        QTest::mouseClick(clicked.findChild<QWidget*>("ImgLogo"), Qt::LeftButton);
        QCOMPARE(clicked.result(), int(QDialog::Accepted));
        QTest::keyClick(&escaped, Qt::Key_Escape);
        QVERIFY(!clicked.isVisible() && !escaped.isVisible());
    }

    void theLogoHasTheSameStarsOnEveryRun() { QCOMPARE(ui::LogoArtwork(), ui::LogoArtwork()); }

    // Every month's first day of 1 to 1600 AH, both ways: the tabular civil calendar is Qt's.
    void tabularCivilEqualsQtEveryMonth() {
        const QCalendar qt(QCalendar::System::IslamicCivil);
        for (int year = 1; year <= 1600; ++year)
            for (int month = 1; month <= 12; ++month) {
                const DayNumber start = TabularDayNumber({year, month, 1}, HijriEpoch::Civil);
                QCOMPARE(qt.dateFromParts(year, month, 1).toJulianDay(), start);
                const QCalendar::YearMonthDay before =
                    qt.partsFromDate(QDate::fromJulianDay(start - 1));
                const HijriDate ours = TabularDateOf(start - 1, HijriEpoch::Civil);
                if (year > 1 || month > 1)
                    QVERIFY(before.year == ours.year && before.month == ours.month &&
                            before.day == ours.day);
            }
    }

    // The Hijri row follows the date and each rule (outside Umm al-Qura's table the tabular
    // calendar, named); the month's report.
    void theHijriRowFollowsTheFieldsAndTheRule() {
        Window w;
        w.Date("2025", "3", "1");
        QCOMPARE(w.Hijri(), QStringLiteral("1 رمضان 1446 هـ"));
        w.Set("TxtDay", "30");  // 1 Shawwal: Ramadan 1446 had 29 days
        QCOMPARE(w.Hijri(), QStringLiteral("1 شوال 1446 هـ"));
        w.Date("2025", "2", "30");
        QVERIFY(w.Hijri().startsWith(QStringLiteral("—")));
        QVERIFY(!Button(w.main, "CmdMonth")->isEnabled());
        w.Date("600", "1", "1");
        QCOMPARE(w.Hijri(), QStringLiteral("— قبل الهجرة"));
        w.Date("1800", "1", "1");
        QCOMPARE(
            w.Hijri(),
            QStringLiteral("4 شعبان 1214 هـ (التقويم الحسابي : خارج جدول أم القرى 1300-1600 هـ)"));
        w.Date("2025", "3", "1");
        const QCalendar::YearMonthDay qt =
            QCalendar(QCalendar::System::IslamicCivil).partsFromDate(QDate(2025, 3, 1));
        const QString month = QString::fromUtf8(HijriMonthName(qt.month));
        const auto day = [&](int d) {
            return QStringLiteral("%1 %2 %3 هـ").arg(d).arg(month).arg(qt.year);
        };
        QComboBox* rules = w.main.findChild<QComboBox*>("CboHijriRule");
        const QString expected[] = {day(qt.day), day(qt.day + 1),
                                    QStringLiteral("1 رمضان 1446 هـ")};
        for (int k = 1; k <= 3; ++k) {  // the civil and astronomical epochs, computed at Mecca
            rules->setCurrentIndex(k);
            QCOMPARE(w.Hijri(), expected[k - 1]);
        }
        rules->setCurrentIndex(4);  // sighting: the place's fields count
        w.Set("TxtDegLat", "95");
        QVERIFY(w.Hijri().startsWith(QStringLiteral("—")));
        rules->setCurrentIndex(0);
        w.Set("TxtDegLat", "32");
        w.Date("2024", "12", "10");  // Jumada II 1446 by Umm al-Qura
        w.Press("CmdMonth");
        QCOMPARE(w.shown.texts.back(), Q(RunCli({"report", "month", "--hijri", "1446-06"}).out));
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::MainWindowTest)
#include "ui_main_test.moc"
