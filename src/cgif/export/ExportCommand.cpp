#include "cgif/export/ExportCommand.h"

#include "cgif/export/GraphWriter.h"

namespace zov::cgif::exporter {

namespace {

const QString ErrorTitle = QStringLiteral("Error");

void closeQuietly(platform::TextStream& out) {
    try {
        out.Close();
    } catch (const platform::FileError&) {
        // the failure that brought us here has already been reported
    }
}

} // namespace

ExportOutcome ExportGraphs(const host::Presentation& presentation, platform::TextStream& out,
                           platform::MessageBoxes& messages) {
    bool written = false;
    try {
        GraphWriter writer(presentation, messages);
        writer.ClearWrittenConcepts();
        written = writer.WriteGraphs(out);
        out.Close();
    } catch (const platform::FileError& error) {
        closeQuietly(out);
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
        return ExportOutcome::FileNotWritten;
    } catch (...) {
        closeQuietly(out);
        throw;
    }
    if (!written)
        return ExportOutcome::NothingWritten;
    messages.inform(QStringLiteral("File written"), QStringLiteral("ZOVEdit"), platform::MessageIcon::Information);
    return ExportOutcome::Written;
}

ExportOutcome ExportGraphsToFile(const host::Presentation& presentation, const QString& path,
                                 platform::MessageBoxes& messages) {
    std::unique_ptr<platform::TextStream> out;
    try {
        out = platform::CreateTextFile(path);
    } catch (const platform::FileError& error) {
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
        return ExportOutcome::FileNotCreated;
    }
    return ExportGraphs(presentation, *out, messages);
}

} // namespace zov::cgif::exporter
