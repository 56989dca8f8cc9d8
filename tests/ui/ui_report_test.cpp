// The report window: the text round trip through the box, the reading direction of each
// paragraph, saving SysReg.txt (record format, atomic replacement, the fallback folder,
// the messages when nothing can be written), Escape and the skin file.
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>
#include <csignal>

#include "FrmCalc.h"
#include "Look.h"
#include "Preface.h"
#include "ReportFile.h"
#include "TestSupport.h"
#include "UiSupport.h"

namespace zerin::test {

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
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

}  // namespace

class ReportWindowTest : public QObject {
    Q_OBJECT

    // A report window with recorded messages and a recording opener.
    struct Window {
        RecordingMessenger messages;
        ui::FrmCalc calc{messages};
        QStringList opened;
        explicit Window(const QStringList& folders, bool openerWorks = true) {
            calc.SetSaveFolders(folders);
            calc.SetOpener([this, openerWorks](const QString& path) {
                opened << path;
                return openerWorks;
            });
        }
        void Save() { QTest::mouseClick(Button(calc, "CmdCopy"), Qt::LeftButton); }
        QTextEdit* Box() { return calc.findChild<QTextEdit*>("TxtOut"); }
    };

    static QString Q(const std::string& s) { return QString::fromStdString(s); }

  private slots:
    void initTestCase() { SetUpLook(); }

    // The box keeps the report's bytes: CR LF line ends, blanks, tabs, empty lines.
    void textRoundTripsThroughTheBox_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("Sun report") << Q(Golden("report-sun-2005-06-17-1200.txt"));
        QTest::newRow("Moon report") << Q(Golden("report-moon-2005-06-17-1200.txt"));
        QTest::newRow("preface (a tab, blanks)") << Q(std::string(PrefaceText()));
        QTest::newRow("empty") << QString();
        QTest::newRow("no final line end") << QStringLiteral("a\r\n\r\n  b \"q\" ");
        QTest::newRow("only line ends") << QStringLiteral("\r\n\r\n\r\n");
    }
    void textRoundTripsThroughTheBox() {
        QFETCH(QString, text);
        Window w({});
        for (auto edge : {ui::FrmCalc::Edge::Left, ui::FrmCalc::Edge::Right}) {
            w.calc.SetReport(text, edge);
            QCOMPARE(w.calc.Text(), text);
        }
    }

    // Arabic paragraphs read right to left, formulas left to right; only the display
    // changes, no direction mark enters the text.
    void eachParagraphReadsInItsOwnDirection() {
        Window w({});
        const QString report = Q(Golden("report-sun-2005-06-17-1200.txt"));
        w.calc.SetReport(report, ui::FrmCalc::Edge::Left);
        int rightToLeft = 0, leftToRight = 0;
        for (QTextBlock block = w.Box()->document()->begin(); block.isValid();
             block = block.next()) {
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
        Window w({});
        QTextEdit* box = w.Box();
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

    void savingWritesTheRecordAndOpensIt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("empty: four bytes") << QString() << QByteArray("\"\"\r\n");
        QTest::newRow("quotes stay as they are")
            << QStringLiteral("a \"b\"\r\nc") << QByteArray("\"a \"b\"\r\nc\"\r\n");
        const QString sun = Q(Golden("report-sun-2005-06-17-1200.txt"));
        QTest::newRow("Sun report in UTF-8") << sun << "\"" + sun.toUtf8() + "\"\r\n";
    }
    void savingWritesTheRecordAndOpensIt() {
        QFETCH(QString, text);
        QFETCH(QByteArray, file);
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
        w.Box()->moveCursor(QTextCursor::End);
        QTest::keyClicks(w.Box(), "x");
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
        Window w({});
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
        QCOMPARE(ui::SkinFolders().front(), QCoreApplication::applicationDirPath());
    }
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::ReportWindowTest)
#include "ui_report_test.moc"
