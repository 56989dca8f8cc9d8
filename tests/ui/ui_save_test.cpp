// Saving SysReg.txt where a symbolic link stands (the link is replaced, never followed)
// and the folders a save tries, for a program installed for everyone and for a copy in a
// folder of the user's own.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "ReportFile.h"

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

struct stat LinkStat(const QString& path) {
    struct stat info {};
    lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

QString Documents() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

}  // namespace

class SaveTest : public QObject {
    Q_OBJECT

  private slots:
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
};

}  // namespace zerin::test

QTEST_MAIN(zerin::test::SaveTest)
#include "ui_save_test.moc"
