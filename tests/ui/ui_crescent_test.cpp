// The crescent and the Qibla in the windows: each button's report is the command line's
// (the Qibla's from the start: it needs no Sun), the evening or morning choice, refused
// dates, and the crescent's map window: its criteria, its picture and its saving.
#include <sys/stat.h>

#include <QImage>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "CrescentMapImage.h"
#include "FrmCarte.h"
#include "FrmMain.h"
#include "TestSupport.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

// Dates no computation can take, in 1582: a message, and nothing opened.
struct RefusedCase {
    const char *name, *button, *month, *day;
};
const RefusedCase kRefusedCases[] = {
    {"report: the Gregorian gap", "CmdHilal", "10", "10"},
    {"map: the Gregorian gap", "CmdCarte", "10", "10"},
    {"map: month 13", "CmdCarte", "13", "1"},
    {"map: day 0", "CmdCarte", "3", "0"},
    {"Qibla: the Gregorian gap", "CmdQibla", "10", "10"},
};

// The default place, and Tokyo (East, zone -9) with its published bearing 293.021.
struct Place {
    const char *name, *lonDeg;
    bool east;
    const char *latDeg, *zone, *bearing;  // the first digits the report writes
};
const Place kPlaces[] = {
    {"default place", "5", false, "32", "0", ""},
    {"Tokyo", "139.6917", true, "35.6895", "-9", "293.02"},
};

}  // namespace

class CrescentWindowTest : public QObject {
    Q_OBJECT

    struct Window : MainWindowUnderTest {
        Window() {
            // Mecca on 10 March 2024, the evening of the report's golden file.
            main.findChild<QRadioButton*>("OptE")->click();
            const std::pair<const char*, const char*> fields[] = {
                {"TxtDegLon", "39"}, {"TxtMinLon", "49"}, {"TxtSecLon", "34"}, {"TxtDegLat", "21"},
                {"TxtMinLat", "25"}, {"TxtSecLat", "21"}, {"TxtZone", "-3"},   {"TxtYear", "2024"},
                {"TxtMonth", "3"},   {"TxtDay", "10"},    {"TxtHour", "7"}};
            for (const auto& [name, text] : fields) SetField(main, name, text);
        }
    };

    // Yallop's zone of the same meaning as an Odeh zone; any other cell's letter as it is.
    static char YallopOfOdeh(char letter) {
        switch (letter) {
            case 'C':
                return 'D';
            case 'D':
                return 'F';
            default:
                return letter;
        }
    }
    static QStringList SourceData() { return {QStringLiteral(ZERIN_SOURCE_UI "/../data")}; }

  private slots:
    void initTestCase() { SetUpLook(); }

    void theButtonShowsTheCommandLinesReport_data() {
        QTest::addColumn<bool>("morning");
        QTest::addColumn<QString>("day");
        QTest::newRow("evening") << false << "10";
        QTest::newRow("morning") << true << "9";
        QTest::newRow("the day limited: 31 April") << false << "31";
    }
    void theButtonShowsTheCommandLinesReport() {
        QFETCH(bool, morning);
        QFETCH(QString, day);
        Window w;
        QCOMPARE(Button(w.main, "CmdHilal")->text(), QStringLiteral("الهلال"));
        QVERIFY(w.main.findChild<QRadioButton*>("OptSoir")->isChecked());
        if (morning) w.main.findChild<QRadioButton*>("OptMatin")->click();
        if (day == "31") SetField(w.main, "TxtMonth", "4");
        SetField(w.main, "TxtDay", day.toStdString());
        std::vector<std::string> args = ReportArgsOf(w.main, "crescent", true, true);
        if (morning) args.push_back("--morning");
        const CliResult cli = RunCli(args);
        QCOMPARE(cli.status, 0);
        w.Press("CmdHilal");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        QCOMPARE(w.shown.texts.front(), Q(cli.out));
        QVERIFY(w.messages.messages.empty());
        if (day == "10")
            QCOMPARE(w.shown.texts.front(), Q(Golden("report-crescent-2024-03-10-mecca.txt")));
        if (day == "31") QCOMPARE(FieldText(w.main, "TxtDay"), QStringLiteral("30"));
        QCOMPARE(FieldText(w.main, "TxtHour"), QStringLiteral("7"));  // not used, kept
    }

    void refusedDatesSayWhyAndOpenNothing_data() { TableRows(kRefusedCases); }
    void refusedDatesSayWhyAndOpenNothing() {
        const RefusedCase& c = TableRow(kRefusedCases);
        Window w;
        w.Set("TxtYear", "1582");
        w.Set("TxtMonth", c.month);
        w.Set("TxtDay", c.day);
        w.Press(c.button);
        QVERIFY(w.shown.kinds.empty());
        QCOMPARE(int(w.messages.messages.size()), 1);
    }

    void theMapButtonOpensTheMapOfTheEvening() {
        Window w;
        w.Press("CmdCarte");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCarte"});
        // Run from the build tree the program's folder has no coastlines: the window says so.
        for (const Message& m : w.messages.messages)
            QVERIFY(Q(m.english).contains(QStringLiteral("coastlines")));
    }

    void theMapWindowDrawsEachCriterionAndSavesIt() {
        RecordingMessenger messages;
        const CrescentMapGrid grid = CrescentMapOf(2024, 3, 10, false);
        ui::FrmCarte map(messages, grid, nullptr, SourceData());
        QVERIFY(messages.messages.empty());
        QCOMPARE(map.CurrentCriterion(), Criterion::Yallop);
        // A cell in the Pacific and one over Mexico, at 4 pixels a degree: the picture holds
        // the colour of each one's zone under the criterion shown.
        const auto cellColour = [&](double eastLon, double lat) {
            const QImage& p = map.Picture();
            const int column = static_cast<int>(eastLon + 180), row = static_cast<int>(60 - lat);
            // The map's frame starts at the left margin and 96 pixels down.
            const int x = 48 + column * 4 + 2, y = 96 + row * 4 + 2;
            return std::make_pair(p.pixelColor(x, y), grid.At(map.CurrentCriterion(), row, column));
        };
        const std::pair<double, double> cells[] = {{-170.5, 20.5}, {-100.5, 20.5}, {30.5, 0.5}};
        for (const auto& [lon, lat] : cells) {
            const auto [shown, letter] = cellColour(lon, lat);
            QCOMPARE(shown, ui::CellColour(Criterion::Yallop, letter));
        }
        const QImage yallop = map.Picture();
        map.findChild<QRadioButton*>("OptOdeh")->click();
        QCOMPARE(map.CurrentCriterion(), Criterion::Odeh);
        QVERIFY(map.Picture() != yallop);
        for (const auto& [lon, lat] : cells) {
            const auto [shown, letter] = cellColour(lon, lat);
            QCOMPARE(shown, ui::CellColour(Criterion::Yallop, YallopOfOdeh(letter)));
        }

        QTemporaryDir folder;
        QString proposed;
        map.SetPathChooser([&](QWidget*, const QString& path) {
            proposed = path;
            return folder.filePath(QStringLiteral("map.png"));
        });
        QTest::mouseClick(Button(map, "CmdSave"), Qt::LeftButton);
        QVERIFY(proposed.endsWith(QStringLiteral("crescent-2024-03-10-odeh.png")));
        QCOMPARE(QImage(folder.filePath(QStringLiteral("map.png"))), map.Picture());
        // A folder that does not exist: the message, nothing written.
        map.SetPathChooser([&](QWidget*, const QString&) {
            return folder.filePath(QStringLiteral("missing/map.png"));
        });
        QTest::mouseClick(Button(map, "CmdSave"), Qt::LeftButton);
        QCOMPARE(int(messages.messages.size()), 1);
        // A FIFO: refused unopened, the file and the reason named.
        const QString fifo = folder.filePath(QStringLiteral("fifo.png"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        map.SetPathChooser([&](QWidget*, const QString&) { return fifo; });
        QTest::mouseClick(Button(map, "CmdSave"), Qt::LeftButton);
        QCOMPARE(int(messages.messages.size()), 2);
        QVERIFY(QString::fromStdString(messages.messages[1].arabic).contains(fifo));
        QVERIFY(QString::fromStdString(messages.messages[1].arabic)
                    .startsWith(QStringLiteral("تعذّر حفظ الخريطة في الملف")));
        QVERIFY(QString::fromStdString(messages.messages[1].english).contains("it is a FIFO"));
        // A link: replaced by the picture, the file it points to left as it was.
        const QString victim = folder.filePath(QStringLiteral("victim.png")),
                      link = folder.filePath(QStringLiteral("link.png"));
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly));
        v.write("victim");
        v.close();
        QVERIFY(QFile::link(victim, link));
        map.SetPathChooser([&](QWidget*, const QString&) { return link; });
        QTest::mouseClick(Button(map, "CmdSave"), Qt::LeftButton);
        QCOMPARE(int(messages.messages.size()), 2);
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(QImage(link), map.Picture());
        QCOMPARE(QFileInfo(victim).size(), 6);
        // Cancelled: nothing.
        map.SetPathChooser([](QWidget*, const QString&) { return QString(); });
        QTest::mouseClick(Button(map, "CmdSave"), Qt::LeftButton);
        QCOMPARE(int(messages.messages.size()), 2);
    }

    // Odeh's zones mean what four of Yallop's mean (A easily seen, B seen in perfect
    // conditions, C with optical aid only, D not seen): each takes that zone's colour.
    void eachOdehZoneHasTheColourOfYallopsZoneOfTheSameMeaning() {
        for (const char letter : {'A', 'B', 'C', 'D'})
            QCOMPARE(ui::CellColour(Criterion::Odeh, letter),
                     ui::CellColour(Criterion::Yallop, YallopOfOdeh(letter)));
        // The six of Yallop's, each its own.
        for (const char a : {'A', 'B', 'C', 'D', 'E', 'F'})
            for (const char b : {'A', 'B', 'C', 'D', 'E', 'F'})
                QCOMPARE(
                    ui::CellColour(Criterion::Yallop, a) == ui::CellColour(Criterion::Yallop, b),
                    a == b);
    }

    // Coasts where they are: the Mediterranean coast of Egypt crosses 28° E near 31° N (El
    // Alamein 30.8° N, Mersa Matruh 31.4° N); the same latitude South is inland South Africa.
    void theCoastlinesAreDrawnWhereTheCoastsAre() {
        RecordingMessenger messages;
        const CrescentMapGrid grid = CrescentMapOf(2024, 3, 10, false);
        ui::FrmCarte map(messages, grid, nullptr, SourceData());
        QVERIFY(messages.messages.empty());
        // The darkest pixel of the column of 28° E between two latitudes (4 pixels a degree).
        const auto darkest = [&map](double north, double south) {
            const QImage& p = map.Picture();
            const int x = 48 + static_cast<int>((28 + 180) * 4);
            int least = 255 * 3;
            for (int y = 96 + static_cast<int>((60 - north) * 4); y <= 96 + (60 - south) * 4; ++y) {
                const QColor c = p.pixelColor(x, y);
                least = std::min(least, c.red() + c.green() + c.blue());
            }
            return least;
        };
        QVERIFY2(darkest(31.7, 30.3) < 300, "no coast near 31 N at 28 E");
        QVERIFY2(darkest(-30.3, -31.7) > 300, "a coast near 31 S at 28 E");
    }

    void coastlinesThatCannotBeReadAreSaid() {
        QTemporaryDir empty;
        ui::Coastlines coast;
        QString error;
        QVERIFY(!ui::LoadCoastlines({empty.path()}, coast, error));
        QVERIFY(error.contains(empty.path()));
        QVERIFY(ui::LoadCoastlines(SourceData(), coast, error));
        // Natural Earth's 1:110m land: over a hundred rings, Africa among them.
        QVERIFY(coast.rings.size() > 100);
        bool africa = false;
        for (const auto& ring : coast.rings)
            for (const QPointF& p : ring)
                africa = africa || (p.x() > 18 && p.x() < 19 && p.y() < -34);
        QVERIFY(africa);  // the Cape of Good Hope, 18.5 E 34.4 S
    }

    void theButtonShowsTheQiblaReport_data() { TableRows(kPlaces); }
    void theButtonShowsTheQiblaReport() {
        const Place& c = TableRow(kPlaces);
        MainWindowUnderTest w;
        QVERIFY(Button(w.main, "CmdQibla")->isEnabled());  // before any Sun
        QCOMPARE(Button(w.main, "CmdQibla")->text(), QStringLiteral("القبلة"));
        if (c.east) QTest::mouseClick(w.main.findChild<QRadioButton*>("OptE"), Qt::LeftButton);
        w.Set("TxtDegLon", c.lonDeg);
        w.Set("TxtMinLon", "0");
        w.Set("TxtDegLat", c.latDeg);
        w.Set("TxtMinLat", "0");
        w.Set("TxtZone", c.zone);
        const CliResult cli = w.Cli("qibla");
        QCOMPARE(cli.status, 0);
        w.Press("CmdQibla");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        QCOMPARE(w.shown.texts.back(), Q(cli.out));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("اتجاه القبلة من الشمال الحقيقي")));
        if (*c.bearing)
            QVERIFY2(w.shown.texts.back().contains(QString(" = ") + c.bearing), c.bearing);
        QVERIFY(w.messages.messages.empty());
        // The Qibla computes no Sun for the Moon and the planets.
        QVERIFY(!Button(w.main, "CmdPln0")->isEnabled());
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::CrescentWindowTest)
#include "ui_crescent_test.moc"
