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

// What stands at a target before a write, and what the write leaves: its refusal (after
// "could not write PATH: "), what stands there after, the names the folder holds.
struct Target {
    const char* name;
    void (*make)(const ScratchFolder& folder);
    Kind kind;
    const char* refusal;
    mode_t after;  // S_IFREG when the new file is there
    std::vector<std::string> names;
};
// clang-format off
const Target kTargets[] = {
    {"nothing", [](const ScratchFolder&) {}, Kind::None, "", S_IFREG, {"out"}},
    {"a file", [](const ScratchFolder& f) { Put(f / "out", "old"); }, Kind::None, "", S_IFREG, {"out"}},
    {"a link to a good file", [](const ScratchFolder& f) {
         Put(f / "victim", "victim");
         ASSERT_EQ(::symlink((f / "victim").c_str(), (f / "out").c_str()), 0);
     }, Kind::None, "", S_IFREG, {"out", "victim"}},
    {"a dangling link", [](const ScratchFolder& f) {
         ASSERT_EQ(::symlink((f / "created").c_str(), (f / "out").c_str()), 0);
     }, Kind::None, "", S_IFREG, {"out"}},
    {"a FIFO", [](const ScratchFolder& f) { ASSERT_EQ(::mkfifo((f / "out").c_str(), 0644), 0); },
     Kind::Fifo, "it is a FIFO, not a regular file: it is left as it is", S_IFIFO, {"out"}},
    {"a link to a FIFO", [](const ScratchFolder& f) {
         ASSERT_EQ(::mkfifo((f / "fifo").c_str(), 0644), 0);
         ASSERT_EQ(::symlink("fifo", (f / "out").c_str()), 0);
     }, Kind::Fifo, "it is a FIFO, not a regular file: it is left as it is", S_IFLNK, {"fifo", "out"}},
    {"a folder", [](const ScratchFolder& f) { ASSERT_EQ(::mkdir((f / "out").c_str(), 0755), 0); },
     Kind::Folder, "it is a folder, not a file", S_IFDIR, {"out"}},
    {"a device (a private /dev/null)", [](const ScratchFolder& f) {
         ASSERT_EQ(::mknod((f / "out").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
     }, Kind::Device, "it is a device, not a regular file: it is left as it is", S_IFCHR, {"out"}},
};
// clang-format on

// What a write left: what stands at the target, a link's file whole, no temporary file beside.
void ExpectLeft(const ScratchFolder& folder, const Target& c) {
    EXPECT_EQ(TypeOf(folder / "out"), c.after);
    if (TypeOf(folder / "victim")) {
        EXPECT_EQ(ReadFile(folder / "victim"), "victim");
    }
    EXPECT_EQ(folder.Names(), c.names);
}

bool MayMakeDevices(const Target& c, const char* what) {
    if (c.after != S_IFCHR || ::geteuid() == 0) return true;
    std::printf("skipped: %s onto a device node needs root (mknod)\n", what);
    return false;
}

TEST(AtomicFile, WhatStandsAtTheTarget) {
    for (const Target& c : kTargets) {
        SCOPED_TRACE(c.name);
        if (!MayMakeDevices(c, "a write")) continue;
        const ScratchFolder folder;
        c.make(folder);
        FileError error;
        EXPECT_EQ(WriteFileAtomically(folder / "out", "new text\n", error), c.kind == Kind::None);
        EXPECT_EQ(error.kind, c.kind) << error.Message();
        if (c.kind != Kind::None) {
            EXPECT_EQ(error.Message(), "could not write " + (folder / "out") + ": " + c.refusal);
        } else {
            EXPECT_EQ(ReadFile(folder / "out"), "new text\n");
        }
        ExpectLeft(folder, c);
    }
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

ExeResult Write(const Writer& w, const std::string& target,
                const std::string& before = kNoDisplay) {
    return RunExe(w.command + ("'" + target + "'"), before);
}

// The writers paint with the windows' library: a zerin built without it skips these tests.
class FileTargets : public ::testing::Test {
  protected:
    void SetUp() override {
        const ExeResult r =
            RunExe(" crescent-map --date 2024-03-10 --png /nonexistent-zerin/x.png", kNoDisplay);
        if (Contains(r.err, "built without the windows")) GTEST_SKIP() << "built without Qt";
    }
};

TEST_F(FileTargets, WhatStandsAtThePathIsReplacedOrLeftAlone) {
    for (const Writer& w : kWriters) {
        for (const Target& c : kTargets) {
            SCOPED_TRACE(std::string(w.name) + ": " + c.name);
            if (!MayMakeDevices(c, w.name)) continue;
            const ScratchFolder folder;
            const std::string out = folder / "out";
            c.make(folder);
            const ExeResult r = Write(w, out);
            EXPECT_EQ(r.status, c.kind == Kind::None ? 0 : 1) << r.err;
            if (c.kind != Kind::None) {
                EXPECT_EQ(r.err, "zerin: could not write " + out + ": " + c.refusal + "\n");
            } else {
                EXPECT_EQ(ReadFile(out).rfind(w.magic, 0), 0u);
            }
            ExpectLeft(folder, c);
        }
    }
}

// Under `ulimit -f`, or on a full disk (a 16 KiB tmpfs, when the test may mount it): status 1,
// the reason, the previous file whole, no fragment, no SIGXFSZ.
TEST_F(FileTargets, NoRoomLeavesThePreviousFileWhole) {
    const ScratchFolder limited, small;
    const std::string disk = small / "";
    const bool mounted =
        std::system(("mount -t tmpfs -o size=16k tmpfs '" + disk + "' 2>/dev/null").c_str()) == 0;
    if (!mounted) std::printf("skipped: no small tmpfs can be mounted here (it needs root)\n");
    const std::tuple<const ScratchFolder*, const char*, const char*> rooms[] = {
        {&limited, "ulimit -f 8; ", "File too large"}, {&small, "", "No space left on device"}};
    for (const auto& [folder, limit, reason] : rooms) {
        for (const Writer& w : kWriters) {
            SCOPED_TRACE(std::string(w.name) + ": " + reason);
            if (folder == &small && !mounted) continue;
            const std::string out = *folder / "out";
            Put(out, "good old file");
            const ExeResult r = Write(w, out, limit + std::string(kNoDisplay));
            EXPECT_EQ(r.status, 1) << r.err;
            EXPECT_EQ(r.err, "zerin: could not write " + out + ": " + reason + "\n");
            EXPECT_EQ(ReadFile(out), "good old file");
            EXPECT_EQ(folder->Names(), std::vector<std::string>{"out"});
        }
    }
    if (mounted) {
        EXPECT_EQ(std::system(("umount '" + disk + "'").c_str()), 0);
    }
}

// A SOURCE_DATE_EPOCH outside a PDF's dates or not whole is refused before writing; the last fits.
TEST_F(FileTargets, ABadSourceDateEpochIsRefused) {
    const ScratchFolder folder;
    for (const char* epoch :
         {"text", "-1", "1e9", "0x10", "", "253402300800", " 5", "253402300799"}) {
        const ExeResult r = Write(kWriters[1], folder / "out",
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

// "-", /dev/fd/1 and /proc/self/fd/1 write through to standard output the file's bytes, the
// same whatever the local clock (a PDF's date is SOURCE_DATE_EPOCH's, in UTC); /dev/fd/2 is
// refused.
TEST_F(FileTargets, StandardOutputIsWrittenThroughWithTheSameBytes) {
    const std::pair<const char*, const char*> targets[] = {
        {"-", " | cat > "}, {"/dev/fd/1", " > "}, {"/proc/self/fd/1", " | cat > "}};
    const std::string epoch = std::string("SOURCE_DATE_EPOCH=1700000000 TZ=");
    for (const Writer& w : kWriters) {
        const ScratchFolder folder;
        ASSERT_EQ(Write(w, folder / "file", epoch + "UTC " + kNoDisplay).status, 0);
        const std::string bytes = ReadFile(folder / "file"),
                          before = epoch + "Asia/Tehran " + kNoDisplay;
        EXPECT_GT(bytes.size(), 1000u);
        if (std::string(w.name) == "pdf") {
            EXPECT_TRUE(Contains(bytes, "/CreationDate (D:20231114221320Z)"))
                << "not the epoch's date";
        }
        for (const auto& [target, sink] : targets) {
            SCOPED_TRACE(std::string(w.name) + " " + target);
            RunExe(w.command + std::string(target) + sink + "'" + (folder / "out") + "'", before);
            EXPECT_TRUE(ReadFile(folder / "out") == bytes) << "the two files differ";
        }
        // Standard output a file beside standard error's (in the working folder): the same
        // disk, another file.
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
TEST_F(FileTargets, TheNameGivenIsTheNameWritten) {
    for (const Writer& w : kWriters)
        for (const std::string& name : {std::string("\xFF.out"), std::string(255, 'x')}) {
            SCOPED_TRACE(std::string(w.name) + " " + std::to_string(name.size()));
            const ScratchFolder folder;
            const ExeResult r = Write(w, folder / name);
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(folder.Names(), std::vector<std::string>{name});
        }
}

// Stopped by SIGINT, SIGTERM or SIGHUP mid-PDF: no temporary file, the signal's status.
TEST_F(FileTargets, AStoppedWriteLeavesNoTemporaryFile) {
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
