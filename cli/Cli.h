// The zerin command line: reports, the preface, help and version, without a display.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "math/Errors.h"
#include "report/Commands.h"

namespace zerin::cli {

// Runs one command line (without the program name); writes to out and err.
// Exit status: 0 written, 1 calculation fault (or output failure), 2 usage or refused input.
int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err);

// Messages on standard error: "zerin: " and the Arabic text, then the English one.
class StderrMessenger : public Messenger {
  public:
    explicit StderrMessenger(std::FILE* err) : err_(err) {}
    void critical(const Message& message) override;

  private:
    std::FILE* err_;
};

/*
 * A report command (`zerin report BODY ...`): reads the field options from args[2] on, --json,
 * and `flag` (such as "--morning") when one is given; runs `run` on the fields read, with a
 * report that takes its text (or, with --json, its values) and messages to err; writes the
 * report. Returns the exit status: 0 written, 1 a calculation fault or an output failure, 2
 * refused.
 */
struct FieldOptions;
using ReportCommand = std::function<Outcome(zerin::Report& report, Messenger& messenger,
                                            FieldOptions& entered, bool flag)>;
int RunReportCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                     const char* flag, const ReportCommand& run);

// Writes all of text and flushes it; false, with one message on err, when it could not.
bool WriteAll(std::FILE* out, std::FILE* err, std::string_view text);

// The decimal separator of the user's regional settings (LC_NUMERIC), read without changing the
// process's locale.
std::string RegionalDecimalSeparator();

}  // namespace zerin::cli
