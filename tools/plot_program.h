#pragma once

#include <filesystem>
#include <string>

// quarvel-synth plot hands its work to a program of its own: the drawing
// libraries it needs would slow the start of every other command.
namespace quarvel::tools {

// The plot program beside `self` (the build tree) or in ../libexec/quarvel
// (installed), or nothing when neither holds it.
std::filesystem::path plotProgram(const std::filesystem::path& self);

// Replaces this process by the plot program for the session and the bitmap.
// Throws when the program cannot be found or started.
[[noreturn]] void runPlotProgram(const std::string& session, const std::string& out);

} // namespace quarvel::tools
