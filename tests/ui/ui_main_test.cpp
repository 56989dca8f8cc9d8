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
#include "TestSupport.h"
#include "UiSupport.h"
#include "report/Preface.h"

namespace zerin::test {

namespace {

struct SunCase {
    const char* name;
    std::vector<const char*> options;                         // radio buttons clicked
    std::vector<std::pair<const char*, const char*>> fields;  // then fields set
    int messages;
};
const SunCase kSunCases[] = {
    {"defaults, 17 June 2005 noon", {}, {}, 0},
    {"East, South, zone -2, summer 1",
     {"OptE", "OptS"},
     {{"TxtZone", "-2"},
      {"TxtEteRegl", "1"},
      {"TxtDegLat", "33"},
      {"TxtMinLat", "52"},
      {"TxtDegLon", "151"}},
     0},
    {"latitude 70: no night, the message then the end line", {}, {{"TxtDegLat", "70"}}, 1},
    {"odd texts: blanks, exponent, hexadecimal",
     {},
     {{"TxtDegLon", " 1 2"}, {"TxtMinLon", "3E1"}, {"TxtHour", "&HA"}},
     0},
};

// Only the Sun limits the day to its month, and shows the limit in TxtDay.
struct DayCase {
    const char *name, *body, *button, *year, *month, *day, *after;
};
const DayCase kDayCases[] = {
    {"leap February", "sun", "CmdSun", "2000", "2", "30", "29"},
    {"1900 is not leap", "sun", "CmdSun", "1900", "2", "30", "28"},
    {"April", "sun", "CmdSun", "2005", "4", "31", "30"},
    {"December keeps 31", "sun", "CmdSun", "2005", "12", "31", "31"},
    {"month 13 left alone", "sun", "CmdSun", "2005", "13", "40", "40"},
    {"the Moon takes 31 April as typed", "moon", "CmdPln0", "2005", "4", "31", "31"},
};

// Typing degrees never touches the zone, however the field is left (a click on the Sun
// then shows a report on that zone).
struct LeaveCase {
    const char *name, *leave, *degrees;
};
const LeaveCase kLeaveCases[] = {
    {"Tab", "Tab", "3"},
    {"click on the latitude minutes", "click TxtMinLat", "3"},
    {"click on the year", "click TxtYear", "39"},
    {"Return", "Return", "3"},
    {"click on the Sun", "click CmdSun", "39"},
};

// Return or Enter in a field runs the Sun; on a focused command it presses that one.
struct EnterCase {
    const char *name, *field;
    Qt::Key key;
    bool preface;  // the command pressed is the preface's
};
const EnterCase kEnterCases[] = {
    {"Return in the degrees list", "TxtDegLon", Qt::Key_Return, false},
    {"Return in the zone", "TxtZone", Qt::Key_Return, false},
    {"Enter in the summer list", "TxtEteRegl", Qt::Key_Enter, false},
    {"Return in the summer list", "TxtEteRegl", Qt::Key_Return, false},
    {"Enter in the degrees list", "TxtDegLon", Qt::Key_Enter, false},
    {"Enter in the seconds", "TxtSec", Qt::Key_Enter, false},
    {"Return on East", "OptE", Qt::Key_Return, false},
    {"Return on the preface", "CmdInfo", Qt::Key_Return, true},
};

// East and West rewrite the zone's sign.
struct SideCase {
    const char *name, *zone, *option, *after;
};
const SideCase kSideCases[] = {
    {"1 East", "1", "OptE", "-1"},
    {"-1 West", "-1", "OptW", "1"},
    {"-2 East stays", "-2", "OptE", "-2"},
    {"03 West", "03", "OptW", "3"},
    {"empty West", "", "OptW", "0"},
    {"0 East is not -0", "0", "OptE", "0"},
    {"2.5 East", "2.5", "OptE", "-2.5"},
    {"text West", "abc", "OptW", "0"},
    {"overflowing number left as typed", "1e999", "OptE", "1e999"},
};

// Picking a degree in the longitude list proposes a zone; the rules are not mirrors, and
// 7 degrees 30 minutes East is the edge of zone -1.
struct PickCase {
    const char* name;
    const char* option;
    int degrees;
    const char *minutes, *zone;
};
const PickCase kPickCases[] = {
    {"15 East", "OptE", 15, "0", "-1"},   {"15 West", "OptW", 15, "0", "0"},
    {"30 West", "OptW", 30, "0", "1"},    {"37.5 West", "OptW", 37, "30", "2"},
    {"7 East", "OptE", 7, "0", "0"},      {"7.5 East", "OptE", 7, "30", "-1"},
    {"22.5 West", "OptW", 22, "30", "1"}, {"180 East", "OptE", 180, "0", "-12"},
};

// Input no computation can take: the message naming it, no report, and the Sun's report
// (when there was one) the only one shown.
struct RefusedCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> fields;
    const char *button, *message;
    bool exact;  // the whole message, or a part of it
};
const RefusedCase kRefusedCases[] = {
    {"the Gregorian gap",
     {{"TxtYear", "1582"}, {"TxtMonth", "10"}, {"TxtDay", "10"}},
     "CmdSun",
     "لا يوجد هذا التاريخ في الحسابات الفلكية لأنه تم الإنتقال من التاريخ اليوليوزي للغريغوري "
     "إبتداءا من 15 أكتوبر 1582 ميلادية ",
     true},
    {"the zone, for Mars", {{"TxtZone", "40000"}}, "CmdPln3", "المنطقة الزمنية", false},
    {"the summer time", {{"TxtEteRegl", "-1e9"}}, "CmdSun", "تعديل التوقيت الصيفي", false},
    {"the year", {{"TxtYear", "1e999"}}, "CmdSun", "السنة", false},
};

// A press on the free surface (a heading, the title picture, a frame) followed by a motion
// moves the window by exactly that motion; a click, or a motion below the drag distance,
// moves nothing; a press in a field or on a button does not move it.
constexpr int kBelowDragDistance = -999;
struct DragCase {
    const char *name, *where;
    Qt::MouseButton button;
    int dx, dy;
    bool moves;
};
const DragCase kDragCases[] = {
    {"heading, right button", "SkinLabel0", Qt::RightButton, 40, 30, true},
    {"title picture", "Img", Qt::LeftButton, -25, 60, true},
    {"frame", "Frame1", Qt::LeftButton, 12, -7, true},
    {"a click", "Img", Qt::LeftButton, 0, 0, false},
    {"below the drag distance", "Frame", Qt::LeftButton, kBelowDragDistance, 0, false},
    {"in a field", "TxtZone", Qt::LeftButton, 40, 30, false},
    {"on a button", "CmdInfo", Qt::RightButton, 40, 30, false},
    {"on a disabled button", "CmdPln3", Qt::LeftButton, 40, 30, false},
};

}  // namespace

// A sign typed in a field of the place, or a letter after its number, chooses the side as the
// options write it ("شرق -", "غرب +", "جنوب -", "شمال +") and leaves the field; the zone
// follows as a click on that option makes it follow.
struct SignCase {
    const char *name, *start, *field, *typed, *after, *side, *zone;
};
// clang-format off
const SignCase kSignCases[] = {
    {"minus from West", "OptW", "TxtDegLon", "-39", "39", "OptE", "-1"},
    {"Jeddah: -39 typed while East", "OptE", "TxtDegLon", "-39", "39", "OptE", "-1"},
    {"plus from East", "OptE", "TxtDegLon", "+5", "5", "OptW", "1"},
    {"a letter W", "OptE", "TxtDegLon", "6.8326W", "6.8326", "OptW", "1"},
    {"minus in the seconds", "OptW", "TxtSecLon", "-30", "30", "OptE", "-1"},
    {"minus in the latitude", "OptN", "TxtDegLat", "-33", "33", "OptS", "1"},
    {"a letter N", "OptS", "TxtMinLat", "52N", "52", "OptN", "1"},
    {"no sign", "OptW", "TxtDegLon", "39", "39", "OptW", "1"},
};
// clang-format on

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
        // The Sun enabled, the Moon and the planets (CmdPln0 to 8) not until the Sun is done.
        const std::pair<const char*, const char*> captions[] = {
            {"CmdSun", "الشمس"},   {"CmdPln0", "القمر"},     {"CmdPln1", "عطارد"},
            {"CmdPln2", "الزهرة"}, {"CmdPln3", "المريخ"},    {"CmdPln4", "المشتري"},
            {"CmdPln5", "زحل"},    {"CmdPln6", "أورانوس"},   {"CmdPln7", "نبتون"},
            {"CmdPln8", "بلوطون"}, {"CmdInfo", "تنبيه هام"}, {"CmdApropos", "حول البرنامج"},
            {"CmdExit", "خروج"}};
        for (const auto& [name, caption] : captions) {
            QCOMPARE(Button(main, name)->text(), QString::fromUtf8(caption));
            QCOMPARE(Button(main, name)->isEnabled(), !QByteArray(name).startsWith("CmdPln"));
        }
        QCOMPARE(main.layoutDirection(), Qt::RightToLeft);
    }

    // TxtOut holds exactly what `zerin report sun` writes for the same fields.
    void sunReportIsTheCommandLines_data() { TableRows(kSunCases); }
    void sunReportIsTheCommandLines() {
        const SunCase& c = TableRow(kSunCases);
        Window w;
        for (const char* option : c.options) w.Choose(option);
        for (const auto& [name, text] : c.fields) w.Set(name, text);
        const CliResult cli = w.Cli("sun");
        w.Press("CmdSun");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        QCOMPARE(w.shown.texts.front(), Q(cli.out));
        QVERIFY(w.shown.texts.front().startsWith(
            QStringLiteral("******************* حساب التقويم اليوليوزي الفلكي")));
        QCOMPARE(int(w.messages.messages.size()), c.messages);
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

    void theDayLimitIsTheSunsAndShown_data() { TableRows(kDayCases); }
    void theDayLimitIsTheSunsAndShown() {
        const DayCase& c = TableRow(kDayCases);
        Window w;
        if (std::string(c.button) != "CmdSun") w.Press("CmdSun");
        w.Set("TxtYear", c.year);
        w.Set("TxtMonth", c.month);
        w.Set("TxtDay", c.day);
        const CliResult cli = w.Cli(c.body);
        w.Press(c.button);
        QCOMPARE(w.Field("TxtDay"), QString(c.after));
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
    }

    void typedDegreesKeepTheZone_data() { TableRows(kLeaveCases); }
    void typedDegreesKeepTheZone() {
        const LeaveCase& c = TableRow(kLeaveCases);
        const QString leave = c.leave, degrees = c.degrees;
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

    void aSignChoosesTheSide_data() { TableRows(kSignCases); }
    void aSignChoosesTheSide() {
        const SignCase& c = TableRow(kSignCases);
        Window w;
        w.Choose(c.start);
        w.Set("TxtZone", QString::fromUtf8(c.start).endsWith('E') ? "-1" : "1");
        w.Type(c.field, QString::fromUtf8(c.typed));
        QCOMPARE(w.Field(c.field), QString::fromUtf8(c.after));
        QVERIFY(w.main.findChild<QRadioButton*>(c.side)->isChecked());
        QCOMPARE(w.Field("TxtZone"), QString::fromUtf8(c.zone));
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.back(), Q(w.Cli("sun").out));
    }

    // A comma between digits is a decimal separator in the fields (the command line's options
    // keep their reading); a text that is not wholly a number is marked in its field and named
    // in the line under the place.
    void aCommaIsADecimalSeparatorAndOtherTextIsMarked() {
        Window w;
        w.Type("TxtDegLat", "34,5");
        w.Press("CmdSun");
        w.Set("TxtDegLat", "34.5");
        QCOMPARE(w.shown.texts.back(), Q(w.Cli("sun").out));
        auto* line = w.main.findChild<QLabel*>("LblPlaceReading");
        QVERIFY(line->text().startsWith(QStringLiteral("٣٥° ٢٦′ شمالاً، ٥° ٤٠′ غرباً")));
        QVERIFY(!line->property("problem").toBool());
        w.Type("TxtMinLat", "3x");
        QVERIFY(w.List("TxtMinLat")->property("problem").toBool());
        QVERIFY(!w.List("TxtSecLat")->property("problem").toBool());
        QVERIFY(line->text().endsWith(QStringLiteral("خط العرض، الدقيقة «3x» يُقرأ ٣")));
        w.Set("TxtYear", "");
        QVERIFY(w.Typing("TxtYear")->property("problem").toBool());
        w.Type("TxtMinLat", "3");
        QVERIFY(!w.List("TxtMinLat")->property("problem").toBool());
    }

    // Tab goes through the window in its reading order, and Shift+Tab back.
    void tabFollowsTheReadingOrder() {
        Window w;
        QVERIFY(w.ShowActive());
        w.Press("CmdSun");  // enables the Moon and the planets
        // The place search reads first, above the place.
        const char* const order[] = {
            "TxtPlaceSearch", "CmdSavePlace", "TxtDegLon", "TxtMinLon",     "TxtSecLon",
            "OptW",           "TxtDegLat",    "TxtMinLat", "TxtSecLat",     "OptN",
            "TxtZone",        "TxtEteRegl",   "TxtYear",   "TxtMonth",      "TxtDay",
            "TxtHour",        "TxtMin",       "TxtSec",    "CboHijriRule",  "CmdMonth",
            "CmdSun",         "CmdPln0",      "CmdPln1",   "CmdPln2",       "CmdPln3",
            "CmdPln4",        "CmdPln5",      "CmdPln6",   "CmdPln7",       "CmdPln8",
            "CmdHilal",       "OptSoir",      "CmdCarte",  "CmdQibla",      "CmdInfo",
            "CmdApropos",     "CmdTimetable", "CmdExit",   "TxtPlaceSearch"};
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

    void enterRunsTheSun_data() { TableRows(kEnterCases); }
    void enterRunsTheSun() {
        const EnterCase& c = TableRow(kEnterCases);
        Window w;
        QVERIFY(w.ShowActive());
        QVERIFY(Button(w.main, "CmdSun")->isDefault());
        w.Set("TxtDegLon", "39");
        w.Set("TxtZone", "2");
        QWidget* focus = w.Focus(c.field);
        focus->setFocus(Qt::TabFocusReason);
        QTest::keyClick(focus, c.key, c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        if (!c.preface) {
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
            Words("report sun --east --lon-deg 39 --lon-min 49 --lat-deg 21 --lat-min 25 --zone -3 "
                  "--year 2005 --month 6 --day 17 --hour 11.5 --minute 0 --second 0"));
        QCOMPARE(ascii.status, 0);
        QCOMPARE(w.shown.texts.back(), Q(ascii.out));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("-39.8166666666667 = Lon")));
    }

    void eastAndWestRewriteTheZone_data() { TableRows(kSideCases); }
    void eastAndWestRewriteTheZone() {
        const SideCase& c = TableRow(kSideCases);
        Window w;
        w.Set("TxtZone", c.zone);
        w.Choose(c.option);
        QCOMPARE(w.Field("TxtZone"), QString(c.after));
    }

    void pickingALongitudeProposesAZone_data() { TableRows(kPickCases); }
    void pickingALongitudeProposesAZone() {
        const PickCase& c = TableRow(kPickCases);
        Window w;
        w.Choose(c.option);
        w.Set("TxtMinLon", c.minutes);
        w.Set("TxtSecLon", "0");
        w.Set("TxtZone", "99");
        // The user picks the entry with the keyboard: one step down from the one above.
        auto* list = w.main.findChild<QComboBox*>("TxtDegLon");
        list->setCurrentIndex(c.degrees - 1);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->currentText(), QString::number(c.degrees));
        QCOMPARE(w.Field("TxtZone"), QString(c.zone));
    }

    void refusedInputIsNamedAndNothingIsComputed_data() { TableRows(kRefusedCases); }
    void refusedInputIsNamedAndNothingIsComputed() {
        const RefusedCase& c = TableRow(kRefusedCases);
        Window w;
        const bool sunFirst = std::string(c.button) != "CmdSun";
        if (sunFirst) w.Press("CmdSun");
        for (const auto& [name, text] : c.fields) w.Set(name, text);
        w.Press(c.button);
        QCOMPARE(w.shown.kinds.size(), sunFirst ? 1u : 0u);
        if (!sunFirst) QVERIFY(!w.BodiesEnabled());
        QCOMPARE(w.messages.messages.size(), 1u);
        const QString message = Q(w.messages.messages[0].arabic), said = c.message;
        QVERIFY2(c.exact ? message == said : message.contains(said), qPrintable(message));
    }

    // A fault: its message, then the report up to the fault; the program goes on. A fault
    // of the Sun leaves the Moon and the planets disabled.
    void faultsShowTheirMessageThenThePartialReport() {
        Window w;
        w.Set("TxtYear", "1e200");
        const CliResult sun = w.Cli("sun");
        QCOMPARE(sun.status, 1);
        w.Press("CmdSun");
        QCOMPARE(w.messages.messages.size(), 1u);
        QCOMPARE(w.shown.texts.back(), Q(sun.out));
        QVERIFY(!w.BodiesEnabled());

        w.Set("TxtYear", "2005");
        w.Press("CmdSun");
        w.Set("TxtDegLat", "1.5e308");
        const CliResult cli = w.Cli("moon");
        QCOMPARE(cli.status, 1);
        w.Press("CmdPln0");
        QCOMPARE(w.messages.messages.size(), 2u);
        QVERIFY(w.messages.messages[1].arabic.find("GeocLat") != std::string::npos);
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
        w.Set("TxtDegLat", "32");
        const CliResult whole = w.Cli("moon");
        QCOMPARE(whole.status, 0);
        w.Press("CmdPln0");
        QCOMPARE(w.messages.messages.size(), 2u);
        QCOMPARE(w.shown.texts.back(), Q(whole.out));
    }

    // The preface, then the Sun's report replaces it; a second Sun starts again with the
    // Julian-day banner; About is shown modally.
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
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
        w.Press("CmdApropos");
        QCOMPARE(w.shown.kinds.back(), QStringLiteral("FrmApropos"));
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

    void aPressAndAMotionOnTheFreeSurfaceMoveTheWindow_data() { TableRows(kDragCases); }
    void aPressAndAMotionOnTheFreeSurfaceMoveTheWindow() {
        const DragCase& c = TableRow(kDragCases);
        const QPoint motion = c.dx == kBelowDragDistance
                                  ? QPoint(QApplication::startDragDistance() - 1, 0)
                                  : QPoint(c.dx, c.dy);
        Window w;
        w.main.move(300, 300);
        w.main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.main));
        auto* target = w.main.findChild<QWidget*>(c.where);
        QVERIFY(target);
        const QPoint start = w.main.pos();
        const QPoint press(5, 5);
        QTest::mousePress(target, c.button, {}, press);
        QTest::mouseMove(target, press + motion);
        QTest::mouseRelease(target, c.button, {}, press + motion);
        QCOMPARE(w.main.pos(), c.moves ? start + motion : start);
        // Afterwards the window no longer follows the pointer.
        QTest::mouseMove(target, press + motion + QPoint(30, 30));
        QCOMPARE(w.main.pos(), c.moves ? start + motion : start);
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::MainWindowTest)
#include "ui_main_test.moc"
