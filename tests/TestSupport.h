// Helpers shared by the tests: golden files, running the command line in-process.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "math/Errors.h"

namespace zerin::test {

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A scratch file name of this process's own ("stem.1234.ext"): ctest runs cases side by side.
inline std::string Scratch(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const std::string pid = "." + std::to_string(::getpid());
    return dot == std::string::npos ? name + pid : name.substr(0, dot) + pid + name.substr(dot);
}

inline std::string Golden(const std::string& name) {
    return ReadFile(std::string(ZERIN_GOLDEN_DIR) + "/" + name);
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

inline std::vector<std::string> With(std::vector<std::string> args,
                                     const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// A shell command line's standard output; its exit status (-1 if none) in *status.
inline std::string ShellOut(const std::string& command, int* status = nullptr) {
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[65536];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int raw = pipe ? ::pclose(pipe) : -1;
    if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return out;
}

#ifdef ZERIN_EXE
// The program run by the shell ("zerin" + `tail`): its exit status (-1 if none) and stderr.
struct ExeResult {
    int status;
    std::string err;
};
inline ExeResult RunExe(const std::string& tail, const std::string& before = "") {
    const std::string err = Scratch("exe_err.txt");
    const int status =
        std::system((before + "'" + ZERIN_EXE + "'" + tail + " 2> '" + err + "'").c_str());
    ExeResult r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(err)};
    std::remove(err.c_str());
    return r;
}
#endif

struct CliResult {
    int status;
    std::string out, err;
};

inline std::string Drain(std::FILE* f) {
    std::rewind(f);
    std::string s;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
    std::fclose(f);
    return s;
}

// Runs the command line in this process, capturing both streams.
inline CliResult RunCli(const std::vector<std::string>& args) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = cli::Run(args, out, err);
    return {status, Drain(out), Drain(err)};
}

// The report command for a date and time, other fields as given.
inline std::vector<std::string> ReportArgs(const std::string& body, const std::string& year,
                                           const std::string& month, const std::string& day,
                                           const std::string& hour = "12",
                                           const std::string& minute = "0",
                                           const std::string& second = "0") {
    return {"report", body,     "--year", year,       "--month", month,      "--day",
            day,      "--hour", hour,     "--minute", minute,    "--second", second};
}

// Collects the messages a computation sends.
class RecordingMessenger : public Messenger {
  public:
    void critical(const Message& message) override { messages.push_back(message); }
    std::vector<Message> messages;
};

}  // namespace zerin::test
