// quarvel-synth-plot: the program quarvel-synth hands "plot" and "section"
// to. It draws with the program's own drawing layer, off screen, and never
// opens a window. quarvel-synth has checked the command line: the arguments
// come as "--name value" pairs, after "section" for a section.
#include "plot_command.h"
#include "section_command.h"
#include "usage_error.h"

#include <QGuiApplication>
#include <clocale>
#include <exception>
#include <iostream>
#include <map>
#include <string>
#include <string_view>

namespace {

int draw(const std::map<std::string_view, std::string>& given, bool section) {
    const auto value = [&given](std::string_view name) {
        const auto it = given.find(name);
        return it == given.end() ? std::string() : it->second;
    };
    if (section) {
        quarvel::synth::writeSegySection({value("--segy"), value("--out"), value("--width"),
                                          value("--height"), value("--traces"), value("--clip"),
                                          value("--colours"), value("--across"), value("--flatten"),
                                          value("--channel"), value("--trace"), value("--stack")},
                                         std::cout);
        return 0;
    }
    const quarvel::tools::PlotTexts texts{value("--session"), value("--out")};
    if (texts.session.empty() || texts.out.empty()) {
        std::cerr << "quarvel-synth: plot needs --session FILE and --out FILE\n";
        return 2;
    }
    quarvel::tools::writeSessionPlot(texts, std::cout, std::cerr);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool section = argc > 1 && std::string_view(argv[1]) == "section";
    std::map<std::string_view, std::string> given;
    for (int i = section ? 2 : 1; i + 1 < argc; i += 2) {
        given[argv[i]] = argv[i + 1];
    }
    // Text is drawn through the platform's fonts, which want an application;
    // no screen is needed for it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int noArguments = 1;
    QGuiApplication application(noArguments, argv);
    // Numbers in files use "." whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    try {
        return draw(given, section);
    } catch (const quarvel::synth::UsageError& error) {
        std::cerr << "quarvel-synth: " << error.message << "\nTry 'quarvel-synth --help'.\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "quarvel-synth: " << error.what() << "\n";
        return 1;
    }
}
