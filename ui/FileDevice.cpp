#include "FileDevice.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QImageWriter>
#include <QRegularExpression>
#include <utility>

namespace zerin::ui {

FileDevice::FileDevice(const std::string& path) : file_(path) {}

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

bool WriteThrough(const std::string& path,
                  const std::function<bool(FileDevice&, QString& why)>& write, FileError& error) {
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

bool WritePng(const QImage& image, const std::string& path, FileError& error) {
    // Encoded in memory (a picture's bytes are a fraction of its pixels, already there), so
    // that libpng never meets a failed write, which it would report on its own.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image)) {
        error = FileError{path, FileError::Kind::Stopped, 0, writer.errorString().toStdString()};
        return false;
    }
    return WriteFileAtomically(path, std::string_view(png.constData(), png.size()), error);
}

void MakeOutputReproducible() {
    QHashSeed::setDeterministicGlobalSeed();
}

namespace {

// Qt writes "\n/CreationDate (D:YYYYMMDDHHmmSS" in one piece, then its clock's offset from UTC
// in the next: "Z)\n", "+03'30')\n", "-05'00')\n".
const QByteArray kDateHead = "\n/CreationDate (D:";

bool IsClockOffset(const QByteArray& piece) {
    static const QRegularExpression offset(QStringLiteral("^(Z|[+-]\\d\\d'\\d\\d')\\)\\n$"));
    return offset.match(QString::fromLatin1(piece)).hasMatch();
}

}  // namespace

DatedPdfDevice::DatedPdfDevice(QIODevice& target, qint64 epoch) : target_(target), epoch_(epoch) {}

qint64 DatedPdfDevice::Put(const QByteArray& bytes, qint64 given) {
    return target_.write(bytes) == bytes.size() ? given : -1;
}

qint64 DatedPdfDevice::writeData(const char* data, qint64 size) {
    const QByteArray piece = QByteArray::fromRawData(data, size);
    const qint64 at = std::exchange(given_, given_ + size);
    switch (step_) {
        case Step::Date:
            if (size != kDateHead.size() + 14 || !piece.startsWith(kDateHead)) break;
            step_ = Step::Zone;
            date_ = QByteArray(data, size);  // held until its offset comes
            datedAt_ = at;
            return size;
        case Step::Zone: {
            step_ = Step::Body;
            // A form this device does not know: Qt's own date stays, whole.
            if (!IsClockOffset(piece)) return Put(date_ + piece, size);
            const QByteArray utc = kDateHead +
                                   QDateTime::fromSecsSinceEpoch(epoch_, Qt::UTC)
                                       .toString(QStringLiteral("yyyyMMddHHmmss"))
                                       .toLatin1() +
                                   "Z)\n";
            moved_ = utc.size() - (date_.size() + size);
            return Put(utc, size);
        }
        case Step::Body:
            if (moved_ == 0 || !piece.startsWith("xref\n")) break;
            step_ = Step::Table;
            return PutTable(piece);
        case Step::Table:
            return PutTable(piece);
    }
    return Put(piece, size);
}

qint64 DatedPdfDevice::PutTable(const QByteArray& piece) {
    // The table ends with "%%EOF\n": no line is left held at the end.
    line_ += piece;
    QByteArray lines;
    for (qsizetype end; (end = line_.indexOf('\n')) >= 0; line_.remove(0, end + 1))
        lines += MovedLine(line_.left(end + 1));
    return Put(lines, piece.size());
}

QByteArray DatedPdfDevice::MovedLine(const QByteArray& line) {
    // An object's offset ("0000005390 00000 n \n"), and the table's own, on the line after
    // "startxref": moved when they lie after the date.
    static const QRegularExpression entry(QStringLiteral("^(\\d{10})( \\d{5} n \\n)$"));
    static const QRegularExpression position(QStringLiteral("^(\\d+)( ?\\n)$"));
    const bool tablePosition = std::exchange(startxrefNext_, line == "startxref\n");
    const QRegularExpressionMatch m =
        (tablePosition ? position : entry).match(QString::fromLatin1(line));
    if (!m.hasMatch() || m.captured(1).toLongLong() <= datedAt_) return line;
    const QByteArray moved = QByteArray::number(m.captured(1).toLongLong() + moved_);
    return (tablePosition ? moved : moved.rightJustified(10, '0')) + m.captured(2).toLatin1();
}

}  // namespace zerin::ui
