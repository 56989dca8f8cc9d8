// `zerin times`: the command line of the timetables, read into the services' request; the
// table written, or its pages printed by the windows' module (--pdf FILE).
#pragma once

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "TableOptions.h"
#include "TimesPdf.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

// The options of the method and the rules, as given; resolved once the whole line is read, so
// that their order does not matter.
struct PrayerOptions {
    std::string method;
    std::optional<double> fajr, isha, interval, maghrib, elevation;
    std::array<double, kPrayers> adjust{};
    std::array<bool, kPrayers> adjustNamed{};  // the times --adjust has named
    std::optional<Rounding> rounding;
    std::optional<Horizon> horizon;
    PrayerSettings rules;      // the rules, the columns shown
    std::string methodOption;  // the first option that changes the method's parameters
};

// If args[k] is an option of the method or the rules, consumes it: -1 when it is not one, 0 when
// read, or the exit status of its refusal (written on err).
int TakePrayerOption(const std::vector<std::string>& args, std::size_t& k, PrayerOptions& p,
                     std::FILE* err);

// The settings of the options: the method's (morocco without --method), then the user's own
// angles, interval, adjustments (added to the method's) and rounding, the horizon and the rules.
// Returns 0, or the exit status of a refusal written on err.
int ResolvePrayerOptions(const PrayerOptions& p, TimesMethod method, PrayerSettings& s,
                         std::FILE* err);

// --pdf FILE and --name TEXT (the place's name in the page's header).
struct PdfOptions {
    std::string file;
    std::string name;
    std::string givenWithoutPdf;  // --name, to refuse it without --pdf
};

// If args[k] is an option of the PDF, consumes it (and its value) and returns true; sets error
// to a one-line message when its value is missing or wrong.
bool TakePdfOption(const std::vector<std::string>& args, std::size_t& k, PdfOptions& pdf,
                   std::string& error);

// False with a message when the PDF's options do not go with the others (--name without --pdf,
// --pdf with --csv or --json).
bool CheckPdfOptions(const PdfOptions& pdf, const TableOptions& table, std::string& error);

// Writes the job's pages to path through the windows' module and returns the exit status of the
// tables; messages on err (a build without the windows says it cannot write PDF).
int WritePdf(const TimetableJob& job, const std::string& path, std::FILE* err);

int RunTimes(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// The help of the methods and settings of `zerin times`, and of its PDF.
extern const char* const kMethodsHelp;
extern const char* const kPdfHelp;

}  // namespace zerin::cli
