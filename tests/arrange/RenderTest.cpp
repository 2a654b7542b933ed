// Rendering a known slide to PNG, pixel by pixel (files, pages, formats and failures are checked
// through the command line).
#include "ArrangeSupport.h"

#include "app/RenderCommand.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

namespace zov::arrange_test {
namespace {

bool dark(QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; }

// A concept, a relation and an actor at known places, joined by two arcs, at 2 pixels a point.
TEST(Render, PngShowsNodeFillsAndAnArrowheadAtTheEndOfEachArc) {
    Host host;
    SlideDrawer draw(host);
    draw.addGraphSlide(QStringLiteral("Known"));
    const host::Shape cat = draw.node(1, QStringLiteral("Cat"), 0x00C0FFFF, 60, 120);
    const host::Shape relation = draw.node(9, QStringLiteral("On"), 0x0080FF80, 300, 120);
    const host::Shape actor = draw.node(4, QStringLiteral("Plus"), 0x000080FF, 300, 320);
    const std::vector<host::Shape> arcs{draw.arc(cat, relation), draw.arc(relation, actor)};
    QTemporaryDir dir;
    const app::RenderRequest request{app::RenderFormat::Png, dir.filePath(QStringLiteral("known.png")), 1, 144};
    ASSERT_EQ(app::renderSlides(host.presentation(), request), QStringList{request.output});
    const QImage image(request.output);
    EXPECT_EQ(image.size(), QSize(1440, 1080));

    for (const host::Shape& node : {cat, relation, actor}) {
        // Below the centre, off the label's letters; the fill is stored as BBGGRR.
        const QColor got = image.pixelColor(QPointF((node.Left() + node.Width() / 2) * 2, (node.Top() + node.Height() * 0.8) * 2).toPoint());
        const std::uint32_t fill = static_cast<std::uint32_t>(node.Fill().ForeColor().RGB());
        EXPECT_LE(std::abs(got.red() - int(fill & 0xFF)) + std::abs(got.green() - int(fill >> 8 & 0xFF)) + std::abs(got.blue() - int(fill >> 16 & 0xFF)), 24)
            << node.TextFrame().TextRange().Text().toStdString() << ": " << got.name().toStdString();
    }
    // Off the line but inside the triangle near the tip: dark at the end, light at the begin.
    for (const host::Shape& arc : arcs) {
        const QPointF begin = arc.data().begin, end = arc.data().end;
        const QPointF along = (end - begin) / std::hypot(end.x() - begin.x(), end.y() - begin.y());
        const QPointF across(-along.y(), along.x());
        for (double side : {-1.0, 1.0}) {
            EXPECT_TRUE(dark(image.pixelColor(((end - along * 4.5 + across * (1.4 * side)) * 2).toPoint()))) << "no arrowhead at the end";
            EXPECT_FALSE(dark(image.pixelColor(((begin + along * 4.5 + across * (1.4 * side)) * 2).toPoint()))) << "an arrowhead at the begin";
        }
        int darkest = 255; // around the middle of the line
        for (const QPoint& d : {QPoint(0, 0), QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1), QPoint(1, 1), QPoint(-1, -1), QPoint(1, -1), QPoint(-1, 1)})
            darkest = std::min(darkest, qGray(image.pixel(((begin + end) / 2 * 2).toPoint() + d)));
        EXPECT_LT(darkest, 160) << "the arc's line is missing";
    }
    EXPECT_EQ(image.pixelColor(1430, 1070), QColor(Qt::white)) << "the page is white away from the shapes";
}

// A long render tells how far it has got: once per slide painted, into one PDF or a file each.
TEST(Render, ProgressIsToldAfterEachSlide) {
    Host host;
    SlideDrawer draw(host);
    for (const char* name : {"A", "B", "C"})
        draw.addGraphSlide(QString::fromLatin1(name));
    QTemporaryDir dir;
    for (const app::RenderFormat format : {app::RenderFormat::Pdf, app::RenderFormat::Svg}) {
        const app::RenderRequest request{format, dir.filePath(QStringLiteral("all.out")), 0, 144};
        std::vector<int> told;
        const QStringList written = app::renderSlides(host.presentation(), request, [&told](int done) { told.push_back(done); });
        EXPECT_EQ(told, (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(written.size(), format == app::RenderFormat::Pdf ? 1 : 3);
    }
}

TEST(Render, APresentationWithoutSlidesIsRefusedAndNothingWritten) {
    Host empty;
    QTemporaryDir dir;
    const app::RenderRequest request{app::RenderFormat::Pdf, dir.filePath(QStringLiteral("none.pdf")), 0, 144};
    EXPECT_THROW(app::renderSlides(empty.presentation(), request), app::RenderError);
    EXPECT_FALSE(QFile::exists(request.output));
}

// A PNG over the pixel limit is refused before anything is written, naming a --dpi that fits,
// or, for a slide too large even at the lowest --dpi, the formats that have no pixels.
TEST(Render, APngOverThePixelLimitNamesWhatFits) {
    Host host;
    SlideDrawer(host).addGraphSlide(QStringLiteral("G1"));
    QTemporaryDir dir;
    const app::RenderRequest request{app::RenderFormat::Png, dir.filePath(QStringLiteral("big.png")), 0, 1200};
    const auto refusal = [&] {
        try {
            app::renderSlides(host.presentation(), request);
        } catch (const app::RenderError& e) {
            return e.message();
        }
        return QStringLiteral("(rendered)");
    };
    host.presentation().PageSetup().SetSlideWidth(720);
    host.presentation().PageSetup().SetSlideHeight(540);
    EXPECT_TRUE(refusal().endsWith(QStringLiteral("--dpi 1154 or less fits"))) << refusal().toStdString();
    host.presentation().PageSetup().SetSlideWidth(160000); // about 2^31 EMU: not even 18 dpi fits
    host.presentation().PageSetup().SetSlideHeight(160000);
    EXPECT_TRUE(refusal().endsWith(QStringLiteral("no --dpi fits; render it as PDF or SVG"))) << refusal().toStdString();
    EXPECT_FALSE(QFile::exists(request.output));
}

} // namespace
} // namespace zov::arrange_test
