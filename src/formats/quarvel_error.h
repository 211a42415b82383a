#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quarvel {

// What went wrong, for the code that decides what to do about it: callers
// and tests branch on the kind, never on the text, which is free to change.
enum class ErrorKind {
    Refused,     // the command's inputs or the program's state do not allow it
    NotFound,    // a file or folder that is not there
    InvalidData, // a file or a text that does not read as it must
    Capacity,    // more than the program holds: samples, records, bytes, pixels
    Cancelled,   // the user stopped the work
    Busy,        // other work holds what this needs; trying again later may do
    ReadFailed,  // the system would not let a file be read
    WriteFailed, // the system would not let a file be written or replaced
};

// The one exception type of the program. Its text is the message the user
// sees; a command that raises it stops at that step.
class QuarvelError : public std::runtime_error {
public:
    explicit QuarvelError(const std::string& message, ErrorKind kind = ErrorKind::Refused)
        : std::runtime_error(message), kind_(kind) {}

    ErrorKind kind() const noexcept { return kind_; }

private:
    ErrorKind kind_;
};

// Fills each "%s" of the pattern with the next argument, in order. Missing
// arguments leave the rest of the pattern as it stands.
std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> args);

// The program's fixed messages.
namespace msg {
inline constexpr std::string_view NotAnInteger = "'%s' is not a valid integer value";
inline constexpr std::string_view CannotOpenFile = "Cannot open file \"%s\". %s";
inline constexpr std::string_view CannotCreateFile = "Cannot create file \"%s\". %s";
inline constexpr std::string_view CannotReplaceFile =
    "Cannot replace file \"%s\" with the new one. %s";
inline constexpr std::string_view DivisionByZero = "Floating point division by zero";
inline constexpr std::string_view InvalidOperation = "Invalid floating point operation";
inline constexpr std::string_view TextExceedsMemo = "Text exceeds memo capacity";
} // namespace msg

[[noreturn]] void throwCannotOpen(const std::string& fileName, const std::string& reason,
                                  ErrorKind kind = ErrorKind::ReadFailed);
[[noreturn]] void throwCannotCreate(const std::string& fileName, const std::string& reason);
[[noreturn]] void throwCannotReplace(const std::string& fileName, const std::string& reason);
// throwCannotOpen with the system's reason for the last failed operation
// (errno): NotFound when the file or a folder on its path is missing.
[[noreturn]] void throwCannotOpenFromSystem(const std::string& fileName);

// The system's reason for the last failed file operation (errno), as text.
std::string systemReason();

} // namespace quarvel
