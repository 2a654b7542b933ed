#include "cgif/export/ReadBack.h"

#include "cgif/dialect/DialectDetector.h"
#include "cgif/iso/IsoReader.h"
#include "cgif/reader/CgifReader.h"
#include "cgif/reader/GraphSink.h"
#include "cgif/reader/ShownText.h"
#include "drawing/NodeId.h"
#include "platform/MessageBox.h"
#include "platform/TextStream.h"

#include <QRegularExpression>

namespace zov::cgif::exporter {

namespace {

// Keeps the first message the reader shows instead of showing it, with the name of the graph
// the reader was in then (the graph node first in its table).
class FirstMessage : public platform::MessageBoxes {
public:
    void Watch(const CgifReader& reader) { reader_ = &reader; }
    platform::MessageAnswer show(const platform::Message& message) override {
        if (!text_) {
            text_ = message.text;
            const auto& nodes = reader_->Tables().BoundArray;
            if (!nodes.empty() && nodes.front().Kind == NodeKind::Graph)
                graphName_ = nodes.front().Name.ToString();
        }
        return platform::defaultAnswer(message);
    }
    const std::optional<QString>& text() const { return text_; }
    const QString& graphName() const { return graphName_; }

private:
    const CgifReader* reader_ = nullptr;
    std::optional<QString> text_;
    QString graphName_;
};

} // namespace

namespace {

// What the 2001 reader makes of `text`: the first message it shows, if any, and where ("stops in
// graph NAME at "MESSAGE""), and the first label it leaves unbound ("" when none).
struct Reading {
    std::optional<QString> stop;
    QString where;
    QString unbound;
    bool unboundInItsGraph = false; // a concept of the same graph defines that label
    QString offConcept;
    QString replaced;  // a concept's defining label that a second one replaced
    QString replacing;
    QString unread;
    std::optional<QString> indentDropped; // the rest of a continuation line that lost its blanks
};

enum class ReadAs { Cgif2001, Iso };

Reading ReadWith(ReadAs dialect, const QString& text) {
    drawing::NodeIdGenerator ids;
    FirstMessage messages;
    NullGraphSink sink;
    CgifReader reader(ids, messages, sink);
    messages.Watch(reader);
    Reading reading;
    bool whole = false;
    std::optional<QString> thrown; // a failure while a graph's title comment was read
    try {
        if (dialect == ReadAs::Iso) {
            whole = iso::ReadIsoCgifText(reader, text);
        } else {
            const auto stream = platform::StringTextStream(text);
            whole = reader.ReadCgifStream(*stream);
        }
    } catch (const ParseError& failure) {
        thrown = failure.message();
    } catch (const std::exception& failure) {
        thrown = QString::fromUtf8(failure.what());
    }
    if (!whole || messages.text())
        reading.stop = messages.text() ? messages.text() : thrown ? thrown : QStringLiteral("an error");
    if (reading.stop) {
        reading.where = messages.graphName().isEmpty()
                            ? QStringLiteral("stops at \"%1\"").arg(*reading.stop)
                            : QStringLiteral("stops in graph %1 at \"%2\"").arg(messages.graphName(), *reading.stop);
    }
    reading.unbound = reader.FirstUnboundLabel();
    reading.unboundInItsGraph = reader.FirstUnboundLabelInItsGraph();
    reading.offConcept = reader.FirstLabelOffConcept();
    reading.replaced = reader.FirstLabelReplaced();
    reading.replacing = reader.FirstLabelReplacing();
    if (dialect == ReadAs::Cgif2001) {
        reading.unread = reader.UnreadText();
        reading.indentDropped = reader.FirstIndentDropped();
    }
    return reading;
}

// A label referred to and never bound: the reason, and whether the text defines it further on
// (a slide moved before the one it refers to) or nowhere (a label typed into concepts only ever
// refers). A reference to a concept of its own graph (`inItsGraph`, from the 2001 reading) is
// another case: the 2001 dialect has no way to say it, ISO CGIF has (the ISO export writes the
// definition first).
ReadBackFailure UnboundLabelFailure(const QString& label, const QString& text, bool inItsGraph) {
    if (inItsGraph)
        return ReadBackFailure{QStringLiteral("the coreference label ?%1 refers to a concept of its own slide, which 2001 "
                                              "CGIF has no way to say, so reading it leaves that concept without its "
                                              "coreference")
                                   .arg(label),
                               true, std::nullopt};
    // Defined by a concept's "*label", or by a graph of that name (the ISO export's graph note).
    const QString name = QRegularExpression::escape(label);
    const QRegularExpression defining(QStringLiteral("\\*") + name + QStringLiteral("(?![A-Za-z0-9_])|<graph name=\"") +
                                      name + u'"');
    return ReadBackFailure{QStringLiteral("the coreference label ?%1 is used where no slide before it defines *%1, "
                                          "so reading it leaves that concept without its coreference")
                               .arg(label),
                           false, std::nullopt, defining.match(text).hasMatch()};
}

} // namespace

std::optional<ReadBackFailure> IsoReadBackProblem(const QString& text) {
    const Reading reading = ReadWith(ReadAs::Iso, text);
    if (reading.stop)
        return ReadBackFailure{QStringLiteral("reading it %1").arg(reading.where), false, reading.stop};
    if (!reading.unbound.isEmpty())
        return UnboundLabelFailure(reading.unbound, text, false);
    return std::nullopt;
}

std::optional<ReadBackFailure> ReadBackProblem(const QString& text) {
    dialect::DialectDetector detector;
    detector.FeedLines(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
    const Reading reading = ReadWith(ReadAs::Cgif2001, text);
    const std::optional<QString>& stop = reading.stop;
    if (detector.Verdict() == dialect::Dialect::Iso) {
        // Where the 2001 reading stops shows the user which label is at fault (a type of two
        // words or two lines, a name without quotes).
        QString problem = QStringLiteral("it holds what only ISO CGIF has (such as a name without quotes, a signed number, or a "
                                         "letter beyond ASCII in a type), so an import reads it as ISO CGIF");
        if (stop)
            problem += QStringLiteral(", and reading it as 2001 CGIF %1").arg(reading.where);
        return ReadBackFailure{problem, true, stop};
    }
    if (stop)
        return ReadBackFailure{QStringLiteral("reading it %1").arg(reading.where), true, stop};
    if (!reading.unread.isEmpty()) {
        // Text where no element starts (a ";" inside a comment ends it early) ends a 2001 file
        // without a word: everything after it would be lost.
        const QString at = ShownText(reading.unread);
        return ReadBackFailure{QStringLiteral("reading it ends early, at \"%1\", where no element starts, and leaves "
                                              "out everything after it")
                                   .arg(at),
                               true, std::nullopt};
    }
    if (!reading.unbound.isEmpty())
        return UnboundLabelFailure(reading.unbound, text, reading.unboundInItsGraph);
    if (!reading.offConcept.isEmpty()) {
        // A pentagon whose concept has a referent ("Person:'Mary'(Woman in G3)") is written with
        // its label after the referent, where the 2001 reader gives the label to the empty graph
        // that follows the referent; ISO CGIF reads the same concept whole.
        return ReadBackFailure{QStringLiteral("the coreference label ?%1 follows the referent of its concept, where "
                                              "the 2001 reader gives it to an empty graph instead, so reading it "
                                              "leaves that concept without its coreference")
                                   .arg(reading.offConcept),
                               true, std::nullopt};
    }
    if (!reading.replaced.isEmpty()) {
        // A label typed into a concept that the editor had given a coreference label already.
        return ReadBackFailure{QStringLiteral("a concept holds two defining labels, *%1 and *%2, and reading it keeps only "
                                              "*%2, so what refers to *%1 is lost")
                                   .arg(reading.replaced, reading.replacing),
                               true, std::nullopt};
    }
    if (reading.indentDropped) {
        // A text of several lines (a quoted referent, a comment) whose further lines begin with
        // blanks: the 2001 reader drops them, so the text comes back changed.
        const QString& rest = *reading.indentDropped;
        const QString where = rest.isEmpty() ? QStringLiteral("a line of blanks only")
                                             : QStringLiteral("a line that begins with blanks (before \"%1\")").arg(ShownText(rest));
        return ReadBackFailure{QStringLiteral("a text of several lines has %1, and the 2001 reader drops them").arg(where),
                               true, std::nullopt};
    }
    return std::nullopt;
}

} // namespace zov::cgif::exporter
