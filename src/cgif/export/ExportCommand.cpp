#include "cgif/export/ExportCommand.h"

#include "cgif/export/GraphWriter.h"
#include "cgif/export/IsoGraphWriter.h"

namespace zov::cgif::exporter {

namespace {

const QString ErrorTitle = QStringLiteral("Error");

void discardQuietly(platform::TextStream& out) {
    try {
        out.Discard();
    } catch (const platform::FileError&) {
        // the failure that brought us here has already been reported
    }
}

// Passes the writer's text on and notes whether there was any: an export that wrote nothing
// leaves a file it was to replace as it was.
class NotingStream : public platform::TextStream {
public:
    explicit NotingStream(platform::TextStream& out) : out_(out) {}
    QString ReadLine() override { return out_.ReadLine(); }
    bool AtEndOfStream() const override { return out_.AtEndOfStream(); }
    void Write(const QString& text) override {
        wrote_ = true;
        out_.Write(text);
    }
    void WriteLine(const QString& text) override {
        wrote_ = true;
        out_.WriteLine(text);
    }
    void Close() override { out_.Close(); }
    bool wrote() const { return wrote_; }

private:
    platform::TextStream& out_;
    bool wrote_ = false;
};

} // namespace

ExportOutcome ExportGraphs(const host::Presentation& presentation, platform::TextStream& out,
                           platform::MessageBoxes& messages, ExportDialect dialect) {
    bool written = false;
    NotingStream noting(out);
    try {
        if (dialect == ExportDialect::Iso) {
            IsoGraphWriter writer(presentation, messages);
            written = writer.WriteGraphs(noting);
        } else {
            GraphWriter writer(presentation, messages);
            writer.ClearWrittenConcepts();
            written = writer.WriteGraphs(noting);
        }
        // What was written before a stop (a host error, "No out arcs") is kept; nothing at all
        // replaces nothing.
        if (noting.wrote())
            out.Close();
        else
            out.Discard();
    } catch (const platform::FileError& error) {
        discardQuietly(out);
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
        return ExportOutcome::FileNotWritten;
    } catch (...) {
        discardQuietly(out);
        throw;
    }
    if (!noting.wrote()) {
        messages.inform(QStringLiteral("No graph to export"), QStringLiteral("ZOVEdit"),
                        platform::MessageIcon::Exclamation);
        return ExportOutcome::NothingWritten;
    }
    if (!written)
        return ExportOutcome::NothingWritten;
    messages.inform(QStringLiteral("File written"), QStringLiteral("ZOVEdit"), platform::MessageIcon::Information);
    return ExportOutcome::Written;
}

ExportOutcome ExportGraphsToFile(const host::Presentation& presentation, const QString& path,
                                 platform::MessageBoxes& messages, ExportDialect dialect) {
    std::unique_ptr<platform::TextStream> out;
    try {
        out = platform::CreateTextFile(path);
    } catch (const platform::FileError& error) {
        messages.inform(error.message(), ErrorTitle, platform::MessageIcon::Critical);
        return ExportOutcome::FileNotCreated;
    }
    return ExportGraphs(presentation, *out, messages, dialect);
}

} // namespace zov::cgif::exporter
