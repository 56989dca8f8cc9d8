// The tabular Hijri calendar against Qt's own (QCalendar, Islamic Civil), and the main
// window's Hijri row: the date shown as the fields change, the rule chosen, the fallback
// named, and the month report its command shows.
#include <QCalendar>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "FrmMain.h"
#include "TestSupport.h"
#include "UiSupport.h"
#include "hijri/Hijri.h"
#include "hijri/HijriRules.h"

namespace zerin::test {

class HijriTest : public QObject {
    Q_OBJECT

    struct Window : MainWindowUnderTest {
        void Date(const char* year, const char* month, const char* day) {
            SetField(main, "TxtYear", year);
            SetField(main, "TxtMonth", month);
            SetField(main, "TxtDay", day);
        }
        QString Shown() { return main.findChild<QLabel*>("LblHijri")->text(); }
        QComboBox* Rules() { return main.findChild<QComboBox*>("CboHijriRule"); }
    };

    static QString Q(const char* text) { return QString::fromUtf8(text); }

  private slots:
    void initTestCase() { SetUpLook(); }

    // Every month's first day of 1 to 1600 AH, both ways: ours is Qt's.
    void tabularCivilEqualsQtEveryMonth() {
        const QCalendar qt(QCalendar::System::IslamicCivil);
        QVERIFY(qt.isValid());
        for (int year = 1; year <= 1600; ++year)
            for (int month = 1; month <= 12; ++month) {
                const DayNumber start = TabularDayNumber({year, month, 1}, HijriEpoch::Civil);
                const QDate first = qt.dateFromParts(year, month, 1);
                if (first.toJulianDay() != start)
                    QFAIL(qPrintable(QStringLiteral("%1-%2: ours %3, Qt's %4")
                                         .arg(year)
                                         .arg(month)
                                         .arg(start)
                                         .arg(first.toJulianDay())));
                const QCalendar::YearMonthDay before =
                    qt.partsFromDate(QDate::fromJulianDay(start - 1));
                const HijriDate ours = TabularDateOf(start - 1, HijriEpoch::Civil);
                if (year > 1 || month > 1)
                    QVERIFY2(
                        before.year == ours.year && before.month == ours.month &&
                            before.day == ours.day,
                        qPrintable(QStringLiteral("the day before %1-%2").arg(year).arg(month)));
            }
    }

    // Umm al-Qura by default; the row follows the date fields as they change.
    void theRowFollowsTheFields() {
        Window w;
        w.Date("2025", "3", "1");
        QCOMPARE(w.Shown(), Q("1 رمضان 1446 هـ"));
        SetField(w.main, "TxtDay", "29");
        QCOMPARE(w.Shown(), Q("29 رمضان 1446 هـ"));
        SetField(w.main, "TxtDay", "30");  // 1 Shawwal: Ramadan 1446 had 29 days
        QCOMPARE(w.Shown(), Q("1 شوال 1446 هـ"));
        // A date that does not exist, then one before the era.
        w.Date("2025", "2", "30");
        QVERIFY(w.Shown().startsWith(Q("—")));
        QVERIFY(!Button(w.main, "CmdMonth")->isEnabled());
        w.Date("1582", "10", "10");
        QVERIFY(w.Shown().startsWith(Q("—")));
        w.Date("600", "1", "1");
        QCOMPARE(w.Shown(), Q("— قبل الهجرة"));
    }

    // Each rule of the list, against Qt's calendar where it has one.
    void theChosenRule() {
        Window w;
        w.Date("2025", "3", "1");
        const QCalendar civil(QCalendar::System::IslamicCivil);
        const QCalendar::YearMonthDay qt = civil.partsFromDate(QDate(2025, 3, 1));
        w.Rules()->setCurrentIndex(1);  // the civil epoch
        QCOMPARE(w.Shown(), QStringLiteral("%1 %2 %3 هـ")
                                .arg(qt.day)
                                .arg(Q(HijriMonthName(qt.month)))
                                .arg(qt.year));
        w.Rules()->setCurrentIndex(2);  // the astronomical epoch: a day later in the month
        QCOMPARE(w.Shown(), QStringLiteral("%1 %2 %3 هـ")
                                .arg(qt.day + 1)
                                .arg(Q(HijriMonthName(qt.month)))
                                .arg(qt.year));
        w.Rules()->setCurrentIndex(3);  // computed at Mecca
        QCOMPARE(w.Shown(), Q("1 رمضان 1446 هـ"));
        w.Rules()->setCurrentIndex(4);  // sighting: the place's fields count
        const QString atDefault = w.Shown();
        QVERIFY(atDefault.endsWith(Q("1446 هـ")));
        SetField(w.main, "TxtDegLat", "95");
        QVERIFY(w.Shown().startsWith(Q("—")));
    }

    // Outside Umm al-Qura's table the row says the date is the tabular calendar's.
    void theFallbackIsNamed() {
        Window w;
        w.Date("1800", "1", "1");
        QCOMPARE(w.Shown(),
                 Q("4 شعبان 1214 هـ (التقويم الحسابي : خارج جدول أم القرى 1300-1600 هـ)"));
    }

    // The month command shows the report of the month's start, the command line's own.
    void theMonthCommandShowsTheReport() {
        Window w;
        w.Date("2024", "12", "10");  // Jumada II 1446 by Umm al-Qura
        QTest::mouseClick(Button(w.main, "CmdMonth"), Qt::LeftButton);
        QCOMPARE(w.shown.kinds.size(), std::size_t(1));
        const CliResult cli = RunCli({"report", "month", "--hijri", "1446-06"});
        QCOMPARE(w.shown.texts[0], QString::fromStdString(cli.out));
        QVERIFY(w.messages.messages.empty());
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::HijriTest)
#include "ui_hijri_test.moc"
