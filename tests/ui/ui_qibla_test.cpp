// The Qibla button of the main window: the report of `zerin report qibla` for the fields,
// from the start (it needs no Sun). (A refused date: with the crescent's.)
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "FrmMain.h"
#include "TestSupport.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

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

class QiblaButtonTest : public QObject {
    Q_OBJECT

    using Window = MainWindowUnderTest;

  private slots:
    void theButtonShowsTheQiblaReport_data() { TableRows(kPlaces); }
    void theButtonShowsTheQiblaReport() {
        const Place& c = TableRow(kPlaces);
        Window w;
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
        QCOMPARE(w.shown.texts.back(), QString::fromStdString(cli.out));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("إتجاه القبلة من الشمال الحقيقي")));
        if (*c.bearing)
            QVERIFY2(w.shown.texts.back().contains(QString(" = ") + c.bearing), c.bearing);
        QVERIFY(w.messages.messages.empty());
        // The Qibla computes no Sun for the Moon and the planets.
        QVERIFY(!Button(w.main, "CmdPln0")->isEnabled());
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::QiblaButtonTest)
#include "ui_qibla_test.moc"
