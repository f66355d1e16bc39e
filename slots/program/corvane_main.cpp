// Corvane, the manager of the three Windows logo slots.
#include "corvane/program.h"

int main(int argc, char* argv[]) { return CorvaneMain(argc, argv); }
