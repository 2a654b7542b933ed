#include "cgif/export/ExportCommand.h"

#include "cgif/export/GraphWriter.h"

namespace zov::cgif::exporter {

namespace {

// Closes the stream however the export ends.
class CloseOnExit {
public:
    explicit CloseOnExit(platform::TextStream& stream) : stream_(stream) {}
    ~CloseOnExit() {
        try {
            stream_.Close();
        } catch (...) {
            // a failing close must not mask the export's own outcome
        }
    }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;
private:
    platform::TextStream& stream_;
};

} // namespace

ExportOutcome ExportGraphs(const host::Presentation& presentation, platform::TextStream& out,
                           platform::MessageBoxes& messages) {
    CloseOnExit closer(out);
    GraphWriter writer(presentation, messages);
    writer.ClearWrittenConcepts();
    if (!writer.WriteGraphs(out))
        return ExportOutcome::NothingWritten;
    messages.inform(QStringLiteral("File written"), QStringLiteral("ZOVEdit"),
                    platform::MessageIcon::Information);
    return ExportOutcome::Written;
}

ExportOutcome ExportGraphsToFile(const host::Presentation& presentation, const QString& path,
                                 platform::MessageBoxes& messages) {
    std::unique_ptr<platform::TextStream> out;
    try {
        out = platform::CreateTextFile(path);
    } catch (const platform::FileError& error) {
        messages.inform(error.message(), QStringLiteral("Error"), platform::MessageIcon::Critical);
        return ExportOutcome::FileNotCreated;
    }
    return ExportGraphs(presentation, *out, messages);
}

} // namespace zov::cgif::exporter
