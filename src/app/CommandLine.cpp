#include "app/CommandLine.h"

#include "app/BatchCommands.h"
#include "app/desktop/Desktop.h"
#include "addin/AddinRegistry.h"
#include "platform/CommandLineNames.h"
#include "platform/RemovedOnInterrupt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <unistd.h>

namespace zov::app {

namespace {

const char* const kUsage =
    "Usage:\n"
    "  zovedit [FILE.pptx]                                    open the desktop editor\n"
    "  zovedit import IN.cgf [-o OUT.pptx] [--into DOC.pptx] [--arrange|--no-arrange] [--dialect D]\n"
    "                                                         read CGIF into a presentation; graphs without\n"
    "                                                         positions are arranged (--arrange: every graph)\n"
    "  zovedit check IN.cgf [--dialect D]                     read CGIF and report, write nothing\n"
    "  zovedit export IN.pptx [-o OUT.cgf] [--dialect 2001|iso]\n"
    "                                                         write a presentation's graphs as CGIF (2001 draft\n"
    "                                                         dialect by default, or ISO/IEC 24707 Annex B)\n"
    "  zovedit arrange IN.pptx [-o OUT.pptx]                  lay out the graph of every slide (OUT defaults to IN)\n"
    "  zovedit render IN.pptx -o OUT.pdf|OUT.svg|OUT.png [--slide N] [--dpi N]\n"
    "                                                         draw slides: PDF one page each, SVG/PNG one file each\n"
    "  zovedit --register | --unregister                      add or remove the ZOV Edit add-in of the host\n"
    "  zovedit --help | --version\n"
    "\"-\" as IN reads standard input; as OUT writes standard output.\n"
    "Without -o, import writes IN named .pptx and export IN named .cgf, but never over an existing file.\n"
    "D is the CGIF dialect: 2001 (the 2001 draft), iso (ISO/IEC 24707) or auto (decided by the file, the default).\n";

// Batch commands measure text with real fonts but never show a window: run them on the
// offscreen platform unless the caller chose one.
void preferOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Qt wants a private runtime folder named by XDG_RUNTIME_DIR and warns on standard error when
// there is none (cron jobs, containers, some CI), which would break "only message lines on
// standard error". When it is not set, the batch command makes its own for the run (created
// with mode 0700 by mkdtemp) and removes it at the end, or when a signal ends the run.
class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder() {
        if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
            return;
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/zovedit-runtime-XXXXXX";
        platform::InterruptsHeld held; // no signal between making the folder and covering it
        if (::mkdtemp(pattern.data()) == nullptr)
            return; // Qt then falls back to its own default, with its warning
        removedOnInterrupt_.emplace(pattern, platform::RemovedOnInterrupt::Kind::EmptyFolder);
        path_ = QString::fromLocal8Bit(pattern);
        qputenv("XDG_RUNTIME_DIR", pattern);
    }
    ~PrivateRuntimeFolder() {
        if (path_.isEmpty())
            return;
        QDir(path_).removeRecursively();
        qunsetenv("XDG_RUNTIME_DIR");
    }
    PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
    PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

private:
    QString path_;
    std::optional<platform::RemovedOnInterrupt> removedOnInterrupt_;
};

// The commands that draw or measure text need a GUI application (fonts, painting); `check`
// reads and reports only, so a core application serves it and it starts faster.
enum class BatchKind { Gui, Core };

// The usual spellings of a command line, brought to the one the commands parse: "--name=value"
// is "--name value", and after "--" every argument is a file, even one starting with "-" (it is
// then named "./-x.cgf", which no parser takes for an option).
// The long options that take a value; any other "--name=value" stays one word, which the
// command refuses as an unknown option ("--arrange=yes").
const QStringList ValueOptions = {QStringLiteral("--into"), QStringLiteral("--dialect"), QStringLiteral("--slide"),
                                  QStringLiteral("--dpi")};

QStringList usualSpellings(const QStringList& args) {
    QStringList out;
    bool filesOnly = false;
    for (const QString& arg : args) {
        if (filesOnly) {
            out << (arg.startsWith(u'-') && arg != QLatin1String("-") ? QStringLiteral("./") + arg : arg);
        } else if (arg == QLatin1String("--")) {
            filesOnly = true;
        } else if (const qsizetype equals = arg.indexOf(u'=');
                   equals > 2 && ValueOptions.contains(QStringView(arg).left(equals))) {
            out << arg.left(equals) << arg.mid(equals + 1);
        } else {
            out << arg;
        }
    }
    return out;
}

int runCommand(int (*command)(const QStringList&)) {
    try {
        return command(usualSpellings(QCoreApplication::arguments().mid(2))); // without program and command names
    } catch (const std::bad_alloc&) {
        // Whatever a command could still save it saved before this point; say why it stopped.
        std::fputs("Error: Not enough memory to go on\n", stderr);
        return 2;
    }
}

int runBatch(int argc, char** argv, int (*command)(const QStringList&), BatchKind kind = BatchKind::Gui) {
    // A file-size limit (ulimit -f) then fails the write with "File too large", which is
    // reported, instead of ending the program mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    PrivateRuntimeFolder runtime;
    if (kind == BatchKind::Core) {
        QCoreApplication app(argc, argv);
        platform::KeepSystemMessagesInEnglish();
        return runCommand(command);
    }
    preferOffscreen();
    QGuiApplication app(argc, argv);
    platform::KeepSystemMessagesInEnglish();
    return runCommand(command);
}

// The editor needs a screen. Without one Qt would end the program with a note about
// reinstalling it; a platform chosen by QT_QPA_PLATFORM (offscreen, say) is taken as given.
bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// A word that is neither a file nor looks like one ("zovedit help", "zovedit imprt") is a
// mistyped command, not a presentation to open.
bool looksLikeCommand(const char* argument) {
    return std::strchr(argument, '.') == nullptr && std::strchr(argument, '/') == nullptr &&
           !QFileInfo::exists(QString::fromLocal8Bit(argument));
}

} // namespace

int usageError(const QString& command, const QString& problem) {
    std::fprintf(stderr, "zovedit %s: %s; see zovedit --help\n", qPrintable(command), qPrintable(problem));
    return 2;
}

int runMain(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (const std::optional<QString> shown = platform::NameNotUtf8(argv[i])) {
            // Every argument that is no option is a file name (options and their values are
            // ASCII); the editor tells it in a box, where a user who opened the file from a
            // file manager sees it.
            if (argc == 2 || (argc == 3 && std::strcmp(argv[1], "--") == 0))
                break;
            std::fprintf(stderr, "zovedit: Cannot use \"%s\": %s\n", qPrintable(*shown),
                         qPrintable(platform::NotUtf8Reason()));
            return 2;
        }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("zovedit %s\n", ZOV_VERSION);
        return 0;
    }
    for (const char* alone : {"--help", "-h", "--version", "--register", "--unregister"})
        if (argc > 2 && std::strcmp(argv[1], alone) == 0) {
            std::fprintf(stderr, "zovedit: %s takes nothing after it; see zovedit --help\n", alone);
            return 2;
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
    if (argc >= 2 && std::strcmp(argv[1], "check") == 0) return runBatch(argc, argv, runCheck, BatchKind::Core);
    if (argc >= 2 && std::strcmp(argv[1], "export") == 0) return runBatch(argc, argv, runExport);
    if (argc >= 2 && std::strcmp(argv[1], "arrange") == 0) return runBatch(argc, argv, runArrange);
    if (argc >= 2 && std::strcmp(argv[1], "render") == 0) return runBatch(argc, argv, runRender);
    // No command, or one file to open (after "--" whatever its name): the desktop editor.
    const char* file = argc == 2 ? argv[1] : argc == 3 && std::strcmp(argv[1], "--") == 0 ? argv[2] : nullptr;
    if (argc == 1 || (argc == 2 && argv[1][0] != '-' && !looksLikeCommand(argv[1])) || (argc == 3 && file != nullptr)) {
        if (!hasDisplay()) {
            std::fputs("zovedit: no display to open the editor on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                       "import, check, export, arrange and render need none\n",
                       stderr);
            return 2;
        }
        return runDesktop(argv[0], argc == 1 ? nullptr : file);
    }
    std::fprintf(stderr, "zovedit: unknown command or option %s; see zovedit --help\n", argv[1]);
    return 2;
}

} // namespace zov::app
