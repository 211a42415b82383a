#pragma once

#include <filesystem>
#include <string>
#include <vector>

// quarvel-synth plot and section hand their work to a program of their own:
// the drawing libraries they need would slow the start of every other
// command.
namespace quarvel::tools {

// The plot program beside `self` (the build tree) or in ../libexec/quarvel
// (installed), or nothing when neither holds it.
std::filesystem::path plotProgram(const std::filesystem::path& self);

// Replaces this process by the plot program with the arguments. Throws when
// the program cannot be found or started.
[[noreturn]] void runPlotProgram(const std::vector<std::string>& arguments);

} // namespace quarvel::tools
