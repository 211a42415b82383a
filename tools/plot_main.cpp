// quarvel-synth-plot: the program quarvel-synth hands "plot" to. It draws
// with the program's own drawing layer, off screen, and never opens a window.
#include "plot_command.h"

#include <QGuiApplication>
#include <clocale>
#include <exception>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    quarvel::tools::PlotTexts texts;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view option = argv[i];
        if (option == "--session") {
            texts.session = argv[i + 1];
        } else if (option == "--out") {
            texts.out = argv[i + 1];
        }
    }
    if (texts.session.empty() || texts.out.empty()) {
        std::cerr << "quarvel-synth: plot needs --session FILE and --out FILE\n";
        return 2;
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
        quarvel::tools::writeSessionPlot(texts, std::cout, std::cerr);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "quarvel-synth: " << error.what() << "\n";
        return 1;
    }
}
