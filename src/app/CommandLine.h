#pragma once
// The program's entry: parses the command line and runs one of the batch commands or the
// desktop editor.

namespace zov::app {

int runMain(int argc, char** argv);

} // namespace zov::app
