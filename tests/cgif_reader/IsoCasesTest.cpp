// Runs tests/cases/cgif_iso/*.case: each input is read as a whole file with the dialect decided
// by the file, and the trace must equal the expected lines: the dialect ("iso" or "2001"), then
// "stopped" when an error stopped the reading, one graph description per graph handed on
// (DescribeGraphs), and "shown: TEXT" for each message box (all titled "Error", critical).
#include "ReaderFixture.h"
#include "cgif/dialect/DialectDetector.h"
#include "cgif/iso/DialectReading.h"
#include "support/CaseFiles.h"

namespace zov::cgif::test {
namespace {

QStringList IsoTrace(const QString& text) {
    drawing::NodeIdGenerator ids{12345};
    platform::FakeMessageBoxes messages;
    RecordingSink sink;
    CgifReader reader{ids, messages, sink};
    const QByteArray bytes = text.toUtf8();
    QStringList trace{dialect::DetectDialect(bytes.constData(), static_cast<std::size_t>(bytes.size())) ==
                              dialect::Dialect::Iso
                          ? QStringLiteral("iso")
                          : QStringLiteral("2001")};
    MemoryTextStream stream(text);
    if (!iso::ReadCgifInDialect(reader, stream, dialect::DialectChoice::Auto))
        trace << QStringLiteral("stopped");
    trace << DescribeGraphs(sink.built);
    for (const platform::Message& message : messages.shown()) {
        EXPECT_EQ(message.title, QStringLiteral("Error"));
        EXPECT_EQ(message.icon, platform::MessageIcon::Critical);
        trace << QStringLiteral("shown: ") + message.text;
    }
    return trace;
}

TEST(IsoCases, EachCaseReadsAsItsExpectedLinesSay) {
    for (const zov::test::Case& c : zov::test::LoadCases(QStringLiteral("cgif_iso")))
        EXPECT_EQ(IsoTrace(c.input), c.expected) << c.where() << "\n  input: " << c.input.toStdString();
}

} // namespace
} // namespace zov::cgif::test
