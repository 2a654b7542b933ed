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

TEST(GraphWriterTest, TitleTypeIsTheTextAfterTheFirstIs) {
    const std::pair<const char*, const char*> cases[] = {
        {"G1 is Graph", "Graph"}, {"a is b is c", "b is c"}, {"G1 is ", ""}, {"G1 IS Graph", "Graph"}, {"", "Graph"}};
    for (const auto& [title, type] : cases)
        EXPECT_EQ(GraphWriter::TitleType(QString::fromUtf8(title)), QString::fromUtf8(type)) << title;
}

// The cases of tests/cases/cgif_export: slides drawn from a description, exported, and compared
// with the text written (lines split at CR LF) and the boxes shown; writer.case in the 2001
// dialect, writer-iso.case in the ISO dialect.
TEST(GraphWriterTest, CaseFiles) {
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
