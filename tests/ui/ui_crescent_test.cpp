// The crescent's and the Qibla's reports against the command line's, refused dates, and the
// crescent's map window: its criteria, colours, coasts and saving.
#include "CrescentMapImage.h"
#include "FrmCarte.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

// Mecca on 10 March 2024, the evening of the report's golden file.
struct Window : MainWindowUnderTest {
    Window() {
        Choose("OptE");
        SetFields(main,
                  "TxtDegLon=39 TxtMinLon=49 TxtSecLon=34 TxtDegLat=21 TxtMinLat=25 "
                  "TxtSecLat=21 TxtZone=-3 TxtYear=2024 TxtMonth=3 TxtDay=10 TxtHour=7");
    }
};

// Yallop's zone meaning what an Odeh zone means (A seen, B in perfect conditions, C with aid,
// D not seen).
char YallopOfOdeh(char letter) {
    return letter == 'C' ? 'D' : letter == 'D' ? 'F' : letter;
}

const QStringList kData{QStringLiteral(ZERIN_SOURCE_UI "/../data")};

// A pixel of the map at 4 pixels a degree, the frame at the left margin and 96 pixels down.
QColor MapPixel(const ui::FrmCarte& map, double eastLon, double lat) {
    return map.Picture().pixelColor(48 + int((eastLon + 180) * 4), 96 + int((60 - lat) * 4));
}

}  // namespace

class CrescentWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpLook(); }

    // The evening's report (the golden file's), the morning's, and 31 April limited to 30; the
    // hour kept.
    void theButtonShowsTheCommandLinesReport() {
        for (const auto& [morning, month, day] :
             {std::tuple{false, "3", "10"}, {true, "3", "9"}, {false, "4", "31"}}) {
            Window w;
            QVERIFY(Get<QRadioButton>(w.main, "OptSoir")->isChecked());
            if (morning) w.Choose("OptMatin");
            w.Set("TxtMonth", month), w.Set("TxtDay", day);
            std::vector<std::string> args = ReportArgsOf(w.main, "crescent", true, true);
            if (morning) args.push_back("--morning");
            const CliResult cli = RunCli(args);
            QCOMPARE(cli.status, 0);
            w.Press("CmdHilal");
            QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
            QCOMPARE(w.shown.texts.front(), Q(cli.out));
            QVERIFY(w.messages.messages.empty());
            if (!morning && *month == '3')
                QCOMPARE(w.shown.texts.front(), Q(Golden("report-crescent-2024-03-10-mecca.txt")));
            QCOMPARE(w.Field("TxtDay") + w.Field("TxtHour"),
                     *month == '4' ? "307" : QString(day) + "7");
        }
    }

    void refusedDatesSayWhyAndOpenNothing_data() { DataFileRows("crescent-refused.txt"); }
    void refusedDatesSayWhyAndOpenNothing() {
        const DataFileRow c = DataRow();
        Window w;
        SetFields(w.main, "TxtYear=1582 TxtMonth=" + c["month"] + " TxtDay=" + c["day"]);
        w.Press(c["button"]);
        QVERIFY(w.shown.kinds.empty());
        QCOMPARE(int(w.messages.messages.size()), 1);
    }

    // Cells in the Pacific, over Mexico and in Africa in their zone's colour (Odeh's as Yallop's
    // of the same meaning); the picture saved as shown, under the name proposed.
    void theMapWindowDrawsEachCriterionAndSavesIt() {
        RecordingMessenger messages;
        const CrescentMapGrid grid = CrescentMapOf(2024, 3, 10, false);
        ui::FrmCarte map(messages, grid, nullptr, kData);
        QVERIFY(messages.messages.empty());
        QCOMPARE(map.CurrentCriterion(), Criterion::Yallop);
        const QImage yallop = map.Picture();
        for (const bool odeh : {false, true}) {
            if (odeh) Get<QRadioButton>(map, "OptOdeh")->click();
            QCOMPARE(map.CurrentCriterion(), odeh ? Criterion::Odeh : Criterion::Yallop);
            for (const auto& [lon, lat] : {std::pair{-170.5, 20.5}, {-100.5, 20.5}, {30.5, 0.5}}) {
                const char letter = grid.At(map.CurrentCriterion(), int(60 - lat), int(lon + 180));
                QCOMPARE(MapPixel(map, lon, lat),
                         ui::CellColour(Criterion::Yallop, odeh ? YallopOfOdeh(letter) : letter));
            }
        }
        QVERIFY(map.Picture() != yallop);
        QSet<QRgb> colours;  // Yallop's six zones, each its own
        for (const char a : {'A', 'B', 'C', 'D', 'E', 'F'})
            colours.insert(ui::CellColour(Criterion::Yallop, a).rgb());
        QCOMPARE(colours.size(), 6);
        QTemporaryDir folder;
        QString proposed, chosen = folder.filePath(QStringLiteral("map.png"));
        map.SetPathChooser([&](QWidget*, const QString& path) {
            proposed = path;
            return chosen;
        });
        const auto save = [&](const QString& path) {
            chosen = path;
            QTest::mouseClick(Button(map, "CmdSave"), Qt::LeftButton);
        };
        save(chosen);
        QVERIFY(proposed.endsWith(QStringLiteral("crescent-2024-03-10-odeh.png")));
        QCOMPARE(QImage(chosen), map.Picture());
        CheckSavesRefused(folder.path(), ".png", messages, save);
        QVERIFY(Q(messages.messages.back().arabic)
                    .startsWith(QStringLiteral("تعذّر حفظ الخريطة في الملف")));
        save(QString());  // cancelled: nothing
        QCOMPARE(int(messages.messages.size()), 3);
    }

    // Egypt's coast crosses 28° E near 31° N (El Alamein 30.8, Mersa Matruh 31.4), South Africa
    // there is inland; Natural Earth's 1:110m land holds the Cape (18.5 E 34.4 S).
    void theCoastlinesAreDrawnWhereTheCoastsAre() {
        RecordingMessenger messages;
        const CrescentMapGrid grid = CrescentMapOf(2024, 3, 10, false);
        ui::FrmCarte map(messages, grid, nullptr, kData);
        const auto darkest = [&map](double north, double south) {
            int least = 255 * 3;
            for (double lat = north; lat >= south; lat -= 0.25) {
                const QColor c = MapPixel(map, 28, lat);
                least = std::min(least, c.red() + c.green() + c.blue());
            }
            return least;
        };
        QVERIFY2(darkest(31.7, 30.3) < 300, "no coast near 31 N at 28 E");
        QVERIFY2(darkest(-30.3, -31.7) > 300, "a coast near 31 S at 28 E");
        QTemporaryDir empty;
        ui::Coastlines coast;
        QString error;
        QVERIFY(!ui::LoadCoastlines({empty.path()}, coast, error) && error.contains(empty.path()));
        QVERIFY(ui::LoadCoastlines(kData, coast, error) && coast.rings.size() > 100);
        bool cape = false;
        for (const auto& ring : coast.rings)
            for (const QPointF& p : ring) cape = cape || (p.x() > 18 && p.x() < 19 && p.y() < -34);
        QVERIFY(cape);
    }

    // The Qibla computes no Sun for the Moon and the planets.
    // A place's mark changes the picture within its ring and name only: the legend drawn after
    // it keeps its own colours.
    void aMarkChangesThePictureAroundThePlaceOnly() {
        const CrescentMapGrid grid = CrescentMapOf(2025, 4, 28, false);
        const ui::MapMark jeddah{39.1862, 21.4901, QStringLiteral("جدة")};
        const QImage plain = ui::CrescentMapImage(grid, Criterion::Yallop, {});
        const QImage marked = ui::CrescentMapImage(grid, Criterion::Yallop, {}, 4, &jeddah);
        QCOMPARE(marked.size(), plain.size());
        const int x = 48 + int((jeddah.eastLongitude + 180) * 4),
                  y = 96 + int((60 - jeddah.latitude) * 4);
        int changed = 0;
        for (int row = 0; row < plain.height(); ++row)
            for (int column = 0; column < plain.width(); ++column)
                if (plain.pixel(column, row) != marked.pixel(column, row)) {
                    ++changed;
                    QVERIFY2(std::abs(column - x) <= 170 && row >= y - 12 && row <= y + 32,
                             qPrintable(QStringLiteral("%1,%2").arg(column).arg(row)));
                }
        QVERIFY(changed > 50);
    }

    void theButtonShowsTheQiblaReport_data() { DataFileRows("qibla.txt"); }
    void theButtonShowsTheQiblaReport() {
        const DataFileRow c = DataRow();
        MainWindowUnderTest w;
        if (!c["side"].isEmpty()) w.Choose(c["side"]);
        SetFields(w.main, c["fields"]);
        const CliResult cli = w.Cli("qibla");
        QCOMPARE(cli.status, 0);
        w.Press("CmdQibla");
        QCOMPARE(w.shown.texts, std::vector<QString>{Q(cli.out)});
        QVERIFY(Q(cli.out).contains(QStringLiteral("اتجاه القبلة من الشمال الحقيقي")));
        QVERIFY2(Q(cli.out).contains(" = " + c["bearing"]), qPrintable(c["bearing"]));
        QVERIFY(w.messages.messages.empty() && !Button(w.main, "CmdPln0")->isEnabled());
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::CrescentWindowTest)
#include "ui_crescent_test.moc"
