#include "cgif/export/SlideScan.h"
#include "cgif_export/GraphSlides.h"
#include "support/CaseFiles.h"

#include <gtest/gtest.h>

namespace zov::cgif::exporter {
namespace {

using test::GraphSlides;

// Each record as "NAME <IN,IN >OUT,OUT" (the arcs' other ends by shape name).
QStringList records(const SlideScan& scan) {
    const auto names = [](const std::vector<host::Shape>& shapes) {
        QStringList out;
        for (const host::Shape& shape : shapes)
            out << shape.Name();
        return out.join(u',');
    };
    QStringList out;
    for (const NodeArcs& record : scan.SlideNodes())
        out << record.Node.Name() + QStringLiteral(" <") + names(record.InArcs) + QStringLiteral(" >") + names(record.OutArcs);
    return out;
}

class SlideScanTest : public ::testing::Test {
protected:
    SlideScan scanFirstSlide() {
        SlideScan scan;
        scan.ScanSlide(g.presentation(), 1);
        return scan;
    }
    GraphSlides g;
};

TEST_F(SlideScanTest, ALooseArcEndCountsOnlyOnTheGraphNodeUnderIt) {
    g.addSlide("G1");
    const auto drawn = g.draw({"c|AAAAAAAA|A", "r|RRRRRRRR|R|300|300", "c|BBBBBBBB|B|300|100", "A>R", "R>B"});
    const QStringList glued{"AAAAAAAA < >", "BBBBBBBB < >", "RRRRRRRR <AAAAAAAA >BBBBBBBB"};
    EXPECT_EQ(records(scanFirstSlide()), glued);
    // An end over empty slide area joins nothing: the arc is ignored, and nothing raises.
    g.arc(host::Shape(), drawn.at("R"));
    g.arc(drawn.at("A"), host::Shape());
    EXPECT_EQ(records(scanFirstSlide()), glued);
    // An end the host does not follow (glued in the file to a flipped shape) that lies on a
    // graph node is glued to it.
    g.arc(drawn.at("A"), drawn.at("R")).ConnectorFormat().EndDisconnect();
    EXPECT_EQ(records(scanFirstSlide()), (QStringList{"AAAAAAAA < >", "BBBBBBBB < >",
                                                      "RRRRRRRR <AAAAAAAA,AAAAAAAA >BBBBBBBB"}));
}

// The cases of tests/cases/cgif_export/scan.case: the first slide of slides drawn from a
// description, scanned, compared record by record.
TEST(SlideScanCases, CaseFiles) {
    for (const test::Case& c : test::LoadCases(QStringLiteral("cgif_export"), QStringLiteral("scan.case"))) {
        GraphSlides g;
        g.drawSlides(c.input);
        SlideScan scan;
        scan.ScanSlide(g.presentation(), 1);
        EXPECT_EQ(scan.HasSlideNodes(), !scan.SlideNodes().empty()) << c.where();
        EXPECT_EQ(test::Lines(records(scan)), test::Lines(c.expected)) << c.where();
    }
}

} // namespace
} // namespace zov::cgif::exporter
