// The main window: start state, the commands against the command line's reports, the
// zone rewriting and proposal, the day limit, refused input, faults and the preface.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <ctime>

#include "FrmMain.h"
#include "Preface.h"
#include "TestSupport.h"
#include "UiSupport.h"

namespace zerin::test {

class MainWindowTest : public QObject {
    Q_OBJECT

    // One window per test, with its messages and the dialogs it showed recorded.
    struct Window : MainWindowUnderTest {
        QComboBox* List(const char* name) { return main.findChild<QComboBox*>(name); }
        // The widget that takes typing for a field: a list's text, or the field itself.
        QWidget* Typing(const char* name) {
            if (QComboBox* list = List(name)) return list->lineEdit();
            return main.findChild<QWidget*>(QLatin1String(name));
        }
        // The widget that holds the focus for a field: a list, or the field itself.
        QWidget* Focus(const char* name) {
            if (QComboBox* list = List(name)) return list;
            return main.findChild<QWidget*>(QLatin1String(name));
        }
        // Shows the window and makes it the active one, so that focus and Tab work.
        bool ShowActive() {
            main.show();
            main.activateWindow();
            return QTest::qWaitForWindowActive(&main);
        }
        // Replaces a field's text as a user does: focus, select all, type.
        void Type(const char* name, const QString& text) {
            QWidget* typing = Typing(name);
            typing->setFocus(Qt::TabFocusReason);
            QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
            TypeText(typing, text);
        }
        void Choose(const char* option) {
            QTest::mouseClick(main.findChild<QRadioButton*>(QLatin1String(option)), Qt::LeftButton);
        }
        bool BodiesEnabled() {
            for (int k = 0; k < 9; ++k)
                if (!Button(main, ("CmdPln" + std::to_string(k)).c_str())->isEnabled())
                    return false;
            return true;
        }
    };

    static QString Q(const std::string& s) { return QString::fromStdString(s); }

    // Key presses for each character (QTest::keyClicks takes ASCII only).
    static void TypeText(QWidget* widget, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
    }

  private slots:
    void initTestCase() { SetUpLook(); }

    void startsWithListsDefaultsClockAndDisabledBodies() {
        const std::time_t before = std::time(nullptr);
        RecordingMessenger messages;
        ui::FrmMain main(messages);
        std::tm today{};
        localtime_r(&before, &today);

        const std::pair<const char*, int> lists[] = {
            {"TxtDegLon", 180}, {"TxtMinLon", 59}, {"TxtSecLon", 59}, {"TxtDegLat", 90},
            {"TxtMinLat", 59},  {"TxtSecLat", 59}, {"TxtEteRegl", 2}};
        for (const auto& [name, last] : lists) {
            auto* list = main.findChild<QComboBox*>(name);
            QVERIFY2(list, name);
            QCOMPARE(list->count(), last + 1);
            QCOMPARE(list->itemText(0), QStringLiteral("0"));
            QCOMPARE(list->itemText(last), QString::number(last));
            QVERIFY(list->isEditable());
        }
        const std::pair<const char*, const char*> defaults[] = {
            {"TxtDegLon", "5"},  {"TxtMinLon", "40"}, {"TxtSecLon", "0"}, {"TxtDegLat", "32"},
            {"TxtMinLat", "56"}, {"TxtSecLat", "0"},  {"TxtZone", "0"},   {"TxtEteRegl", "0"}};
        for (const auto& [name, text] : defaults) QCOMPARE(FieldText(main, name), text);
        QCOMPARE(FieldText(main, "TxtYear"), QString::number(today.tm_year + 1900));
        QCOMPARE(FieldText(main, "TxtMonth"), QString::number(today.tm_mon + 1));
        for (const char* clock : {"TxtDay", "TxtHour", "TxtMin", "TxtSec"})
            QVERIFY(QRegularExpression("^[1-9]?[0-9]$").match(FieldText(main, clock)).hasMatch());

        QVERIFY(main.findChild<QRadioButton*>("OptW")->isChecked());
        QVERIFY(main.findChild<QRadioButton*>("OptN")->isChecked());
        QVERIFY(Button(main, "CmdSun")->isEnabled());
        const char* const captions[] = {"القمر", "عطارد",   "الزهرة", "المريخ", "المشتري",
                                        "زحل",   "أورانوس", "نبتون",  "بلوطون"};
        for (int k = 0; k < 9; ++k) {
            QPushButton* body = Button(main, ("CmdPln" + std::to_string(k)).c_str());
            QVERIFY(!body->isEnabled());
            QCOMPARE(body->text(), QString::fromUtf8(captions[k]));
        }
        QCOMPARE(Button(main, "CmdSun")->text(), QStringLiteral("الشمس"));
        QCOMPARE(Button(main, "CmdInfo")->text(), QStringLiteral("تنبيه هام"));
        QCOMPARE(Button(main, "CmdApropos")->text(), QStringLiteral("حول البرنامج"));
        QCOMPARE(Button(main, "CmdExit")->text(), QStringLiteral("خروج"));
        QCOMPARE(main.layoutDirection(), Qt::RightToLeft);
    }

    // TxtOut holds exactly what `zerin report sun` writes for the same fields.
    void sunReportIsTheCommandLines_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<int>("messages");
        QTest::newRow("defaults, 17 June 2005 noon") << QStringList{} << QStringList{} << 0;
        QTest::newRow("East, South, zone -2, summer 1")
            << QStringList{"OptE", "OptS"}
            << QStringList{"TxtZone", "-2",        "TxtEteRegl", "1",         "TxtDegLat",
                           "33",      "TxtMinLat", "52",         "TxtDegLon", "151"}
            << 0;
        QTest::newRow("latitude 70: no night, the message then the end line")
            << QStringList{} << QStringList{"TxtDegLat", "70"} << 1;
        QTest::newRow("odd texts: blanks, exponent, hexadecimal")
            << QStringList{}
            << QStringList{"TxtDegLon", " 1 2", "TxtMinLon", "3E1", "TxtHour", "&HA"} << 0;
    }
    void sunReportIsTheCommandLines() {
        QFETCH(QStringList, options);
        QFETCH(QStringList, fields);
        QFETCH(int, messages);
        Window w;
        for (const QString& option : options) w.Choose(option.toLatin1().constData());
        for (qsizetype k = 0; k + 1 < fields.size(); k += 2)
            w.Set(fields[k].toLatin1().constData(), fields[k + 1].toUtf8().constData());
        const CliResult cli = w.Cli("sun");

        w.Press("CmdSun");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        QCOMPARE(w.shown.texts.front(), Q(cli.out));
        QVERIFY(w.shown.texts.front().startsWith(
            QStringLiteral("******************* حساب التقويم اليوليوزي الفلكي")));
        QCOMPARE(int(w.messages.messages.size()), messages);
        QVERIFY(w.BodiesEnabled());
    }

    void moonAndPlanetsAreTheCommandLines() {
        Window w;
        w.Press("CmdSun");
        const std::pair<const char*, const char*> bodies[] = {{"CmdPln0", "moon"},
                                                              {"CmdPln1", "mercury"},
                                                              {"CmdPln5", "saturn"},
                                                              {"CmdPln8", "pluto"}};
        w.Set("TxtHour", "21");  // the Moon and planets use their own instant
        for (const auto& [button, body] : bodies) {
            const CliResult cli = w.Cli(body);
            QCOMPARE(cli.status, 0);
            w.Press(button);
            QCOMPARE(w.shown.texts.back(), Q(cli.out));
        }
        QCOMPARE(w.shown.kinds.size(), std::size(bodies) + 1);
        QVERIFY(w.messages.messages.empty());
        // The golden Moon of 17 June 2005 at noon, through the window.
        w.Set("TxtHour", "12");
        w.Press("CmdPln0");
        QCOMPARE(w.shown.texts.back(), Q(Golden("report-moon-2005-06-17-1200.txt")));
    }

    // Only the Sun limits the day; the limit shows in TxtDay.
    void sunLimitsTheDayAndShowsIt_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("after");
        QTest::newRow("leap February") << "2000"
                                       << "2"
                                       << "30"
                                       << "29";
        QTest::newRow("1900 is not leap") << "1900"
                                          << "2"
                                          << "30"
                                          << "28";
        QTest::newRow("April") << "2005"
                               << "4"
                               << "31"
                               << "30";
        QTest::newRow("December keeps 31") << "2005"
                                           << "12"
                                           << "31"
                                           << "31";
        QTest::newRow("month 13 left alone") << "2005"
                                             << "13"
                                             << "40"
                                             << "40";
    }
    void sunLimitsTheDayAndShowsIt() {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QString, after);
        Window w;
        w.Set("TxtYear", year.toLatin1().constData());
        w.Set("TxtMonth", month.toLatin1().constData());
        w.Set("TxtDay", day.toLatin1().constData());
        const CliResult cli = w.Cli("sun");
        w.Press("CmdSun");
        QCOMPARE(w.Field("TxtDay"), after);
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
    }

    void moonUsesTheDayAsTyped() {
        Window w;
        w.Press("CmdSun");
        w.Set("TxtMonth", "4");
        w.Set("TxtDay", "31");
        const CliResult cli = w.Cli("moon");
        w.Press("CmdPln0");
        QCOMPARE(w.Field("TxtDay"), QStringLiteral("31"));
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
    }

    // Typing degrees never touches the zone, however the field is left: Tab, a click in
    // another field, Return or a click on the Sun (whose report then uses the zone).
    void typedDegreesKeepTheZone_data() {
        QTest::addColumn<QString>("leave");
        QTest::addColumn<QString>("degrees");
        QTest::newRow("Tab") << "Tab"
                             << "3";
        QTest::newRow("click on the latitude minutes") << "click TxtMinLat"
                                                       << "3";
        QTest::newRow("click on the year") << "click TxtYear"
                                           << "39";
        QTest::newRow("Return") << "Return"
                                << "3";
        QTest::newRow("click on the Sun") << "click CmdSun"
                                          << "39";
    }
    void typedDegreesKeepTheZone() {
        QFETCH(QString, leave);
        QFETCH(QString, degrees);
        Window w;
        QVERIFY(w.ShowActive());
        w.Choose("OptE");
        w.Type("TxtZone", "-1");
        w.Type("TxtDegLon", degrees);
        if (leave == "Tab") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), w.Focus("TxtMinLon"));
        } else if (leave == "Return") {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        } else if (leave == "click CmdSun") {
            w.Press("CmdSun");
        } else {
            const QByteArray other = leave.mid(6).toLatin1();
            QTest::mouseClick(w.Typing(other), Qt::LeftButton, {}, QPoint(5, 5));
            QCOMPARE(QApplication::focusWidget(), w.Focus(other));
        }
        QCOMPARE(w.Field("TxtDegLon"), degrees);
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-1"));
        if (!w.shown.texts.empty()) {
            QVERIFY(w.shown.texts.back().contains(QStringLiteral("\r\nZone = -1\r\n")));
            QCOMPARE(w.shown.texts.back(), Q(w.Cli("sun").out));
        }
    }

    // An entry picked from the open list with the mouse, or with the keyboard inside the
    // open list, proposes the zone of the longitude.
    void anEntryPickedFromTheOpenListProposesAZone_data() {
        QTest::addColumn<bool>("mouse");
        QTest::newRow("mouse") << true;
        QTest::newRow("keyboard in the open list") << false;
    }
    void anEntryPickedFromTheOpenListProposesAZone() {
        QFETCH(bool, mouse);
        Window w;
        QVERIFY(w.ShowActive());
        w.Choose("OptE");
        w.Set("TxtMinLon", "49");  // Mecca, 39 49 E: zone -3
        w.Set("TxtZone", "0");
        QComboBox* list = w.List("TxtDegLon");
        list->setFocus();
        list->showPopup();
        QAbstractItemView* view = list->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        if (mouse) {
            const QModelIndex entry = list->model()->index(39, 0);
            view->scrollTo(entry);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->visualRect(entry).center());
        } else {
            view->setCurrentIndex(list->model()->index(38, 0));
            QTest::keyClick(view, Qt::Key_Down);
            QTest::keyClick(view, Qt::Key_Return);
        }
        QVERIFY(!view->isVisible());
        QCOMPARE(w.Field("TxtDegLon"), QStringLiteral("39"));
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-3"));
        // The next typed degrees, left with Tab, keep the proposed zone.
        QTRY_COMPARE(QApplication::focusWidget(), w.Focus("TxtDegLon"));
        w.Set("TxtZone", "-2");
        w.Type("TxtDegLon", "40");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-2"));
    }

    // Tab goes through the window in its reading order, and Shift+Tab back.
    void tabFollowsTheReadingOrder() {
        Window w;
        QVERIFY(w.ShowActive());
        w.Press("CmdSun");  // enables the Moon and the planets
        const char* const order[] = {
            "TxtDegLon", "TxtMinLon", "TxtSecLon", "OptW",       "TxtDegLat",    "TxtMinLat",
            "TxtSecLat", "OptN",      "TxtZone",   "TxtEteRegl", "TxtYear",      "TxtMonth",
            "TxtDay",    "TxtHour",   "TxtMin",    "TxtSec",     "CboHijriRule", "CmdMonth",
            "CmdSun",    "CmdPln0",   "CmdPln1",   "CmdPln2",    "CmdPln3",      "CmdPln4",
            "CmdPln5",   "CmdPln6",   "CmdPln7",   "CmdPln8",    "CmdHilal",     "OptSoir",
            "CmdCarte",  "CmdQibla",  "CmdInfo",   "CmdApropos", "CmdTimetable", "CmdExit",
            "TxtDegLon"};
        w.Typing(order[0])->setFocus(Qt::TabFocusReason);
        for (std::size_t k = 1; k < std::size(order); ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), w.Focus(order[k]));
        }
        for (std::size_t k = std::size(order) - 1; k-- > 0;) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            QCOMPARE(QApplication::focusWidget(), w.Focus(order[k]));
        }
    }

    // Typing the place as it reads, with Tab between the fields, fills them in that order.
    void typingThePlaceWithTabFillsItInOrder() {
        Window w;
        QVERIFY(w.ShowActive());
        w.Choose("OptE");
        w.Typing("TxtDegLon")->setFocus(Qt::TabFocusReason);
        const auto typeAndTab = [](const QString& text) {
            QWidget* field = QApplication::focusWidget();
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Tab);
        };
        for (const char* text : {"39", "49", "30"}) typeAndTab(text);
        QCOMPARE(QApplication::focusWidget(), w.Focus("OptE"));  // the chosen option
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        for (const char* text : {"21", "25", "10"}) typeAndTab(text);
        QCOMPARE(QApplication::focusWidget(), w.Focus("OptN"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);  // South, at its left
        QVERIFY(w.main.findChild<QRadioButton*>("OptS")->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        typeAndTab("-3");
        const std::pair<const char*, const char*> expected[] = {
            {"TxtDegLon", "39"}, {"TxtMinLon", "49"}, {"TxtSecLon", "30"}, {"TxtDegLat", "21"},
            {"TxtMinLat", "25"}, {"TxtSecLat", "10"}, {"TxtZone", "-3"}};
        for (const auto& [name, text] : expected) QCOMPARE(w.Field(name), QString(text));
        QCOMPARE(QApplication::focusWidget(), w.Focus("TxtEteRegl"));
        w.Press("CmdSun");
        QVERIFY(w.shown.texts.back().startsWith(QStringLiteral(
            "******************* حساب التقويم اليوليوزي الفلكي ***********************\r\n\r\n"
            "-39.825 = Lon ")));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("\r\n-21.4194444444444 = Lat ")));
    }

    // Return or Enter in a field runs the Sun; on a focused command it presses that one.
    void enterRunsTheSun_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Return in the degrees list") << "TxtDegLon" << int(Qt::Key_Return) << "sun";
        QTest::newRow("Return in the zone") << "TxtZone" << int(Qt::Key_Return) << "sun";
        QTest::newRow("Enter in the summer list") << "TxtEteRegl" << int(Qt::Key_Enter) << "sun";
        QTest::newRow("Return in the summer list") << "TxtEteRegl" << int(Qt::Key_Return) << "sun";
        QTest::newRow("Enter in the degrees list") << "TxtDegLon" << int(Qt::Key_Enter) << "sun";
        QTest::newRow("Enter in the seconds") << "TxtSec" << int(Qt::Key_Enter) << "sun";
        QTest::newRow("Return on East") << "OptE" << int(Qt::Key_Return) << "sun";
        QTest::newRow("Return on the preface") << "CmdInfo" << int(Qt::Key_Return) << "preface";
    }
    void enterRunsTheSun() {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(QString, shown);
        Window w;
        QVERIFY(w.ShowActive());
        QVERIFY(Button(w.main, "CmdSun")->isDefault());
        w.Set("TxtDegLon", "39");
        w.Set("TxtZone", "2");
        QWidget* focus = w.Focus(field.toLatin1().constData());
        focus->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focus, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        if (shown == "sun") {
            QCOMPARE(w.shown.texts.back(), Q(w.Cli("sun").out));
            QVERIFY(w.BodiesEnabled());
        } else {
            QCOMPARE(w.shown.texts.back(), Q(std::string(PrefaceText())));
        }
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("2"));
    }

    // Every number field lays its text out left to right (the minus before the digits)
    // with its alignment kept.
    void numberFieldsReadLeftToRight() {
        Window w;
        QVERIFY(w.ShowActive());
        for (const auto& [name, option] : FieldOptionNames()) {
            auto* edit = qobject_cast<QLineEdit*>(w.Typing(name.c_str()));
            QVERIFY2(edit, name.c_str());
            w.Set(name.c_str(), "-12");
            QCOMPARE(edit->layoutDirection(), Qt::LeftToRight);
            const bool list = w.List(name.c_str()) != nullptr;
            QCOMPARE(edit->alignment() & Qt::AlignHorizontal_Mask,
                     list ? Qt::AlignRight : Qt::AlignHCenter);
            edit->setCursorPosition(0);
            const int beforeMinus = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
            edit->setCursorPosition(1);
            const int beforeDigits = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
            QVERIFY2(beforeMinus < beforeDigits, name.c_str());
        }
        // East writes the zone as "-1", shown with its minus first.
        w.Set("TxtZone", "1");
        w.Choose("OptE");
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-1"));
        QCOMPARE(w.Typing("TxtZone")->layoutDirection(), Qt::LeftToRight);
    }

    // Arabic-Indic digits typed in the fields compute the same report as ASCII digits.
    void arabicDigitsTypedInTheFields() {
        Window w;
        QVERIFY(w.ShowActive());
        w.Choose("OptE");
        const std::pair<const char*, const char*> typed[] = {
            {"TxtDegLon", "٣٩"}, {"TxtMinLon", "٤٩"}, {"TxtDegLat", "۲۱"}, {"TxtMinLat", "٢٥"},
            {"TxtZone", "٣"},    {"TxtYear", "٢٠٠٥"}, {"TxtMonth", "٦"},   {"TxtDay", "١٧"},
            {"TxtHour", "١١٫٥"}, {"TxtMin", "٠"},     {"TxtSec", "٠"}};
        for (const auto& [name, text] : typed) w.Type(name, QString::fromUtf8(text));
        QCOMPARE(w.Field("TxtZone"), QString::fromUtf8("٣"));
        w.Choose("OptW");
        w.Choose("OptE");  // East rewrites the zone it read: 3 becomes -3
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-3"));
        w.Press("CmdSun");
        const CliResult ascii = RunCli(
            {"report",    "sun",     "--east",    "--lon-deg", "39",     "--lon-min", "49",
             "--lat-deg", "21",      "--lat-min", "25",        "--zone", "-3",        "--year",
             "2005",      "--month", "6",         "--day",     "17",     "--hour",    "11.5",
             "--minute",  "0",       "--second",  "0"});
        QCOMPARE(ascii.status, 0);
        QCOMPARE(w.shown.texts.back(), Q(ascii.out));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("-39.8166666666667 = Lon")));
    }

    void eastAndWestRewriteTheZone_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("after");
        QTest::newRow("1 East") << "1"
                                << "OptE"
                                << "-1";
        QTest::newRow("-1 West") << "-1"
                                 << "OptW"
                                 << "1";
        QTest::newRow("-2 East stays") << "-2"
                                       << "OptE"
                                       << "-2";
        QTest::newRow("03 West") << "03"
                                 << "OptW"
                                 << "3";
        QTest::newRow("empty West") << ""
                                    << "OptW"
                                    << "0";
        QTest::newRow("0 East is not -0") << "0"
                                          << "OptE"
                                          << "0";
        QTest::newRow("2.5 East") << "2.5"
                                  << "OptE"
                                  << "-2.5";
        QTest::newRow("text West") << "abc"
                                   << "OptW"
                                   << "0";
        QTest::newRow("overflowing number left as typed") << "1e999"
                                                          << "OptE"
                                                          << "1e999";
    }
    void eastAndWestRewriteTheZone() {
        QFETCH(QString, zone);
        QFETCH(QString, option);
        QFETCH(QString, after);
        Window w;
        w.Set("TxtZone", zone.toLatin1().constData());
        w.Choose(option.toLatin1().constData());
        QCOMPARE(w.Field("TxtZone"), after);
    }

    void eastWestRoundTripAndTheEastFlag() {
        Window w;
        w.Set("TxtZone", "1");
        w.Choose("OptE");
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-1"));
        w.Choose("OptW");
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("1"));
        w.Choose("OptE");
        w.Choose("OptS");
        const CliResult cli = w.Cli("sun");  // --east --south
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("-5.66666666666667 = Lon ")));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("-32.9333333333333 = Lat ")));
    }

    // Picking a degree in the longitude list proposes a zone; the rules are not mirrors.
    void pickingALongitudeProposesAZone_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("degrees");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("zone");
        QTest::newRow("15 East") << "OptE" << 15 << "0"
                                 << "-1";
        QTest::newRow("15 West") << "OptW" << 15 << "0"
                                 << "0";
        QTest::newRow("30 West") << "OptW" << 30 << "0"
                                 << "1";
        QTest::newRow("37.5 West") << "OptW" << 37 << "30"
                                   << "2";
        QTest::newRow("7 East") << "OptE" << 7 << "0"
                                << "0";
        // Half a degree: 7 degrees 30 minutes East is the edge of zone -1.
        QTest::newRow("7.5 East") << "OptE" << 7 << "30"
                                  << "-1";
        QTest::newRow("22.5 West") << "OptW" << 22 << "30"
                                   << "1";
        QTest::newRow("180 East") << "OptE" << 180 << "0"
                                  << "-12";
    }
    void pickingALongitudeProposesAZone() {
        QFETCH(QString, option);
        QFETCH(int, degrees);
        QFETCH(QString, minutes);
        QFETCH(QString, zone);
        Window w;
        w.Choose(option.toLatin1().constData());
        w.Set("TxtMinLon", minutes.toLatin1().constData());
        w.Set("TxtSecLon", "0");
        w.Set("TxtZone", "99");
        // The user picks the entry with the keyboard: one step down from the one above.
        auto* list = w.main.findChild<QComboBox*>("TxtDegLon");
        list->setCurrentIndex(degrees - 1);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentText(), QString::number(degrees));
        QCOMPARE(w.Field("TxtZone"), zone);
    }

    void gregorianGapIsRefusedAndNothingShown() {
        Window w;
        w.Set("TxtYear", "1582");
        w.Set("TxtMonth", "10");
        w.Set("TxtDay", "10");
        w.Press("CmdSun");
        QVERIFY(w.shown.kinds.empty());
        QVERIFY(!w.BodiesEnabled());
        QCOMPARE(w.messages.messages.size(), 1u);
        QCOMPARE(w.messages.messages[0].arabic,
                 std::string("لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من "
                             "التاريخ اليوليوزي للغريغوري إبتداءا من 15 أكتوبر 1582 ميلادية "));
    }

    void fieldsOutOfRangeAreNamedAndNothingIsComputed() {
        Window w;
        w.Press("CmdSun");
        w.Set("TxtZone", "40000");
        w.Press("CmdPln3");
        QCOMPARE(w.shown.kinds.size(), 1u);  // the Sun's report only
        QCOMPARE(w.messages.messages.size(), 1u);
        QVERIFY(QString::fromStdString(w.messages.messages[0].arabic)
                    .contains(QStringLiteral("المنطقة الزمنية")));
        w.Set("TxtZone", "0");
        w.Set("TxtEteRegl", "-1e9");
        w.Press("CmdSun");
        QCOMPARE(w.shown.kinds.size(), 1u);
        QVERIFY(QString::fromStdString(w.messages.messages[1].arabic)
                    .contains(QStringLiteral("تعديل التوقيت الصيفي")));
        w.Set("TxtEteRegl", "0");
        w.Set("TxtYear", "1e999");
        w.Press("CmdSun");
        QCOMPARE(w.shown.kinds.size(), 1u);
        QCOMPARE(w.messages.messages.size(), 3u);
        QVERIFY(QString::fromStdString(w.messages.messages[2].arabic)
                    .contains(QStringLiteral("السنة")));
    }

    // A fault: its message, then the report up to the fault; the program goes on.
    void faultShowsItsMessageThenThePartialReport() {
        Window w;
        w.Press("CmdSun");
        w.Set("TxtDegLat", "1.5e308");
        const CliResult cli = w.Cli("moon");
        QCOMPARE(cli.status, 1);
        w.Press("CmdPln0");
        QCOMPARE(w.messages.messages.size(), 1u);
        QVERIFY(w.messages.messages[0].arabic.find("GeocLat") != std::string::npos);
        QCOMPARE(w.shown.texts.back(), Q(cli.out));

        w.Set("TxtDegLat", "32");
        const CliResult whole = w.Cli("moon");
        QCOMPARE(whole.status, 0);
        w.Press("CmdPln0");
        QCOMPARE(w.messages.messages.size(), 1u);
        QCOMPARE(w.shown.texts.back(), Q(whole.out));
    }

    void sunFaultLeavesTheBodiesDisabled() {
        Window w;
        w.Set("TxtYear", "1e200");
        const CliResult cli = w.Cli("sun");
        QCOMPARE(cli.status, 1);
        w.Press("CmdSun");
        QCOMPARE(w.messages.messages.size(), 1u);
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
        QVERIFY(!w.BodiesEnabled());
    }

    void prefaceThenAComputationReplacesIt() {
        Window w;
        w.Press("CmdInfo");
        QCOMPARE(w.shown.texts.back(), Q(std::string(PrefaceText())));
        QCOMPARE(w.shown.texts.back(), Q(Golden("preface.txt")));
        QVERIFY(!w.BodiesEnabled());
        const CliResult cli = w.Cli("sun");
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
        QCOMPARE(w.shown.texts.back(), Q(Golden("report-sun-2005-06-17-1200.txt")));
        w.Press("CmdSun");  // a second Sun starts again with the Julian-day banner
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
    }

    void aboutIsShownModally() {
        Window w;
        w.Press("CmdApropos");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmApropos"});
    }

    // The real modal display: the report window is the active modal window while the
    // command runs, and Escape closes it; the window keeps its text.
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
        QVERIFY(!main.ReportWindow().isVisible());
        QCOMPARE(main.ReportWindow().Text(), seen);
    }

    void exitClosesTheWindow() {
        Window w;
        w.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.main));
        w.Press("CmdExit");
        QVERIFY(!w.main.isVisible());
    }

    // A press on the free surface (a heading, the title picture, a frame) followed by a
    // motion moves the window by exactly that motion; a click, or a motion below the drag
    // distance, moves nothing; a press in a field does not move it.
    void aPressAndAMotionOnTheFreeSurfaceMoveTheWindow_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("motion");
        QTest::addColumn<bool>("moves");
        const int below = QApplication::startDragDistance() - 1;
        QTest::newRow("heading, right button")
            << "SkinLabel0" << int(Qt::RightButton) << QPoint(40, 30) << true;
        QTest::newRow("title picture") << "Img" << int(Qt::LeftButton) << QPoint(-25, 60) << true;
        QTest::newRow("frame") << "Frame1" << int(Qt::LeftButton) << QPoint(12, -7) << true;
        QTest::newRow("a click") << "Img" << int(Qt::LeftButton) << QPoint(0, 0) << false;
        QTest::newRow("below the drag distance")
            << "Frame" << int(Qt::LeftButton) << QPoint(below, 0) << false;
        QTest::newRow("in a field") << "TxtZone" << int(Qt::LeftButton) << QPoint(40, 30) << false;
        QTest::newRow("on a button")
            << "CmdInfo" << int(Qt::RightButton) << QPoint(40, 30) << false;
        QTest::newRow("on a disabled button")
            << "CmdPln3" << int(Qt::LeftButton) << QPoint(40, 30) << false;
    }
    void aPressAndAMotionOnTheFreeSurfaceMoveTheWindow() {
        QFETCH(QString, where);
        QFETCH(int, button);
        QFETCH(QPoint, motion);
        QFETCH(bool, moves);
        Window w;
        w.main.move(300, 300);
        w.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.main));
        auto* target = w.main.findChild<QWidget*>(where);
        QVERIFY(target);
        const QPoint start = w.main.pos();
        const QPoint press(5, 5);
        QTest::mousePress(target, Qt::MouseButton(button), {}, press);
        QTest::mouseMove(target, press + motion);
        QTest::mouseRelease(target, Qt::MouseButton(button), {}, press + motion);
        QCOMPARE(w.main.pos(), moves ? start + motion : start);
        // Afterwards the window no longer follows the pointer.
        QTest::mouseMove(target, press + motion + QPoint(30, 30));
        QCOMPARE(w.main.pos(), moves ? start + motion : start);
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::MainWindowTest)
#include "ui_main_test.moc"
