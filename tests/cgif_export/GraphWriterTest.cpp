#include "cgif/export/GraphWriter.h"
#include "cgif/export/IsoGraphWriter.h"
#include "cgif_export/GraphSlides.h"
#include "platform/fake/FakeMessageBoxes.h"
#include "support/CaseFiles.h"

#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

using test::GraphSlides;
using test::MemoryStream;

class GraphWriterTest : public ::testing::Test {
protected:
    // Runs one export as the Export command does: empty WrittenConcepts, then WriteGraphs.
    QString exportAll(bool expectedResult = true) {
        GraphWriter writer(g.presentation(), messages);
        writer.ClearWrittenConcepts();
        MemoryStream out;
        EXPECT_EQ(writer.WriteGraphs(out), expectedResult);
        writtenCount = writer.WrittenConcepts().size();
        return out.text();
    }

    GraphSlides g;
    platform::FakeMessageBoxes messages;
    std::size_t writtenCount = 0; // the concepts the last export wrote in full
};

TEST_F(GraphWriterTest, TitleTypeIsTheTextAfterTheFirstIs) {
    const std::pair<const char*, const char*> cases[] = {
        {"G1 is Graph", "Graph"}, {"a is b is c", "b is c"}, {"G1 is ", ""}, {"G1 IS Graph", "Graph"}, {"", "Graph"}};
    for (const auto& [title, type] : cases)
        EXPECT_EQ(GraphWriter::TitleType(QString::fromUtf8(title)), QString::fromUtf8(type)) << title;
}

TEST_F(GraphWriterTest, HostErrorsStopTheExportKeepingWhatWasWritten) {
    g.addSlide("G1");
    g.draw({"c|AAAAAAAA|A"});
    g.addSlide("G2");
    g.draw({"c|BBBBBBBB|B", "B>-"}); // an arc into nothing is ignored
    g.addSlide("G3");
    g.draw({"c|CCCCCCCC|C"});
    exportAll(true);
    EXPECT_TRUE(messages.shown().empty());
    // A first shape without text gives no type: the export stops before any separator, and
    // says where.
    const QString firstGraph = QStringLiteral(";%Graph*G1%;\r\n[A;0@0;\r\n]");
    const host::Shapes second = g.presentation().Slides().Item(2).Shapes();
    second.Item(1).data().hasTextFrame = false;
    EXPECT_EQ(exportAll(false), firstGraph);
    EXPECT_EQ(writtenCount, 1u) << "A, written before the stop";
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("The export stopped at slide G2: the shape \"G2/TITLEIDX\" has no text"));
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("Error"));
}

// The cases of tests/cases/cgif_export: slides drawn from a description, exported, and compared
// with the text written (lines split at CR LF) and the boxes shown; writer.case in the 2001
// dialect, writer-iso.case in the ISO dialect.
TEST_F(GraphWriterTest, CaseFiles) {
    for (const bool iso : {false, true}) {
        const QString suffix = iso ? QStringLiteral("writer-iso.case") : QStringLiteral("writer.case");
        for (const test::Case& c : test::LoadCases(QStringLiteral("cgif_export"), suffix)) {
            GraphSlides slides;
            slides.drawSlides(c.input);
            platform::FakeMessageBoxes boxes;
            MemoryStream out;
            if (iso)
                EXPECT_TRUE(IsoGraphWriter(slides.presentation(), boxes).WriteGraphs(out)) << c.where();
            else
                EXPECT_TRUE(GraphWriter(slides.presentation(), boxes).WriteGraphs(out)) << c.where();
            QStringList trace;
            for (const QString& line : out.text().split(QStringLiteral("\r\n")))
                trace << u'[' + line + u']';
            for (const platform::Message& m : boxes.shown())
                trace << QStringLiteral("box ") + m.title + QStringLiteral(": ") + m.text;
            EXPECT_EQ(test::Lines(trace), test::Lines(c.expected)) << c.where();
        }
    }
}

} // namespace
} // namespace zov::cgif::exporter
