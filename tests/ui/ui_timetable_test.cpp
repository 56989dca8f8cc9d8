// The timetable window: the zone list's search, a month or a year, the grid's columns from right
// to left, the CSV saved and every cell against `zerin times --csv`, the PDF, printing through
// the print dialog, input that cannot make a table, and the main window's button.
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <sstream>

#include "ChartPictures.h"
#include "ChartWidgets.h"
#include "FrmMain.h"
#include "FrmTimetable.h"
#include "TestSupport.h"
#include "UiSupport.h"
#include "ZoneNames.h"

namespace zerin::test {

namespace {

// The main window's place at Mecca (39° 49′ East, 21° 25′ North, zone -3), its date in June 2005.
services::FieldOptions Mecca() {
    services::FieldOptions o;
    auto& f = o.fields;
    f.TxtDegLon = "39", f.TxtMinLon = "49", f.TxtSecLon = "0", f.TxtZone = "-3";
    f.TxtDegLat = "21", f.TxtMinLat = "25", f.TxtSecLat = "0";
    f.TxtYear = "2005", f.TxtMonth = "6";
    o.east = true;
    return o;
}

services::FieldOptions Place(const char* lat, const char* zone, const char* summer = "0") {
    services::FieldOptions o = Mecca();
    o.fields.TxtDegLat = lat, o.fields.TxtMinLat = "0";
    o.fields.TxtZone = zone, o.fields.TxtEteRegl = summer;
    return o;
}

bool HaveZoneDatabase() {
    return !ui::ZoneNames().isEmpty();
}

// `zerin times ... --csv` as written by hand here, not by the window.
std::string TimesCsv(const std::vector<std::string>& args) {
    std::vector<std::string> all{"times"};
    all.insert(all.end(), args.begin(), args.end());
    all.push_back("--csv");
    const CliResult r = RunCli(all);
    if (r.status != 0) return "status " + std::to_string(r.status) + ": " + r.err;
    return r.out;
}

std::vector<QStringList> CsvRows(const std::string& csv) {
    std::vector<QStringList> rows;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) rows.push_back(QString::fromStdString(line).split(','));
    return rows;
}

int PdfPages(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n"));
}

// One window over a place, with its messages recorded and its saves sent to a folder.
struct Window {
    RecordingMessenger messages;
    QTemporaryDir folder;
    QString chosen;  // the next path the file dialog gives
    ui::FrmTimetable w;
    explicit Window(const services::FieldOptions& place = Mecca()) : w(messages, place) {
        w.SetPathChooser([this](const QString&, const QString&) { return chosen; });
    }
    template <class T>
    T* Get(const char* name) {
        T* child = w.findChild<T*>(QLatin1String(name));
        if (!child) qFatal("no control %s", name);
        return child;
    }
    QTableWidget* Grid() { return Get<QTableWidget>("GrdTimes"); }
    QString Cell(int row, int column) {
        const QTableWidgetItem* item = Grid()->item(row, column);
        return item ? item->data(Qt::UserRole).toString() : QStringLiteral("<none>");
    }
    QStringList Titles() {
        QStringList titles;
        for (int c = 0; c < Grid()->columnCount(); ++c)
            titles << Grid()->horizontalHeaderItem(c)->text();
        return titles;
    }
    void Month(int year, int month) {
        Get<QSpinBox>("SpnYear")->setValue(year);
        Get<QComboBox>("CboMonth")->setCurrentIndex(month - 1);
        Get<QRadioButton>("OptMonth")->setChecked(true);
    }
    void Year(int year) {
        Get<QSpinBox>("SpnYear")->setValue(year);
        Get<QRadioButton>("OptYear")->setChecked(true);
    }
    // Finds a zone by typing in the search field and pressing Return.
    void Zone(const QString& search) {
        QLineEdit* field = Get<QLineEdit>("TxtZoneSearch");
        field->setText(search);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void Press(const char* name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }
    QString Path(const char* name) {
        chosen = folder.filePath(QLatin1String(name));
        return chosen;
    }
};

struct SearchCase {
    const char *name, *search, *found;  // "" when nothing is found
};
const SearchCase kSearchCases[] = {
    {"part of the city", "casab", "Africa/Casablanca"},
    {"capitals, area and city", "ASIA/KOLK", "Asia/Kolkata"},
    {"a blank for the underscore", "new york", "America/New_York"},
    {"leading and trailing blanks", "  riyadh ", "Asia/Riyadh"},
    {"the city in Arabic", "الدار البيضاء", "Africa/Casablanca"},
    {"the country in Arabic", "اليابان", "Asia/Tokyo"},
    {"nothing of that name", "Atlantis", ""},
};

struct DaysCase {
    const char* name;
    int year, month;  // month 0: the whole year
    int rows;
    const char *first, *last;
};
const DaysCase kDaysCases[] = {
    {"February of a leap year", 2024, 2, 29, "2024-02-01", "2024-02-29"},
    {"February of a common year", 2023, 2, 28, "2023-02-01", "2023-02-28"},
    {"December", 2025, 12, 31, "2025-12-01", "2025-12-31"},
    {"a leap year", 2024, 0, 366, "2024-01-01", "2024-12-31"},
    {"a common year", 2025, 0, 365, "2025-01-01", "2025-12-31"},
    {"the first year offered", 1583, 0, 365, "1583-01-01", "1583-12-31"},
};

// What cannot make a table is said in the window; nothing can be saved until it is mended.
struct UnfitCase {
    const char *name, *lat, *zone, *summer, *said;
};
const UnfitCase kUnfitCases[] = {
    {"a zone of half an hour", "21", "-5.5", "0", "ساعاتٍ كاملة"},
    {"a zone beyond -14", "21", "-15", "0", "ساعاتٍ كاملة"},
    {"a summer time beyond 24", "21", "-3", "25", "ساعاتٍ كاملة"},
    {"a clock beyond UTC+14:00", "21", "-12", "3", "UTC+15:00"},
    {"a latitude beyond 90", "95", "-3", "0", "latitude"},
};

// The CSV saved is byte for byte what `zerin times --csv` writes for the same options.
struct CsvCase {
    const char* name;
    services::FieldOptions place;
    const char* zone;  // searched for in the zone list, "" for the main window's
    bool year;
    int rule;
    const char* options;  // of `zerin times`, blank-separated
};
const CsvCase kCsvCases[] = {
    {"Mecca, June, the fields' zone", Mecca(), "", false, 0,
     "--lon 39:49:0E --lat 21:25:0N --zone -3 --from 2005-06-01 --days 30"},
    {"60 North, a year, the middle of the night", Place("60", "-1", "1"), "", true, 1,
     "--lon 39:49:0E --lat 60N --zone -1 --summer 1 --from 2005-01-01 --to 2005-12-31 "
     "--high-lat middle"},
    // Saudi Arabia's zone chooses Umm al-Qura's method (Isha 90 minutes after Maghrib).
    {"Mecca, June, Asia/Riyadh", Mecca(), "riyadh", false, 3,
     "--lon 39:49:0E --lat 21:25:0N --tz Asia/Riyadh --from 2005-06-01 --days 30 "
     "--high-lat angle --method umm-al-qura"},
};

const QStringList kAllTitles{"اليوم", "التاريخ",     "التاريخ الهجري", "الفجر",  "الشروق",
                             "الظهر", "العصر الأول", "العصر الثاني",   "الغروب", "العشاء"};

}  // namespace

class TimetableWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpLook(); }

    // The method follows the zone's country until the user chooses one; the grid, its header
    // and the job take it.
    void theMethodFollowsTheZoneUntilChosen() {
        if (!HaveZoneDatabase()) QSKIP("no time-zone database on this system");
        Window w;
        QComboBox* method = w.Get<QComboBox>("CboMethod");
        QCOMPARE(method->count(), int(services::PrayerMethods().size()));
        QCOMPARE(method->currentData().toString(), QStringLiteral("morocco"));  // the fields
        const std::pair<const char*, const char*> zones[] = {
            {"riyadh", "umm-al-qura"}, {"istanbul", "turkey"}, {"new york", "isna"},
            {"berlin", "mwl"},         {"jakarta", "kemenag"},
        };
        for (const auto& [zone, name] : zones) {
            w.Zone(zone);
            QCOMPARE(method->currentData().toString(), QString::fromUtf8(name));
            QCOMPARE(QString::fromStdString(w.w.Job()->settings.method), QString::fromUtf8(name));
        }
        QVERIFY(method->currentText().contains(QStringLiteral("إندونيسيا")));
        QVERIFY(w.Get<QLabel>("LblHeader")->text().contains(QStringLiteral("الطريقة: ")));
        // The user's choice stays when the zone changes; Tehran's Maghrib gets its column.
        method->setCurrentIndex(method->findData(QStringLiteral("tehran")));
        emit method->activated(method->currentIndex());
        w.Zone("riyadh");
        QCOMPARE(method->currentData().toString(), QStringLiteral("tehran"));
        QCOMPARE(w.w.Job()->settings.maghribAngle, 4.5);
        // The setting is "الغروب" and Maghrib "المغرب", as the text table names them.
        const QStringList titles = w.Titles();
        QCOMPARE(titles.indexOf(QStringLiteral("المغرب")),
                 titles.indexOf(QStringLiteral("الغروب")) + 1);
        QVERIFY(titles.contains(QStringLiteral("الغروب")));
        const QString header = w.Get<QLabel>("LblHeader")->text();
        QVERIFY2(
            header.contains(QStringLiteral("17.7")) && header.contains(QStringLiteral("0.8333")),
            qPrintable(header));
        // Turkey's adjustments in Arabic, each number left to right.
        method->setCurrentIndex(method->findData(QStringLiteral("turkey")));
        emit method->activated(method->currentIndex());
        const QString turkey = w.Get<QLabel>("LblHeader")->text();
        QVERIFY2(turkey.contains(QStringLiteral("الشروق \u2066-7\u2069، الظهر \u2066+5\u2069")) &&
                     !turkey.contains(QStringLiteral("sunrise")),
                 qPrintable(turkey));
    }

    void theZoneListFindsNamesByAnyPartOfThem_data() { TableRows(kSearchCases); }
    void theZoneListFindsNamesByAnyPartOfThem() {
        if (!HaveZoneDatabase()) QSKIP("no time-zone database on this system");
        const SearchCase& c = TableRow(kSearchCases);
        const QStringList found = *c.found ? QStringList{c.found} : QStringList{};
        Window w;
        w.Get<QLineEdit>("TxtZoneSearch")->setText(c.search);
        QAbstractItemModel* shown = w.Get<QListView>("LstZones")->model();
        QStringList names;
        for (int r = 0; r < shown->rowCount(); ++r)
            names << shown->index(r, 0).data(ui::FrmTimetable::kZoneIdRole).toString();
        QCOMPARE(names, found);
        // Searching alone changes nothing: the main window's zone stays in use.
        QVERIFY(w.Get<QRadioButton>("OptZoneFields")->isChecked());
    }

    void theWholeListHoldsOnlyAreaCityNames() {
        if (!HaveZoneDatabase()) QSKIP("no time-zone database on this system");
        const QStringList names = ui::ZoneNames();
        QVERIFY(names.contains("Europe/Paris"));
        QVERIFY(names.contains("America/Argentina/Buenos_Aires"));
        for (const char* refused : {"UTC", "EST", "CET", "Etc/GMT+5", "posixrules"})
            QVERIFY2(!names.contains(QLatin1String(refused)), refused);
        QVERIFY(std::is_sorted(names.begin(), names.end()));
    }

    void returnInTheSearchTakesTheFirstZoneShown() {
        if (!HaveZoneDatabase()) QSKIP("no time-zone database on this system");
        Window w;
        w.Month(2026, 3);
        w.Zone("paris");
        QVERIFY(w.Get<QRadioButton>("OptZoneList")->isChecked());
        QCOMPARE(w.Get<QListView>("LstZones")
                     ->currentIndex()
                     .data(ui::FrmTimetable::kZoneIdRole)
                     .toString(),
                 QStringLiteral("Europe/Paris"));
        const std::vector<std::string>& args = w.w.TimesArgs();
        QVERIFY(std::find(args.begin(), args.end(), "Europe/Paris") != args.end());
        // The header names the zone and the change to summer time on 29 March.
        const QString header = w.Get<QLabel>("LblHeader")->text();
        QVERIFY2(header.contains("باريس، فرنسا") && header.contains("UTC+01:00") &&
                     header.contains("UTC+02:00") && header.contains("2026-03-29"),
                 qPrintable(header));
        // Back to the main window's zone: the fixed clock again.
        w.Get<QRadioButton>("OptZoneFields")->setChecked(true);
        QVERIFY(!w.Get<QLabel>("LblHeader")->text().contains("باريس"));
    }

    void aMonthOrAYearHasItsDays_data() { TableRows(kDaysCases); }
    void aMonthOrAYearHasItsDays() {
        const DaysCase& c = TableRow(kDaysCases);
        Window w;
        if (c.month == 0)
            w.Year(c.year);
        else
            w.Month(c.year, c.month);
        QCOMPARE(w.Grid()->rowCount(), c.rows);
        QCOMPARE(w.Cell(0, 1), QString(c.first));
        QCOMPARE(w.Cell(c.rows - 1, 1), QString(c.last));
        QVERIFY(w.w.Job().has_value());
        QCOMPARE(w.w.Job()->days, std::size_t(c.rows));
    }

    void theWindowStartsOnTheMainWindowsMonth() {
        Window w;
        QCOMPARE(w.Get<QSpinBox>("SpnYear")->value(), 2005);
        QCOMPARE(w.Get<QComboBox>("CboMonth")->currentIndex(), 5);
        QCOMPARE(w.Cell(0, 1), QStringLiteral("2005-06-01"));
        QCOMPARE(w.Cell(0, 0), QStringLiteral("الأربعاء"));  // 1 June 2005 was a Wednesday
    }

    void theGridReadsFromTheDayAtTheRight_data() {
        QTest::addColumn<int>("asr");
        QTest::addColumn<QStringList>("titles");
        QStringList first = kAllTitles, second = kAllTitles;
        first.removeAll("العصر الثاني");
        second.removeAll("العصر الأول");
        QTest::newRow("both afternoon times") << 0 << kAllTitles;
        QTest::newRow("the first only") << 1 << first;
        QTest::newRow("the second only") << 2 << second;
    }
    void theGridReadsFromTheDayAtTheRight() {
        QFETCH(int, asr);
        QFETCH(QStringList, titles);
        Window w;
        w.Get<QComboBox>("CboAsr")->setCurrentIndex(asr);
        QCOMPARE(w.Titles(), titles);
        w.w.resize(1000, 700);
        w.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.w));
        // Each column stands left of the one before it: the day at the right edge.
        const QHeaderView* header = w.Grid()->horizontalHeader();
        for (int c = 1; c < header->count(); ++c)
            QVERIFY2(header->sectionViewportPosition(c) < header->sectionViewportPosition(c - 1),
                     qPrintable(titles[c]));
        QVERIFY(header->sectionViewportPosition(0) + header->sectionSize(0) >=
                header->viewport()->width() - 1);
    }

    // A clock far West of the meridian puts the rising after 12:00: the month's first row
    // gives that day's rising, as a table that starts two days earlier does.
    void theFirstRowIsTheSameDayInsideALongerTable() {
        services::FieldOptions place = Place("23", "0");
        place.fields.TxtMinLat = "52", place.fields.TxtSecLat = "45";
        place.fields.TxtDegLon = "92", place.fields.TxtMinLon = "7", place.fields.TxtSecLon = "30";
        place.east = false;
        Window w(place);
        w.Month(2007, 10);
        const std::vector<QStringList> rows =
            CsvRows(TimesCsv({"--lat", "23:52:45N", "--lon", "92:07:30W", "--zone", "0", "--from",
                              "2007-09-29", "--days", "3"}));
        QCOMPARE(rows.size(), std::size_t{3});
        QCOMPARE(w.Cell(0, 1), rows[2][0]);
        for (int c = 0; c < 7; ++c) QCOMPARE(w.Cell(0, 3 + c), rows[2][2 + c]);
    }

    // The Hijri date by the rule chosen: Umm al-Qura by default (1 Ramadan 1446 was 1 March
    // 2025 in Saudi Arabia's official calendar), or none at all.
    void theHijriDateFollowsTheRuleChosen() {
        Window w(Mecca());
        w.Month(2025, 3);
        QCOMPARE(w.Titles()[2], QStringLiteral("التاريخ الهجري"));
        QCOMPARE(w.Cell(0, 2), QStringLiteral("1 رمضان 1446 هـ"));
        auto* rules = w.Get<QComboBox>("CboHijri");
        rules->setCurrentIndex(rules->count() - 1);  // no Hijri date
        QCOMPARE(w.Titles(), kAllTitles.mid(0, 2) + kAllTitles.mid(3));
    }

    // At 60 North in June: without a rule nightfall never comes, and the notes say why the
    // cell is empty; the middle of the night fills it, marked.
    void highLatitudesMarkFilledTimesAndSayWhyCellsAreEmpty() {
        Window w(Place("60", "-1"));
        w.Month(2025, 6);
        const std::pair<const char*, const char*> rules[] = {{"—", "لا تبلغ الشمس"},
                                                             {"*", "منتصف الليل"}};
        for (int rule = 0; rule < 2; ++rule) {
            w.Get<QComboBox>("CboHighLat")->setCurrentIndex(rule);
            const QString notes = w.Get<QLabel>("LblNotes")->text();
            QVERIFY2(w.Cell(20, 9).endsWith(rules[rule].first), qPrintable(w.Cell(20, 9)));
            QVERIFY2(notes.contains(rules[rule].second), qPrintable(notes));
        }
    }

    void zonesAndPlacesThatCannotMakeATableAreExplained_data() { TableRows(kUnfitCases); }
    void zonesAndPlacesThatCannotMakeATableAreExplained() {
        const UnfitCase& c = TableRow(kUnfitCases);
        Window w(Place(c.lat, c.zone, c.summer));
        const QString notes = w.Get<QLabel>("LblNotes")->text();
        QVERIFY2(notes.contains(c.said), qPrintable(notes));
        QCOMPARE(w.Grid()->rowCount(), 0);
        QVERIFY(!w.w.Job().has_value());
        for (const char* command : {"CmdPrint", "CmdPdf", "CmdCsv", "CmdIcs"})
            QVERIFY(!w.Get<QPushButton>(command)->isEnabled());
        QVERIFY(w.messages.messages.empty());  // said in the window, not in a box
        if (std::string(c.lat) != "21" || !HaveZoneDatabase()) return;
        // A zone of the database mends the zone.
        w.Zone("kolkata");
        QCOMPARE(w.Grid()->rowCount(), 30);
        QVERIFY(w.Get<QPushButton>("CmdCsv")->isEnabled());
    }

    void theCsvSavedIsTheCommandLinesCsv_data() { TableRows(kCsvCases); }
    void theCsvSavedIsTheCommandLinesCsv() {
        const CsvCase& c = TableRow(kCsvCases);
        if (*c.zone && !HaveZoneDatabase()) QSKIP("no time-zone database on this system");
        Window w(c.place);
        if (c.year) w.Year(2005);
        w.Get<QComboBox>("CboHighLat")->setCurrentIndex(c.rule);
        if (*c.zone) w.Zone(c.zone);
        const QString path = w.Path("times.csv");
        w.Press("CmdCsv");
        std::vector<std::string> args = Words(c.options);
        args.insert(args.end(), {"--hijri-rule", "umm-al-qura"});
        const std::string expected = TimesCsv(args);
        QVERIFY(expected.rfind("date,hijri,", 0) == 0);
        QCOMPARE(ReadBytes(path).toStdString(), expected);
        // And every cell of the grid is the CSV's, a filled time with its mark.
        const std::vector<QStringList> csv = CsvRows(expected);
        QCOMPARE(int(csv.size()), w.Grid()->rowCount());
        const QStringList keys{"fajr", "sunrise", "transit", "asr1", "asr2", "sunset", "isha"};
        for (int r = 0; r < w.Grid()->rowCount(); ++r) {
            QCOMPARE(w.Cell(r, 1), csv[r][0]);
            // The grid's Hijri date in words, the CSV's as a number: the same day.
            const QStringList hijri = csv[r][1].split('-');
            QVERIFY2(w.Cell(r, 2).startsWith(QString::number(hijri[2].toInt()) + " ") &&
                         w.Cell(r, 2).contains(hijri[0]),
                     qPrintable(w.Cell(r, 2) + " " + csv[r][1]));
            for (int c = 3; c < 10; ++c) {
                const QString time = csv[r][c].isEmpty() ? "—" : csv[r][c];
                const bool filled = csv[r][10].split(';').contains(keys[c - 3]);
                QCOMPARE(w.Cell(r, c), filled ? time + "*" : time);
            }
        }
        QVERIFY(w.messages.messages.empty());
        QVERIFY(w.Get<QLabel>("LblNotes")->text().contains(path));
    }

    void thePdfHasAPagePerMonth_data() {
        QTest::addColumn<bool>("year");
        QTest::addColumn<int>("pages");
        QTest::newRow("a month") << false << 1;
        QTest::newRow("a year") << true << 12;
    }
    void thePdfHasAPagePerMonth() {
        QFETCH(bool, year);
        QFETCH(int, pages);
        Window w;
        // The name typed is printed, whether the days change after it or not.
        w.Get<QLineEdit>("TxtPlaceName")->setText("  Rabat ");
        QCOMPARE(w.w.Job()->places.front().name, std::string("Rabat"));
        if (year) w.Year(2024);
        QCOMPARE(w.w.Job()->places.front().name, std::string("Rabat"));
        const QString path = w.Path("times.pdf");
        w.Press("CmdPdf");
        const QByteArray pdf = ReadBytes(path);
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(PdfPages(pdf), pages);
        // A4 portrait, in points.
        QVERIFY(QString::fromLatin1(pdf).contains(
            QRegularExpression(R"(/MediaBox \[0 0 595(\.0*)? 842(\.0*)?\])")));
        QVERIFY(w.messages.messages.empty());
    }

    void aSaveThatFailsSaysWhereAndKeepsTheOldFile() {
        for (const char* command : {"CmdCsv", "CmdPdf"}) {
            Window w;
            w.chosen = w.folder.filePath("no-such-folder/times.pdf");
            w.Press(command);
            QCOMPARE(int(w.messages.messages.size()), 1);
            QVERIFY(Q(w.messages.messages[0].arabic).contains(w.chosen));
            // A folder where the file should be: refused, and the folder left as it was.
            w.chosen = w.folder.filePath("taken.csv");
            QVERIFY(QDir().mkpath(w.chosen));
            w.Press(command);
            QCOMPARE(int(w.messages.messages.size()), 2);
            QVERIFY(QFileInfo(w.chosen).isDir());
            // A FIFO: refused unopened, named, with the reason in Arabic.
            w.chosen = w.folder.filePath("fifo.csv");
            QCOMPARE(::mkfifo(QFile::encodeName(w.chosen).constData(), 0644), 0);
            w.Press(command);
            QCOMPARE(int(w.messages.messages.size()), 3);
            QVERIFY(Q(w.messages.messages[2].arabic).contains(w.chosen));
            QVERIFY(Q(w.messages.messages[2].arabic).contains(QStringLiteral("أنبوب (FIFO)")));
            QVERIFY(Q(w.messages.messages[2].english).contains(QStringLiteral("it is a FIFO")));
            // A link: replaced by the file, the file it points to left as it was.
            const QString victim = w.folder.filePath("victim.txt");
            QFile v(victim);
            QVERIFY(v.open(QIODevice::WriteOnly));
            v.write("victim");
            v.close();
            w.chosen = w.folder.filePath(QStringLiteral("link-%1.out").arg(command));
            QVERIFY(QFile::link(victim, w.chosen));
            w.Press(command);
            QCOMPARE(int(w.messages.messages.size()), 3);
            QVERIFY(!QFileInfo(w.chosen).isSymLink());
            QVERIFY(QFileInfo(w.chosen).size() > 100);
            QCOMPARE(ReadBytes(victim), QByteArray("victim"));
        }
    }

    void printingGoesThroughThePrintDialog_data() {
        QTest::addColumn<bool>("accepted");
        QTest::newRow("printed") << true;
        QTest::newRow("cancelled") << false;
    }
    void printingGoesThroughThePrintDialog() {
        QFETCH(bool, accepted);
        Window w;
        w.Year(2025);
        const QString path = w.folder.filePath("printed.pdf");
        QStringList shown;
        w.w.SetModalRunner([&](QDialog& dialog) {
            shown << dialog.objectName();
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            QVERIFY(print);
            const QPageLayout layout = print->printer()->pageLayout();
            QCOMPARE(layout.pageSize().id(), QPageSize::A4);
            QCOMPARE(layout.orientation(), QPageLayout::Portrait);
            print->printer()->setOutputFileName(path);  // a PDF printer
            dialog.setResult(accepted ? QDialog::Accepted : QDialog::Rejected);
        });
        w.Press("CmdPrint");
        QCOMPARE(shown, QStringList{"DlgPrint"});
        QCOMPARE(QFile::exists(path), accepted);
        if (accepted) QCOMPARE(PdfPages(ReadBytes(path)), 12);
        QVERIFY(w.messages.messages.empty());
    }

    // «حفظ للتقويم»: the dialog's reminder, Imsak (-1: unchecked), length and rising reach the
    // calendar, byte for byte `zerin times --ics`'s; cancelled (no options), nothing is saved.
    void theCalendarSavedIsTheCommandLinesCalendar() {
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        const struct {
            int alarm, imsak, minutes;
            const char* options;
        } cases[] = {{15, -1, 0, "--ics-alarm 15"},
                     {-1, 20, 20, "--ramadan --imsak 20 --ics-duration 20 --ics-sunrise"},
                     {15, -1, 0, nullptr}};
        for (const auto& c : cases) {
            Window w;
            w.Month(2026, 2);
            const QString path = w.Path("times.ics");
            w.w.SetModalRunner([&](QDialog& dialog) {
                dialog.findChild<QCheckBox*>("ChkAlarm")->setChecked(c.alarm >= 0);
                dialog.findChild<QSpinBox*>("SpnAlarm")->setValue(c.alarm);
                dialog.findChild<QCheckBox*>("ChkRamadan")->setChecked(c.imsak >= 0);
                dialog.findChild<QSpinBox*>("SpnImsak")->setValue(c.imsak);
                dialog.findChild<QSpinBox*>("SpnDuration")->setValue(c.minutes);
                dialog.findChild<QCheckBox*>("ChkSunrise")->setChecked(c.minutes > 0);
                dialog.setResult(c.options ? QDialog::Accepted : QDialog::Rejected);
            });
            w.Press("CmdIcs");
            QCOMPARE(QFile::exists(path), c.options != nullptr);
            if (!c.options) continue;
            const CliResult r = RunCli(Words(
                QStringLiteral("times --lon 39:49:0E --lat 21:25:0N --zone -3 --from 2026-02-01 "
                               "--days 28 --hijri-rule umm-al-qura --ics - ") +
                c.options));
            QCOMPARE(ReadBytes(path).toStdString(), r.out);
            QVERIFY(w.messages.messages.empty());
        }
        qunsetenv("SOURCE_DATE_EPOCH");
    }

    // The main window's button opens the timetable of the place its fields hold now.
    void theMainWindowsButtonOpensTheTimetableOfItsPlace() {
        RecordingMessenger messages;
        ui::FrmMain main(messages);
        ui::ShowReferenceInstant(main);
        SetField(main, "TxtDegLon", "39");
        SetField(main, "TxtMinLon", "49");
        SetField(main, "TxtDegLat", "21");
        SetField(main, "TxtMinLat", "25");
        main.findChild<QRadioButton*>("OptE")->click();
        SetField(main, "TxtZone", "-3");
        std::vector<std::string> args;
        QString place;
        int rows = 0;
        main.SetModalRunner([&](QDialog& dialog) {
            auto* timetable = qobject_cast<ui::FrmTimetable*>(&dialog);
            QVERIFY(timetable);
            args = timetable->TimesArgs();
            place = timetable->findChild<QLabel*>("LblPlace")->text();
            rows = timetable->findChild<QTableWidget*>("GrdTimes")->rowCount();
        });
        QTest::mouseClick(Button(main, "CmdTimetable"), Qt::LeftButton);
        QCOMPARE(args,
                 Words("times --lon-deg 39 --lon-min 49 --lon-sec 0 --east --lat-deg 21 "
                       "--lat-min 25 --lat-sec 0 --north --zone -3 --summer 0 --from "
                       "2005-06-01 --to 2005-06-30 --high-lat none --hijri-rule umm-al-qura"));
        QCOMPARE(rows, 30);
        QVERIFY2(
            place.contains(QStringLiteral("39° 49′ 0″")) && place.contains(QStringLiteral("شرقاً")),
            qPrintable(place));
    }

    // The chart of the selected row's day, in a dialog of its own: each time labelled as the
    // grid shows it, named and described for a screen reader.
    void theChartShowsTheSelectedDay() {
        Window w;
        w.Grid()->setCurrentCell(16, 0);
        const int fajr = static_cast<int>(w.Titles().indexOf(QStringLiteral("الفجر")));
        services::DayChart chart;
        w.w.SetModalRunner([&](QDialog& dialog) {
            QCOMPARE(dialog.objectName(), QStringLiteral("DlgDayChart"));
            chart = dialog.findChild<ui::SunDayChart*>()->Chart();
            QCOMPARE(dialog.findChild<ui::SunDayChart*>()->accessibleName(), Q(chart.name));
        });
        w.Press("CmdChart");
        QVERIFY(Contains(chart.title, "\u206617\u2069 يونيو"));
        QVERIFY2(Contains(chart.description, "الفجر \u2066" + w.Cell(16, fajr).toStdString()),
                 chart.description.c_str());
        QVERIFY(w.messages.messages.empty());
    }

    // The SVG is XML whose labels are text, its title the chart's name; both files are the
    // same bytes from run to run; the Moon's lit part faces its bright limb.
    void theChartsFilesAreTextAndTheSameTwice() {
        const Reading<Observer> o =
            ObserverAt({-39.8167, 21.4167}, -3, 0, ClockOf(2005, 6, 17, 21, 0, 0));
        const services::ReportChart day = services::ChartOfReport(*o, Body::Sun),
                                    sky = services::ChartOfReport(*o, Body::Moon);
        QVERIFY(day.day && sky.sky);
        for (const services::ChartFormat format :
             {services::ChartFormat::Svg, services::ChartFormat::Png}) {
            for (services::ChartDrawing d : {services::ChartDrawing{&*day.day, nullptr, format},
                                             services::ChartDrawing{nullptr, &*sky.sky, format}}) {
                const QByteArray bytes = ui::ChartFileBytes(d);
                QCOMPARE(ui::ChartFileBytes(d), bytes);
                if (format == services::ChartFormat::Png) {
                    QCOMPARE(QImage::fromData(bytes).size(), QSize(d.width, d.height));
                    continue;
                }
                QStringList texts, titles;
                QXmlStreamReader xml(bytes);
                while (!xml.atEnd()) {
                    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
                    if (xml.name() == QLatin1String("text"))
                        texts << xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    else if (xml.name() == QLatin1String("title"))
                        titles << xml.readElementText();
                }
                QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
                const std::string& name = d.day ? d.day->name : d.sky->name;
                QCOMPARE(titles.value(0), Q(name));
                const QString all = texts.join(QLatin1Char('|'));
                QVERIFY2(all.contains(d.day ? QStringLiteral("الفجر") : QStringLiteral("القمر")) &&
                             all.contains(d.day ? QStringLiteral("الزوال") : QStringLiteral("شرق")),
                         qPrintable(all.left(300)));
            }
        }
        // The Moon at the zenith: its lit part toward its bright limb, a half of it at the
        // quarter, a thin edge of it as a crescent.
        struct Phase {
            double illum, limb, litX, litY, darkX, darkY;  // pixels from the Moon's centre
        };
        const Phase phases[] = {{50, 0, 5, 0, -5, 0},
                                {50, std::acos(-1.0) / 2, 0, 5, 0, -5},
                                {20, std::acos(-1.0), -7, 0, 2, 0}};
        for (const Phase& phase : phases) {
            services::SkyChart moon;
            moon.bodies = {{Body::Moon, "القمر", 90, 0, phase.illum}};
            moon.brightLimb = phase.limb;
            QImage image(960, 600, QImage::Format_RGB32);
            QPainter painter(&image);
            ui::PaintSkyChart(painter, moon, image.size());
            painter.end();
            const services::SkyFrame f = services::SkyFrameOf(960, 600);
            const auto lightness = [&](double dx, double dy) {
                return QColor(image.pixel(qRound(f.cx + dx), qRound(f.cy + dy))).lightness();
            };
            QVERIFY(lightness(phase.litX, phase.litY) > 200);
            QVERIFY(lightness(phase.darkX, phase.darkY) < 120);
        }
        QWidget* beside = ui::NewReportChart(*o, Body::Moon);
        QCOMPARE(beside->accessibleName(), QStringLiteral("رسم السماء في اللحظة"));
        QVERIFY(!beside->grab().isNull());
        delete beside;
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::TimetableWindowTest)
#include "ui_timetable_test.moc"
