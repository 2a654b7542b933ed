#include "app/CommandLine.h"

#include "app/BatchCommands.h"
#include "app/desktop/Desktop.h"
#include "addin/AddinRegistry.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace zov::app {

namespace {

const char* const kUsage =
    "Usage:\n"
    "  zovedit [FILE.pptx]                                    open the desktop editor\n"
    "  zovedit import IN.cgf [-o OUT.pptx] [--into DOC.pptx] [--arrange]\n"
    "                                                         read CGIF into a presentation (and arrange its slides)\n"
    "  zovedit check IN.cgf                                   read CGIF and report, write nothing\n"
    "  zovedit export IN.pptx [-o OUT.cgf]                    write a presentation's graphs as CGIF\n"
    "  zovedit arrange IN.pptx [-o OUT.pptx]                  lay out the graph of every slide (OUT defaults to IN)\n"
    "  zovedit render IN.pptx -o OUT.pdf|OUT.svg|OUT.png [--slide N] [--dpi N]\n"
    "                                                         draw slides: PDF one page each, SVG/PNG one file each\n"
    "  zovedit --register | --unregister                      add or remove the ZOV Edit add-in of the host\n"
    "  zovedit --help | --version\n"
    "\"-\" as IN reads standard input; as OUT writes standard output.\n";

// Batch commands measure text with real fonts but never show a window: run them on the
// offscreen platform unless the caller chose one.
void preferOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int runBatch(int argc, char** argv, int (*command)(const QStringList&)) {
    preferOffscreen();
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args = args.mid(2); // program name and command name
    return command(args);
}

} // namespace

int usageError(const QString& command, const QString& problem) {
    std::fprintf(stderr, "zovedit %s: %s\n", qPrintable(command), qPrintable(problem));
    std::fputs(kUsage, stderr);
    return 2;
}

int runMain(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zovedit %s\n", ZOV_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--register") == 0) {
        addin::AddinRegistry registry;
        return addin::RegisterZovEdit(registry);
    }
    if (argc == 2 && std::strcmp(argv[1], "--unregister") == 0) {
        addin::AddinRegistry registry;
        return addin::UnregisterZovEdit(registry);
    }
    if (argc >= 2 && std::strcmp(argv[1], "import") == 0) return runBatch(argc, argv, runImport);
    if (argc >= 2 && std::strcmp(argv[1], "check") == 0) return runBatch(argc, argv, runCheck);
    if (argc >= 2 && std::strcmp(argv[1], "export") == 0) return runBatch(argc, argv, runExport);
    if (argc >= 2 && std::strcmp(argv[1], "arrange") == 0) return runBatch(argc, argv, runArrange);
    if (argc >= 2 && std::strcmp(argv[1], "render") == 0) return runBatch(argc, argv, runRender);
    // No command, or one file to open: the desktop editor.
    if (argc == 1 || (argc == 2 && argv[1][0] != '-'))
        return runDesktop(argc, argv);
    std::fputs(kUsage, stderr);
    return 2;
}

} // namespace zov::app
