#include "support/command_runner.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace quarvel::testing {

CommandResult runProgram(const std::string& program, const std::string& arguments) {
    std::string command = program;
    command += ' ';
    command += arguments;
    command += " 2>&1";
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return result;
    }
    std::array<char, 4096> buffer{};
    while (const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        result.output.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string quoted(const std::filesystem::path& path) {
    std::string text(1, '\'');
    text += path.string();
    text += '\'';
    return text;
}

std::map<std::string, std::string> keyValues(const std::string& output) {
    std::map<std::string, std::string> values;
    std::istringstream in(output);
    std::string key, value;
    while (in >> key >> value) {
        values[key] = value;
    }
    return values;
}

} // namespace quarvel::testing
