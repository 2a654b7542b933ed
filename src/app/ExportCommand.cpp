// `zovedit export`: the Export command on the command line. The presentation is read from the
// .pptx file and its graphs are written by the same Export command core as the palette's;
// every message box becomes one line "TITLE: TEXT" on standard error.
#include "app/BatchArguments.h"
#include "app/BatchCommands.h"
#include "app/BatchPresentation.h"

#include "cgif/export/ExportCommand.h"
#include "host/Application.h"
#include "platform/ConsoleMessageBoxes.h"
#include "platform/OutputFile.h"

#include <QFileInfo>
#include <optional>

namespace zov::app {

namespace {

using cgif::exporter::ExportOutcome;

const QString Command = QStringLiteral("export");

// IN with its last extension replaced by ".cgf" (or ".cgf" appended when it has none); a
// presentation read from standard input goes to standard output.
QString defaultOutputName(const QString& input) {
    if (input == QLatin1String("-"))
        return input;
    const QString suffix = QFileInfo(input).suffix();
    const QString stem = suffix.isEmpty() ? input : input.chopped(suffix.size() + 1);
    return stem + QStringLiteral(".cgf");
}

// Takes "--dialect 2001|iso" out of `args`; nothing (with `problem` set) for a missing, unknown
// or repeated value. The 2001 dialect when the option is not given.
std::optional<cgif::exporter::ExportDialect> takeDialect(QStringList& args, QString& problem) {
    std::optional<cgif::exporter::ExportDialect> dialect;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] != QLatin1String("--dialect"))
            continue;
        if (dialect) {
            problem = QStringLiteral("--dialect given twice");
            return std::nullopt;
        }
        // The wording of import's and check's --dialect, whose choice "auto" export has not.
        dialect = i + 1 < args.size() ? cgif::exporter::ExportDialectNamed(args[i + 1]) : std::nullopt;
        if (!dialect) {
            problem = QStringLiteral("--dialect needs 2001 or iso");
            return std::nullopt;
        }
        args.remove(i, 2);
        --i;
    }
    return dialect ? dialect : cgif::exporter::ExportDialect::Cgif2001;
}


} // namespace

int runExport(const QStringList& arguments) {
    QString problem;
    QStringList args = arguments;
    const std::optional<cgif::exporter::ExportDialect> dialect = takeDialect(args, problem);
    if (!dialect)
        return usageError(Command, problem);
    const std::optional<InputOutputArguments> parsed = parseInputOutputArguments(args, problem);
    if (!parsed)
        return usageError(Command, problem);
    const QString output = parsed->output.isEmpty() ? defaultOutputName(parsed->input) : parsed->output;
    if (parsed->output.isEmpty() && defaultOutputTaken(output, parsed->input, problem))
        return usageError(Command, problem);
    if (platform::SameFile(output, parsed->input))
        return usageError(Command, QStringLiteral("the output ") + output + QStringLiteral(" would replace the input"));

    platform::ConsoleMessageBoxes messages;
    // An output that cannot be written is said before the presentation is read.
    if (!outputWritable(output, OutputKind::Text, messages))
        return 2;
    // A long export tells what it is doing on a status line, unless the CGIF goes to the terminal.
    if (output == QLatin1String("-"))
        messages.status().Silence();
    messages.status().Show(QStringLiteral("Opening ") + statusName(parsed->input));
    host::Application app;
    const std::optional<host::Presentation> presentation = openBatchPresentation(app, parsed->input, messages);
    if (!presentation)
        return 2;
    messages.status().Show(QStringLiteral("Writing ") + statusName(output, true));

    // An export that wrote its file after an error ("No out arcs for On!" leaves that graph
    // unfinished, a slide it cannot write stops it) has not done all it was asked.
    switch (cgif::exporter::ExportGraphsToFile(*presentation, output, messages, *dialect)) {
    case ExportOutcome::Written:
        return messages.errorShown() ? 1 : 0;
    case ExportOutcome::NothingWritten:
    case ExportOutcome::WrittenNotReadBack:
        return 1;
    case ExportOutcome::FileNotCreated:
    case ExportOutcome::FileNotWritten:
        break;
    }
    return 2;
}

} // namespace zov::app
