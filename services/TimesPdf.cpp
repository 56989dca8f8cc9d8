#include "TimesPdf.h"

#include "FieldOptions.h"
#include "report/Echo.h"

namespace zerin::cli {

namespace {

PdfWriter installedWriter = nullptr;

}  // namespace

bool TakePdfOption(const std::vector<std::string>& args, std::size_t& k, PdfOptions& pdf,
                   std::string& error) {
    const std::string& a = args[k];
    const auto named = [&a](const char* option) { return IsOption(a, option); };
    if (named("--pdf")) {
        if (OptionValue(args, k, "--pdf", pdf.file, error) && pdf.file.empty())
            error = "--pdf needs the name of the file to write";
        return true;
    }
    if (named("--name")) {
        if (pdf.givenWithoutPdf.empty()) pdf.givenWithoutPdf = "--name";
        OptionValue(args, k, "--name", pdf.name, error);
        return true;
    }
    return false;
}

bool CheckPdfOptions(const PdfOptions& pdf, const TableOptions& table, std::string& error) {
    if (pdf.file.empty()) {
        if (pdf.givenWithoutPdf.empty()) return true;
        error = pdf.givenWithoutPdf + " is an option of the PDF: it goes with --pdf FILE";
        return false;
    }
    if (table.format != Format::Text) {
        error = std::string("--pdf writes a file; ") +
                (table.format == Format::Csv ? "--csv" : "--json") +
                " writes a table to standard output: give one of them";
        return false;
    }
    return true;
}

void SetPdfWriter(PdfWriter writer) {
    installedWriter = writer;
}

int WritePdf(const TimetableJob& job, const std::string& path, std::FILE* err) {
    if (installedWriter) return installedWriter(job, path, err);
    std::fprintf(err,
                 "zerin: this zerin was built without the windows, which draw the PDF: use --csv "
                 "instead\n");
    return 2;
}

const char* const kPdfHelp =
    R"(
  zerin times ... --pdf FILE [--name TEXT] [--asr 1|2|both]
  writes the timetable as a PDF instead: A4 portrait pages, one month per page, each
  with a header (the place's name given by --name, its coordinates, the zone, the
  Qibla's bearing, the angles and rules used) and a right-to-left grid with the day at
  the right: the weekday, the date, dawn, rising, transit, the afternoon time(s) --asr
  chooses (default both), setting and nightfall, the times as in --csv. Pages are
  drawn by the windows' module without a display. The file is replaced only once the
  whole PDF is written.
)";

}  // namespace zerin::cli
