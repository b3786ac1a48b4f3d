#include "app/Main.h"

int main(int argc, char* argv[]) {
    return korProgrammet(argc, argv);
}
