// A stream kept in memory that fails as a full device past `capacity` bytes; unbuffered.
#pragma once

#include <stdio.h>  // fopencookie
#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <string>

namespace zerin::robust {

class CappedStream {
  public:
    explicit CappedStream(std::size_t capacity = static_cast<std::size_t>(-1))
        : capacity_(capacity) {
        file_ = fopencookie(this, "w", {nullptr, &CappedStream::Write, nullptr, nullptr});
        setvbuf(file_, nullptr, _IONBF, 0);
    }
    ~CappedStream() { std::fclose(file_); }
    CappedStream(const CappedStream&) = delete;
    CappedStream& operator=(const CappedStream&) = delete;
    std::FILE* file() const { return file_; }
    const std::string& text() const { return text_; }

  private:
    static ssize_t Write(void* cookie, const char* data, std::size_t size) {
        auto* self = static_cast<CappedStream*>(cookie);
        if (size > self->capacity_ - self->text_.size()) {
            errno = ENOSPC;
            return 0;  // a cookie stream's error: never a negative count
        }
        self->text_.append(data, size);
        return static_cast<ssize_t>(size);
    }
    std::size_t capacity_;
    std::string text_;
    std::FILE* file_;
};

}  // namespace zerin::robust
