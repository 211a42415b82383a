#include "app/command_line.h"

#include "quarvel/version.h"

#include <string_view>

namespace quarvel {

namespace {

constexpr std::string_view Help =
    "Usage: quarvel [--demo [--final-plot FILE] [--screenshot FILE]]\n"
    "  or:  quarvel [--session] SESSION.qvs [--final-plot FILE] [--screenshot FILE]\n"
    "  or:  quarvel --help | --version\n"
    "\n"
    "Ties a sediment core to a chirp sub-bottom seismic record: the core's\n"
    "photograph and its velocity and density logs beside a synthetic chirp\n"
    "seismogram and the recorded trace, with correlation marks across them.\n"
    "\n"
    "Options:\n"
    "  --demo             start with the bundled demo core loaded\n"
    "  --session FILE     start with the session FILE opened (a file ending\n"
    "                     in .qvs opens the same way without the option)\n"
    "  --final-plot FILE  with --demo or a session: save the final plot as a\n"
    "                     bitmap to FILE and exit (off screen when there is no\n"
    "                     display)\n"
    "  --screenshot FILE  with --demo or a session: also save a picture of the\n"
    "                     main window\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Environment:\n"
    "  QUARVEL_WORKDIR    the working directory (default ~/Quarvel)\n"
    "  QUARVEL_DEMO_DIR   the demo core's folder (default share/quarvel/demo\n"
    "                     beside the folder of the program)\n";

} // namespace

std::optional<int> answerInformationOption(int argc, char** argv, std::ostream& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--version") {
            out << "quarvel " << Version << "\n";
            return 0;
        }
        if (argument == "--help" || argument == "-h") {
            out << Help;
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace quarvel
