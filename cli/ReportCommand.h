// The report commands' common part: the field options read into the calculation module, and the
// report or the calculation's messages written.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Output.h"
#include "PlaceInput.h"
#include "math/Errors.h"
#include "report/Commands.h"

namespace zerin::cli {

// The command line reads argv into the services' requests.
using namespace zerin::services;

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
using ReportCommand = std::function<Outcome(zerin::Report& report, Messenger& messenger,
                                            FieldOptions& entered, bool flag)>;
int RunReportCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err,
                     const char* flag, const ReportCommand& run);

}  // namespace zerin::cli
