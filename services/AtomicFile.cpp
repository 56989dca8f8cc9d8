#include "AtomicFile.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

#include "Utf8.h"

namespace zerin {

namespace {

using services::Isolated;

// The folder of path, for syncing the rename ("." when the path names no folder).
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A name in path's folder, with a slash between them.
std::string BesideIt(const std::string& path, const std::string& name) {
    const std::string folder = FolderOf(path);
    return folder == "/" ? "/" + name : folder + "/" + name;
}

// The temporary files being written, for the signals that stop the program: a fixed table
// of absolute paths that a signal handler may read (no allocation, no lock), each published
// once its path is whole.
struct TemporarySlot {
    std::atomic<bool> taken{false}, ready{false};
    char path[PATH_MAX];
};
TemporarySlot gTemporaries[16];
constexpr int kStoppingSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction gPreviousActions[std::size(kStoppingSignals)];

// Removes the temporary files, then lets the signal do what it did before: the handler that
// was there, or the default (the program ends with the signal's status).
extern "C" void RemoveTemporariesOnSignal(int signal, siginfo_t* info, void* context) {
    const int saved = errno;
    for (TemporarySlot& slot : gTemporaries)
        if (slot.ready.load()) ::unlink(slot.path);
    for (std::size_t k = 0; k < std::size(kStoppingSignals); ++k) {
        if (kStoppingSignals[k] != signal) continue;
        const struct sigaction& previous = gPreviousActions[k];
        if (previous.sa_handler == SIG_DFL || previous.sa_handler == SIG_IGN) {
            ::signal(signal, SIG_DFL);
            ::raise(signal);  // delivered as this handler returns
        } else if (previous.sa_flags & SA_SIGINFO) {
            previous.sa_sigaction(signal, info, context);
        } else {
            previous.sa_handler(signal);
        }
    }
    errno = saved;
}

// Installs the handler once for each stopping signal that is not ignored (nohup's SIGHUP
// stays ignored).
void RemoveTemporariesOnSignals() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (std::size_t k = 0; k < std::size(kStoppingSignals); ++k) {
            struct sigaction action {};
            action.sa_sigaction = RemoveTemporariesOnSignal;
            action.sa_flags = SA_SIGINFO | SA_RESTART;
            sigfillset(&action.sa_mask);
            if (::sigaction(kStoppingSignals[k], nullptr, &gPreviousActions[k]) == 0 &&
                gPreviousActions[k].sa_handler != SIG_IGN)
                ::sigaction(kStoppingSignals[k], &action, nullptr);
        }
    });
}

// Publishes a temporary file's path for the signal handler; the slot's number, or -1 when the
// table is full or the path too long (the file is then removed as before, only not on a
// signal).
int RememberTemporary(const std::string& path) {
    std::string absolute = path;
    if (path.front() != '/') {
        char folder[PATH_MAX];
        if (!::getcwd(folder, sizeof folder)) return -1;
        absolute = std::string(folder) + "/" + path;
    }
    if (absolute.size() >= PATH_MAX) return -1;
    for (std::size_t k = 0; k < std::size(gTemporaries); ++k) {
        bool free = false;
        if (!gTemporaries[k].taken.compare_exchange_strong(free, true)) continue;
        std::memcpy(gTemporaries[k].path, absolute.c_str(), absolute.size() + 1);
        gTemporaries[k].ready.store(true);
        return static_cast<int>(k);
    }
    return -1;
}

void ForgetTemporary(int slot) {
    if (slot < 0) return;
    gTemporaries[slot].ready.store(false);
    gTemporaries[slot].taken.store(false);
}

// Standard output's file, when it is open.
bool StandardOutputFile(struct stat& info) {
    return ::fstat(STDOUT_FILENO, &info) == 0;
}

// True when path names the very file standard output writes to (a pipe, a terminal, a file).
bool IsStandardOutput(const std::string& path) {
    struct stat target {};
    struct stat out {};
    return ::stat(path.c_str(), &target) == 0 && StandardOutputFile(out) &&
           target.st_dev == out.st_dev && target.st_ino == out.st_ino;
}

// True when the folder of path is the system's /dev or /proc (or one inside them), where a
// name stands for a device or a process's file, never for a file of the user's.
bool InSystemFolder(const std::string& path) {
    char real[PATH_MAX];
    if (!::realpath(FolderOf(path).c_str(), real)) return false;
    const std::string folder = real;
    for (const std::string system : {"/dev", "/proc"})
        if (folder == system || folder.rfind(system + "/", 0) == 0) return true;
    return false;
}

// What a mode names: a link is never one (lstat's are sorted out before, stat follows them).
FileError::Kind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return FileError::Kind::None;
    if (S_ISDIR(mode)) return FileError::Kind::Folder;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileError::Kind::Device;
    if (S_ISFIFO(mode)) return FileError::Kind::Fifo;
    if (S_ISSOCK(mode)) return FileError::Kind::Socket;
    return FileError::Kind::Special;
}

// Why what stands at path (lstat's `info`) is not a file to replace, or None when it is. A
// link is replaced, not followed, unless it leads to a device, a FIFO or a socket, or stands
// in /dev or /proc (/dev/stdout, /proc/self/fd/1): that is written through or refused.
FileError::Kind TargetKind(const std::string& path, const struct stat& info) {
    if (!S_ISLNK(info.st_mode)) return KindOf(info.st_mode);
    struct stat linked {};
    if (::stat(path.c_str(), &linked) != 0) return FileError::Kind::None;  // dangling
    if (!S_ISREG(linked.st_mode) && !S_ISDIR(linked.st_mode)) return KindOf(linked.st_mode);
    return InSystemFolder(path) ? FileError::Kind::Special : FileError::Kind::None;
}

// Eight hexadecimal digits nobody can guess, for the temporary file's name.
std::string RandomSuffix() {
    unsigned value = 0;
    if (::getrandom(&value, sizeof value, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof value))
        value = static_cast<unsigned>(::getpid()) * 2654435761u ^
                static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&value));
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

// The Arabic words for the errors a save meets most; the system's own words follow them.
const char* ArabicSystemReason(int code) {
    switch (code) {
        case ENOSPC:
            return "لا مكان على القرص";
        case EDQUOT:
            return "تجاوزت حصتك من القرص";
        case EFBIG:
            return "الملف أكبر مما يُسمح به";
        case EACCES:
        case EPERM:
            return "لا إذن بالكتابة هنا";
        case EROFS:
            return "القرص للقراءة فقط";
        case ENOENT:
            return "المجلد غير موجود";
        case ENOTDIR:
            return "جزء من المسار ليس مجلدا";
        case ENAMETOOLONG:
            return "اسم الملف أطول مما يُسمح به";
        case EIO:
            return "خطأ في القراءة أو الكتابة على القرص";
        default:
            return "رفض النظام الكتابة";
    }
}

}  // namespace

namespace {

// The words of each reason that is not the system's, in English and Arabic.
struct KindWords {
    FileError::Kind kind;
    const char* english;
    const char* arabic;
};
constexpr KindWords kKindWords[] = {
    {FileError::Kind::None, "no error", "لا خطأ"},
    {FileError::Kind::Folder, "it is a folder, not a file", "هذا مجلد و ليس ملفا"},
    {FileError::Kind::Device, "it is a device, not a regular file: it is left as it is",
     "هذا جهاز و ليس ملفا عاديا ، فتُرك كما هو"},
    {FileError::Kind::Fifo, "it is a FIFO, not a regular file: it is left as it is",
     "هذا أنبوب (FIFO) و ليس ملفا عاديا ، فتُرك كما هو"},
    {FileError::Kind::Socket, "it is a socket, not a regular file: it is left as it is",
     "هذا مقبس (socket) و ليس ملفا عاديا ، فتُرك كما هو"},
    {FileError::Kind::Special, "it is not a regular file: it is left as it is",
     "هذا ليس ملفا عاديا ، فتُرك كما هو"},
    {FileError::Kind::Short, "the file on the disk is shorter than what was written",
     "الملف على القرص أقصر مما كُتب"},
    {FileError::Kind::Stopped, "the writing was stopped", "توقفت الكتابة"},
};

const KindWords& WordsOf(FileError::Kind kind) {
    for (const KindWords& words : kKindWords)
        if (words.kind == kind) return words;
    return kKindWords[0];
}

}  // namespace

std::string FileError::Reason() const {
    if (kind == Kind::System) return std::strerror(code);
    if (kind == Kind::Stopped && !what.empty()) return what;
    return WordsOf(kind).english;
}

std::string FileError::ArabicReason() const {
    if (kind == Kind::System)
        return std::string(ArabicSystemReason(code)) + " (" + Isolated(std::strerror(code)) + ")";
    const std::string words = WordsOf(kind).arabic;
    if (kind == Kind::Stopped && !what.empty()) return words + " (" + Isolated(what) + ")";
    return words;
}

std::string FileError::Message() const {
    return "could not write " + path + ": " + Reason();
}

std::string FileError::ArabicMessage(const std::string& headline) const {
    return headline + "\r\n" + Isolated(path) + "\r\n" + ArabicReason();
}

FileError::Kind UnwritableKind(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return FileError::Kind::None;
    return TargetKind(path, info);
}

void IgnoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    error_.path = path_ == kStandardOutputName ? "standard output" : path_;
}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
}

bool AtomicFile::Fail(FileError::Kind kind, int code) {
    if (!error_.Failed()) {
        error_.kind = kind;
        error_.code = code;
    }
    Discard();
    return false;
}

void AtomicFile::Discard() {
    if (fd_ >= 0 && !standardOutput_) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    ForgetTemporary(std::exchange(slot_, -1));
}

void AtomicFile::Cancel(FileError::Kind why, std::string what) {
    if (why != FileError::Kind::None && !error_.Failed()) error_.what = std::move(what);
    if (why != FileError::Kind::None) Fail(why);
    Discard();
}

bool AtomicFile::Open() {
    if (error_.Failed() || fd_ >= 0 || committed_) return false;
    IgnoreFileSizeSignal();
    if (path_ == kStandardOutputName) return OpenStandardOutput();
    if (path_.empty()) return Fail(FileError::Kind::System, ENOENT);
    if (path_.back() == '/') return Fail(FileError::Kind::Folder);
    struct stat previous {};
    if (::lstat(path_.c_str(), &previous) == 0) {
        if (const FileError::Kind kind = TargetKind(path_, previous); kind != FileError::Kind::None)
            return IsStandardOutput(path_) ? OpenStandardOutput() : Fail(kind);
        keepMode_ = S_ISREG(previous.st_mode);
        mode_ = previous.st_mode & 07777;
    } else if (errno != ENOENT) {
        return Fail(FileError::Kind::System, errno);
    }
    RemoveTemporariesOnSignals();
    for (int attempt = 0; attempt < 16; ++attempt) {
        // A short name: the target's own may be as long as a name can be.
        const std::string name = BesideIt(path_, ".zerin-" + RandomSuffix());
        slot_ = RememberTemporary(name);
        fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd_ >= 0) {
            temporary_ = name;
            if (keepMode_ && ::fchmod(fd_, mode_) != 0) return Fail(FileError::Kind::System, errno);
            return true;
        }
        const int why = errno;
        ForgetTemporary(std::exchange(slot_, -1));
        if (why != EEXIST) return Fail(FileError::Kind::System, why);
    }
    return Fail(FileError::Kind::System, EEXIST);
}

bool AtomicFile::OpenStandardOutput() {
    struct stat out {};
    if (!StandardOutputFile(out)) return Fail(FileError::Kind::System, errno);
    // What the program wrote through stdio before goes first.
    std::fflush(stdout);
    fd_ = STDOUT_FILENO;
    standardOutput_ = true;
    return true;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (fd_ < 0) return error_.Failed() ? false : Fail(FileError::Kind::System, EBADF);
    const char* bytes = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd_, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        // A write that takes nothing without an error is a full disk.
        if (n <= 0) return Fail(FileError::Kind::System, n < 0 ? errno : ENOSPC);
        done += static_cast<std::size_t>(n);
        written_ += static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::Commit() {
    if (fd_ < 0) return error_.Failed() ? false : Fail(FileError::Kind::System, EBADF);
    if (standardOutput_) {
        // Every byte is out already: nothing to check on a pipe or a terminal, nothing to rename.
        fd_ = -1;
        committed_ = true;
        return true;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return Fail(FileError::Kind::System, errno);
    if (static_cast<std::size_t>(info.st_size) != written_) return Fail(FileError::Kind::Short);
    if (::fsync(fd_) != 0) return Fail(FileError::Kind::System, errno);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0) return Fail(FileError::Kind::System, errno);
    // What stands at the target may have changed while the file was written.
    if (const FileError::Kind kind = UnwritableKind(path_); kind != FileError::Kind::None)
        return Fail(kind);
    if (::rename(temporary_.c_str(), path_.c_str()) != 0)
        return Fail(FileError::Kind::System, errno);
    temporary_.clear();
    ForgetTemporary(std::exchange(slot_, -1));
    committed_ = true;
    // The rename on the disk too; a folder that cannot be synced does not undo the save.
    const int folder = ::open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, FileError& error) {
    AtomicFile file(path);
    const bool ok = file.Open() && file.Write(bytes) && file.Commit();
    error = file.Error();
    return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& message) {
    FileError error;
    if (WriteFileAtomically(path, bytes, error)) return true;
    message = error.Message();
    return false;
}

}  // namespace zerin
