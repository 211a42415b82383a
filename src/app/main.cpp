#include "app/application.h"
#include "app/demo.h"

int main(int argc, char** argv) {
    if (quarvel::wantsDemo(argc, argv)) {
        return quarvel::runDemo(argc, argv);
    }
    return quarvel::runQuarvel(argc, argv);
}
