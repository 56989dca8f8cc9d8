// The report window's display: signed numbers in right-to-left lines show their sign
// before their digits, while the text, the clipboard and the saved file keep the report's
// bytes; long lines wrap at the box's width, or not, from the box's menu.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>

#include "FrmCalc.h"
#include "ReportFile.h"
#include "TestSupport.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

// The Sun's report at Mecca (East) or at a South place in the year -100: signed values in
// the Arabic lines of the longitude, the latitude and the year.
QString EastReport(const std::string& body, bool south, const std::string& year) {
    std::vector<std::string> args = ReportArgs(body, year, "6", "17");
    args.insert(args.end(), {"--east", "--lon-deg", "39", "--lon-min", "49", "--lat-deg", "21",
                             "--lat-min", "25", "--zone", "-3", south ? "--south" : "--north"});
    return Q(RunCli(args).out);
}

}  // namespace

class ReportDisplayTest : public QObject {
    Q_OBJECT

    struct Window {
        RecordingMessenger messages;
        ui::FrmCalc calc{messages};
        QTextEdit* box = calc.findChild<QTextEdit*>("TxtOut");
        explicit Window(const QString& text, const QStringList& folders = {}) {
            calc.SetSaveFolders(folders);
            calc.SetOpener([](const QString&) { return true; });
            calc.SetReport(text, ui::FrmCalc::Edge::Left);
            calc.show();
        }
        // The paragraph of the document that contains text.
        QTextBlock Block(const QString& text) {
            for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
                if (block.text().contains(text)) return block;
            return {};
        }
        QString CopySelection(int from, int to) {
            QTextCursor cursor(box->document());
            cursor.setPosition(from);
            cursor.setPosition(to, QTextCursor::KeepAnchor);
            box->setTextCursor(cursor);
            QApplication::clipboard()->clear();
            box->copy();
            return QApplication::clipboard()->text();
        }
    };

    // The left edge of the glyph of the paragraph's character k, as laid out.
    static qreal GlyphLeft(const QTextBlock& block, int k) {
        block.document()->documentLayout()->blockBoundingRect(block);  // lays it out
        const QTextLine line = block.layout()->lineForTextPosition(k);
        const QList<QGlyphRun> runs = line.glyphRuns(k, 1);
        return runs.isEmpty() ? qQNaN() : runs.front().boundingRect().left();
    }

  private slots:
    void initTestCase() { SetUpLook(); }

    // Text(), a copy of everything and the saved file are the report's bytes.
    void textCopyAndFileKeepTheReportsBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("Sun at Mecca") << EastReport("sun", false, "2005");
        QTest::newRow("Moon, South, year -100") << EastReport("moon", true, "-100");
        QTest::newRow("Mars, South") << EastReport("mars", true, "2005");
        QTest::newRow("exponents and operators")
            << QStringLiteral("1.5E-05 = x قيمة\r\n-2E+20 = y قيمة\r\nقيمة a-5 = (b)-3 - 4 = +7");
        QTest::newRow("the preface") << Q(Golden("preface.txt"));
    }
    void textCopyAndFileKeepTheReportsBytes() {
        QFETCH(QString, text);
        QVERIFY(!text.isEmpty());
        QTemporaryDir folder;
        Window w(text, {folder.path()});
        QCOMPARE(w.calc.Text(), text);
        w.box->selectAll();
        w.box->copy();
        QCOMPARE(QApplication::clipboard()->text(), text);
        QTest::mouseClick(Button(w.calc, "CmdCopy"), Qt::LeftButton);
        QFile saved(folder.filePath("SysReg.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), ui::ReportRecord(text));
        for (const QChar mark : {QChar(0x2066), QChar(0x2069)}) QVERIFY(!text.contains(mark));
    }

    // In the laid-out right-to-left lines the minus sign stands left of the first digit,
    // and the value stays at the right of its name.
    void theSignStandsBeforeTheDigits_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        QTest::newRow("East longitude") << QStringLiteral("-39.8166666666667") << " = Lon";
        QTest::newRow("South latitude") << QStringLiteral("-21.4166666666667") << " = Lat";
        QTest::newRow("year before 1") << QStringLiteral("-100") << " = Y";
    }
    void theSignStandsBeforeTheDigits() {
        QFETCH(QString, value);
        QFETCH(QString, name);
        Window w(EastReport("sun", true, "-100"));
        QVERIFY(QTest::qWaitForWindowExposed(&w.calc));
        const QTextBlock block = w.Block(name + QLatin1Char(' '));
        QVERIFY(block.isValid());
        QCOMPARE(block.blockFormat().layoutDirection(), Qt::RightToLeft);
        const int minus = int(block.text().indexOf(value));
        QVERIFY(minus >= 0);
        const qreal sign = GlyphLeft(block, minus);
        const qreal firstDigit = GlyphLeft(block, minus + 1);
        const qreal lastDigit = GlyphLeft(block, minus + int(value.size()) - 1);
        QVERIFY2(sign < firstDigit, qPrintable(QStringLiteral("%1 %2").arg(sign).arg(firstDigit)));
        QVERIFY(firstDigit < lastDigit);  // the digits in their order
        // The name ("Lon") stands at the left of the value: the line keeps its order.
        const int label = int(block.text().indexOf(name)) + 3;
        QVERIFY(GlyphLeft(block, label) < sign);
    }

    // The user's edits are kept, the marks never: typing inside and beside a number,
    // copying part of a line.
    void editsAndPartialCopiesKeepTheBytes() {
        const QString text = EastReport("sun", false, "2005");
        Window w(text);
        const QTextBlock block = w.Block(QStringLiteral(" = Lon "));
        const int start = block.position() + int(block.text().indexOf(QLatin1Char('-')));
        const int end = block.position() + int(block.text().indexOf(QLatin1Char(' ')));
        QCOMPARE(w.CopySelection(start, end), QStringLiteral("-39.8166666666667"));
        QCOMPARE(w.CopySelection(block.position(), block.position() + block.length() - 1),
                 QStringLiteral("-39.8166666666667 = Lon طول البلد بالدرج  "));
        QCOMPARE(w.CopySelection(block.position(), block.position() + block.length() + 1),
                 QStringLiteral("-39.8166666666667 = Lon طول البلد بالدرج  \r\n\r\n"));

        QTextCursor cursor(w.box->document());
        cursor.setPosition(end);  // after the number and its mark
        w.box->setTextCursor(cursor);
        QTest::keyClicks(w.box, "0");
        cursor.setPosition(start + 1);  // between the sign and the digits
        w.box->setTextCursor(cursor);
        QTest::keyClicks(w.box, "1");
        QString edited = text;
        edited.replace(QStringLiteral("-39.8166666666667 = Lon"),
                       QStringLiteral("-139.81666666666670 = Lon"));
        QCOMPARE(w.calc.Text(), edited);
        w.box->selectAll();
        w.box->copy();
        QCOMPARE(QApplication::clipboard()->text(), edited);
        // What is pasted back is the text itself.
        w.box->selectAll();
        w.box->paste();
        QCOMPARE(w.calc.Text(), edited);
    }

    // Qt's own texts read in Arabic: a message box's OK, the text box's menu.
    void qtsOwnTextsReadInArabic() {
        const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        if (!QFile::exists(translations + QStringLiteral("/qtbase_ar.qm")))
            QSKIP("qtbase_ar.qm is not installed (Debian package qt6-translations-l10n)");
        QMessageBox box(QMessageBox::Critical, QStringLiteral("زيرين"), QStringLiteral("نص"),
                        QMessageBox::Ok);
        QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("حسنًا"));
        Window w(QStringLiteral("نص"));
        std::unique_ptr<QMenu> menu(w.box->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) texts << action->text();
        QVERIFY2(texts.contains(QStringLiteral("ا&نسخ\tCtrl+C")), qPrintable(texts.join('|')));
        QVERIFY(!texts.join(QString()).contains(QStringLiteral("Copy")));
    }

    // Long lines wrap at the box's width; the box's menu turns wrapping off and on.
    void longLinesWrapAndTheMenuTogglesIt() {
        Window w(Q(Golden("report-sun-2005-06-17-1200.txt")));
        QVERIFY(QTest::qWaitForWindowExposed(&w.calc));
        const QTextBlock longest = w.Block(QStringLiteral("C = ((1.91946"));
        QVERIFY(longest.isValid());
        const auto lines = [&] {
            w.box->document()->documentLayout()->blockBoundingRect(longest);  // lays it out
            return longest.layout()->lineCount();
        };
        QCOMPARE(w.box->lineWrapMode(), QTextEdit::WidgetWidth);
        QVERIFY(lines() > 1);
        QCOMPARE(w.box->horizontalScrollBar()->maximum(), 0);

        // Opens the box's menu and chooses its wrapping entry; says whether it was ticked.
        const auto chooseWrapping = [&](bool& ticked) {
            QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(20, 20),
                                        w.box->viewport()->mapToGlobal(QPoint(20, 20)));
            QApplication::sendEvent(w.box->viewport(), &menuEvent);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QAction* action = menu ? menu->findChild<QAction*>("ActWrap") : nullptr;
            if (!action) return false;
            ticked = action->isChecked();
            const bool named = action->text() == QStringLiteral("التفاف الأسطر الطويلة");
            action->trigger();
            menu->close();
            return named;
        };
        bool ticked = false;
        QVERIFY(chooseWrapping(ticked));
        QVERIFY(ticked);
        QCOMPARE(w.box->lineWrapMode(), QTextEdit::NoWrap);
        QCOMPARE(lines(), 1);
        QVERIFY(w.box->horizontalScrollBar()->maximum() > 0);
        QVERIFY(chooseWrapping(ticked));
        QVERIFY(!ticked);
        QVERIFY(lines() > 1);
        QCOMPARE(w.calc.Text(), Q(Golden("report-sun-2005-06-17-1200.txt")));
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::ReportDisplayTest)
#include "ui_report_display_test.moc"
