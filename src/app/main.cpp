#include "app/application.h"
#include "app/command_line.h"
#include "app/demo.h"

#include <iostream>

int main(int argc, char** argv) {
    if (const std::optional<int> status = quarvel::answerInformationOption(argc, argv, std::cout)) {
        return *status;
    }
    if (quarvel::wantsDemo(argc, argv) || quarvel::wantsSession(argc, argv)) {
        return quarvel::runDemo(argc, argv);
    }
    return quarvel::runQuarvel(argc, argv);
}
