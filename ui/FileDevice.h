// Qt's writers (QPdfWriter, QImageWriter) writing through the program's one way to write a
// file: a QIODevice over an AtomicFile, so that a picture or a PDF is written into a temporary
// file, every write checked, and renamed over the target only once it is whole.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "AtomicFile.h"

namespace zerin::ui {

// Paths are the file's name in bytes, as the system takes it (QFile::encodeName of a
// dialog's choice; the command line's argument as given, UTF-8 or not); "-" is standard
// output.
class FileDevice : public QIODevice {
  public:
    explicit FileDevice(const std::string& path);

    // Opens the temporary file (write only); false with Error() set.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    // Closes the device and makes the file the target; false with Error() set.
    bool Commit();
    // Gives up with the writer's own words; the target is left as it was.
    void Cancel(const QString& why);
    const FileError& Error() const { return file_.Error(); }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    AtomicFile file_;
};

// Writes what `write` puts on the device to path atomically: `write` returns false with its
// own words in `why` when it fails. False with error set (the device's first failure first).
bool WriteThrough(const std::string& path,
                  const std::function<bool(FileDevice&, QString& why)>& write, FileError& error);

// The same pages, the same pictures: Qt's hashes (which order a PDF's font objects) take a
// fixed seed. Called before the application is made.
void MakeOutputReproducible();

// A device that passes everything to `target` but the creation date QPdfWriter writes on its
// local clock ("D:20231115014320+03'30'"), which it replaces by `epoch` in UTC
// ("D:20231114221320Z"): the same bytes whatever TZ is. The date is shorter then, so the
// offsets of the objects after it, in the cross-reference table at the PDF's end, are moved
// by as many bytes.
class DatedPdfDevice : public QIODevice {
  public:
    DatedPdfDevice(QIODevice& target, qint64 epoch);
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    // Writes bytes on behalf of `given` bytes of Qt's: given, or -1 when the target refused.
    qint64 Put(const QByteArray& bytes, qint64 given);
    // The cross-reference table and the trailer, a line at a time.
    qint64 PutTable(const QByteArray& piece);
    QByteArray MovedLine(const QByteArray& line);

    enum class Step { Date, Zone, Body, Table };
    QIODevice& target_;
    qint64 epoch_;
    Step step_ = Step::Date;
    qint64 given_ = 0;    // the bytes Qt gave so far
    qint64 datedAt_ = 0;  // where the date stood, in Qt's count
    qint64 moved_ = 0;    // the bytes written less the bytes given, after the date
    QByteArray date_, line_;
    bool startxrefNext_ = false;
};

// The picture as a PNG file, atomically: encoded in memory, then written.
bool WritePng(const QImage& image, const std::string& path, FileError& error);

}  // namespace zerin::ui
