// `zerin times --pdf FILE`: the timetable as printed pages (A4, one month of a place per page),
// drawn by the windows' module, which the command line loads only for this.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "TableOptions.h"
#include "Times.h"
#include "ZoneClock.h"

namespace zerin::cli {

// A place of a printed timetable: the name the user gave it and its place and clock options.
struct TimetablePlace {
    std::string name;
    TableOptions options;
};

// What a printed timetable holds: each place for the same days, a page per place and month.
struct TimetableJob {
    std::vector<TimetablePlace> places;
    Civil from;
    std::size_t days = 0;
    PrayerSettings settings;  // the method, horizon, rules and the afternoon times shown
    bool seconds = false;
    TimesMethod method = TimesMethod::Exact;
    std::optional<HijriRule> hijri;  // a Hijri date column by this rule
};

// If args[k] is an option of the PDF, consumes it (and its value) and returns true; sets error
// to a one-line message when its value is missing or wrong.
bool TakePdfOption(const std::vector<std::string>& args, std::size_t& k, PdfOptions& pdf,
                   std::string& error);

// False with a message when the PDF's options do not go with the others (--name without --pdf,
// --pdf with --csv or --json).
bool CheckPdfOptions(const PdfOptions& pdf, const TableOptions& table, std::string& error);

// Writes the job's pages to path and returns the exit status of the tables; messages on err.
using PdfWriter = int (*)(const TimetableJob& job, const std::string& path, std::FILE* err);
// The executable installs the writer of the windows' module; without one (a build without the
// windows) --pdf says it cannot write PDF.
void SetPdfWriter(PdfWriter writer);
int WritePdf(const TimetableJob& job, const std::string& path, std::FILE* err);

extern const char* const kPdfHelp;

}  // namespace zerin::cli
