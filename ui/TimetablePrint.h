// Printing a timetable: a page per place and month, each with its header and a right-to-left
// grid, on a printer or into a PDF (A4 portrait, the Arabic fonts embedded).
#pragma once

#include <QString>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileDevice.h"
#include "TableWriter.h"
#include "TimetableSheet.h"

class QPagedPaintDevice;
class QPainter;
class QRectF;

namespace zerin::ui {

// The margins of a printed page, millimetres.
inline constexpr double kPageMarginMm = 12;

class TimetablePrinter {
  public:
    // After each page; returns false to stop.
    using Progress = std::function<bool(std::size_t done, std::size_t total)>;

    explicit TimetablePrinter(services::TimetableJob job);

    // Makes every place ready; false with the command line's message for the first that cannot
    // be used.
    bool Prepare(std::string& error);
    std::size_t PageCount() const { return pages_.size(); }

    // Paints every page on device (begun here, ended here); false with the reason when the
    // device cannot be painted on or progress stopped the work.
    bool Paint(QPagedPaintDevice& device, const Progress& progress, QString& error);

    // Writes the pages as a PDF to path (bytes, "-" for standard output), page by page,
    // through the program's one way to write a file: the file is replaced only once the whole
    // PDF is written, so a failed write leaves the previous file as it was. The creation date
    // is SOURCE_DATE_EPOCH's when it is set (a value it cannot be is the failure's reason).
    bool WritePdf(const std::string& path, const Progress& progress, FileError& error);

    // The rows the calculation did not finish, for the command line's message.
    const services::EmptyRows& EmptyRows() const { return empty_; }

  private:
    std::unique_ptr<TimetableSource> MakeSource(const services::TimetablePlace& place,
                                                std::string& error) const;

    services::TimetableJob job_;
    std::vector<TimetablePage> pages_;
    bool prepared_ = false;
    services::EmptyRows empty_;
};

// Paints one sheet in area (device pixels): the title and the month, the header lines, the grid
// with its first column at the right, the notes and the page number.
void PaintSheet(QPainter& painter, const QRectF& area, const TimetableSheet& sheet,
                std::size_t page, std::size_t pages);

// `zerin times --pdf FILE`: the command line's job written offscreen; the exit status of the
// tables (0 written, 1 written with empty rows or not written, 2 refused), messages on err.
int WriteTimetablePdfFile(const services::TimetableJob& job, const std::string& path,
                          std::FILE* err);

}  // namespace zerin::ui
