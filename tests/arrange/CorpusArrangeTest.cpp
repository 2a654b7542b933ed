// Arranging every slide of real inputs and of generated graphs keeps every invariant.
#include "ArrangeSupport.h"

#include "host/pptx/PptxFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zov::arrange_test {
namespace {

// Graphs of up to this many nodes fit on a slide of the default size.
constexpr int NodesThatFit = 40;

// Arranges every slide of the active presentation, checking each; expects every slide with at
// most NodesThatFit nodes to fit. Returns the number of slides arranged.
int arrangeEverySlide(Host& host, const QString& source) {
    const host::Slides slides = host.presentation().Slides();
    for (int i = 1; i <= slides.Count(); ++i) {
        const QString context = source + QStringLiteral(" slide ") + QString::number(i);
        const editor::ArrangeResult result = arrangeAndCheck(slides.Item(i), context);
        if (result.nodes <= NodesThatFit) {
            EXPECT_TRUE(result.fits) << context.toStdString() << ": " << result.nodes << " nodes";
        }
    }
    return slides.Count();
}

TEST(ArrangeCorpus, EveryGraphOfTheCgifCorpusThatReadsCleanly) {
    const QDir dir(test::cgifCorpusDir());
    const QStringList files = dir.entryList({QStringLiteral("*.cgf"), QStringLiteral("*.cgif")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no CGIF corpus at " << dir.path().toStdString();
    int read = 0, slides = 0;
    for (const QString& file : files) {
        Host host;
        if (!importCgifFile(host, dir.filePath(file)))
            continue;
        ++read;
        slides += arrangeEverySlide(host, file);
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(slides, 0);
}

TEST(ArrangeCorpus, EveryExample) {
    const QDir dir(test::sourceDir() + QStringLiteral("/examples"));
    const QStringList files = dir.entryList({QStringLiteral("*.pptx"), QStringLiteral("*.cgf")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no examples in " << dir.path().toStdString();
    for (const QString& file : files) {
        Host host;
        if (file.endsWith(QLatin1String(".pptx"))) {
            QFile in(dir.filePath(file));
            ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
            host.app.Open(host::readPresentation(in.readAll(), file));
        } else if (!importCgifFile(host, dir.filePath(file))) {
            continue; // an example of a reader error
        }
        arrangeEverySlide(host, file);
    }
}

// Generated graphs of many shapes and sizes, each small enough for one slide.
TEST(ArrangeCorpus, GeneratedGraphs) {
    const std::vector<RandomGraphShape> shapes = {
        {1, 0, 0, 0, 0, 0},   // one concept
        {2, 1, 0, 0, 0, 0},   // cat on mat
        {6, 4, 0, 0, 0, 0},   {8, 6, 1, 2, 1, 0},  {10, 8, 2, 0, 3, 2}, {4, 2, 0, 12, 0, 0},
        {12, 10, 0, 3, 2, 4}, {5, 3, 1, 0, 9, 0},  {3, 0, 0, 20, 0, 0}, {9, 7, 0, 0, 0, 3},
        {14, 10, 2, 2, 2, 0}, {7, 0, 0, 0, 0, 10}, // arcs straight between concepts, loops
    };
    Host host;
    int slide = 0, fitted = 0;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            ++slide;
            drawRandomGraph(host, QStringLiteral("Gen%1").arg(slide), shapes[i], seed * 101 + static_cast<std::uint32_t>(i));
            const editor::ArrangeResult result = arrangeAndCheck(host.presentation().Slides().Item(slide),
                                                                 QStringLiteral("case %1 seed %2").arg(i).arg(seed));
            if (result.fits)
                ++fitted;
        }
    }
    EXPECT_EQ(fitted, slide);
}

TEST(ArrangeCorpus, AnArrangedPresentationSavesAndReadsBackTheSame) {
    Host host;
    RandomGraphShape shape;
    shape.concepts = 6;
    shape.relations = 5;
    shape.comments = 1;
    host::Slide slide = drawRandomGraph(host, QStringLiteral("Saved"), shape, 9);
    arrangeAndCheck(slide, QStringLiteral("saved"));
    const std::vector<ShapeFacts> facts = factsOf(slide);
    std::vector<QPointF> corners;
    for (int i = 1; i <= slide.Shapes().Count(); ++i)
        corners.emplace_back(slide.Shapes().Item(i).Left(), slide.Shapes().Item(i).Top());

    const host::Presentation back = host::readPresentation(host::presentationBytes(host.presentation()), QStringLiteral("saved"));
    const host::Slide reread = back.Slides().Item(1);
    const std::vector<ShapeFacts> again = factsOf(reread);
    ASSERT_EQ(again.size(), facts.size());
    for (std::size_t i = 0; i < facts.size(); ++i) {
        EXPECT_EQ(again[i].name, facts[i].name);
        EXPECT_EQ(again[i].beginShape, facts[i].beginShape);
        EXPECT_EQ(again[i].endShape, facts[i].endShape);
        const host::Shape s = reread.Shapes().Item(static_cast<int>(i) + 1);
        EXPECT_NEAR(s.Left(), corners[i].x(), 0.01);
        EXPECT_NEAR(s.Top(), corners[i].y(), 0.01);
    }
}

} // namespace
} // namespace zov::arrange_test
