#include "app/application.h"

int main(int argc, char** argv) {
    return quarvel::runQuarvel(argc, argv);
}
