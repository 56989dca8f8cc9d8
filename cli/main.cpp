// zerin: the windows with no arguments, the command line otherwise.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "Cli.h"
#include "OpenWindows.h"

namespace {

// The command's name as a message may quote it: a word of letters and hyphens, or nothing.
const char* CommandWord(int argc, char** argv) {
    if (argc <= 1) return "the windows";
    const char* word = argv[1];
    const std::size_t length = std::strlen(word);
    if (length == 0 || length > 20 || std::strspn(word, "abcdefghijklmnopqrstuvwxyz-") != length)
        return "this command";
    return word;
}

}  // namespace

int main(int argc, char** argv) {
    // A write past the file size limit fails and is reported, never kills the program.
    zerin::IgnoreFileSizeSignal();
    try {
        if (argc <= 1) return zerin::OpenWindows(argc, argv);
        const std::vector<std::string> args(argv + 1, argv + argc);
        return zerin::cli::Run(args, stdout, stderr);
    } catch (const std::bad_alloc&) {
        // What the failed work held is freed by now; the message needs no more memory.
        std::fflush(stdout);
        std::fprintf(stderr, "zerin: not enough memory for %s (the system gave no more)\n",
                     CommandWord(argc, argv));
        return 1;
    }
}
