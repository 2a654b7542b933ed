// `zovedit export`: the Export command on the command line. The presentation is read from the
// .pptx file and its graphs are written by the same Export command core as the palette's;
// every message box becomes one line "TITLE: TEXT" on standard error.
#include "app/BatchArguments.h"
#include "app/BatchCommands.h"

#include "cgif/export/ExportCommand.h"
#include "host/Application.h"
#include "host/pptx/PptxFile.h"
#include "platform/ConsoleMessageBoxes.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
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

bool sameFile(const QString& a, const QString& b) {
    if (a == QLatin1String("-") || b == QLatin1String("-"))
        return false;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// The whole of standard input, refused beyond the size a presentation file may have.
QByteArray readStandardInput() {
    constexpr qint64 maxBytes = 1ll << 30;
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw host::PptxError(QStringLiteral("Cannot open \"standard input\": ") + in.errorString(),
                              QStringLiteral("standard input"), in.errorString());
    QByteArray bytes;
    char piece[64 * 1024];
    for (;;) {
        const qint64 got = in.read(piece, sizeof piece);
        if (got < 0)
            throw host::PptxError(QStringLiteral("Cannot read \"standard input\": ") + in.errorString(),
                                  QStringLiteral("standard input"), in.errorString());
        if (got == 0)
            return bytes;
        if (bytes.size() + got > maxBytes)
            throw host::PptxError(QStringLiteral("Cannot open \"standard input\": the presentation is too large"),
                                  QStringLiteral("standard input"), QStringLiteral("the presentation is too large"));
        bytes.append(piece, static_cast<qsizetype>(got));
    }
}

// Reads the presentation; a failure is shown in an "Error" box naming the file and the reason.
std::optional<host::Presentation> openInput(host::Application& app, const QString& input,
                                            platform::MessageBoxes& messages) {
    try {
        if (input == QLatin1String("-"))
            return host::openPresentation(app, readStandardInput(), QStringLiteral("standard input"));
        return host::openPresentation(app, input);
    } catch (const host::PptxError& error) {
        messages.inform(error.message(), QStringLiteral("Error"), platform::MessageIcon::Critical);
    } catch (const host::HostError& error) {
        messages.inform(QStringLiteral("Cannot open \"%1\": %2").arg(input, QString::fromStdString(error.what())),
                        QStringLiteral("Error"), platform::MessageIcon::Critical);
    }
    return std::nullopt;
}

} // namespace

int runExport(const QStringList& args) {
    QString problem;
    const std::optional<InputOutputArguments> parsed = parseInputOutputArguments(args, problem);
    if (!parsed)
        return usageError(Command, problem);
    const QString output = parsed->output.isEmpty() ? defaultOutputName(parsed->input) : parsed->output;
    if (sameFile(output, parsed->input))
        return usageError(Command, QStringLiteral("the output ") + output + QStringLiteral(" would replace the input"));

    platform::ConsoleMessageBoxes messages;
    host::Application app;
    const std::optional<host::Presentation> presentation = openInput(app, parsed->input, messages);
    if (!presentation)
        return 2;

    switch (cgif::exporter::ExportGraphsToFile(*presentation, output, messages)) {
    case ExportOutcome::Written:
        return 0;
    case ExportOutcome::NothingWritten:
        return 1;
    case ExportOutcome::FileNotCreated:
    case ExportOutcome::FileNotWritten:
        break;
    }
    return 2;
}

} // namespace zov::app
