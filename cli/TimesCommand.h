// `zerin times`: the command line of the timetables, read into the services' request; the
// table written, or its pages printed by the windows' module (--pdf FILE).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "TableOptions.h"
#include "TimesPdf.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

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
