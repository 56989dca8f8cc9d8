// The main window's place search: typing shows the matches, Return takes the first, the
// place fills the fields (its zone as it was on the window's date), the report window's
// title names it; own places saved and offered first; the timetable window takes the
// place's name and zone; the About window credits GeoNames.
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QtTest>

#include "CrescentMapImage.h"
#include "FrmApropos.h"
#include "FrmCarte.h"
#include "FrmTimetable.h"
#include "PlaceSearch.h"
#include "ReportSidePanel.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

struct Filled {
    const char* name;
    const char* typed;
    const char *degLon, *minLon, *secLon, *degLat, *minLat, *secLat, *zone, *summer;
    bool east, north;
    const char* shownAs;  // the first match as the drop-down shows it
};
// The reference instant, 17 June 2005 at noon: Morocco kept Greenwich time then (+1 only
// since 2018); Paris had its summer hour; Santiago its winter.
const Filled kFilled[] = {
    {"Arabic", "الرباط", "6", "49", "57.36", "34", "0", "47.52", "0", "0", false, true,
     "الرباط — Rabat، المغرب"},
    {"Latin without its accent", "fes", "5", "0", "1.08", "34", "1", "59.16", "0", "0", false, true,
     "فاس — Fès، المغرب"},
    {"the start of a name", "Casabl", "7", "36", "41.04", "33", "35", "17.88", "0", "0", false,
     true, "الدار البيضاء — Casablanca، المغرب"},
    {"East, in summer time", "Paris", "2", "20", "55.68", "48", "51", "12.24", "-1", "1", true,
     true, "باريس — Paris، فرنسا"},
    {"South and West", "Santiago, CL", "70", "38", "53.88", "33", "27", "24.84", "4", "0", false,
     false, "سانتياغو — Santiago، تشيلي"},
};

// Types text key by key, as a keyboard of any script does (QTest::keyClicks takes ASCII only).
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Types a place's name in the search and takes the first match with Return.
void PickPlace(MainWindowUnderTest& w, const QString& name) {
    Type(w.main.Search().Field(), name);
    QTest::keyClick(w.main.Search().Field(), Qt::Key_Return);
}

}  // namespace

class PlacesWindowTest : public QObject {
    Q_OBJECT

    QString data_;

    static ui::PlaceSearch& Search(ui::FrmMain& main) { return main.Search(); }

  private slots:
    void initTestCase() {
        SetUpLook();
        qputenv("ZERIN_GAZETTEER", QByteArray(ZERIN_SOURCE_DIR) + "/data/gazetteer.txt");
        data_ = QDir::temp().filePath(
            QStringLiteral("zerin_ui_places_%1").arg(QCoreApplication::applicationPid()));
        QDir(data_).removeRecursively();
        qputenv("XDG_DATA_HOME", data_.toUtf8());
    }
    void cleanupTestCase() { QDir(data_).removeRecursively(); }

    void returnTakesTheFirstMatchAndFillsTheFields_data() { TableRows(kFilled); }
    void returnTakesTheFirstMatchAndFillsTheFields() {
        const Filled& c = TableRow(kFilled);
        MainWindowUnderTest w;
        ui::PlaceSearch& search = Search(w.main);
        QVERIFY(search.Loaded());
        search.Field()->setFocus();
        Type(search.Field(), QString::fromUtf8(c.typed));
        QVERIFY(!search.Shown().isEmpty());
        QCOMPARE(search.Shown().front(), QString::fromUtf8(c.shownAs));
        QTest::keyClick(search.Field(), Qt::Key_Return);
        const std::pair<const char*, const char*> fields[] = {
            {"TxtDegLon", c.degLon}, {"TxtMinLon", c.minLon}, {"TxtSecLon", c.secLon},
            {"TxtDegLat", c.degLat}, {"TxtMinLat", c.minLat}, {"TxtSecLat", c.secLat},
            {"TxtZone", c.zone},     {"TxtEteRegl", c.summer}};
        for (const auto& [name, text] : fields) QCOMPARE(w.Field(name), QString::fromUtf8(text));
        QCOMPARE(w.main.findChild<QRadioButton*>("OptE")->isChecked(), c.east);
        QCOMPARE(w.main.findChild<QRadioButton*>("OptN")->isChecked(), c.north);
        // Return in the search picked the place and ran nothing.
        QVERIFY(w.shown.kinds.empty());
        QVERIFY(w.messages.messages.empty());
        // The Sun's report is the command line's for the fields, and names the place.
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.size(), std::size_t(1));
        QCOMPARE(w.shown.texts.front(), Q(w.Cli("sun").out));
        QVERIFY(w.main.ReportWindow().windowTitle().endsWith(QStringLiteral(" — ") +
                                                             search.Field()->text()));
    }

    // The place's name goes once its fields no longer hold it.
    void aChangedFieldForgetsThePlace() {
        MainWindowUnderTest w;
        PickPlace(w, QStringLiteral("جدة"));
        QCOMPARE(w.main.PlaceName(), QStringLiteral("جدة"));
        w.Set("TxtEteRegl", "1");  // the summer time is the user's to change
        QCOMPARE(w.main.PlaceName(), QStringLiteral("جدة"));
        w.Set("TxtMinLat", "12");
        QCOMPARE(w.main.PlaceName(), QString());
        w.Press("CmdSun");
        QCOMPARE(w.main.ReportWindow().windowTitle(), ui::AppTitle());
    }

    void anUnknownNameIsSaidAndChangesNothing() {
        MainWindowUnderTest w;
        const QString lon = w.Field("TxtDegLon");
        Type(Search(w.main).Field(), QStringLiteral("Xqzwvbnk"));
        QVERIFY(Search(w.main).Shown().isEmpty());
        QCOMPARE(Search(w.main).Status()->text(), QStringLiteral("لا مكان بهذا الاسم"));
        QTest::keyClick(Search(w.main).Field(), Qt::Key_Return);
        QCOMPARE(w.Field("TxtDegLon"), lon);
        QVERIFY(w.shown.kinds.empty());
    }

    void aSavedPlaceComesFirstAndKeepsItsZone() {
        {
            MainWindowUnderTest w;
            ui::PlaceSearch& search = Search(w.main);
            PickPlace(w, QStringLiteral("Rabat"));
            search.Field()->setText(QStringLiteral("مسجد الحي"));
            QTest::mouseClick(search.SaveButton(), Qt::LeftButton);
            QVERIFY(w.messages.messages.empty());
            QCOMPARE(search.Status()->toolTip(),
                     QStringLiteral("حُفظ «مسجد الحي» بتوقيت Africa/Casablanca"));
            // Fields typed by hand: the zone field's hours.
            w.Set("TxtDegLon", "5");
            w.Set("TxtZone", "-1");
            search.Field()->setText(QStringLiteral("Home"));
            QTest::mouseClick(search.SaveButton(), Qt::LeftButton);
            QCOMPARE(search.Status()->toolTip(),
                     QStringLiteral("حُفظ «Home» بتوقيت UTC+01:00 الثابت"));
            // Not whole hours: refused, said, nothing lost.
            w.Set("TxtZone", "-5.5");
            search.Field()->setText(QStringLiteral("Delhi"));
            QTest::mouseClick(search.SaveButton(), Qt::LeftButton);
            QCOMPARE(w.messages.messages.size(), std::size_t(1));
            // No name: said.
            search.Field()->clear();
            QTest::mouseClick(search.SaveButton(), Qt::LeftButton);
            QCOMPARE(w.messages.messages.size(), std::size_t(2));
        }
        QCOMPARE(ReadBytes(data_ + QStringLiteral("/zerin/places.csv")),
                 QByteArray("# Your own places (zerin places --mine), written by Zerin: one place "
                            "a row.\nname,latitude,longitude,zone\n"
                            "مسجد الحي,34:0:47.52N,6:49:57.36W,Africa/Casablanca\n"
                            "Home,34:0:47.52N,5:49:57.36W,-1\n"));
        // A new window offers it first, and picking it fills the town's fields.
        MainWindowUnderTest w;
        Type(Search(w.main).Field(), QStringLiteral("مسجد"));
        QCOMPARE(Search(w.main).Shown().front(), QStringLiteral("مسجد الحي — مكان محفوظ"));
        QTest::keyClick(Search(w.main).Field(), Qt::Key_Return);
        QCOMPARE(w.Field("TxtSecLon"), QStringLiteral("57.36"));
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("0"));
        QCOMPARE(w.main.PlaceName(), QStringLiteral("مسجد الحي"));
        QFile::remove(data_ + QStringLiteral("/zerin/places.csv"));
    }

    // Rabat picked, a second of its longitude typed in Arabic digits: the place saved keeps
    // Casablanca's clock, and its timetable keeps Greenwich time in Ramadan until 22 March 2026.
    void anEditedTownKeepsItsClock() {
        {
            MainWindowUnderTest w;
            ui::PlaceSearch& search = Search(w.main);
            PickPlace(w, QStringLiteral("الرباط"));
            w.Set("TxtSecLon", "٣٠");
            QCOMPARE(w.main.PlaceName(), QString());
            QCOMPARE(search.Status()->text(), QString());  // no longer Rabat's
            search.Field()->setText(QStringLiteral("مسجد الحي"));
            QTest::mouseClick(search.SaveButton(), Qt::LeftButton);
            QVERIFY(w.messages.messages.empty());
        }
        const CliResult r = RunCli(
            {"times", "--place", "مسجد الحي", "--from", "2026-03-01", "--days", "31", "--csv"});
        QFile::remove(data_ + QStringLiteral("/zerin/places.csv"));
        QCOMPARE(r.status, 0);
        int days = 0;
        for (const QString& line : Q(r.out).split(QLatin1Char('\n'))) {
            if (!line.startsWith(QStringLiteral("2026-03-"))) continue;
            const bool ramadan = line.mid(8, 2).toInt() < 22;
            QCOMPARE(line.section(QLatin1Char(','), 1, 1),
                     ramadan ? QStringLiteral("+00:00") : QStringLiteral("+01:00"));
            ++days;
        }
        QCOMPARE(days, 31);
    }

    // The line under the place reads it as computed, and the zone of a picked town follows the
    // date: Rabat on 10 March 2026 (Ramadan: Greenwich time, one hour behind the standard +1).
    void theLineReadsThePlaceAndItsClockOnTheDate() {
        MainWindowUnderTest w;
        PickPlace(w, QStringLiteral("الرباط"));
        for (const auto& [name, text] : {std::pair{"TxtYear", "2026"},
                                         {"TxtMonth", "3"},
                                         {"TxtDay", "10"},
                                         {"TxtSecLon", "30"}})
            w.Set(name, text);
        QCOMPARE(w.Field("TxtZone"), QStringLiteral("-1"));
        QCOMPARE(w.Field("TxtEteRegl"), QStringLiteral("-1"));
        QCOMPARE(w.main.findChild<QLabel*>("LblPlaceReading")->text(),
                 QStringLiteral("٣٤° ٠′ ٤٧٫٥٢″ شمالاً، ٦° ٤٩′ ٣٠″ غرباً، التوقيت: "
                                "Africa/Casablanca (UTC+00:00 في هذا التاريخ)"));
        // A summer time typed by hand stays as the date moves; a zone typed, the fields' clock.
        w.Set("TxtEteRegl", "0");
        w.Set("TxtDay", "11");
        QCOMPARE(w.Field("TxtEteRegl"), QStringLiteral("0"));
        w.Set("TxtZone", "-2");
        QVERIFY(w.main.findChild<QLabel*>("LblPlaceReading")
                    ->text()
                    .endsWith(QStringLiteral("التوقيت: UTC+02:00")));
    }

    // Beside the Sun's report of Sydney in its summer, the day's times on the local clock, each
    // the one `zerin times` gives; above it, the clock of the report's own times. The Moon's
    // report has neither.
    void theSunsReportShowsTheLocalClockBesideIt() {
        MainWindowUnderTest w;
        w.Set("TxtMonth", "1");
        w.Set("TxtDay", "15");
        PickPlace(w, QStringLiteral("Sydney"));
        QCOMPARE(w.Field("TxtEteRegl"), QStringLiteral("1"));
        const CliResult cli = w.Cli("sun");
        w.Press("CmdSun");
        ui::FrmCalc& report = w.main.ReportWindow();
        QCOMPARE(w.shown.texts.back(), Q(cli.out));  // the report's bytes are its own
        const CliResult times =
            RunCli(Words(QStringLiteral("times --place Sydney --from 2005-01-15 --days 1 --csv")));
        const QStringList row = Q(times.out).split(QLatin1Char('\n')).at(2).split(QLatin1Char(','));
        const char* const names[] = {"الفجر",        "الشروق", "الزوال", "العصر الأول",
                                     "العصر الثاني", "الغروب", "العشاء"};
        for (int k = 0; k < 7; ++k)
            QCOMPARE(report.SidePanel().TimeOf(QString::fromUtf8(names[k])), row.at(2 + k));
        QVERIFY(report.findChild<QLabel*>("LblClockNote")
                    ->text()
                    .contains(QStringLiteral("للمنطقة، UTC+10:00، دون التوقيت الصيفي؛ وساعة "
                                             "المكان UTC+11:00")));
        // The zone typed by hand: the fields' clock, the same that day.
        w.Set("TxtZone", "-10.0");
        w.Press("CmdSun");
        QCOMPARE(report.SidePanel().TimeOf(QString::fromUtf8(names[0])), row.at(2));
        auto* panel = report.findChild<QWidget*>("PnlReportSide");
        auto* hide = report.findChild<QPushButton*>("CmdSide");
        QVERIFY(!panel->isHidden());
        hide->click();  // the user hides it, then shows it again
        QVERIFY(panel->isHidden());
        hide->click();
        w.Press("CmdPln0");
        QVERIFY(panel->isHidden());
        QVERIFY(report.findChild<QLabel*>("LblClockNote")->isHidden());
    }

    void theTimetableTakesThePlacesNameAndZone() {
        RecordingMessenger messages;
        services::FieldOptions place;
        ui::FrmTimetable window(messages, place);
        window.SetPlace(QStringLiteral("الرباط"), QStringLiteral("Africa/Casablanca"));
        QCOMPARE(window.findChild<QLineEdit*>("TxtPlaceName")->text(), QStringLiteral("الرباط"));
        const QModelIndex zone = window.findChild<QListView*>("LstZones")->currentIndex();
        QCOMPARE(zone.data(ui::FrmTimetable::kZoneIdRole).toString(),
                 QStringLiteral("Africa/Casablanca"));
        QCOMPARE(zone.data().toString(),
                 QStringLiteral("Africa/Casablanca — الدار البيضاء، المغرب"));
        QVERIFY(window.findChild<QRadioButton*>("OptZoneList")->isChecked());
        const std::vector<std::string>& args = window.TimesArgs();
        QVERIFY(std::find(args.begin(), args.end(), "Africa/Casablanca") != args.end());
    }

    // The map opens on the first evening after the conjunction nearest the window's date
    // at the place (new moon 27 April 2025 at 19:31 UT, after Jeddah's evening: 28 April),
    // the picked place marked and named; its own buttons step a day back and on.
    void theCrescentMapOpensAfterTheConjunctionWithThePlaceMarked() {
        MainWindowUnderTest w;
        w.Set("TxtYear", "2025");
        w.Set("TxtMonth", "4");
        w.Set("TxtDay", "20");
        PickPlace(w, QStringLiteral("جدة"));
        int opened = 0;
        QImage marked;
        w.main.SetModalRunner([&](QDialog& dialog) {
            auto* map = qobject_cast<ui::FrmCarte*>(&dialog);
            QVERIFY(map);
            ++opened;
            QCOMPARE(map->Grid().year, 2025);
            QCOMPARE(map->Grid().month, 4);
            QCOMPARE(map->Grid().day, 28);
            QVERIFY(map->windowTitle().endsWith(QStringLiteral(" — جدة")));
            marked = map->Picture();
            QTest::mouseClick(map->findChild<QPushButton*>("CmdPrevEvening"), Qt::LeftButton);
            QCOMPARE(map->Grid().day, 27);
            QCOMPARE(map->findChild<QDateEdit*>("DteEvening")->date(), QDate(2025, 4, 27));
            QTest::mouseClick(map->findChild<QPushButton*>("CmdNextEvening"), Qt::LeftButton);
            QCOMPARE(map->Grid().day, 28);
            // A date typed in its own control.
            auto* date = map->findChild<QDateEdit*>("DteEvening");
            date->setDate(QDate(2025, 5, 1));
            emit date->editingFinished();
            QCOMPARE(map->Grid().day, 1);
            QCOMPARE(map->Grid().month, 5);
            for (const char* name : {"DteEvening", "CmdPrevEvening", "CmdNextEvening"})
                QVERIFY(!map->findChild<QWidget*>(name)->accessibleName().isEmpty());
        });
        w.Press("CmdCarte");
        QCOMPARE(opened, 1);
        // Jeddah, 21.49 N 39.19 E, at 4 pixels a degree from the frame's corner (48, 96):
        // the mark's red ring passes 7 pixels from it.
        const int x = 48 + static_cast<int>((39.1862 + 180) * 4),
                  y = 96 + static_cast<int>((60 - 21.4901) * 4);
        bool red = false;
        for (int dx = -9; dx <= 9; ++dx)
            for (int dy = -9; dy <= 9; ++dy) {
                const QColor c = marked.pixelColor(x + dx, y + dy);
                red |= c.red() > 150 && c.green() < 60 && c.blue() < 60;
            }
        QVERIFY(red);
    }

    // The mark changes the picture around the place only: the legend below keeps its colours.
    void aMarkChangesThePictureAroundThePlaceOnly() {
        const CrescentMapGrid grid = CrescentMapOf(2025, 4, 28, false);
        const ui::Coastlines none;
        const ui::MapMark mark{39.1862, 21.4901, QStringLiteral("جدة")};
        const QImage plain = ui::CrescentMapImage(grid, Criterion::Yallop, none);
        const QImage marked = ui::CrescentMapImage(grid, Criterion::Yallop, none, 4, &mark);
        QCOMPARE(marked.size(), plain.size());
        const int x = 48 + static_cast<int>((39.1862 + 180) * 4);
        const int y = 96 + static_cast<int>((60 - 21.4901) * 4);
        int changed = 0;
        for (int row = 0; row < plain.height(); ++row)
            for (int column = 0; column < plain.width(); ++column) {
                if (plain.pixel(column, row) == marked.pixel(column, row)) continue;
                ++changed;
                // Within the ring and the name under it.
                QVERIFY2(std::abs(column - x) <= 170 && row >= y - 12 && row <= y + 32,
                         qPrintable(QStringLiteral("%1,%2").arg(column).arg(row)));
            }
        QVERIFY(changed > 50);
    }

    void theAboutWindowCreditsGeoNames() {
        ui::FrmApropos about;
        auto* credit = about.findChild<QLabel*>("LblGeoNames");
        QVERIFY(credit);
        QVERIFY(credit->text().contains(QStringLiteral("GeoNames")));
        QVERIFY(credit->text().contains(QStringLiteral("CC BY 4.0")));
    }

    void everyControlHasAnArabicAccessibleName() {
        MainWindowUnderTest w;
        ui::PlaceSearch& search = Search(w.main);
        for (QWidget* control :
             {static_cast<QWidget*>(search.Field()), static_cast<QWidget*>(search.SaveButton()),
              static_cast<QWidget*>(search.Status()),
              static_cast<QWidget*>(search.Field()->completer()->popup())}) {
            const QString name = control->accessibleName();
            QVERIFY2(!name.isEmpty(), qPrintable(control->objectName()));
            QVERIFY(name.front().script() == QChar::Script_Arabic);
        }
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::PlacesWindowTest)
#include "ui_places_test.moc"
