#include "ReportFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>

namespace zerin::ui {

namespace {

// Writes bytes to a temporary file beside path and renames it over path when complete.
// Unbuffered, in a loop: Qt 6.4's QSaveFile::commit does not check the flush of its
// buffer, so a short last write (disk full, file size limit) would replace the old file
// with a truncated one; here the short write is seen, and the next attempt gives the
// system's reason.
bool WriteAtomically(const QString& path, const QByteArray& bytes, QString& reason) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
        return false;
    }
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            reason = file.errorString();
            file.cancelWriting();
            return false;
        }
        done += written;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

std::string Std(const QString& text) {
    return text.toStdString();
}

// A path (with its reason) kept left to right inside a right-to-left message: isolate
// marks around it, in the message only, never in a file.
std::string Isolated(const QString& text) {
    return Std(QChar(0x2066) + text + QChar(0x2069));
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

QStringList DefaultSaveFolders() {
    QStringList folders{QCoreApplication::applicationDirPath()};
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    if (!documents.isEmpty() && QDir(documents) != QDir(folders.front())) folders << documents;
    return folders;
}

Message SaveFailedMessage(const SaveOutcome& outcome) {
    std::string arabic = "تعذّر حفظ التقرير، فلم يُفتح أي ملف.\r\nحاولنا الكتابة في:";
    std::string english = "could not save the report; nothing was opened. Tried:";
    for (const FailedSave& failure : outcome.failures) {
        arabic += "\r\n" + Isolated(failure.path + " (" + failure.reason + ")");
        english += " " + Std(failure.path) + " (" + Std(failure.reason) + ");";
    }
    return {arabic, english};
}

Message OpenFailedMessage(const QString& path) {
    return {"حُفظ التقرير في الملف\r\n" + Isolated(QDir::toNativeSeparators(path)) +
                "\r\nلكن تعذّر فتحه في محرر النصوص.",
            "the report was saved to " + Std(path) + " but could not be opened"};
}

}  // namespace zerin::ui
