// The one way the program writes a file: what stands at the target before (nothing, a file, a
// link, a folder, a FIFO, a device), what stands there after, and what is left when the
// disk refuses the bytes (a file size limit in a child process).
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

namespace zerin::test {
namespace {

void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

mode_t ModeOf(const std::string& path) {
    struct stat s {};
    return ::lstat(path.c_str(), &s) == 0 ? s.st_mode : 0;
}

using Kind = FileError::Kind;

TEST(AtomicFile, WhatStandsAtTheTarget) {
    // What is there before, what the write says, what is there after; the file a link
    // points to keeps its text.
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
        EXPECT_EQ(ModeOf(folder / "out") & S_IFMT, c.after);
        if (c.after == S_IFREG) {
            EXPECT_EQ(ReadFile(folder / "out"), "new text\n");
        }
        if (ModeOf(folder / "victim")) {
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
    EXPECT_TRUE(S_ISCHR(ModeOf(folder / "null")));
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
    EXPECT_EQ(ModeOf(folder / "kept") & 07777, 0640u);
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(folder / "fresh", "new", error));
    ::umask(mask);
    EXPECT_EQ(ModeOf(folder / "fresh") & 07777, 0644u);
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

// In a child with a file size limit of 4 KiB: the write of 64 KiB fails with EFBIG (the
// signal ignored, the process alive), the previous file stays whole, nothing is left beside
// it. The child's exit status says what it saw: 0 as expected, 1 written, 2 another reason.
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

}  // namespace
}  // namespace zerin::test
