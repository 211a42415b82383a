#include "plot_program.h"

#include "formats/quarvel_error.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <unistd.h>

namespace quarvel::tools {

namespace fs = std::filesystem;

namespace {

constexpr const char* PlotProgramName = "quarvel-synth-plot";

} // namespace

fs::path plotProgram(const fs::path& self) {
    const fs::path folder = self.parent_path();
    for (const fs::path& candidate :
         {folder / PlotProgramName, folder / ".." / "libexec" / "quarvel" / PlotProgramName}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) {
            return candidate.lexically_normal();
        }
    }
    return {};
}

void runPlotProgram(const std::vector<std::string>& arguments) {
    std::error_code ec;
    const fs::path program = plotProgram(fs::read_symlink("/proc/self/exe", ec));
    if (program.empty()) {
        throw QuarvelError("The plot program (" + std::string(PlotProgramName) +
                           ") is not installed beside quarvel-synth.");
    }
    const std::string path = program.string();
    std::vector<char*> words{const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments) {
        words.push_back(const_cast<char*>(argument.c_str()));
    }
    words.push_back(nullptr);
    execv(path.c_str(), words.data());
    throw QuarvelError("Cannot start \"" + path + "\". " + std::strerror(errno) + ".");
}

} // namespace quarvel::tools
