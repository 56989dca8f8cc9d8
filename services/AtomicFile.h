// The one way the program writes a file: into a new temporary file beside the target, every
// write checked, flushed to the disk, then renamed over the target. A failed write leaves the
// previous file as it was and no temporary file behind. Plain C++ and POSIX, no Qt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zerin {

// Why a file could not be written.
struct FileError {
    enum class Kind {
        None,
        System,  // the system refused a call: `code` says why
        Folder,  // the target is a folder
        Device,  // a character or block device (/dev/null)
        Fifo,
        Socket,
        Special,  // any other kind of file that is not a regular file
        Short,    // the file on the disk is not as long as what was written
        Stopped,  // the writer gave up (its own error, or the user stopped it)
    };
    std::string path;
    Kind kind = Kind::None;
    int code = 0;      // errno for System
    std::string what;  // for Stopped: the writer's own words, when it has them

    bool Failed() const { return kind != Kind::None; }
    // The reason alone: "No space left on device", "a device, not a regular file".
    std::string Reason() const;
    std::string ArabicReason() const;
    // The whole message: "could not write FILE: REASON", and in Arabic the headline, the path
    // (kept left to right inside the right-to-left text) and the reason, a line each.
    std::string Message() const;
    std::string ArabicMessage(const std::string& headline = "تعذّرت كتابة الملف") const;
};

// The name that stands for standard output ("--png -").
inline constexpr const char* kStandardOutputName = "-";

// A file being written. Open creates the temporary file (a short name, ".zerin-" and eight
// random characters, in the target's folder); Write appends; Commit makes it the target.
// Destroying an AtomicFile that was not committed removes its temporary file, and so does
// SIGINT, SIGTERM or SIGHUP (the program then ends with the signal's status, or the handler
// that was installed before runs). After a failure every further call returns false and
// Error() says the first reason.
//
// A symbolic link at the target is replaced by the new file, never followed; a target that is
// a folder, a device, a FIFO or a socket is refused before anything is created, and so is a
// link to a device, a FIFO or a socket, or a link in /dev or /proc, unless it is standard
// output: that is written through (/dev/stdout), as "-" is. A previous regular file's
// permissions are kept; a new file gets 0666 less the umask.
class AtomicFile {
  public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open();
    bool Write(const void* data, std::size_t size);
    bool Write(std::string_view bytes) { return Write(bytes.data(), bytes.size()); }
    // Checks the size on the disk, flushes it there, and renames the file over the target.
    bool Commit();
    // Gives up: removes the temporary file (the target is untouched). With a kind other than
    // None, records it as the reason unless one is already recorded.
    void Cancel(FileError::Kind why = FileError::Kind::Stopped, std::string what = "");

    const FileError& Error() const { return error_; }
    const std::string& Path() const { return path_; }
    const std::string& TemporaryPath() const { return temporary_; }
    std::size_t Written() const { return written_; }

  private:
    bool Fail(FileError::Kind kind, int code = 0);
    bool OpenStandardOutput();
    void Discard();

    std::string path_, temporary_;
    int fd_ = -1, slot_ = -1;  // slot_: the temporary's place in the signals' table
    bool keepMode_ = false, committed_ = false, standardOutput_ = false;
    unsigned mode_ = 0;
    std::size_t written_ = 0;
    FileError error_;
};

// The simple entry point: writes bytes to path atomically. False with error set otherwise.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, FileError& error);
// The same, with the English message ("could not write FILE: REASON") in `message`.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& message);

// What stands at path, when it is there and is not a file the program may replace (a folder,
// a device, a FIFO, a socket, a link to one of them or a link in /dev or /proc); None for a
// regular file, another symbolic link or nothing.
FileError::Kind UnwritableKind(const std::string& path);

// Makes a write beyond the process's file size limit fail with EFBIG instead of killing the
// process with SIGXFSZ. Open calls it; the executable calls it at its start.
void IgnoreFileSizeSignal();

}  // namespace zerin
