#include "cgif/export/ExportCommand.h"

#include "cgif/export/GraphWriter.h"
#include "cgif/export/IsoGraphWriter.h"
#include "cgif/export/LabelClash.h"
#include "cgif/export/ReadBack.h"

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
// leaves a file it was to replace as it was. It also keeps the text, to be read back once the
// file is written.
class NotingStream : public platform::TextStream {
public:
    explicit NotingStream(platform::TextStream& out) : out_(out) {}
    QString ReadLine() override { return out_.ReadLine(); }
    bool AtEndOfStream() const override { return out_.AtEndOfStream(); }
    void Write(const QString& text) override {
        wrote_ = true;
        out_.Write(text);
        text_ += text;
    }
    void WriteLine(const QString& text) override {
        wrote_ = true;
        out_.WriteLine(text);
        text_ += text + QStringLiteral("\r\n");
    }
    void Close() override { out_.Close(); }
    bool wrote() const { return wrote_; }
    const QString& text() const { return text_; }

private:
    platform::TextStream& out_;
    bool wrote_ = false;
    QString text_;
};

// Passes the writer's boxes on and notes whether one was an error: a graph an error stopped is
// written unfinished, which is why such a file does not read back.
class NotingMessages : public platform::MessageBoxes {
public:
    explicit NotingMessages(platform::MessageBoxes& messages) : messages_(messages) {}
    platform::MessageAnswer show(const platform::Message& message) override {
        errorShown_ = errorShown_ || message.icon == platform::MessageIcon::Critical;
        return messages_.show(message);
    }
    bool errorShown() const { return errorShown_; }

private:
    platform::MessageBoxes& messages_;
    bool errorShown_ = false;
};

} // namespace

ExportOutcome ExportGraphs(const host::Presentation& presentation, platform::TextStream& out,
                           platform::MessageBoxes& messages, ExportDialect dialect) {
    bool written = false;
    NotingStream noting(out); // the text is read back below
    NotingMessages writerMessages(messages);
    QString titleNotKept; // a slide's title the 2001 dialect cannot hold
    try {
        if (dialect == ExportDialect::Iso) {
            IsoGraphWriter writer(presentation, writerMessages);
            written = writer.WriteGraphs(noting);
        } else {
            GraphWriter writer(presentation, writerMessages);
            writer.ClearWrittenConcepts();
            written = writer.WriteGraphs(noting);
            titleNotKept = writer.FirstTitleNotKept();
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
    {
        std::optional<ReadBackFailure> problem =
            dialect == ExportDialect::Cgif2001 ? ReadBackProblem(noting.text()) : IsoReadBackProblem(noting.text());
        // A title that reads back as another graph explains whatever else the reading does wrong.
        if (!titleNotKept.isEmpty())
            problem = ReadBackFailure{titleNotKept, true, problem ? problem->stop : std::nullopt};
        // A pentagon bound on reading to a concept of its own slide, not to the one it refers
        // to, is the first thing to tell: what else the reading makes of that label follows from it.
        const std::optional<LabelClash> clash = writerMessages.errorShown() ? std::nullopt : FirstLabelClash(presentation);
        if (problem || clash) {
            QString text;
            if (writerMessages.errorShown()) {
                // Not the dialect's fault: the graph the error stopped is written unfinished.
                text = QStringLiteral("The file will not read back as the same graphs: the graph that the error above "
                                      "stopped is written unfinished, and %1.")
                           .arg(problem->stop && titleNotKept.isEmpty()
                                    ? QStringLiteral("reading it stops at \"%1\"").arg(*problem->stop)
                                    : problem->reason);
            } else if (clash) {
                text = QStringLiteral("The file will not read back as the same graphs: the pentagon \"%1\" on slide %2 "
                                      "refers to another slide's concept by the label ?%3, which a concept of %2 has "
                                      "too, and reading it refers to that one instead.")
                           .arg(clash->pentagon, clash->slide, clash->label);
            } else if (problem->isoKeepsThem) {
                text = QStringLiteral("The file will not read back as the same graphs: %1. Export them as ISO 24707 "
                                      "CGIF to keep them.")
                           .arg(problem->reason);
            } else if (problem->stop) {
                text = QStringLiteral("The file will not read back as the same graphs: %1.").arg(problem->reason);
            } else if (problem->definedLater) {
                text = QStringLiteral("The file will not read back as the same graphs: %1. A later slide defines it: "
                                      "put that slide before the slides that refer to it, and export again.")
                           .arg(problem->reason);
            } else {
                // Typed into a concept, a label makes a pentagon, which is written as a reference.
                text = QStringLiteral("The file will not read back as the same graphs: %1. No slide defines it: a "
                                      "label typed into a concept is written as a reference to it. To make two "
                                      "concepts coreferent, link them from two graph slides.")
                           .arg(problem->reason);
            }
            messages.inform(text, QStringLiteral("ZOVEdit"), platform::MessageIcon::Exclamation);
            return ExportOutcome::WrittenNotReadBack;
        }
    }
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
