#include "FileDevice.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QImageWriter>

namespace zerin::ui {

FileDevice::FileDevice(const QString& path) : file_(QFile::encodeName(path).toStdString()) {}

bool FileDevice::open(OpenMode mode) {
    if ((mode & ReadOnly) || !file_.Open()) return false;
    return QIODevice::open(mode);
}

qint64 FileDevice::writeData(const char* data, qint64 size) {
    if (size < 0 || !file_.Write(data, static_cast<std::size_t>(size))) {
        setErrorString(QString::fromStdString(file_.Error().Reason()));
        return -1;
    }
    return size;
}

bool FileDevice::Commit() {
    if (isOpen()) QIODevice::close();
    return file_.Commit();
}

void FileDevice::Cancel(const QString& why) {
    if (isOpen()) QIODevice::close();
    file_.Cancel(FileError::Kind::Stopped, why.toStdString());
}

bool WriteThrough(const QString& path, const std::function<bool(FileDevice&, QString& why)>& write,
                  FileError& error) {
    FileDevice device(path);
    QString why;
    bool ok = device.open(QIODevice::WriteOnly);
    if (ok && !write(device, why)) {
        device.Cancel(why);
        ok = false;
    }
    // A writer that reports success after the device refused a write has still failed.
    ok = ok && !device.Error().Failed() && device.Commit();
    error = device.Error();
    return ok;
}

bool WritePng(const QImage& image, const QString& path, FileError& error) {
    // Encoded in memory (a picture's bytes are a fraction of its pixels, already there), so
    // that libpng never meets a failed write, which it would report on its own.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        error = FileError{QFile::encodeName(path).toStdString(), FileError::Kind::Stopped, 0,
                          writer.errorString().toStdString()};
        return false;
    }
    return WriteFileAtomically(QFile::encodeName(path).toStdString(),
                               std::string_view(png.constData(), png.size()), error);
}

void MakeOutputReproducible() {
    QHashSeed::setDeterministicGlobalSeed();
}

std::optional<qint64> SourceDateEpoch() {
    const QByteArray text = qgetenv("SOURCE_DATE_EPOCH");
    bool number = false;
    const qint64 epoch = text.toLongLong(&number);
    if (!number || epoch < 0 || epoch > 253402300799) return std::nullopt;  // to 9999-12-31
    return epoch;
}

DatedPdfDevice::DatedPdfDevice(QIODevice& target, qint64 epoch) : target_(target), epoch_(epoch) {}

qint64 DatedPdfDevice::writeData(const char* data, qint64 size) {
    // Qt writes "\n/CreationDate (D:YYYYMMDDHHmmSS" in one piece, then the offset of its clock
    // from UTC ("Z)" or "+03'00')"): the digits become the epoch on that same clock.
    static const QByteArray kHead = "\n/CreationDate (D:";
    const QByteArray piece = QByteArray::fromRawData(data, size);
    if (!dated_ && size == kHead.size() + 14 && piece.startsWith(kHead)) {
        dated_ = true;
        const qint64 offset = QDateTime::currentDateTime().offsetFromUtc();
        const QByteArray digits = QDateTime::fromSecsSinceEpoch(epoch_ + offset, Qt::UTC)
                                      .toString(QStringLiteral("yyyyMMddHHmmss"))
                                      .toLatin1();
        if (digits.size() == 14) return target_.write(kHead + digits);
    }
    return target_.write(data, size);
}

}  // namespace zerin::ui
