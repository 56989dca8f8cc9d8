// The Qibla button of the main window: the report of `zerin report qibla` for the fields,
// from the start (it needs no Sun), and a refused date.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "FrmMain.h"
#include "TestSupport.h"
#include "UiSupport.h"

namespace zerin::test {

class QiblaButtonTest : public QObject {
    Q_OBJECT

    using Window = MainWindowUnderTest;

  private slots:
    void theButtonShowsTheQiblaReport_data() {
        QTest::addColumn<QString>("lonDeg");
        QTest::addColumn<bool>("east");
        QTest::addColumn<QString>("latDeg");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("bearing");  // the first digits the report writes
        // The default place, and Tokyo (East, zone -9) with its published bearing 293.021.
        QTest::newRow("default place") << "5" << false << "32"
                                       << "0"
                                       << "";
        QTest::newRow("Tokyo") << "139.6917" << true << "35.6895"
                               << "-9"
                               << "293.02";
    }

    void theButtonShowsTheQiblaReport() {
        QFETCH(QString, lonDeg);
        QFETCH(bool, east);
        QFETCH(QString, latDeg);
        QFETCH(QString, zone);
        QFETCH(QString, bearing);
        Window w;
        QVERIFY(Button(w.main, "CmdQibla")->isEnabled());  // before any Sun
        QCOMPARE(Button(w.main, "CmdQibla")->text(), QStringLiteral("القبلة"));
        if (east) QTest::mouseClick(w.main.findChild<QRadioButton*>("OptE"), Qt::LeftButton);
        w.Set("TxtDegLon", lonDeg.toUtf8().constData());
        w.Set("TxtMinLon", "0");
        w.Set("TxtDegLat", latDeg.toUtf8().constData());
        w.Set("TxtMinLat", "0");
        w.Set("TxtZone", zone.toUtf8().constData());
        const CliResult cli = w.Cli("qibla");
        QCOMPARE(cli.status, 0);
        w.Press("CmdQibla");
        QCOMPARE(w.shown.kinds, std::vector<QString>{"FrmCalc"});
        QCOMPARE(w.shown.texts.back(), QString::fromStdString(cli.out));
        QVERIFY(w.shown.texts.back().contains(QStringLiteral("إتجاه القبلة من الشمال الحقيقي")));
        if (!bearing.isEmpty())
            QVERIFY2(w.shown.texts.back().contains(" = " + bearing), qPrintable(bearing));
        QVERIFY(w.messages.messages.empty());
        // The Qibla computes no Sun for the Moon and the planets.
        QVERIFY(!Button(w.main, "CmdPln0")->isEnabled());
    }

    void aRefusedDateShowsTheMessageAndNoReport() {
        Window w;
        w.Set("TxtYear", "1582");
        w.Set("TxtMonth", "10");
        w.Set("TxtDay", "10");
        w.Press("CmdQibla");
        QCOMPARE(w.messages.messages.size(), 1u);
        QVERIFY(w.shown.kinds.empty());
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::QiblaButtonTest)
#include "ui_qibla_test.moc"
