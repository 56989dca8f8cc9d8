#include "ReportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

namespace zerin::ui {

namespace {

// The system's words for an error number.
QString Reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes all of bytes to fd, going on after short writes; false with errno set otherwise.
bool WriteAllBytes(int fd, const QByteArray& bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t written =
            ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += written;
    }
    return true;
}

// A new file of our own beside target ("SysReg.txt.a1b2c3d4"), never an existing file or link.
int CreateTemporary(const QByteArray& target, QByteArray& name) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        name =
            target + '.' +
            QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes bytes to a new file in the folder of path and renames it to path once it is complete
// and on the disk, so that a failed save leaves the previous file as it was. The rename replaces
// whatever stands at path and never follows it: a symbolic link placed at SysReg.txt is replaced
// by the report, and the file it points to is left alone. A previous regular file's permissions
// are kept; a new file gets the usual ones (0666 less the umask).
bool WriteAtomically(const QString& path, const QByteArray& bytes, QString& reason) {
    const QByteArray target = QFile::encodeName(path);
    struct stat previous {};
    const bool keepMode = ::lstat(target.constData(), &previous) == 0 && S_ISREG(previous.st_mode);
    QByteArray temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        reason = Reason(errno);
        return false;
    }
    bool ok = WriteAllBytes(fd, bytes) &&
              (!keepMode || ::fchmod(fd, previous.st_mode & 07777) == 0) && ::fsync(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        reason = Reason(error);
    }
    return ok;
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
