// Files written atomically by every command: what stands at the target, full disks, signals.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "AtomicFile.h"
#include "TablesTestSupport.h"

namespace zerin::test {
namespace {

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

mode_t TypeOf(const std::string& path) {
    struct stat s {};
    return ::lstat(path.c_str(), &s) == 0 ? s.st_mode & S_IFMT : 0;
}

using Kind = FileError::Kind;

TEST(AtomicFile, WhatStandsAtTheTarget) {
    // What is there before, what the write says, what is after; a link's file keeps its text.
    struct Case {
        const char* name;
        void (*make)(const ScratchFolder&);
        Kind kind;
        mode_t after;  // S_IFREG when the new file is there
    };
    const Case cases[] = {
        {"nothing", [](const ScratchFolder&) {}, Kind::None, S_IFREG},
        {"a file", [](const ScratchFolder& f) { Put(f / "out", "old"); }, Kind::None, S_IFREG},
        {"a link to a file",
         [](const ScratchFolder& f) {
             Put(f / "victim", "victim");
             ASSERT_EQ(::symlink((f / "victim").c_str(), (f / "out").c_str()), 0);
         },
         Kind::None, S_IFREG},
        {"a dangling link",
         [](const ScratchFolder& f) {
             ASSERT_EQ(::symlink((f / "gone").c_str(), (f / "out").c_str()), 0);
         },
         Kind::None, S_IFREG},
        {"a folder",
         [](const ScratchFolder& f) { ASSERT_EQ(::mkdir((f / "out").c_str(), 0755), 0); },
         Kind::Folder, S_IFDIR},
        {"a FIFO",
         [](const ScratchFolder& f) { ASSERT_EQ(::mkfifo((f / "out").c_str(), 0644), 0); },
         Kind::Fifo, S_IFIFO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchFolder folder;
        c.make(folder);
        FileError error;
        const bool written = WriteFileAtomically(folder / "out", "new text\n", error);
        EXPECT_EQ(written, c.kind == Kind::None);
        EXPECT_EQ(error.kind, c.kind) << error.Message();
        EXPECT_EQ(TypeOf(folder / "out"), c.after);
        if (c.after == S_IFREG) {
            EXPECT_EQ(ReadFile(folder / "out"), "new text\n");
        }
        if (TypeOf(folder / "victim")) {
            EXPECT_EQ(ReadFile(folder / "victim"), "victim");
        }
        EXPECT_NE(::access((folder / "gone").c_str(), F_OK), 0);
        // No temporary file is left beside the target.
        for (const std::string& name : folder.Names())
            EXPECT_TRUE(name == "out" || name == "victim") << name;
    }
}

TEST(AtomicFile, ADeviceIsNeitherOpenedNorReplaced) {
    if (::geteuid() != 0) GTEST_SKIP() << "a device node is made with mknod, which needs root";
    const ScratchFolder folder;
    // A private copy of /dev/null.
    ASSERT_EQ(::mknod((folder / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    FileError error;
    EXPECT_FALSE(WriteFileAtomically(folder / "null", "text", error));
    EXPECT_EQ(error.kind, Kind::Device);
    EXPECT_EQ(TypeOf(folder / "null"), S_IFCHR);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"null"});
    EXPECT_EQ(error.Message(), "could not write " + (folder / "null") +
                                   ": it is a device, not a regular file: it is left as it is");
}

TEST(AtomicFile, APreviousFileKeepsItsPermissionsAndANewOneTakesTheUmask) {
    const ScratchFolder folder;
    Put(folder / "kept", "old");
    ASSERT_EQ(::chmod((folder / "kept").c_str(), 0640), 0);
    FileError error;
    ASSERT_TRUE(WriteFileAtomically(folder / "kept", "new", error));
    EXPECT_EQ(static_cast<int>(std::filesystem::status(folder / "kept").permissions()), 0640);
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(folder / "fresh", "new", error));
    ::umask(mask);
    EXPECT_EQ(static_cast<int>(std::filesystem::status(folder / "fresh").permissions()), 0644);
}

TEST(AtomicFile, AMissingFolderIsTheSystemsReason) {
    const ScratchFolder folder;
    FileError error;
    EXPECT_FALSE(WriteFileAtomically(folder / "no/such/out", "text", error));
    EXPECT_EQ(error.kind, Kind::System);
    EXPECT_EQ(error.code, ENOENT);
    EXPECT_EQ(error.Message(),
              "could not write " + (folder / "no/such/out") + ": No such file or directory");
    // The Arabic message: its headline, the path isolated left to right, the reason.
    EXPECT_EQ(error.ArabicMessage(),
              "تعذّرت كتابة الملف\r\n\xE2\x81\xA6" + (folder / "no/such/out") +
                  "\xE2\x81\xA9\r\nالمجلد غير موجود (\xE2\x81\xA6No such file "
                  "or directory\xE2\x81\xA9)");
    EXPECT_TRUE(folder.Names().empty());
}

TEST(AtomicFile, ACancelledWriteLeavesThePreviousFile) {
    const ScratchFolder folder;
    Put(folder / "out", "good old file");
    {
        AtomicFile file(folder / "out");
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write("half of"));
        file.Cancel(Kind::Stopped, "the painter failed");
        EXPECT_EQ(file.Error().Reason(), "the painter failed");
        EXPECT_FALSE(file.Commit());
    }
    {
        AtomicFile dropped(folder / "out");  // destroyed without a commit
        ASSERT_TRUE(dropped.Open());
        ASSERT_TRUE(dropped.Write("half of"));
    }
    EXPECT_EQ(ReadFile(folder / "out"), "good old file");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out"});
}

// Under a 4 KiB size limit a 64 KiB write fails (EFBIG), the old file whole: the child exits 0.
TEST(AtomicFile, AFullDiskLeavesThePreviousFileWhole) {
    const ScratchFolder folder;
    Put(folder / "out", "good old file");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        FileError error;
        if (WriteFileAtomically(folder / "out", std::string(65536, 'x'), error)) ::_exit(1);
        ::_exit(error.kind == Kind::System && error.code == EFBIG ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child was killed by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "no file size limit can be set here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(folder / "out"), "good old file");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out"});
}

const char* const kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";

struct Writer {
    const char* name;
    const char* command;  // the target's path follows
    const char* magic;    // the first bytes of a good file
};
const Writer kWriters[] = {
    {"png", " crescent-map --date 2024-03-10 --png ", "\x89PNG\r\n\x1a\n"},
    {"pdf", " times --lat 34 --lon 6W --zone 0 --from 2026-03-01 --days 31 --pdf ", "%PDF-"},
    {"svg", " chart sky --lat 34 --lon 6W --zone 0 --date 2024-03-10 --time 21:00 --svg ", "<?xml"},
};

bool WithWindows() {
    const ExeResult r =
        RunExe(" crescent-map --date 2024-03-10 --png /nonexistent-zerin/x.png", kNoDisplay);
    return !Contains(r.err, "built without the windows");
}

TEST(FileTargets, WhatStandsAtThePathIsReplacedOrLeftAlone) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    struct Case {
        const char* name;
        void (*make)(const ScratchFolder& folder);
        int status;
        const char* message;  // after "zerin: could not write PATH: "
        mode_t after;
        std::vector<std::string> names;  // what the folder holds after
    };
    // clang-format off
    const Case cases[] = {
        {"a link to a good file", [](const ScratchFolder& f) {
             Put(f / "victim", "victim");
             ASSERT_EQ(::symlink((f / "victim").c_str(), (f / "out").c_str()), 0);
         }, 0, "", S_IFREG, {"out", "victim"}},
        {"a dangling link", [](const ScratchFolder& f) {
             ASSERT_EQ(::symlink((f / "created").c_str(), (f / "out").c_str()), 0);
         }, 0, "", S_IFREG, {"out"}},
        {"a FIFO", [](const ScratchFolder& f) { ASSERT_EQ(::mkfifo((f / "out").c_str(), 0644), 0); },
         1, "it is a FIFO, not a regular file: it is left as it is", S_IFIFO, {"out"}},
        {"a link to a FIFO", [](const ScratchFolder& f) {
             ASSERT_EQ(::mkfifo((f / "fifo").c_str(), 0644), 0);
             ASSERT_EQ(::symlink("fifo", (f / "out").c_str()), 0);
         }, 1, "it is a FIFO, not a regular file: it is left as it is", S_IFLNK, {"fifo", "out"}},
        {"a folder", [](const ScratchFolder& f) { ASSERT_EQ(::mkdir((f / "out").c_str(), 0755), 0); },
         1, "it is a folder, not a file", S_IFDIR, {"out"}},
        {"a device (a private /dev/null)", [](const ScratchFolder& f) {
             ASSERT_EQ(::mknod((f / "out").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
         }, 1, "it is a device, not a regular file: it is left as it is", S_IFCHR, {"out"}},
    };
    // clang-format on
    for (const Writer& w : kWriters) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(w.name) + ": " + c.name);
            if (c.after == S_IFCHR && ::geteuid() != 0) {
                std::printf("skipped: %s onto a device node needs root (mknod)\n", w.name);
                continue;
            }
            const ScratchFolder folder;
            const std::string out = folder / "out";
            c.make(folder);
            const ExeResult r = RunExe(std::string(w.command) + "'" + out + "'", kNoDisplay);
            EXPECT_EQ(r.status, c.status) << r.err;
            if (c.status != 0) {
                EXPECT_EQ(r.err, "zerin: could not write " + out + ": " + c.message + "\n");
            }
            EXPECT_EQ(TypeOf(out), c.after);
            if (c.after == S_IFREG) {
                EXPECT_EQ(ReadFile(out).rfind(w.magic, 0), 0u);
            }
            if (TypeOf(folder / "victim")) {
                EXPECT_EQ(ReadFile(folder / "victim"), "victim");
            }
            EXPECT_EQ(folder.Names(), c.names);
        }
    }
}

// Under `ulimit -f`: status 1, the reason, the previous file whole, no fragment, no SIGXFSZ.
TEST(FileTargets, AFileSizeLimitLeavesThePreviousFileWhole) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const ScratchFolder folder;
        const std::string out = folder / "out";
        Put(out, "good old file");
        const ExeResult r = RunExe(std::string(w.command) + "'" + out + "'",
                                   std::string("ulimit -f 8; ") + kNoDisplay);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.err, "zerin: could not write " + out + ": File too large\n");
        EXPECT_EQ(ReadFile(out), "good old file");
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"out"});
    }
}

// On a full disk (a 16 KiB tmpfs, when the test may mount it): the same, with its reason.
TEST(FileTargets, AFullDiskLeavesThePreviousFileWhole) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    const ScratchFolder folder;
    const std::string disk = folder / "disk";
    ASSERT_EQ(::mkdir(disk.c_str(), 0755), 0);
    if (std::system(("mount -t tmpfs -o size=16k tmpfs '" + disk + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no small tmpfs can be mounted here (it needs root); the file size "
                        "limit's test stands for it";
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const std::string out = disk + "/out";
        Put(out, "good old file");
        const ExeResult r = RunExe(std::string(w.command) + "'" + out + "'", kNoDisplay);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_EQ(r.err, "zerin: could not write " + out + ": No space left on device\n");
        EXPECT_EQ(ReadFile(out), "good old file");
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(disk))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"out"});
    EXPECT_EQ(std::system(("umount '" + disk + "'").c_str()), 0);
}

// The same command twice gives the same bytes; the PDF's date is SOURCE_DATE_EPOCH's, in UTC.
TEST(FileTargets, TheSameCommandGivesTheSameBytes) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        const ScratchFolder folder;
        std::string bytes[2];
        for (int run = 0; run < 2; ++run) {
            const std::string out = folder / ("out" + std::to_string(run));
            // The PDF's date is the same instant whatever the local clock, written in UTC.
            const ExeResult r = RunExe(std::string(w.command) + "'" + out + "'",
                                       std::string("SOURCE_DATE_EPOCH=1700000000 TZ=") +
                                           (run == 0 ? "UTC " : "Asia/Tehran ") + kNoDisplay);
            ASSERT_EQ(r.status, 0) << r.err;
            bytes[run] = ReadFile(out);
        }
        EXPECT_GT(bytes[0].size(), 1000u);
        EXPECT_TRUE(bytes[0] == bytes[1]) << "the two files differ";
        if (std::string(w.name) == "pdf") {
            EXPECT_TRUE(Contains(bytes[0], "/CreationDate (D:20231114221320Z)"))
                << "not the epoch's date";
        }
    }
}

// A SOURCE_DATE_EPOCH outside a PDF's dates or not whole is refused before writing; the last fits.
TEST(FileTargets, ABadSourceDateEpochIsRefused) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    const ScratchFolder folder;
    for (const char* epoch :
         {"text", "-1", "1e9", "0x10", "", "253402300800", " 5", "253402300799"}) {
        const ExeResult r = RunExe(std::string(kWriters[1].command) + "'" + (folder / "out") + "'",
                                   "SOURCE_DATE_EPOCH='" + std::string(epoch) + "' " + kNoDisplay);
        const bool last = std::string(epoch) == "253402300799";
        EXPECT_EQ(r.status, last ? 0 : 2) << epoch << ": " << r.err;
        EXPECT_EQ(r.err.find("zerin: SOURCE_DATE_EPOCH is '" + std::string(epoch) +
                             "': it takes a whole number of seconds since 1970-01-01 00:00 UTC"),
                  last ? std::string::npos : 0)
            << r.err;
        EXPECT_EQ(folder.Names(),
                  last ? std::vector<std::string>{"out"} : std::vector<std::string>{});
        if (last) {
            EXPECT_TRUE(Contains(ReadFile(folder / "out"), "(D:99991231235959Z)"));
        }
    }
}

// "-", /dev/fd/1 and /proc/self/fd/1 write through to standard output; /dev/fd/2 is refused.
TEST(FileTargets, StandardOutputIsWrittenThrough) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    const std::pair<const char*, const char*> targets[] = {
        {"-", " | cat > "}, {"/dev/fd/1", " > "}, {"/proc/self/fd/1", " | cat > "}};
    for (const Writer& w : kWriters) {
        const ScratchFolder folder;
        const std::string before = std::string("SOURCE_DATE_EPOCH=1 ") + kNoDisplay;
        ASSERT_EQ(RunExe(w.command + folder / "file", before).status, 0);
        for (const auto& [target, sink] : targets) {
            SCOPED_TRACE(std::string(w.name) + " " + target);
            RunExe(w.command + std::string(target) + sink + "'" + (folder / "out") + "'", before);
            EXPECT_TRUE(ReadFile(folder / "out") == ReadFile(folder / "file"));
        }
        // Standard output a file beside standard error's: the same disk, another file.
        const std::string out = Scratch("file_targets_out.bin");
        const ExeResult r = RunExe(w.command + std::string("/dev/fd/2 > ") + out, before);
        std::remove(out.c_str());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err,
                  "zerin: could not write /dev/fd/2: it is not a regular file: it is left "
                  "as it is\n");
    }
}

// The name given is the name written, byte for byte: not UTF-8, or 255 bytes long.
TEST(FileTargets, TheNameGivenIsTheNameWritten) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    for (const Writer& w : kWriters)
        for (const std::string& name : {std::string("\xFF.out"), std::string(255, 'x')}) {
            SCOPED_TRACE(std::string(w.name) + " " + std::to_string(name.size()));
            const ScratchFolder folder;
            const ExeResult r =
                RunExe(w.command + std::string("'") + (folder / name) + "'", kNoDisplay);
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(folder.Names(), std::vector<std::string>{name});
        }
}

// Stopped by SIGINT, SIGTERM or SIGHUP mid-PDF: no temporary file, the signal's status.
TEST(FileTargets, AStoppedWriteLeavesNoTemporaryFile) {
    if (!WithWindows()) GTEST_SKIP() << "built without Qt";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const ScratchFolder folder;
        std::string places = "name,latitude,longitude,zone\n";
        for (int k = 0; k < 2000; ++k) places += "P" + std::to_string(k) + ",34N,6W,0\n";
        Put(folder / "places.csv", places);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                ::unsetenv(name);
            ::execl(ZERIN_EXE, "zerin", "times", "--places", (folder / "places.csv").c_str(),
                    "--from", "2026-03-01", "--days", "31", "--pdf", (folder / "out.pdf").c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // The temporary file beside the places: the pages are being written.
        for (int wait = 0; wait < 3000 && folder.Names().size() < 2; ++wait) ::usleep(20000);
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"places.csv"});
    }
}

}  // namespace
}  // namespace zerin::test
