// Arranging every slide of real inputs and of generated graphs keeps every invariant.
#include "ArrangeSupport.h"

#include "editor/arrange/SlideFit.h"
#include "host/pptx/PptxFile.h"
#include "support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <set>

namespace zov::arrange_test {
namespace {

// Whether the shapes arranging places (every non-connector but the title label) cannot fit in
// the room with the least gap between them: one is wider or taller than the room; the shapes
// too wide for two to stand side by side, one above the other, are taller than the room (or
// those too tall for two above each other wider); or they need more than the room, since boxes
// kept `gap` apart are boxes grown by `gap` packed into the room grown by `gap`.
bool cannotFit(const host::Slide& slide, const QRectF& room) {
    const double gap = editor::arrange::LeastGap;
    double area = 0, stackedWide = -gap, besideTall = -gap;
    const host::Shapes shapes = slide.Shapes();
    for (int i = 1; i <= shapes.Count(); ++i) {
        const host::Shape s = shapes.Item(i);
        if (s.Connector() || (i == 1 && s.AutoShapeType() == 19))
            continue;
        const double w = s.Width(), h = s.Height();
        if (w > room.width() || h > room.height())
            return true;
        if (2 * w + gap > room.width())
            stackedWide += h + gap;
        if (2 * h + gap > room.height())
            besideTall += w + gap;
        area += (w + gap) * (h + gap);
    }
    return stackedWide > room.height() || besideTall > room.width() ||
           area > (room.width() + gap) * (room.height() + gap);
}

// Arranges one slide, checking every invariant; a graph that does not fit must be one that
// cannot.
editor::ArrangeResult arrangeFittingOrTooLarge(const host::Slide& slide, const QString& context) {
    const bool cannot = cannotFit(slide, editor::GraphArea(slide));
    const editor::ArrangeResult result = arrangeAndCheck(slide, context);
    EXPECT_TRUE(result.fits || cannot) << context.toStdString() << ": " << result.nodes << " nodes do not fit though they could";
    return result;
}

// Arranges every slide of the active presentation; returns how many did not fit.
int arrangeEverySlide(Host& host, const QString& source) {
    const host::Slides slides = host.presentation().Slides();
    int tooLarge = 0;
    for (int i = 1; i <= slides.Count(); ++i)
        if (!arrangeFittingOrTooLarge(slides.Item(i), source + QStringLiteral(" slide ") + QString::number(i)).fits)
            ++tooLarge;
    return tooLarge;
}

// Every slide the 2001 and the ISO reader draw from the corpus, also those of a file they stopped in.
TEST(ArrangeCorpus, EverySlideDrawnFromTheCgifCorpusFitsUnlessItsShapesCannot) {
    const QDir dir(test::cgifCorpusDir());
    const QStringList files = dir.entryList({QStringLiteral("*.cgf"), QStringLiteral("*.cgif")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no CGIF corpus at " << dir.path().toStdString();
    for (const auto& [dialect, name] : {std::pair{cgif::dialect::DialectChoice::Draft2001, "2001"},
                                        std::pair{cgif::dialect::DialectChoice::Iso, "iso"}}) {
        int slides = 0, tooLarge = 0;
        for (const QString& file : files) {
            Host host;
            importCgifFile(host, dir.filePath(file), dialect);
            slides += host.presentation().Slides().Count();
            tooLarge += arrangeEverySlide(host, file + QStringLiteral(" (") + QLatin1String(name) + u')');
        }
        EXPECT_GT(slides, 50) << name;
        EXPECT_LT(tooLarge * 10, slides) << name << ": only a few of the largest corpus graphs cannot fit";
    }
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

// Generated graphs of many shapes and sizes: the small ones spread out with their layers down or
// across, larger ones with their layers wrapped onto rows, the largest filling rows in reading
// order; all fit but the last, whose shapes cover more than the room.
TEST(ArrangeCorpus, GeneratedGraphs) {
    const std::vector<RandomGraphShape> shapes = {
        {1, 0, 0, 0, 0, 0},   // one concept
        {2, 1, 0, 0, 0, 0},   // cat on mat
        {6, 4, 0, 0, 0, 0},   {8, 6, 1, 2, 1, 0},  {10, 8, 2, 0, 3, 2}, {4, 2, 0, 12, 0, 0},
        {12, 10, 0, 3, 2, 4}, {5, 3, 1, 0, 9, 0},  {3, 0, 0, 20, 0, 0}, {9, 7, 0, 0, 0, 3},
        {14, 10, 2, 2, 2, 0}, {7, 0, 0, 0, 0, 10}, // arcs straight between concepts, loops
        {22, 18, 0, 0, 0, 0}, // layers wrapped onto rows
        {30, 25, 3, 5, 4, 5}, {45, 40, 0, 0, 2, 0}, {40, 30, 4, 10, 6, 8}, // in rows
        {120, 110, 0, 0, 0, 0},                                           // beyond the room
    };
    Host host;
    int slide = 0, fitted = 0;
    std::set<editor::ArrangeLayout> layouts;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            ++slide;
            drawRandomGraph(host, QStringLiteral("Gen%1").arg(slide), shapes[i], seed * 101 + static_cast<std::uint32_t>(i));
            const editor::ArrangeResult result = arrangeFittingOrTooLarge(
                host.presentation().Slides().Item(slide), QStringLiteral("case %1 seed %2").arg(i).arg(seed));
            if (result.fits) {
                ++fitted;
                layouts.insert(result.layout);
            }
        }
    }
    EXPECT_EQ(fitted, slide - 3);
    EXPECT_EQ(layouts.count(editor::ArrangeLayout::LayersInRows), 1u);
    EXPECT_EQ(layouts.count(editor::ArrangeLayout::Rows), 1u);
}

} // namespace
} // namespace zov::arrange_test

