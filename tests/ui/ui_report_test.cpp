// The report window: the report's bytes kept by the box, the clipboard and the saved file;
// the reading direction of each paragraph, the sign of a number shown before its digits in
// right-to-left lines; long lines wrapped or not from the box's menu; Qt's own texts in
// Arabic; saving SysReg.txt (record format, atomic replacement, the fallback folder, the
// messages when nothing can be written, a symbolic link at its place replaced, never
// followed, the folders a save tries); Escape and the skin file.
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>
#include <csignal>

#include "FrmCalc.h"
#include "Look.h"
#include "ReportFile.h"
#include "TestSupport.h"
#include "UiSupport.h"
#include "report/Preface.h"

namespace zerin::test {

namespace {

struct stat LinkStat(const QString& path) {
    struct stat info {};
    lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

QString Documents() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

// Root writes into any folder whatever its mode: for the file operations of one scope
// the test takes the rights of an ordinary user instead (a no-op for other users).
class OrdinaryUserRights {
  public:
    OrdinaryUserRights() : root_(geteuid() == 0) {
        if (root_) setfsuid(65534);
    }
    ~OrdinaryUserRights() {
        if (root_) setfsuid(0);
    }

  private:
    bool root_;
};

// A folder that only its owner may write, in a temporary folder others may enter.
struct Folders {
    QTemporaryDir root;
    QString readOnly, writable;
    Folders() {
        chmod(QFile::encodeName(root.path()).constData(), 0755);
        readOnly = root.filePath("program");
        writable = root.filePath("documents");
        QDir().mkpath(readOnly);
        QDir().mkpath(writable);
        chmod(QFile::encodeName(readOnly).constData(), 0555);
        chmod(QFile::encodeName(writable).constData(), 0777);
    }
    ~Folders() { chmod(QFile::encodeName(readOnly).constData(), 0755); }
};

// The Sun's report at Mecca (East) or at a South place in the year -100: signed values in
// the Arabic lines of the longitude, the latitude and the year.
QString EastReport(const std::string& body, bool south, const std::string& year) {
    std::vector<std::string> args = ReportArgs(body, year, "6", "17");
    args.insert(args.end(), {"--east", "--lon-deg", "39", "--lon-min", "49", "--lat-deg", "21",
                             "--lat-min", "25", "--zone", "-3", south ? "--south" : "--north"});
    return Q(RunCli(args).out);
}

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

    // A report window with recorded messages and a recording opener.
    struct Window {
        RecordingMessenger messages;
        ui::FrmCalc calc{messages};
        QTextEdit* box = calc.findChild<QTextEdit*>("TxtOut");
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

    // Arabic paragraphs read right to left, formulas left to right; only the display
    // changes, no direction mark enters the text.
    void eachParagraphReadsInItsOwnDirection() {
        Window w;
        const QString report = Q(Golden("report-sun-2005-06-17-1200.txt"));
        w.calc.SetReport(report, ui::FrmCalc::Edge::Left);
        int rightToLeft = 0, leftToRight = 0;
        for (QTextBlock block = w.box->document()->begin(); block.isValid(); block = block.next()) {
            const QString text = block.text();
            const Qt::LayoutDirection direction = block.blockFormat().layoutDirection();
            if (text.contains(QStringLiteral("طول البلد"))) QCOMPARE(direction, Qt::RightToLeft);
            if (text.startsWith(QStringLiteral("T = (JJ - 2415020) / 36525 = ")))
                QCOMPARE(direction, Qt::LeftToRight);
            (direction == Qt::RightToLeft ? rightToLeft : leftToRight)++;
        }
        QVERIFY(rightToLeft > 20);
        QVERIFY(leftToRight > 20);
        const QString text = w.calc.Text();
        QCOMPARE(text, report);
        for (const QChar mark : {QChar(0x200E), QChar(0x200F), QChar(0x061C), QChar(0x202B)})
            QVERIFY(!text.contains(mark));
    }

    void theBoxLooksAsDesigned() {
        Window w;
        QTextEdit* box = w.box;
        QCOMPARE(box->lineWrapMode(), QTextEdit::WidgetWidth);
        QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->layoutDirection(), Qt::RightToLeft);
        QVERIFY(box->font().bold());
        w.calc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.calc));
        const QImage shot = box->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(94, 131, 162));
        QCOMPARE(Button(w.calc, "CmdCopy")->text(), QStringLiteral("نسخ"));
        QCOMPARE(Button(w.calc, "CmdExit")->text(), QStringLiteral("إنهاء"));
    }

    // The record: the text in quotes (its own quotes as they are), CR LF, in UTF-8; an older
    // file replaced whole.
    void savingWritesTheRecordAndOpensIt() {
        const QString sun = Q(Golden("report-sun-2005-06-17-1200.txt"));
        const std::pair<QString, QByteArray> records[] = {
            {QString(), QByteArray("\"\"\r\n")},
            {QStringLiteral("a \"b\"\r\nc"), QByteArray("\"a \"b\"\r\nc\"\r\n")},
            {sun, "\"" + sun.toUtf8() + "\"\r\n"}};
        for (const auto& [text, file] : records) {
            QTemporaryDir folder;
            Window w({folder.path()});
            w.calc.SetReport(text, ui::FrmCalc::Edge::Left);
            WriteBytes(folder.filePath("SysReg.txt"), "an older, longer report");
            w.Save();
            QCOMPARE(ReadBytes(folder.filePath("SysReg.txt")), file);
            QCOMPARE(w.opened, QStringList{folder.filePath("SysReg.txt")});
            QVERIFY(w.messages.messages.empty());
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"SysReg.txt"});
        }
    }

    void theFirstFolderThatTakesTheFileIsTheOnlyOne() {
        QTemporaryDir first, second;
        Window w({first.path(), second.path()});
        w.calc.SetReport(QStringLiteral("x"), ui::FrmCalc::Edge::Left);
        w.Save();
        QCOMPARE(ReadBytes(first.filePath("SysReg.txt")), QByteArray("\"x\"\r\n"));
        QVERIFY(QDir(second.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(w.opened, QStringList{first.filePath("SysReg.txt")});
    }

    void savingKeepsTheUsersEdits() {
        QTemporaryDir folder;
        Window w({folder.path()});
        w.calc.SetReport(QStringLiteral("T = 1\r\n"), ui::FrmCalc::Edge::Left);
        w.calc.show();
        w.box->moveCursor(QTextCursor::End);
        QTest::keyClicks(w.box, "x");
        QCOMPARE(w.calc.Text(), QStringLiteral("T = 1\r\nx"));
        w.Save();
        QCOMPARE(ReadBytes(folder.filePath("SysReg.txt")), QByteArray("\"T = 1\r\nx\"\r\n"));
    }

    void readOnlyFolderFallsBackToTheDocumentsFolder() {
        Folders folders;
        Window w({folders.readOnly, folders.writable});
        w.calc.SetReport(QStringLiteral("r"), ui::FrmCalc::Edge::Left);
        {
            OrdinaryUserRights rights;
            w.Save();
        }
        QCOMPARE(w.opened, QStringList{QDir(folders.writable).filePath("SysReg.txt")});
        QVERIFY(w.messages.messages.empty());
        QVERIFY(!QFile::exists(QDir(folders.readOnly).filePath("SysReg.txt")));
    }

    void nothingWritableGivesTheMessageAndOpensNothing() {
        Folders folders;
        const QString missing = folders.root.filePath("no/such/folder");
        chmod(QFile::encodeName(folders.root.path()).constData(), 0555);
        Window w({folders.readOnly, missing});
        w.calc.SetReport(QStringLiteral("r"), ui::FrmCalc::Edge::Left);
        {
            OrdinaryUserRights rights;
            w.Save();
        }
        chmod(QFile::encodeName(folders.root.path()).constData(), 0755);
        QVERIFY(w.opened.isEmpty());
        QCOMPARE(w.messages.messages.size(), 1u);
        const QString message = Q(w.messages.messages[0].arabic);
        QVERIFY(message.startsWith(QStringLiteral("تعذّر حفظ التقرير")));
        QVERIFY2(message.contains(QDir(folders.readOnly).filePath("SysReg.txt")),
                 qPrintable(message));
        QVERIFY(message.contains(QDir(missing).filePath("SysReg.txt")));
        QVERIFY(QDir(folders.readOnly).entryList(QDir::Files).isEmpty());
    }

    // A write that fails midway (the file size limit here) leaves the old file whole
    // and no temporary file behind.
    void aWriteFailingMidwayKeepsThePreviousFile() {
        QTemporaryDir folder;
        const QString path = folder.filePath("SysReg.txt");
        QVERIFY(WriteBytes(path, "\"the previous report\"\r\n"));
        Window w({folder.path()});
        w.calc.SetReport(Q(Golden("report-moon-2005-06-17-1200.txt")), ui::FrmCalc::Edge::Left);

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 4096;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        w.Save();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(ReadBytes(path), QByteArray("\"the previous report\"\r\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"SysReg.txt"});
        QVERIFY(w.opened.isEmpty());
        QCOMPARE(w.messages.messages.size(), 1u);
        const QString message = Q(w.messages.messages[0].arabic);
        QVERIFY(message.contains(path));
        QVERIFY2(message.contains(QStringLiteral("File too large")), qPrintable(message));
    }

    void savedButNotOpenedIsSaid() {
        QTemporaryDir folder;
        Window w({folder.path()}, false);
        w.Save();
        QCOMPARE(ReadBytes(folder.filePath("SysReg.txt")), QByteArray("\"\"\r\n"));
        QCOMPARE(w.messages.messages.size(), 1u);
        QVERIFY(Q(w.messages.messages[0].arabic).contains(folder.filePath("SysReg.txt")));
    }

    void escapeAndExitHideTheWindowAndKeepItsText() {
        Window w;
        w.calc.SetReport(QStringLiteral("kept"), ui::FrmCalc::Edge::Left);
        w.calc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.calc));
        QTest::keyClick(&w.calc, Qt::Key_Escape);
        QVERIFY(!w.calc.isVisible());
        w.calc.show();
        QTest::mouseClick(Button(w.calc, "CmdExit"), Qt::LeftButton);
        QVERIFY(!w.calc.isVisible());
        QCOMPARE(w.calc.Text(), QStringLiteral("kept"));
    }

    // Paper.skn beside the program, then in the data folder, or the built-in copy when
    // neither can be read.
    void theSkinFileOrItsBuiltInCopy() {
        QTemporaryDir beside, data;
        const QStringList folders{beside.path(), data.path()};
        const QString builtIn = ui::SkinSheet(folders);
        QVERIFY(builtIn.contains(QStringLiteral("#FrmMain")));
        QCOMPARE(builtIn.toUtf8(), ReadBytes(QStringLiteral(ZERIN_SOURCE_UI "/Paper.skn")));

        QVERIFY(WriteBytes(data.filePath("Paper.skn"), "QLabel { color: blue; }"));
        QCOMPARE(ui::SkinSheet(folders), QStringLiteral("QLabel { color: blue; }"));
        const QString skin = beside.filePath("Paper.skn");
        QVERIFY(WriteBytes(skin, "QPushButton { color: red; }"));
        QCOMPARE(ui::SkinSheet(folders), QStringLiteral("QPushButton { color: red; }"));
        QFile::remove(data.filePath("Paper.skn"));
        QVERIFY(WriteBytes(skin, "  \n"));
        QCOMPARE(ui::SkinSheet(folders), builtIn);
        QVERIFY(WriteBytes(skin, "QPushButton { color: \xff\xfe; }"));
        QCOMPARE(ui::SkinSheet(folders), builtIn);
        QFile::remove(skin);
        QDir().mkpath(skin);  // a folder by that name cannot be read as a file
        QCOMPARE(ui::SkinSheet(folders), builtIn);
        QCOMPARE(ui::DataFolders().front(), QCoreApplication::applicationDirPath());
    }

    // What the link points to, relative to a second folder: a file of someone else's, a
    // file that does not exist, a folder.
    void aLinkAtTheSavePathIsReplacedNeverFollowed_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("link to a victim file") << "victim.txt" << true;
        QTest::newRow("dangling link") << "nothing-here.txt" << false;
        QTest::newRow("link to a folder") << "folder" << true;
    }
    void aLinkAtTheSavePathIsReplacedNeverFollowed() {
        QFETCH(QString, target);
        QFETCH(bool, targetExists);
        QTemporaryDir save, elsewhere;
        const QString victim = elsewhere.filePath(target);
        if (target == "folder")
            QVERIFY(QDir().mkpath(victim));
        else if (targetExists)
            QVERIFY(WriteBytes(victim, "root's file, not to be touched\n"));
        const QString link = save.filePath("SysReg.txt");
        QVERIFY(QFile::link(victim, link));

        const ui::SaveOutcome outcome = ui::SaveReportFile("report \"1\"", {save.path()});
        QCOMPARE(outcome.savedPath, link);
        QVERIFY(outcome.failures.empty());
        // The link itself became the saved file.
        QVERIFY(S_ISREG(LinkStat(link).st_mode));
        QCOMPARE(ReadBytes(link), QByteArray("\"report \"1\"\"\r\n"));
        // Where it pointed, nothing changed and nothing was created.
        if (target == "folder")
            QVERIFY(QDir(victim).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        else if (targetExists)
            QCOMPARE(ReadBytes(victim), QByteArray("root's file, not to be touched\n"));
        else
            QVERIFY(!QFileInfo::exists(victim));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 targetExists ? QStringList{target} : QStringList{});
        QCOMPARE(
            QDir(save.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{"SysReg.txt"});
    }

    // A new file gets the usual permissions (0666 less the umask); a previous file keeps
    // its own.
    void permissionsOfTheSavedFile() {
        QTemporaryDir folder;
        const QString path = folder.filePath("SysReg.txt");
        const mode_t mask = umask(022);
        QVERIFY(ui::SaveReportFile("a", {folder.path()}).Saved());
        QCOMPARE(LinkStat(path).st_mode & 07777, mode_t(0644));
        QVERIFY(chmod(QFile::encodeName(path).constData(), 0600) == 0);
        QVERIFY(ui::SaveReportFile("b", {folder.path()}).Saved());
        umask(mask);
        QCOMPARE(LinkStat(path).st_mode & 07777, mode_t(0600));
        QCOMPARE(ReadBytes(path), QByteArray("\"b\"\r\n"));
    }

    // Installed for everyone: the documents folder alone, whoever runs it (root too, who
    // owns these folders and could write there).
    void anInstalledProgramSavesInTheDocumentsFolder_data() {
        QTest::addColumn<QString>("programFolder");
        QTest::newRow("/usr/bin") << "/usr/bin";
        QTest::newRow("/usr/local/bin") << "/usr/local/bin";
        QTest::newRow("/opt") << "/opt";
        QTest::newRow("/bin, a link to /usr/bin") << "/bin";
    }
    void anInstalledProgramSavesInTheDocumentsFolder() {
        QFETCH(QString, programFolder);
        if (!QFileInfo(programFolder).isDir()) QSKIP("no such folder here");
        QCOMPARE(ui::DefaultSaveFolders(programFolder), QStringList{Documents()});
    }

    // A copy unpacked in a folder of the user's own saves beside itself first.
    void aCopyInTheUsersOwnFolderSavesBesideItself() {
        QTemporaryDir unpacked;
        QCOMPARE(ui::DefaultSaveFolders(unpacked.path()),
                 (QStringList{unpacked.path(), Documents()}));
    }

    // A folder of another user's: the documents folder (only root can make one here).
    void aCopyInSomeoneElsesFolderSavesInTheDocumentsFolder() {
        if (geteuid() != 0) QSKIP("only root can give a folder to another user here");
        QTemporaryDir other;
        QVERIFY(chown(QFile::encodeName(other.path()).constData(), 65534, 65534) == 0);
        QCOMPARE(ui::DefaultSaveFolders(other.path()), QStringList{Documents()});
    }

    // Text(), a copy of everything and the saved file are the report's bytes.
    void textCopyAndFileKeepTheReportsBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("Sun at Mecca") << EastReport("sun", false, "2005");
        QTest::newRow("Moon, South, year -100") << EastReport("moon", true, "-100");
        QTest::newRow("Mars, South") << EastReport("mars", true, "2005");
        QTest::newRow("exponents and operators")
            << QStringLiteral("1.5E-05 = x قيمة\r\n-2E+20 = y قيمة\r\nقيمة a-5 = (b)-3 - 4 = +7");
        QTest::newRow("the preface: a tab, blanks") << Q(Golden("preface.txt"));
        QTest::newRow("Sun report") << Q(Golden("report-sun-2005-06-17-1200.txt"));
        QTest::newRow("Moon report") << Q(Golden("report-moon-2005-06-17-1200.txt"));
        QTest::newRow("empty") << QString();
        QTest::newRow("no final line end") << QStringLiteral("a\r\n\r\n  b \"q\" ");
        QTest::newRow("only line ends") << QStringLiteral("\r\n\r\n\r\n");
    }
    void textCopyAndFileKeepTheReportsBytes() {
        QFETCH(QString, text);
        QTemporaryDir folder;
        Window w({folder.path()});
        w.calc.SetReport(text, ui::FrmCalc::Edge::Right);
        QCOMPARE(w.calc.Text(), text);
        w.Show(text);
        QCOMPARE(w.calc.Text(), text);
        QApplication::clipboard()->clear();
        w.box->selectAll();
        w.box->copy();
        QCOMPARE(QApplication::clipboard()->text(), text);
        w.Save();
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
        Window w;
        w.Show(EastReport("sun", true, "-100"));
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
        Window w;
        w.Show(text);
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
        Window w;
        w.Show(QStringLiteral("نص"));
        std::unique_ptr<QMenu> menu(w.box->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) texts << action->text();
        QVERIFY2(texts.contains(QStringLiteral("ا&نسخ\tCtrl+C")), qPrintable(texts.join('|')));
        QVERIFY(!texts.join(QString()).contains(QStringLiteral("Copy")));
    }

    // Long lines wrap at the box's width; the box's menu turns wrapping off and on.
    void longLinesWrapAndTheMenuTogglesIt() {
        Window w;
        w.Show(Q(Golden("report-sun-2005-06-17-1200.txt")));
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

QTEST_MAIN(zerin::test::ReportWindowTest)
#include "ui_report_test.moc"
