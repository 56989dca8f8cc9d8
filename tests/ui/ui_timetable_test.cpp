// The timetable window: method, zone search, days, the grid's columns, the CSV, PDF, print and
// calendar against `zerin times`, input that makes no table, the main window's button, charts.
#include <QPrintDialog>
#include <QPrinter>
#include <sstream>

#include "ChartPictures.h"
#include "ChartWidgets.h"
#include "FrmTimetable.h"
#include "UiSupport.h"
#include "ZoneNames.h"

namespace zerin::test {

namespace {

// Mecca (39° 49′ E, 21° 25′ N, zone -3) in June 2005, or another latitude and clock.
services::FieldOptions Place(const std::string& lat = "21", const std::string& zone = "-3",
                             const std::string& summer = "0") {
    services::FieldOptions o;
    auto& f = o.fields;
    f.TxtDegLon = "39", f.TxtMinLon = "49", f.TxtSecLon = "0", f.TxtZone = zone;
    f.TxtDegLat = lat, f.TxtMinLat = lat == "21" ? "25" : "0", f.TxtSecLat = "0";
    f.TxtEteRegl = summer, f.TxtYear = "2005", f.TxtMonth = "6";
    o.east = true;
    return o;
}

#define NEEDS_ZONES \
    if (ui::ZoneNames().isEmpty()) QSKIP("no time-zone database on this system")

// `zerin times ARGS --csv`, and its rows after the header.
std::string TimesCsv(const std::string& args) {
    const CliResult r = RunCli(Words(Q("times " + args + " --csv")));
    return r.status == 0 ? r.out : "status " + std::to_string(r.status) + ": " + r.err;
}
std::vector<QStringList> CsvRows(const std::string& csv) {
    std::vector<QStringList> rows;
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) rows.push_back(Q(line).split(','));
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
    explicit Window(const services::FieldOptions& place = Place()) : w(messages, place) {
        w.SetPathChooser([this](const QString&, const QString&) { return chosen; });
    }
    QTableWidget* Grid() { return Get<QTableWidget>(w, "GrdTimes"); }
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
    QString Header() { return Get<QLabel>(w, "LblHeader")->text(); }
    QString Notes() { return Get<QLabel>(w, "LblNotes")->text(); }
    void Month(int year, int month) {
        Get<QSpinBox>(w, "SpnYear")->setValue(year);
        Get<QComboBox>(w, "CboMonth")->setCurrentIndex(month - 1);
        Get<QRadioButton>(w, "OptMonth")->setChecked(true);
    }
    void Year(int year) {
        Get<QSpinBox>(w, "SpnYear")->setValue(year);
        Get<QRadioButton>(w, "OptYear")->setChecked(true);
    }
    // Finds a zone by typing in the search field and pressing Return.
    void Zone(const QString& search) {
        Get<QLineEdit>(w, "TxtZoneSearch")->setText(search);
        QTest::keyClick(Get<QLineEdit>(w, "TxtZoneSearch"), Qt::Key_Return);
    }
    QString ZoneShown() {
        const QModelIndex shown = Get<QListView>(w, "LstZones")->currentIndex();
        return shown.data(ui::FrmTimetable::kZoneIdRole).toString();
    }
    void Method(const char* name) {
        auto* method = Get<QComboBox>(w, "CboMethod");
        method->setCurrentIndex(method->findData(QLatin1String(name)));
        emit method->activated(method->currentIndex());
    }
    void Press(const char* name) { QTest::mouseClick(Get<QPushButton>(w, name), Qt::LeftButton); }
    QString Path(const char* name) { return chosen = folder.filePath(QLatin1String(name)); }
};

const QStringList kAllTitles{"اليوم", "التاريخ",     "التاريخ الهجري", "الفجر",  "الشروق",
                             "الظهر", "العصر الأول", "العصر الثاني",   "الغروب", "العشاء"};

}  // namespace

class TimetableWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpLook(); }

    // The method follows the zone's country until the user chooses one; header and job take it.
    void theMethodFollowsTheZoneUntilChosen() {
        NEEDS_ZONES;
        Window w;
        QComboBox* method = Get<QComboBox>(w.w, "CboMethod");
        QCOMPARE(method->count(), int(services::PrayerMethods().size()));
        QCOMPARE(method->currentData().toString(), QStringLiteral("morocco"));  // the fields
        const std::vector<QStringList> methods = DataFile("timetable-zone-methods.txt");
        for (std::size_t k = 1; k < methods.size(); ++k) {
            w.Zone(methods[k][0]);
            QCOMPARE(method->currentData().toString(), methods[k][1]);
            QCOMPARE(Q(w.w.Job()->settings.method), methods[k][1]);
        }
        QVERIFY(method->currentText().contains(QStringLiteral("إندونيسيا")));
        QVERIFY(w.Header().contains(QStringLiteral("الطريقة: ")));
        // The user's choice stays; Tehran's Maghrib has its column after the setting ("الغروب").
        w.Method("tehran");
        w.Zone("riyadh");
        QCOMPARE(method->currentData().toString(), QStringLiteral("tehran"));
        QCOMPARE(w.w.Job()->settings.maghribAngle, 4.5);
        QCOMPARE(w.Titles().indexOf(QStringLiteral("المغرب")) - 1,
                 w.Titles().indexOf(QStringLiteral("الغروب")));
        QVERIFY2(w.Header().contains(QStringLiteral("17.7")) &&
                     w.Header().contains(QStringLiteral("0.8333")),
                 qPrintable(w.Header()));
        // Turkey's adjustments in Arabic, each number left to right.
        w.Method("turkey");
        QVERIFY2(w.Header().contains(QStringLiteral("الشروق \u2066-7\u2069، الظهر \u2066+5\u2069")),
                 qPrintable(w.Header()));
    }

    // Searching alone changes nothing; the list holds Area/City names only, sorted.
    void theZoneListFindsNamesByAnyPartOfThem_data() { DataFileRows("timetable-zone-search.txt"); }
    void theZoneListFindsNamesByAnyPartOfThem() {
        NEEDS_ZONES;
        const DataFileRow c = DataRow();
        Window w;
        Get<QLineEdit>(w.w, "TxtZoneSearch")->setText(c["search"]);
        QAbstractItemModel* shown = Get<QListView>(w.w, "LstZones")->model();
        QStringList names;
        for (int r = 0; r < shown->rowCount(); ++r)
            names << shown->index(r, 0).data(ui::FrmTimetable::kZoneIdRole).toString();
        QCOMPARE(names, c["found"].isEmpty() ? QStringList{} : QStringList{c["found"]});
        QVERIFY(Get<QRadioButton>(w.w, "OptZoneFields")->isChecked());
        const QStringList all = ui::ZoneNames();
        QVERIFY(all.contains("America/Argentina/Buenos_Aires") &&
                std::is_sorted(all.begin(), all.end()));
        for (const char* refused : {"UTC", "EST", "CET", "Etc/GMT+5", "posixrules"})
            QVERIFY2(!all.contains(QLatin1String(refused)), refused);
    }

    // Return takes the first zone shown; the header names it and its summer time from 29 March.
    void returnInTheSearchTakesTheFirstZoneShown() {
        NEEDS_ZONES;
        Window w;
        w.Month(2026, 3);
        w.Zone("paris");
        QVERIFY(Get<QRadioButton>(w.w, "OptZoneList")->isChecked());
        QCOMPARE(w.ZoneShown(), QStringLiteral("Europe/Paris"));
        const std::vector<std::string>& args = w.w.TimesArgs();
        QVERIFY(std::find(args.begin(), args.end(), "Europe/Paris") != args.end());
        for (const char* part :
             {"باريس، فرنسا", "\u2066UTC+01:00\u2069", "\u2066UTC+02:00\u2069", "2026-03-29"})
            QVERIFY2(w.Header().contains(QString::fromUtf8(part)), qPrintable(w.Header()));
        Get<QRadioButton>(w.w, "OptZoneFields")->setChecked(true);
        QVERIFY(!w.Header().contains(QStringLiteral("باريس")));
    }

    // The window opens on the main window's month (1 June 2005 was a Wednesday).
    void aMonthOrAYearHasItsDays_data() { DataFileRows("timetable-days.txt"); }
    void aMonthOrAYearHasItsDays() {
        const DataFileRow c = DataRow();
        const int rows = c["rows"].toInt();
        Window w;
        QCOMPARE(Get<QSpinBox>(w.w, "SpnYear")->value() * 100 +
                     Get<QComboBox>(w.w, "CboMonth")->currentIndex(),
                 200505);
        QCOMPARE(w.Cell(0, 0) + w.Cell(0, 1), QStringLiteral("الأربعاء2005-06-01"));
        c["month"].isEmpty() ? w.Year(c["year"].toInt())
                             : w.Month(c["year"].toInt(), c["month"].toInt());
        QCOMPARE(w.Grid()->rowCount(), rows);
        QCOMPARE(w.Cell(0, 1), c["first"]);
        QCOMPARE(w.Cell(rows - 1, 1), c["last"]);
        QCOMPARE(w.w.Job()->days, std::size_t(rows));
    }

    // Each column left of the one before, the day at the right edge; the afternoon's columns as
    // chosen; no Hijri column without a rule (Umm al-Qura's: 1 Ramadan 1446 is 1 March 2025).
    void theGridReadsFromTheDayAtTheRight() {
        Window w;
        w.w.resize(1000, 700);
        w.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.w));
        for (const int asr : {0, 1, 2}) {
            Get<QComboBox>(w.w, "CboAsr")->setCurrentIndex(asr);
            QStringList titles = kAllTitles;
            if (asr) titles.removeAt(asr == 1 ? 7 : 6);
            QCOMPARE(w.Titles(), titles);
            const QHeaderView* header = w.Grid()->horizontalHeader();
            for (int c = 1; c < header->count(); ++c)
                QVERIFY2(
                    header->sectionViewportPosition(c) < header->sectionViewportPosition(c - 1),
                    qPrintable(titles[c]));
            QVERIFY(header->sectionViewportPosition(0) + header->sectionSize(0) >=
                    header->viewport()->width() - 1);
        }
        Get<QComboBox>(w.w, "CboAsr")->setCurrentIndex(0);
        w.Month(2025, 3);
        QCOMPARE(w.Cell(0, 2), QStringLiteral("1 رمضان 1446 هـ"));
        auto* rules = Get<QComboBox>(w.w, "CboHijri");
        rules->setCurrentIndex(rules->count() - 1);
        QCOMPARE(w.Titles(), kAllTitles.mid(0, 2) + kAllTitles.mid(3));
    }

    // A clock far West of the meridian puts the rising after 12:00: the first row is that day's.
    void theFirstRowIsTheSameDayInsideALongerTable() {
        services::FieldOptions place = Place("23", "0");
        auto& f = place.fields;
        f.TxtMinLat = "52", f.TxtSecLat = "45";
        f.TxtDegLon = "92", f.TxtMinLon = "7", f.TxtSecLon = "30";
        place.east = false;
        Window w(place);
        w.Month(2007, 10);
        const auto rows = CsvRows(
            TimesCsv("--lat 23:52:45N --lon 92:07:30W --zone 0 --from 2007-09-29 --days 3"));
        QCOMPARE(rows.size(), std::size_t{3});
        QCOMPARE(w.Cell(0, 1), rows[2][0]);
        for (int c = 0; c < 7; ++c) QCOMPARE(w.Cell(0, 3 + c), rows[2][2 + c]);
    }

    // At 60 N in June nightfall never comes: the notes say why; the middle of the night fills it.
    void highLatitudesMarkFilledTimesAndSayWhyCellsAreEmpty() {
        Window w(Place("60", "-1"));
        for (const auto& [rule, mark, said] :
             {std::tuple{0, "—", "لا تبلغ الشمس"}, {1, "*", "منتصف الليل"}}) {
            Get<QComboBox>(w.w, "CboHighLat")->setCurrentIndex(rule);
            QVERIFY2(w.Cell(20, 9).endsWith(mark), qPrintable(w.Cell(20, 9)));
            QVERIFY2(w.Notes().contains(QString::fromUtf8(said)), qPrintable(w.Notes()));
        }
    }

    void zonesAndPlacesThatCannotMakeATableAreExplained_data() {
        DataFileRows("timetable-unfit.txt");
    }
    void zonesAndPlacesThatCannotMakeATableAreExplained() {
        const DataFileRow c = DataRow();
        Window w(Place(c["lat"].toStdString(), c["zone"].toStdString(), c["summer"].toStdString()));
        QVERIFY2(w.Notes().contains(c["said"]) && SignsIsolated(w.Notes()), qPrintable(w.Notes()));
        QVERIFY(w.Grid()->rowCount() == 0 && !w.w.Job().has_value());
        for (const char* command : {"CmdPrint", "CmdPdf", "CmdCsv", "CmdIcs"})
            QVERIFY(!Get<QPushButton>(w.w, command)->isEnabled());
        QVERIFY(w.messages.messages.empty());  // said in the window, not in a box
        if (c["lat"] != "21" || ui::ZoneNames().isEmpty()) return;
        w.Zone("kolkata");  // a zone of the database mends the zone
        QVERIFY(w.Grid()->rowCount() == 30 && Get<QPushButton>(w.w, "CmdCsv")->isEnabled());
    }

    // Every cell of the grid is the CSV's, a filled time marked; Python's csv module reads it.
    void theCsvSavedIsTheCommandLinesCsv_data() { DataFileRows("timetable-csv.txt"); }
    void theCsvSavedIsTheCommandLinesCsv() {
        const DataFileRow c = DataRow();
        if (!c["zone list"].isEmpty()) NEEDS_ZONES;
        Window w(Place(c["lat"].toStdString(), c["zone"].toStdString(), c["summer"].toStdString()));
        if (c["days"] == "year") w.Year(2005);
        Get<QComboBox>(w.w, "CboHighLat")->setCurrentIndex(c["high latitudes"].toInt());
        if (!c["zone list"].isEmpty()) w.Zone(c["zone list"]);
        const QString path = w.Path("times.csv");
        w.Press("CmdCsv");
        const std::string expected =
            TimesCsv(c["options"].toStdString() + " --hijri-rule umm-al-qura");
        QCOMPARE(ReadBytes(path).toStdString(), expected);
        QProcess python;
        python.start(
            "python3",
            {"-c", "import csv,sys; print(','.join(next(csv.reader(open(sys.argv[1])))))", path});
        QVERIFY(python.waitForFinished(20000));
        QVERIFY(python.readAllStandardOutput().startsWith(
            "date,hijri,utc_offset,fajr,sunrise,transit,asr1,asr2,sunset,isha,"));
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
                QCOMPARE(w.Cell(r, c),
                         csv[r][10].split(';').contains(keys[c - 3]) ? time + "*" : time);
            }
        }
        QVERIFY(w.messages.messages.empty());
        QVERIFY(w.Notes().contains(path));
    }

    // A page a month, A4 portrait, the name typed kept; saves that cannot be made are said.
    void thePdfHasAPagePerMonth() {
        for (const bool year : {false, true}) {
            Window w;
            Get<QLineEdit>(w.w, "TxtPlaceName")->setText("  Rabat ");
            if (year) w.Year(2024);
            QCOMPARE(w.w.Job()->places.front().name, std::string("Rabat"));
            const QString path = w.Path("times.pdf");
            w.Press("CmdPdf");
            const QByteArray pdf = ReadBytes(path);
            QVERIFY(pdf.startsWith("%PDF-"));
            QCOMPARE(PdfPages(pdf), year ? 12 : 1);
            QVERIFY(QString::fromLatin1(pdf).contains(
                QRegularExpression(R"(/MediaBox \[0 0 595(\.0*)? 842(\.0*)?\])")));
            QVERIFY(w.messages.messages.empty());
            const char* command = year ? "CmdPdf" : "CmdCsv";
            CheckSavesRefused(w.folder.path(), year ? ".pdf" : ".csv", w.messages,
                              [&](const QString& path) { w.chosen = path, w.Press(command); });
        }
    }

    void printingGoesThroughThePrintDialog() {
        for (const bool accepted : {true, false}) {
            Window w;
            w.Year(2025);
            const QString path = w.folder.filePath("printed.pdf");
            QStringList shown;
            w.w.SetModalRunner([&](QDialog& dialog) {
                shown << dialog.objectName();
                QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
                QCOMPARE(printer->pageLayout().pageSize().id(), QPageSize::A4);
                QCOMPARE(printer->pageLayout().orientation(), QPageLayout::Portrait);
                printer->setOutputFileName(path);  // a PDF printer
                dialog.setResult(accepted ? QDialog::Accepted : QDialog::Rejected);
            });
            w.Press("CmdPrint");
            QCOMPARE(shown, QStringList{"DlgPrint"});
            QCOMPARE(QFile::exists(path) ? PdfPages(ReadBytes(path)) : 0, accepted ? 12 : 0);
            QVERIFY(w.messages.messages.empty());
        }
    }

    // The calendar dialog's reminder, Imsak, length and rising: the bytes of `zerin times --ics`;
    // cancelled, nothing saved.
    void theCalendarSavedIsTheCommandLinesCalendar_data() {
        DataFileRows("timetable-calendar.txt");
    }
    void theCalendarSavedIsTheCommandLinesCalendar() {
        const DataFileRow c = DataRow();
        const int alarm = c["alarm"].toInt(), imsak = c["imsak"].toInt();
        const int minutes = c["minutes"].toInt();
        const bool saved = !c["options"].isEmpty();
        qputenv("SOURCE_DATE_EPOCH", "1700000000");
        Window w;
        w.Month(2026, 2);
        const QString path = w.Path("times.ics");
        w.w.SetModalRunner([&](QDialog& dialog) {
            Get<QCheckBox>(dialog, "ChkAlarm")->setChecked(alarm >= 0);
            Get<QSpinBox>(dialog, "SpnAlarm")->setValue(alarm);
            Get<QCheckBox>(dialog, "ChkRamadan")->setChecked(imsak >= 0);
            Get<QSpinBox>(dialog, "SpnImsak")->setValue(imsak);
            Get<QSpinBox>(dialog, "SpnDuration")->setValue(minutes);
            Get<QCheckBox>(dialog, "ChkSunrise")->setChecked(minutes > 0);
            dialog.setResult(saved ? QDialog::Accepted : QDialog::Rejected);
        });
        w.Press("CmdIcs");
        QCOMPARE(QFile::exists(path), saved);
        if (saved)
            QCOMPARE(ReadBytes(path).toStdString(),
                     RunCli(Words("times --lon 39:49:0E --lat 21:25:0N --zone -3 --from 2026-02-01 "
                                  "--days 28 --hijri-rule umm-al-qura --ics - " +
                                  c["options"]))
                         .out);
        QVERIFY(w.messages.messages.empty());
        qunsetenv("SOURCE_DATE_EPOCH");
    }

    // The main window's button opens the timetable of the place its fields hold now.
    void theMainWindowsButtonOpensTheTimetableOfItsPlace() {
        MainWindowUnderTest m;
        m.Choose("OptE");
        SetFields(m.main, "TxtDegLon=39 TxtMinLon=49 TxtDegLat=21 TxtMinLat=25 TxtZone=-3");
        std::vector<std::string> args;
        QString place;
        int rows = 0;
        m.main.SetModalRunner([&](QDialog& dialog) {
            args = static_cast<ui::FrmTimetable&>(dialog).TimesArgs();
            place = Get<QLabel>(dialog, "LblPlace")->text();
            rows = Get<QTableWidget>(dialog, "GrdTimes")->rowCount();
        });
        m.Press("CmdTimetable");
        QCOMPARE(
            args,
            Words("times --lon-deg 39 --lon-min 49 --lon-sec 0 --east --lat-deg 21 --lat-min 25 "
                  "--lat-sec 0 --north --zone -3 --summer 0 --from 2005-06-01 --to 2005-06-30 "
                  "--high-lat none --hijri-rule umm-al-qura"));
        QCOMPARE(rows, 30);
        QVERIFY2(
            place.contains(QStringLiteral("39° 49′ 0″")) && place.contains(QStringLiteral("شرقاً")),
            qPrintable(place));
    }

    // The selected day's chart in its dialog, its times the grid's, named for a screen reader;
    // the sky's Moon lit toward its bright limb: half at the quarter, an edge as a crescent.
    void theChartsShowTheDayAndTheSky() {
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
        const double pi = std::acos(-1.0);
        // clang-format off
        const struct { double illum, limb, litX, litY, darkX, darkY; } phases[] = {
            {50, 0, 5, 0, -5, 0}, {50, pi / 2, 0, 5, 0, -5}, {20, pi, -7, 0, 2, 0}};
        // clang-format on
        for (const auto& phase : phases) {
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
            QVERIFY(lightness(phase.litX, phase.litY) > 200 &&
                    lightness(phase.darkX, phase.darkY) < 120);
        }
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::TimetableWindowTest)
#include "ui_timetable_test.moc"
