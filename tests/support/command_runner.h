#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace quarvel::testing {

// What a program run through the shell printed and how it ended.
struct CommandResult {
    int status = -1;    // exit status, -1 when it did not exit normally
    std::string output; // stdout and stderr together
};

// Runs the program with the arguments (a shell command line) and collects its
// output; a program that cannot be started fails the test.
CommandResult runProgram(const std::string& program, const std::string& arguments);

// The "key value" lines a command printed, by key.
std::map<std::string, std::string> keyValues(const std::string& output);

// The path in single quotes, for a shell command line.
std::string quoted(const std::filesystem::path& path);

} // namespace quarvel::testing
