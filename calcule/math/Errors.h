// The calculation module's own errors.
//
// C++ does not trap floating-point faults, so the helpers test for them and throw
// CalcError: the square root of a negative number in ArcSin/ArcCos, a division by zero,
// a result that is not finite. InputError is a field text that the module refuses
// (a date in the Gregorian gap, a zone outside the 16-bit range, an overflowing field).
#pragma once

#include <stdexcept>
#include <string>

namespace zerin {

// A message for the user, in Arabic for the windows and in English for the command line.
struct Message {
    std::string arabic;
    std::string english;
};

class CalcError : public std::runtime_error {
  public:
    explicit CalcError(const std::string& what) : std::runtime_error(what) {}
};

class InputError : public std::runtime_error {
  public:
    explicit InputError(Message message)
        : std::runtime_error(message.english), message_(std::move(message)) {}
    const Message& message() const { return message_; }

  private:
    Message message_;
};

// How messages reach the user: a message box in the windows, standard error on the
// command line.
class Messenger {
  public:
    virtual ~Messenger() = default;
    virtual void critical(const Message& message) = 0;
};

}  // namespace zerin
