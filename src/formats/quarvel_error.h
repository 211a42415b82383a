#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quarvel {

// The one exception type of the program. Its text is the message the user
// sees; a command that raises it stops at that step.
class QuarvelError : public std::runtime_error {
public:
    explicit QuarvelError(const std::string& message) : std::runtime_error(message) {}
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

[[noreturn]] void throwCannotOpen(const std::string& fileName, const std::string& reason);
[[noreturn]] void throwCannotCreate(const std::string& fileName, const std::string& reason);
[[noreturn]] void throwCannotReplace(const std::string& fileName, const std::string& reason);

// The system's reason for the last failed file operation (errno), as text.
std::string systemReason();

} // namespace quarvel
