#include "ReportFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "AtomicFile.h"
#include "Utf8.h"

namespace zerin::ui {

namespace {

// Writes bytes to path through the program's one way to write a file: a failed save leaves
// the previous file as it was, and a symbolic link placed at SysReg.txt is replaced by the
// report, the file it points to left alone.
bool WriteAtomically(const QString& path, const QByteArray& bytes, QString& reason) {
    FileError error;
    if (WriteFileAtomically(QFile::encodeName(path).toStdString(),
                            std::string_view(bytes.constData(), bytes.size()), error))
        return true;
    reason = QString::fromStdString(error.Reason());
    return false;
}

std::string Std(const QString& text) {
    return text.toStdString();
}

// A path (with its reason) kept left to right inside a right-to-left message, in the message
// only, never in a file.
std::string IsolatedText(const QString& text) {
    return services::Isolated(Std(text));
}

}  // namespace

QByteArray ReportRecord(const QString& text) {
    QByteArray record;
    record.reserve(text.size() * 2 + 4);
    record += '"';
    record += text.toUtf8();
    record += "\"\r\n";
    return record;
}

SaveOutcome SaveReportFile(const QString& text, const QStringList& folders) {
    const QByteArray record = ReportRecord(text);
    SaveOutcome outcome;
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(QLatin1String(kReportFileName));
        QString reason;
        if (!QDir().mkpath(folder)) {
            reason = QStringLiteral("the folder cannot be created");
        } else if (WriteAtomically(path, record, reason)) {
            outcome.savedPath = path;
            return outcome;
        }
        outcome.failures.push_back({QDir::toNativeSeparators(path), reason});
    }
    return outcome;
}

namespace {

// A folder under the system's prefixes, where programs are installed for everyone.
bool IsSystemFolder(const QString& folder) {
    for (const char* prefix : {"/usr", "/opt", "/bin", "/sbin", "/lib"}) {
        const QString p = QLatin1String(prefix);
        if (folder == p || folder.startsWith(p + QLatin1Char('/'))) return true;
    }
    return false;
}

// A folder that belongs to the user running the program.
bool IsUsersOwn(const QString& folder) {
    struct stat info {};
    return ::stat(QFile::encodeName(folder).constData(), &info) == 0 && info.st_uid == ::geteuid();
}

}  // namespace

QStringList DefaultSaveFolders(const QString& programFolder) {
    QStringList folders;
    const QString real = QFileInfo(programFolder).canonicalFilePath();
    if (!real.isEmpty() && !IsSystemFolder(real) && IsUsersOwn(real)) folders << programFolder;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    if (!documents.isEmpty() && (folders.isEmpty() || QDir(documents) != QDir(folders.front())))
        folders << documents;
    return folders;
}

Message SaveFailedMessage(const SaveOutcome& outcome) {
    std::string arabic = "تعذّر حفظ التقرير، فلم يُفتح أي ملف.\r\nحاولنا الكتابة في:";
    std::string english = "could not save the report; nothing was opened. Tried:";
    for (const FailedSave& failure : outcome.failures) {
        arabic += "\r\n" + IsolatedText(failure.path + " (" + failure.reason + ")");
        english += " " + Std(failure.path) + " (" + Std(failure.reason) + ");";
    }
    return {arabic, english};
}

Message OpenFailedMessage(const QString& path) {
    return {"حُفظ التقرير في الملف\r\n" + IsolatedText(QDir::toNativeSeparators(path)) +
                "\r\nلكن تعذّر فتحه في محرر النصوص.",
            "the report was saved to " + Std(path) + " but could not be opened"};
}

}  // namespace zerin::ui
