// Runs the reader's case files, tests/cases/cgif_reader/*.case: each input is read as a file by
// a fresh reader, and what the reading produced must equal the expected lines, in this order:
//   "stopped"               the reading stopped at an error (a whole read says nothing)
//   "escaped N TEXT"        a ParseError numbered N escaped the reading
//   a graph description    one line per graph handed on (DescribeGraphs)
//   "shown: TEXT"           each message box, all titled "Error" with the critical icon
//   "raised N TEXT"         only when expected: what the element loop raises for the input
// The cases of tests/cases/cgif_iso are read with the dialect the file decides, and their trace
// starts with that dialect ("iso" or "2001"); each is read twice, from a stream that offers its
// whole text and from one whose lines must be read to be seen.
#include "ReaderFixture.h"
#include "cgif/dialect/DialectDetector.h"
#include "cgif/iso/DialectReading.h"
#include "support/CaseFiles.h"

namespace zov::cgif::test {
namespace {

QString Raised(const ParseError& error) { return QString::number(error.number()) + u' ' + error.message(); }

// What the element loop of one graph raises for `text`, "" when nothing.
QString RaisedByElements(const QString& text) {
    Reading run;
    MemoryTextStream stream(text);
    CgifReader& reader = run.reader;
    reader.SetInputStream(&stream);
    reader.ClearReaderTables();
    reader.Tables().Contexts.assign(1, ContextRecord{});
    NodeRecord graph;
    reader.AddGraphNode(graph, QString(), QString());
    try {
        while (!reader.AtEnd() && reader.ReadElement(false, true)) {
        }
    } catch (const ParseError& error) {
        EXPECT_EQ(QString::fromUtf8(error.what()), error.message());
        return QStringLiteral("raised ") + Raised(error);
    }
    return QString();
}

QStringList Trace(const QString& text, bool withRaised, bool iso = false, bool linesOnly = false) {
    Reading run;
    QStringList trace;
    const QByteArray bytes = text.toUtf8();
    if (iso) {
        // The launcher detects over the bytes, the program over UTF-16: the same verdict.
        const dialect::Dialect verdict = dialect::DetectDialect(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        dialect::DialectDetector wide;
        wide.FeedLines(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
        EXPECT_EQ(wide.Verdict(), verdict) << text.toStdString();
        trace << (verdict == dialect::Dialect::Iso ? QStringLiteral("iso") : QStringLiteral("2001"));
    }
    MemoryTextStream stream(text, false, linesOnly);
    try {
        if (!(iso ? iso::ReadCgifInDialect(run.reader, stream, dialect::DialectChoice::Auto) : run.reader.ReadCgifStream(stream)))
            trace << QStringLiteral("stopped");
    } catch (const ParseError& error) {
        trace << QStringLiteral("escaped ") + Raised(error);
    }
    trace << DescribeGraphs(run.sink.built);
    for (const platform::Message& message : run.messages.shown()) {
        EXPECT_EQ(message.title, QStringLiteral("Error"));
        EXPECT_EQ(message.icon, platform::MessageIcon::Critical);
        trace << QStringLiteral("shown: ") + message.text;
    }
    if (withRaised) {
        const QString raised = RaisedByElements(text);
        if (!raised.isEmpty())
            trace << raised;
    }
    // The reader stays usable afterwards.
    EXPECT_TRUE(run.reader.ReadCgifStream(*platform::StringTextStream(QStringLiteral("(On [Cat] [Mat])"))));
    return trace;
}

TEST(ReaderCases, EachCaseFileReadsAsItsExpectedLinesSay) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_reader"))) {
        const bool withRaised = std::any_of(c.expected.begin(), c.expected.end(),
                                            [](const QString& line) { return line.startsWith(QStringLiteral("raised ")); });
        EXPECT_EQ(Trace(c.input, withRaised), c.expected) << c.where() << "\n  input: " << c.input.toStdString();
    }
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_iso")))
        for (const bool linesOnly : {false, true})
            EXPECT_EQ(Trace(c.input, false, true, linesOnly), c.expected)
                << c.where() << (linesOnly ? " (read line by line)" : "") << "\n  input: " << c.input.toStdString();
}

} // namespace
} // namespace zov::cgif::test
