#include "TimetablePrint.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextOption>
#include <clocale>
#include <optional>

#include "SourceDate.h"

namespace zerin::ui {

namespace {

// Latin letters and digits from a clean sans, Arabic from a naskh face, both embedded.
QFont PageFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans"), QStringLiteral("Noto Naskh Arabic"),
                      QStringLiteral("Amiri"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

const QColor kRule(0x60, 0x60, 0x60), kHeadFill(0xdd, 0xe4, 0xea), kStripe(0xf4, 0xf6, 0xf8),
    kFaint(0x70, 0x70, 0x70);

// Draws text in rect, reading in direction; alignment is taken as written (never mirrored).
// Returns the height the text took.
double DrawText(QPainter& p, const QRectF& rect, const QString& text, Qt::Alignment alignment,
                Qt::LayoutDirection direction, bool wrap = false) {
    QTextOption option(alignment | Qt::AlignAbsolute);
    option.setTextDirection(direction);
    option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
    p.setLayoutDirection(direction);
    const QRectF used = p.boundingRect(rect, text, option);
    p.drawText(rect, text, option);
    return used.height();
}

// The share of the width each column takes.
double ColumnWeight(SheetColumn column, bool seconds) {
    switch (column) {
        case SheetColumn::Weekday:
            return 1.25;
        case SheetColumn::Date:
            return 1.55;
        case SheetColumn::Hijri:
            return 2.4;
        default:
            return seconds ? 1.25 : 1.0;
    }
}

}  // namespace

void PaintSheet(QPainter& p, const QRectF& area, const TimetableSheet& sheet, std::size_t page,
                std::size_t pages) {
    const double mm = p.device()->logicalDpiY() / 25.4;
    p.save();
    double y = area.top();
    const double left = area.left(), width = area.width(), right = area.right();

    // The place's name at the right, the month at the left.
    p.setPen(Qt::black);
    p.setFont(PageFont(15, true));
    const double titleHeight =
        std::max(DrawText(p, QRectF(left + width * 0.3, y, width * 0.7, 40 * mm), sheet.title,
                          Qt::AlignRight | Qt::AlignTop, Qt::RightToLeft, true),
                 DrawText(p, QRectF(left, y, width * 0.3, 40 * mm), sheet.month,
                          Qt::AlignLeft | Qt::AlignTop, Qt::RightToLeft));
    y += titleHeight + 1.2 * mm;
    p.setPen(QPen(Qt::black, 0.4 * mm));
    p.drawLine(QPointF(left, y), QPointF(right, y));
    y += 2 * mm;

    p.setPen(Qt::black);
    p.setFont(PageFont(8.5));
    for (const QString& line : sheet.header)
        y += DrawText(p, QRectF(left, y, width, 20 * mm), line, Qt::AlignRight | Qt::AlignTop,
                      Qt::RightToLeft, true) +
             0.6 * mm;
    y += 2.5 * mm;

    // The grid fills what the notes and the page number leave.
    const double footer = 9 * mm, notes = sheet.notes.size() * 5 * mm;
    const double rows = static_cast<double>(sheet.rows.size()) + 1;
    const double rowHeight = std::min(7.5 * mm, (area.bottom() - footer - notes - y) / rows);
    double weights = 0;
    for (const SheetColumn column : sheet.columns) weights += ColumnWeight(column, sheet.seconds);
    // Right to left: the first column's right edge is the page's.
    std::vector<QRectF> columns;
    double x = right;
    for (const SheetColumn column : sheet.columns) {
        const double w = width * ColumnWeight(column, sheet.seconds) / weights;
        x -= w;
        columns.emplace_back(x, 0, w, rowHeight);
    }

    p.setPen(Qt::NoPen);
    p.setBrush(kHeadFill);
    p.drawRect(QRectF(left, y, width, rowHeight));
    p.setBrush(kStripe);
    for (std::size_t r = 1; r < sheet.rows.size(); r += 2)
        p.drawRect(QRectF(left, y + (r + 1) * rowHeight, width, rowHeight));
    p.setBrush(Qt::NoBrush);

    p.setPen(Qt::black);
    p.setFont(PageFont(9, true));
    for (std::size_t c = 0; c < columns.size(); ++c)
        DrawText(p, columns[c].translated(0, y), ColumnTitle(sheet.columns[c]), Qt::AlignCenter,
                 Qt::RightToLeft);
    const QFont body = PageFont(9.5), friday = PageFont(9.5, true);
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const double top = y + (r + 1) * rowHeight;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const QString text = sheet.Cell(r, c);
            const bool weekday = sheet.columns[c] == SheetColumn::Weekday;
            p.setFont(weekday && text == QStringLiteral("الجمعة") ? friday : body);
            DrawText(p, columns[c].translated(0, top), text, Qt::AlignCenter,
                     ReadsRightToLeft(sheet.columns[c]) ? Qt::RightToLeft : Qt::LeftToRight);
        }
    }
    const double bottom = y + rows * rowHeight;
    p.setPen(QPen(kRule, 0.15 * mm));
    for (double r = 0; r <= rows; ++r)
        p.drawLine(QPointF(left, y + r * rowHeight), QPointF(right, y + r * rowHeight));
    p.drawLine(QPointF(right, y), QPointF(right, bottom));
    for (const QRectF& column : columns)
        p.drawLine(QPointF(column.left(), y), QPointF(column.left(), bottom));
    y = bottom + 2 * mm;

    p.setPen(Qt::black);
    p.setFont(PageFont(8));
    for (const QString& note : sheet.notes)
        y += DrawText(p, QRectF(left, y, width, 10 * mm), note, Qt::AlignRight | Qt::AlignTop,
                      Qt::RightToLeft, true);

    p.setPen(kFaint);
    const QRectF foot(left, area.bottom() - 6 * mm, width, 6 * mm);
    DrawText(p, foot, QStringLiteral("صفحة %1 من %2").arg(page).arg(pages),
             Qt::AlignHCenter | Qt::AlignBottom, Qt::RightToLeft);
    DrawText(p, foot, QStringLiteral("زيرين"), Qt::AlignLeft | Qt::AlignBottom, Qt::RightToLeft);
    p.restore();
}

TimetablePrinter::TimetablePrinter(services::TimetableJob job)
    : job_(std::move(job)), pages_(PagesOf(job_)) {}

bool TimetablePrinter::Prepare(std::string& error) {
    prepared_ = false;
    // Each place is checked here and made again when its pages are drawn, so that the memory
    // of a printed timetable holds one place at a time, however many the file has.
    for (const services::TimetablePlace& place : job_.places) {
        if (!MakeSource(place, error)) {
            if (!place.name.empty()) error = place.name + ": " + error;
            return false;
        }
    }
    prepared_ = true;
    return true;
}

std::unique_ptr<TimetableSource> TimetablePrinter::MakeSource(const services::TimetablePlace& place,
                                                              std::string& error) const {
    return TimetableSource::Make(place, job_.settings, job_.from, LastDayOf(job_), error,
                                 job_.method);
}

bool TimetablePrinter::Paint(QPagedPaintDevice& device, const Progress& progress, QString& error) {
    empty_ = services::EmptyRows();
    if (!prepared_) {
        error = QStringLiteral("the timetable's places are not ready");
        return false;
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        error = QStringLiteral("the printer or the file cannot be drawn on");
        return false;
    }
    const QRectF area(0, 0, device.width(), device.height());
    std::unique_ptr<TimetableSource> source;
    std::size_t sourcePlace = 0;
    for (std::size_t k = 0; k < pages_.size(); ++k) {
        if (k > 0 && !device.newPage()) {
            error = QStringLiteral("the printer took no new page");
            painter.end();
            return false;
        }
        if (!source || sourcePlace != pages_[k].place) {
            source.reset();
            std::string why;
            sourcePlace = pages_[k].place;
            source = MakeSource(job_.places[sourcePlace], why);
            if (!source) {
                error = QString::fromStdString(why);
                painter.end();
                return false;
            }
        }
        const TimetableSheet sheet = SheetOf(*source, pages_[k], job_);
        for (const SheetRow& row : sheet.rows) {
            if (row.day.outcome == Outcome::Written) continue;
            const services::RowEnd end = row.day.outcome == Outcome::Refused
                                             ? services::RowEnd::Refused
                                             : services::RowEnd::Fault;
            empty_.Count({end, row.why}, services::DateText(row.day.date));
        }
        PaintSheet(painter, area, sheet, k + 1, pages_.size());
        if (progress && !progress(k + 1, pages_.size())) {
            painter.end();
            error = QStringLiteral("stopped");
            return false;
        }
    }
    if (painter.end()) return true;
    error = QStringLiteral("the pages could not be finished");
    return false;
}

bool TimetablePrinter::WritePdf(const std::string& path, const Progress& progress,
                                FileError& error) {
    return WriteThrough(
        path,
        [this, &progress](FileDevice& file, QString& why) {
            std::optional<long long> epoch;
            std::string refused;
            if (!services::SourceDateEpoch(epoch, refused)) {
                why = QString::fromStdString(refused);
                return false;
            }
            std::optional<DatedPdfDevice> dated;
            QIODevice* device = &file;
            if (epoch) {
                dated.emplace(file, *epoch);
                dated->open(QIODevice::WriteOnly);
                device = &*dated;
            }
            QPdfWriter writer(device);
            writer.setPageLayout(
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                            QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                            QPageLayout::Millimeter));
            writer.setCreator(QStringLiteral("Zerin"));
            writer.setTitle(job_.places.size() == 1 && !job_.places[0].name.empty()
                                ? QStringLiteral("مواقيت الصلاة: ") +
                                      QString::fromStdString(job_.places[0].name)
                                : QStringLiteral("مواقيت الصلاة"));
            // A write the disk refused stops the pages at the next one.
            const Progress going = [&file, &progress](std::size_t done, std::size_t total) {
                return !file.Error().Failed() && (!progress || progress(done, total));
            };
            return Paint(writer, going, why);
        },
        error);
}

namespace {

// On the command line Qt's own remarks on its surroundings (XDG_RUNTIME_DIR not set...) are
// noise: only its errors are said.
void OnlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "zerin: %s\n", message.toLocal8Bit().constData());
}

// Writes the job's pages to path; the exit status of the tables.
int WritePages(const services::TimetableJob& job, const std::string& path, std::FILE* err) {
    TimetablePrinter printer(job);
    std::string refused;
    if (!printer.Prepare(refused)) {
        std::fprintf(err, "zerin: %s (see 'zerin --help')\n", refused.c_str());
        return 2;
    }
    services::Progress progress(err, stdout, printer.PageCount());
    FileError error;
    if (!printer.WritePdf(
            path,
            [&progress](std::size_t done, std::size_t) {
                progress.Tick(done);
                return true;
            },
            error)) {
        progress.Clear();
        std::fprintf(err, "zerin: %s\n", error.Message().c_str());
        return 1;
    }
    progress.Clear();
    return printer.EmptyRows().Report(err);
}

}  // namespace

int WriteTimetablePdfFile(const services::TimetableJob& job, const std::string& path,
                          std::FILE* err) {
    // Offscreen: the pages need fonts, not a display. The arguments outlive the application,
    // which may take the platform's two out of them.
    int argc = 3;
    char name[] = "zerin", option[] = "-platform", platform[] = "offscreen";
    char* argv[] = {name, option, platform, nullptr};
    std::unique_ptr<QGuiApplication> app;
    QtMessageHandler previous = nullptr;
    const bool own = !QCoreApplication::instance();
    if (own) {
        MakeOutputReproducible();
        previous = qInstallMessageHandler(OnlyQtErrors);
        app = std::make_unique<QGuiApplication>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
    }
    const int status = WritePages(job, path, err);
    app.reset();
    if (own) qInstallMessageHandler(previous);
    return status;
}

}  // namespace zerin::ui
