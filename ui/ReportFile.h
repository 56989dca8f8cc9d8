// Saving the report as SysReg.txt: one quoted record, written atomically.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <vector>

#include "math/Errors.h"

namespace zerin::ui {

inline constexpr const char* kReportFileName = "SysReg.txt";

// The record: a double quote, the text in UTF-8 as it stands (quotes inside are not
// doubled), a double quote, CR LF. An empty text gives four bytes.
QByteArray ReportRecord(const QString& text);

struct FailedSave {
    QString path;
    QString reason;  // the system's words
};

struct SaveOutcome {
    QString savedPath;  // empty when no folder could take the file
    std::vector<FailedSave> failures;
    bool Saved() const { return !savedPath.isEmpty(); }
};

// Writes the record of text to SysReg.txt in the first of folders that takes it. Each
// write goes to a temporary file renamed over the old one only when it is complete, so
// a failed save leaves the previous file as it was; a symbolic link at SysReg.txt is
// replaced by the file, never followed.
SaveOutcome SaveReportFile(const QString& text, const QStringList& folders);

// The folders a save tries: the program's own when it is a folder of the user's (an
// unpacked copy), then the user's documents folder. A program installed under the
// system's prefixes (/usr, /usr/local, /opt) saves in the documents folder, root's too.
QStringList DefaultSaveFolders(
    const QString& programFolder = QCoreApplication::applicationDirPath());

// What the user is told when no folder took the file: every path tried, and why.
Message SaveFailedMessage(const SaveOutcome& outcome);
// The file was saved but nothing could open it.
Message OpenFailedMessage(const QString& path);

}  // namespace zerin::ui
