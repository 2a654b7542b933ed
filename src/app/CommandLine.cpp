#include "app/CommandLine.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

namespace zov::app {

namespace {

const char* const kUsage =
    "Usage:\n"
    "  zovedit [FILE.pptx]                                   open the desktop editor\n"
    "  zovedit import IN.cgf [-o OUT.pptx] [--into DOC.pptx]  read CGIF into a presentation\n"
    "  zovedit check IN.cgf                                  read CGIF and report, write nothing\n"
    "  zovedit export IN.pptx [-o OUT.cgf]                    write a presentation's graphs as CGIF\n"
    "  zovedit --help | --version\n"
    "\"-\" as IN reads standard input; as OUT writes standard output.\n";

} // namespace

int runMain(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zovedit %s\n", ZOV_VERSION);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace zov::app
