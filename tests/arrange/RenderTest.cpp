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

using app::RenderFormat;
using app::RenderRequest;

// Three slides; the first holds a concept, a relation and an actor at known places joined by
// two arcs, the others one concept each.
struct KnownDeck {
    KnownDeck() {
        SlideDrawer draw(host);
        draw.addGraphSlide(QStringLiteral("Known"));
        cat = draw.node(1, QStringLiteral("Cat"), 0x00C0FFFF, 60, 120);
        relation = draw.node(9, QStringLiteral("On"), 0x0080FF80, 300, 120);
        actor = draw.node(4, QStringLiteral("Plus"), 0x000080FF, 300, 320);
        arcs.push_back(draw.arc(cat, relation));
        arcs.push_back(draw.arc(relation, actor));
        for (const QString& name : {QStringLiteral("Second"), QStringLiteral("Third")}) {
            draw.addGraphSlide(name);
            draw.conceptNode(name);
        }
    }
    Host host;
    host::Shape cat, relation, actor;
    std::vector<host::Shape> arcs;
};

bool near(QColor a, QColor b, int tolerance = 8) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

bool dark(QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; }

// The least grey level in the square of `radius` pixels around `centre`.
int darkest(const QImage& image, QPointF centre, int radius) {
    int least = 255;
    const QPoint c = centre.toPoint();
    for (int y = c.y() - radius; y <= c.y() + radius; ++y)
        for (int x = c.x() - radius; x <= c.x() + radius; ++x)
            if (image.valid(x, y))
                least = std::min(least, qGray(image.pixel(x, y)));
    return least;
}

QColor bgr(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF), static_cast<int>((value >> 16) & 0xFF));
}

TEST(Render, PngShowsNodeFillsAndAnArrowheadAtTheEndOfEachArc) {
    KnownDeck deck;
    QTemporaryDir dir;
    RenderRequest request;
    request.format = RenderFormat::Png;
    request.output = dir.filePath(QStringLiteral("known.png"));
    request.slide = 1;
    request.dpi = 144;
    const QStringList written = app::renderSlides(deck.host.presentation(), request);
    ASSERT_EQ(written, QStringList{request.output});
    const QImage image(request.output);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1440, 1080));
    const double scale = 2; // pixels per point

    for (const host::Shape& node : {deck.cat, deck.relation, deck.actor}) {
        // Below the centre, off the label's letters.
        const QPointF inside((node.Left() + node.Width() / 2) * scale, (node.Top() + node.Height() * 0.8) * scale);
        EXPECT_TRUE(near(image.pixelColor(inside.toPoint()), bgr(node.Fill().ForeColor().RGB())))
            << node.TextFrame().TextRange().Text().toStdString() << ": " << image.pixelColor(inside.toPoint()).name().toStdString();
    }
    // Off the line but inside the triangle near the tip: dark at the end, light at the begin.
    for (const host::Shape& arc : deck.arcs) {
        const QPointF begin = arc.data().begin, end = arc.data().end;
        const QPointF along = (end - begin) / std::hypot(end.x() - begin.x(), end.y() - begin.y());
        const QPointF across(-along.y(), along.x());
        for (double side : {-1.0, 1.0}) {
            const QPointF inHead = (end - along * 4.5 + across * (1.4 * side)) * scale;
            EXPECT_TRUE(dark(image.pixelColor(inHead.toPoint()))) << "no arrowhead at the end of the arc";
            const QPointF besideTail = (begin + along * 4.5 + across * (1.4 * side)) * scale;
            EXPECT_FALSE(dark(image.pixelColor(besideTail.toPoint()))) << "an arrowhead at the begin of the arc";
        }
        EXPECT_LT(darkest(image, (begin + end) / 2 * scale, 1), 160) << "the arc's line is missing";
    }
    // The page is white away from the shapes.
    EXPECT_EQ(image.pixelColor(1430, 1070), QColor(Qt::white));
}

TEST(Render, APresentationWithoutSlidesIsRefusedAndNothingWritten) {
    Host empty;
    QTemporaryDir dir;
    RenderRequest request;
    request.format = RenderFormat::Pdf;
    request.output = dir.filePath(QStringLiteral("none.pdf"));
    EXPECT_THROW(app::renderSlides(empty.presentation(), request), app::RenderError);
    EXPECT_FALSE(QFile::exists(request.output));
}

} // namespace
} // namespace zov::arrange_test
