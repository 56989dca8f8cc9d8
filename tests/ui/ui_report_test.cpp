// The report window: its bytes kept by the box, the clipboard and SysReg.txt (and the folders a
// save tries); each paragraph's direction, signs before digits; wrapping; Qt's texts in Arabic;
// Escape, the skin file and the chart beside a body's report.
#include <sys/fsuid.h>
#include <unistd.h>

#include "ReportFile.h"
#include "ReportSidePanel.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

// A report at Mecca (East), or South: signed longitude, latitude (and year) in Arabic lines.
QString EastReport(const std::string& body, bool south, const std::string& year) {
    std::vector<std::string> args = ReportArgs(body, year, "6", "17");
    args.insert(args.end(), {"--east", "--lon-deg", "39", "--lon-min", "49", "--lat-deg", "21",
                             "--lat-min", "25", "--zone", "-3", south ? "--south" : "--north"});
    return Q(RunCli(args).out);
}

const QString kSun = Q(Golden("report-sun-2005-06-17-1200.txt"));

struct Window {
    RecordingMessenger messages;
    ui::FrmCalc calc{messages};
    QTextEdit* box = Get<QTextEdit>(calc, "TxtOut");
    QStringList opened;
    explicit Window(const QStringList& folders = {}, bool openerWorks = true) {
        calc.SetSaveFolders(folders);
        calc.SetOpener([this, openerWorks](const QString& path) {
            opened << path;
            return openerWorks;
        });
    }
    void Show(const QString& text) {
        calc.SetReport(text, ui::FrmCalc::Edge::Left);
        calc.show();
    }
    void Save() { QTest::mouseClick(Button(calc, "CmdCopy"), Qt::LeftButton); }
    QTextBlock Block(const QString& text) {
        for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
            if (block.text().contains(text)) return block;
        return {};
    }
    QString Copy(int from, int to) {
        QTextCursor cursor(box->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        box->copy();
        return QApplication::clipboard()->text();
    }
};

// The left edge of the glyph of the paragraph's character k, as laid out.
qreal GlyphLeft(const QTextBlock& block, int k) {
    block.document()->documentLayout()->blockBoundingRect(block);  // lays it out
    const QList<QGlyphRun> runs = block.layout()->lineForTextPosition(k).glyphRuns(k, 1);
    return runs.isEmpty() ? qQNaN() : runs.front().boundingRect().left();
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SetUpLook(); }

    // Arabic paragraphs read right to left, formulas left to right; no mark enters the text.
    void eachParagraphReadsInItsOwnDirection() {
        Window w;
        w.calc.SetReport(kSun, ui::FrmCalc::Edge::Left);
        int directions[2] = {0, 0};
        for (QTextBlock block = w.box->document()->begin(); block.isValid(); block = block.next()) {
            const Qt::LayoutDirection direction = block.blockFormat().layoutDirection();
            if (block.text().contains(QStringLiteral("طول البلد")))
                QCOMPARE(direction, Qt::RightToLeft);
            if (block.text().startsWith(QStringLiteral("T = (JJ - 2415020) / 36525 = ")))
                QCOMPARE(direction, Qt::LeftToRight);
            ++directions[direction == Qt::RightToLeft];
        }
        QVERIFY(directions[0] > 20 && directions[1] > 20);
        QCOMPARE(w.calc.Text(), kSun);
    }

    // Text(), a copy of everything and the saved file are the report's bytes: the text in quotes
    // (its own as they are), CR LF, UTF-8, an older file replaced whole in the first folder only.
    void textCopyAndFileKeepTheReportsBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("Sun at Mecca") << EastReport("sun", false, "2005") << QByteArray();
        QTest::newRow("Moon, South, year -100") << EastReport("moon", true, "-100") << QByteArray();
        QTest::newRow("exponents and operators")
            << QStringLiteral("1.5E-05 = x قيمة\r\n-2E+20 = y قيمة\r\nقيمة a-5 = (b)-3 - 4 = +7")
            << QByteArray();
        QTest::newRow("the preface: a tab, blanks") << Q(Golden("preface.txt")) << QByteArray();
        QTest::newRow("empty") << QString() << QByteArray("\"\"\r\n");
        QTest::newRow("quotes, no final line end")
            << QStringLiteral("a \"b\"\r\n\r\n  c ") << QByteArray("\"a \"b\"\r\n\r\n  c \"\r\n");
    }
    void textCopyAndFileKeepTheReportsBytes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, record);
        QTemporaryDir folder, second;
        Window w({folder.path(), second.path()});
        w.Show(text);
        QCOMPARE(w.calc.Text(), text);
        QApplication::clipboard()->clear();
        w.box->selectAll();
        w.box->copy();
        QCOMPARE(QApplication::clipboard()->text(), text);
        WriteBytes(folder.filePath("SysReg.txt"), "an older, longer report");
        w.Save();
        const QByteArray saved = ReadBytes(folder.filePath("SysReg.txt"));
        QCOMPARE(saved, record.isEmpty() ? "\"" + text.toUtf8() + "\"\r\n" : record);
        QCOMPARE(saved, ui::ReportRecord(text));
        QCOMPARE(w.opened, QStringList{folder.filePath("SysReg.txt")});
        QVERIFY(w.messages.messages.empty());
        QVERIFY(QDir(second.path()).entryList(QDir::Files).isEmpty());
    }

    // Saved but not opened: said. A folder not writable (even by root: the saves take a user's
    // rights): the next; none: each named. Installed for everyone, the documents folder alone; a
    // copy in the user's own folder saves beside itself first.
    void theFoldersASaveTries() {
        QTemporaryDir root;
        Window unopened({root.path()}, false);
        unopened.Save();
        QVERIFY(Q(unopened.messages.messages.at(0).arabic).contains(root.filePath("SysReg.txt")));
        const QString readOnly = root.filePath("program"), writable = root.filePath("documents");
        QDir().mkpath(readOnly), QDir().mkpath(writable);
        chmod(QFile::encodeName(root.path()).constData(), 0755);
        chmod(QFile::encodeName(readOnly).constData(), 0555);
        chmod(QFile::encodeName(writable).constData(), 0777);
        const auto save = [](Window& w) {
            if (geteuid() == 0) setfsuid(65534);
            w.Save();
            if (geteuid() == 0) setfsuid(0);
        };
        Window fallback({readOnly, writable}), none({readOnly, root.filePath("no/such/folder")});
        save(fallback);
        save(none);
        chmod(QFile::encodeName(readOnly).constData(), 0755);
        QCOMPARE(fallback.opened, QStringList{QDir(writable).filePath("SysReg.txt")});
        QVERIFY(none.opened.isEmpty());
        const QString message = Q(none.messages.messages.at(0).arabic);
        QVERIFY(message.startsWith(QStringLiteral("تعذّر حفظ التقرير")));
        QVERIFY(message.contains(QDir(readOnly).filePath("SysReg.txt")));
        QVERIFY(message.contains(root.filePath("no/such/folder/SysReg.txt")));
        QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (documents.isEmpty()) documents = QDir::homePath();
        QCOMPARE(ui::DefaultSaveFolders("/usr/bin"), QStringList{documents});
        QCOMPARE(ui::DefaultSaveFolders(root.path()), (QStringList{root.path(), documents}));
    }

    // The exit hides the window (Escape: the keys' test), its text kept; Paper.skn beside the
    // program, then in the data folder, else (missing, blank, not UTF-8, a folder) the built-in
    // copy.
    void escapeExitAndTheSkin() {
        Window w;
        w.Show(QStringLiteral("kept"));
        QVERIFY(QTest::qWaitForWindowExposed(&w.calc));
        QTest::mouseClick(Button(w.calc, "CmdExit"), Qt::LeftButton);
        QVERIFY(!w.calc.isVisible() && w.calc.Text() == QStringLiteral("kept"));
        QTemporaryDir beside, data;
        const QStringList folders{beside.path(), data.path()};
        const QString builtIn = ui::SkinSheet(folders), skin = beside.filePath("Paper.skn");
        QCOMPARE(builtIn.toUtf8(), ReadBytes(QStringLiteral(ZERIN_SOURCE_UI "/Paper.skn")));
        for (const auto& [file, sheet] :
             {std::pair{data.filePath("Paper.skn"), "QLabel { color: blue; }"},
              {skin, "QPushButton { color: red; }"}}) {
            QVERIFY(WriteBytes(file, sheet));
            QCOMPARE(ui::SkinSheet(folders), QString::fromUtf8(sheet));
        }
        QFile::remove(data.filePath("Paper.skn"));
        for (const QByteArray& unusable : {QByteArray("  \n"), QByteArray("a { b: \xff\xfe; }")}) {
            QVERIFY(WriteBytes(skin, unusable));
            QCOMPARE(ui::SkinSheet(folders), builtIn);
        }
        QFile::remove(skin);
        QDir().mkpath(skin);
        QCOMPARE(ui::SkinSheet(folders), builtIn);
    }

    // Laid out right to left, the minus stands left of the first digit, the value right of its
    // name.
    void theSignStandsBeforeTheDigits() {
        Window w;
        w.Show(EastReport("sun", true, "-100"));
        QVERIFY(QTest::qWaitForWindowExposed(&w.calc));
        for (const auto& [value, name] : {std::pair{"-39.8166666666667", " = Lon"},
                                          {"-21.4166666666667", " = Lat"},
                                          {"-100", " = Y"}}) {
            const QTextBlock block = w.Block(QLatin1String(name) + QLatin1Char(' '));
            const int minus = int(block.text().indexOf(QLatin1String(value)));
            const qreal sign = GlyphLeft(block, minus), first = GlyphLeft(block, minus + 1);
            QVERIFY2(sign < first, value);
            QVERIFY(first < GlyphLeft(block, minus + int(std::strlen(value)) - 1));
            QVERIFY(GlyphLeft(block, int(block.text().indexOf(QLatin1String(name))) + 3) < sign);
        }
    }

    // The user's edits are kept, the display's marks never: typing, a partial copy, a paste.
    void editsAndPartialCopiesKeepTheBytes() {
        const QString text = EastReport("sun", false, "2005");
        Window w;
        w.Show(text);
        const QTextBlock block = w.Block(QStringLiteral(" = Lon "));
        const int start = block.position() + int(block.text().indexOf(QLatin1Char('-')));
        const int end = block.position() + int(block.text().indexOf(QLatin1Char(' ')));
        QCOMPARE(w.Copy(start, end), QStringLiteral("-39.8166666666667"));
        QCOMPARE(w.Copy(block.position(), block.position() + block.length() + 1),
                 QStringLiteral("-39.8166666666667 = Lon طول البلد بالدرج  \r\n\r\n"));
        for (const auto& [at, typed] : {std::pair{end, "0"}, {start + 1, "1"}}) {
            QTextCursor cursor(w.box->document());  // after the number and its mark, then
            cursor.setPosition(at);                 // between the sign and the digits
            w.box->setTextCursor(cursor);
            QTest::keyClicks(w.box, typed);
        }
        const QString edited = QString(text).replace(QStringLiteral("-39.8166666666667 = Lon"),
                                                     QStringLiteral("-139.81666666666670 = Lon"));
        QCOMPARE(w.calc.Text(), edited);
        w.box->selectAll();
        w.box->copy();
        w.box->paste();
        QCOMPARE(QApplication::clipboard()->text(), edited);
        QCOMPARE(w.calc.Text(), edited);
    }

    // Long lines wrap; the box's menu (in Arabic, as Qt's own OK is) turns wrapping off and on.
    void longLinesWrapAndTheMenuTogglesIt() {
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ar.qm")) {
            QMessageBox box(QMessageBox::Critical, "زيرين", "نص", QMessageBox::Ok);
            QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("حسنًا"));
        }
        Window w;
        w.Show(kSun);
        QVERIFY(QTest::qWaitForWindowExposed(&w.calc));
        const QTextBlock longest = w.Block(QStringLiteral("C = ((1.91946"));
        const auto lines = [&] {
            w.box->document()->documentLayout()->blockBoundingRect(longest);
            return longest.layout()->lineCount();
        };
        QVERIFY(lines() > 1);
        for (const bool wrapping : {true, false}) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                    w.box->viewport()->mapToGlobal(QPoint(20, 20)));
            QApplication::sendEvent(w.box->viewport(), &event);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QAction* wrap = menu->findChild<QAction*>("ActWrap");
            QCOMPARE(wrap->text(), QStringLiteral("التفاف الأسطر الطويلة"));
            QCOMPARE(wrap->isChecked(), wrapping);
            wrap->trigger();
            menu->close();
            QCOMPARE(lines() > 1, !wrapping);
            QCOMPARE(w.box->horizontalScrollBar()->maximum() > 0, wrapping);
        }
        QCOMPARE(w.calc.Text(), kSun);
    }

    // Beside the Sun's report its day's chart, beside the Moon's and a planet's the sky; the text
    // unchanged, the panel hideable, none for the preface.
    void aBodysReportHasItsChartBeside() {
        MainWindowUnderTest w;
        ui::FrmCalc& report = w.main.ReportWindow();
        const auto chart = [&report] {
            QWidget* c = report.SidePanel().Chart();
            return c && c->isVisibleTo(&report) ? c->objectName() : QString();
        };
        for (const auto& [button, shown, times] : {std::tuple{"CmdSun", "ChtSunDay", true},
                                                   {"CmdPln0", "ChtSky", false},
                                                   {"CmdPln5", "ChtSky", false}}) {
            w.Press(button);
            QCOMPARE(chart(), QLatin1String(shown));
            QCOMPARE(report.SidePanel().TimeOf(QStringLiteral("الفجر")).isEmpty(), !times);
        }
        QCOMPARE(w.shown.texts.front(), kSun);
        Button(report, "CmdSide")->click();  // hidden by the user
        QVERIFY(report.SidePanel().isHidden());
        Button(report, "CmdSide")->click();
        w.Press("CmdInfo");
        QVERIFY(report.SidePanel().isHidden() && report.SidePanel().Chart() == nullptr);
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::ReportWindowTest)
#include "ui_report_test.moc"
