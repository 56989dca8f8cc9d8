// The place search: matches (namesakes by region), Return, the fields filled (the zone of the
// window's date), recent and own places, the line under the place, the local clock beside the
// Sun's report; the timetable and the map take the place.
#include "FrmCarte.h"
#include "FrmTimetable.h"
#include "PlaceSearch.h"
#include "RecentPlaces.h"
#include "ReportSidePanel.h"
#include "UiSupport.h"

namespace zerin::test {

class PlacesWindowTest : public QObject {
    Q_OBJECT

    QString data_;

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
    void init() { QFile::remove(Q(places::RecentPlacesPath())); }

    void returnTakesTheFirstMatchAndFillsTheFields_data() { DataFileRows("places-filled.txt"); }
    void returnTakesTheFirstMatchAndFillsTheFields() {
        const DataFileRow c = DataRow();
        MainWindowUnderTest w;
        QVERIFY(w.main.Search().Loaded());
        Type(w.main.Search().Field(), c["typed"]);
        QCOMPARE(w.main.Search().Shown().value(0), c["shown"]);
        QTest::keyClick(w.main.Search().Field(), Qt::Key_Return);
        QCOMPARE(Texts(w.main,
                       "TxtDegLon TxtMinLon TxtSecLon TxtDegLat TxtMinLat TxtSecLat "
                       "TxtZone TxtEteRegl"),
                 c["fields"]);
        for (const QString& side : c["sides"].split(' '))
            QVERIFY2(w.Checked(side), qPrintable(side));
        QVERIFY(w.shown.kinds.empty() && w.messages.messages.empty());  // Return ran nothing
        // The Sun's report is the command line's for the fields; its title names the place.
        w.Press("CmdSun");
        QCOMPARE(w.shown.texts.front(), Q(w.Cli("sun").out));
        QCOMPARE(w.shown.titles.front(),
                 QStringLiteral("تقرير الشمس — ") + w.main.Search().Field()->text());
        // A changed field of the place forgets its name.
        w.Set("TxtMinLat", "12");
        w.Press("CmdSun");
        QCOMPARE(w.shown.titles.back(), QStringLiteral("تقرير الشمس"));
    }

    // Namesakes in one country are told apart by region: Sidney in Ohio, Nebraska and Montana.
    void namesakesShowTheirRegions() {
        MainWindowUnderTest w;
        Type(w.main.Search().Field(), QStringLiteral("Sidney"));
        QStringList american;
        for (const QString& label : w.main.Search().Shown())
            if (label.endsWith(QStringLiteral("الولايات المتحدة"))) american << label;
        QVERIFY2(american.size() >= 3, qPrintable(american.join('|')));
        for (const char* region : {"Ohio", "Nebraska", "Montana"})
            QCOMPARE(american.filter(QStringLiteral("\u2066%1\u2069،").arg(region)).size(), 1);
        QCOMPARE(QSet<QString>(american.begin(), american.end()).size(), american.size());
    }

    // Return takes the match the drop-down highlights, moved by the arrows or the pointer.
    void returnTakesTheHighlightedMatch() {
        MainWindowUnderTest w;
        w.main.show();
        Type(w.main.Search().Field(), QStringLiteral("Fès"));
        QAbstractItemView* popup = w.main.Search().Popup();
        QTRY_VERIFY(popup->isVisible());
        QCOMPARE(popup->currentIndex().row(), 0);
        QTest::keyClick(popup, Qt::Key_Down);
        // The name the second row shows, without its isolates.
        const QString second = popup->currentIndex()
                                   .data()
                                   .toString()
                                   .section(" — ", 0, 0)
                                   .section("،", 0, 0)
                                   .remove(QRegularExpression("[\u2066\u2069]"));
        QVERIFY(second != w.main.Search().Shown().front().section(QStringLiteral(" — "), 0, 0));
        QTest::keyClick(popup, Qt::Key_Return);
        QCOMPARE(w.main.PlaceName(), second);
        QTRY_COMPARE(w.main.Search().Field()->text(), second);
        // Back in the field by a click, the name is selected: typing starts a new search.
        QVERIFY(QTest::qWaitForWindowActive(&w.main));
        w.main.findChild<QWidget*>("TxtZone")->setFocus();
        QTest::mouseClick(w.main.Search().Field(), Qt::LeftButton);
        QCOMPARE(w.main.Search().Field()->selectedText(), second);
    }

    // The places picked last come first in a new window (its fields the defaults), before typing
    // and among the matches; a damaged file offers nothing.
    void thePlacesPickedLastComeFirst() {
        {
            MainWindowUnderTest w;
            w.PickPlace(QStringLiteral("جدة"));
            w.PickPlace(QStringLiteral("الرباط"));
        }
        MainWindowUnderTest w;
        QCOMPARE(w.Field("TxtDegLon"), QStringLiteral("5"));
        w.main.Search().OfferRecent();
        QCOMPARE(w.main.Search().Shown().mid(0, 2),
                 (QStringList{QStringLiteral("الرباط، المغرب"),
                              QStringLiteral("جدة، المملكة العربية السعودية")}));
        Type(w.main.Search().Field(), QStringLiteral("ج"));
        QCOMPARE(w.main.Search().Shown().front(), QStringLiteral("جدة، المملكة العربية السعودية"));
        WriteBytes(Q(places::RecentPlacesPath()), "\t\t\xff\nx\t1\t2\n");
        MainWindowUnderTest damaged;
        damaged.main.Search().OfferRecent();
        QVERIFY(damaged.main.Search().Shown().isEmpty());
        damaged.PickPlace(QStringLiteral("Xqzwvbnk"));  // an unknown name: said, nothing changed
        QVERIFY(damaged.main.Search().Shown().isEmpty());
        QCOMPARE(damaged.main.Search().Status()->text(), QStringLiteral("لا مكان بهذا الاسم"));
        QCOMPARE(damaged.Field("TxtDegLon"), QStringLiteral("5"));
    }

    void aSavedPlaceComesFirstAndKeepsItsZone() {
        const QString file = data_ + QStringLiteral("/zerin/places.csv");
        {
            MainWindowUnderTest w;
            w.PickPlace(QStringLiteral("Rabat"));
            const auto save = [&w](const QString& name) {
                w.main.Search().Field()->setText(name);
                QTest::mouseClick(w.main.Search().SaveButton(), Qt::LeftButton);
                return w.main.Search().Status()->toolTip();
            };
            QCOMPARE(save(QStringLiteral("مسجد الحي")),
                     QStringLiteral("حُفظ «مسجد الحي» بتوقيت \u2066Africa/Casablanca\u2069"));
            w.Set("TxtDegLon", "5");  // fields typed by hand: the zone field's hours
            w.Set("TxtZone", "-1");
            QCOMPARE(save(QStringLiteral("Home")),
                     QStringLiteral("حُفظ «Home» بتوقيت \u2066UTC+01:00\u2069 الثابت"));
            w.Set("TxtZone", "-5.5");  // not whole hours: refused, said, nothing lost
            save(QStringLiteral("Delhi"));
            save(QString());  // no name: said
            QCOMPARE(w.messages.messages.size(), std::size_t(2));
        }
        QCOMPARE(ReadBytes(file),
                 QByteArray("# Your own places (zerin places --mine), written by Zerin: one place "
                            "a row.\nname,latitude,longitude,zone\n"
                            "مسجد الحي,34:0:47.52N,6:49:57.36W,Africa/Casablanca\n"
                            "Home,34:0:47.52N,5:49:57.36W,-1\n"));
        MainWindowUnderTest w;
        Type(w.main.Search().Field(), QStringLiteral("مسجد"));
        QCOMPARE(w.main.Search().Shown().front(), QStringLiteral("مسجد الحي — مكان محفوظ"));
        QTest::keyClick(w.main.Search().Field(), Qt::Key_Return);
        QCOMPARE(w.Field("TxtSecLon"), QStringLiteral("57.36"));
        QCOMPARE(w.main.PlaceName(), QStringLiteral("مسجد الحي"));
        QFile::remove(file);
    }

    // Rabat with a second typed in Arabic digits, saved, keeps Casablanca's clock: Greenwich time
    // in Ramadan until 22 March 2026.
    void anEditedTownKeepsItsClock() {
        {
            MainWindowUnderTest w;
            w.PickPlace(QStringLiteral("الرباط"));
            w.Set("TxtSecLon", "٣٠");
            QCOMPARE(w.main.PlaceName(), QString());
            QCOMPARE(w.main.Search().Status()->text(), QString());  // no longer Rabat's
            w.main.Search().Field()->setText(QStringLiteral("مسجد الحي"));
            QTest::mouseClick(w.main.Search().SaveButton(), Qt::LeftButton);
        }
        const CliResult r = RunCli(
            {"times", "--place", "مسجد الحي", "--from", "2026-03-01", "--days", "31", "--csv"});
        QFile::remove(data_ + QStringLiteral("/zerin/places.csv"));
        const QStringList lines =
            Q(r.out).split(QLatin1Char('\n')).filter(QStringLiteral("2026-03-"));
        QCOMPARE(lines.size(), 31);
        for (const QString& line : lines)
            QCOMPARE(line.section(QLatin1Char(','), 1, 1), line.mid(8, 2).toInt() < 22
                                                               ? QStringLiteral("+00:00")
                                                               : QStringLiteral("+01:00"));
    }

    // The line under the place reads it as computed; a picked town's zone follows the date: Rabat
    // on 10 March 2026 (Ramadan: Greenwich time, an hour behind its standard +1).
    void theLineReadsThePlaceAndItsClockOnTheDate() {
        MainWindowUnderTest w;
        w.PickPlace(QStringLiteral("الرباط"));
        SetFields(w.main, "TxtYear=2026 TxtMonth=3 TxtDay=10 TxtSecLon=30");
        QCOMPARE(Texts(w.main, "TxtZone TxtEteRegl"), QStringLiteral("-1 -1"));
        auto* line = w.main.findChild<QLabel*>("LblPlaceReading");
        QCOMPARE(line->text(),
                 QStringLiteral("٣٤° ٠′ ٤٧٫٥٢″ شمالاً، ٦° ٤٩′ ٣٠″ غرباً، التوقيت: \u2066Africa/"
                                "Casablanca\u2069 (\u2066UTC+00:00\u2069 في هذا التاريخ)"));
        w.Set("TxtEteRegl", "0");  // a summer time typed by hand stays as the date moves
        w.Set("TxtDay", "11");
        QCOMPARE(w.Field("TxtEteRegl"), QStringLiteral("0"));
        w.Set("TxtZone", "-2");  // a zone typed: the fields' clock
        QVERIFY(line->text().endsWith(QStringLiteral("التوقيت: \u2066UTC+02:00\u2069")));
    }

    // Beside the Sun's report of Sydney in its summer, `zerin times`'s times on the local clock,
    // and the report's own clock above; the Moon's report has neither.
    void theSunsReportShowsTheLocalClockBesideIt() {
        MainWindowUnderTest w;
        SetFields(w.main, "TxtMonth=1 TxtDay=15");
        w.PickPlace(QStringLiteral("Sydney"));
        QCOMPARE(w.Field("TxtEteRegl"), QStringLiteral("1"));
        const CliResult cli = w.Cli("sun");
        w.Press("CmdSun");
        ui::FrmCalc& report = w.main.ReportWindow();
        QCOMPARE(w.shown.texts.back(), Q(cli.out));  // the report's bytes are its own
        const QStringList row =
            Q(RunCli(Words("times --place Sydney --from 2005-01-15 --days 1 --csv")).out)
                .split(QLatin1Char('\n'))
                .at(1)
                .split(QLatin1Char(','));
        const char* const names[] = {"الفجر",        "الشروق", "الزوال", "العصر الأول",
                                     "العصر الثاني", "الغروب", "العشاء"};
        for (int k = 0; k < 7; ++k)
            QCOMPARE(report.SidePanel().TimeOf(QString::fromUtf8(names[k])), row.at(2 + k));
        auto* note = report.findChild<QLabel*>("LblClockNote");
        QVERIFY2(note->text().contains(QStringLiteral(
                     "للمنطقة، \u2066UTC+10:00\u2069، دون التوقيت الصيفي؛ وساعة المكان "
                     "\u2066UTC+11:00\u2069")),
                 qPrintable(note->text()));
        // The method these times follow is the one named (Sydney's timetable window may pick
        // another for Australia).
        QVERIFY(report.findChild<QLabel*>("LblLocalNote")
                    ->text()
                    .startsWith(QStringLiteral("كما يعطيها جدول المواقيت بطريقة وزارة الأوقاف")));
        w.Set("TxtZone", "-10.0");  // the zone typed by hand: the fields' clock, the same that day
        w.Press("CmdSun");
        QCOMPARE(report.SidePanel().TimeOf(QString::fromUtf8(names[0])), row.at(2));
        w.Press("CmdPln0");
        QVERIFY(note->isHidden());
        QVERIFY(report.SidePanel().TimeOf(QString::fromUtf8(names[0])).isEmpty());
    }

    void theTimetableTakesThePlacesNameAndZone() {
        RecordingMessenger messages;
        ui::FrmTimetable window(messages, services::FieldOptions{});
        window.SetPlace(QStringLiteral("الرباط"), QStringLiteral("Africa/Casablanca"));
        QCOMPARE(window.findChild<QLineEdit*>("TxtPlaceName")->text(), QStringLiteral("الرباط"));
        const QModelIndex zone = window.findChild<QListView*>("LstZones")->currentIndex();
        QCOMPARE(zone.data(ui::FrmTimetable::kZoneIdRole).toString(),
                 QStringLiteral("Africa/Casablanca"));
        QCOMPARE(zone.data().toString(),
                 QStringLiteral("الدار البيضاء، المغرب — \u2066Africa/Casablanca\u2069"));
        const std::vector<std::string>& args = window.TimesArgs();
        QVERIFY(std::find(args.begin(), args.end(), "Africa/Casablanca") != args.end());
    }

    // The map opens on the first evening after the nearest conjunction at the place (27 April
    // 2025 19:31 UT, after Jeddah's evening: 28 April), named; its buttons and date step it.
    void theCrescentMapOpensAfterTheConjunctionAtThePlace() {
        MainWindowUnderTest w;
        SetFields(w.main, "TxtYear=2025 TxtMonth=4 TxtDay=20");
        w.PickPlace(QStringLiteral("جدة"));
        QStringList days;
        w.main.SetModalRunner([&](QDialog& dialog) {
            auto* map = qobject_cast<ui::FrmCarte*>(&dialog);
            QCOMPARE(map->windowTitle(), QStringLiteral("خريطة الهلال — جدة"));
            const auto day = [map] { return QString::number(map->Grid().day); };
            days << day();
            for (const char* step : {"CmdPrevEvening", "CmdNextEvening"}) {
                QTest::mouseClick(Get<QPushButton>(*map, step), Qt::LeftButton);
                days << day();
            }
            auto* date = map->findChild<QDateEdit*>("DteEvening");
            date->setDate(QDate(2025, 5, 1));
            emit date->editingFinished();
            days << day();
        });
        w.Press("CmdCarte");
        QCOMPARE(days, (QStringList{"28", "27", "28", "1"}));
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::PlacesWindowTest)
#include "ui_places_test.moc"
