#include "app/CommandLine.h"

int main(int argc, char** argv) { return zov::app::runMain(argc, argv); }
