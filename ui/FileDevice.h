// Qt's writers (QPdfWriter, QImageWriter) writing through the program's one way to write a
// file: a QIODevice over an AtomicFile, so that a picture or a PDF is written into a temporary
// file, every write checked, and renamed over the target only once it is whole.
#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>

#include "AtomicFile.h"

namespace zerin::ui {

class FileDevice : public QIODevice {
  public:
    explicit FileDevice(const QString& path);

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
bool WriteThrough(const QString& path, const std::function<bool(FileDevice&, QString& why)>& write,
                  FileError& error);

// The same pages, the same pictures: Qt's hashes (which order a PDF's font objects) take a
// fixed seed. Called before the application is made.
void MakeOutputReproducible();

// The instant a PDF says it was created: SOURCE_DATE_EPOCH (seconds since 1970) when it is
// set to a number, otherwise none (Qt's clock).
std::optional<qint64> SourceDateEpoch();

// A device that passes everything to `target` but the creation date QPdfWriter writes, which
// it replaces by `epoch` (the same number of bytes, so the PDF's offsets hold).
class DatedPdfDevice : public QIODevice {
  public:
    DatedPdfDevice(QIODevice& target, qint64 epoch);
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

  private:
    QIODevice& target_;
    qint64 epoch_;
    bool dated_ = false;
};

// The picture as a PNG file, atomically: encoded in memory, then written.
bool WritePng(const QImage& image, const QString& path, FileError& error);

}  // namespace zerin::ui
