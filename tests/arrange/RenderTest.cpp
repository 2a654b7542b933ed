// Rendering slides to PNG, PDF and SVG: pixels of a known slide, page and file counts, XML.
#include "ArrangeSupport.h"

#include "app/RenderCommand.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>
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

TEST(Render, PngAndSvgWriteOneFilePerSlideUnlessOneIsChosen) {
    KnownDeck deck;
    QTemporaryDir dir;
    RenderRequest request;
    request.format = RenderFormat::Png;
    request.output = dir.filePath(QStringLiteral("deck.png"));
    request.dpi = 36;
    EXPECT_EQ(app::renderSlides(deck.host.presentation(), request),
              (QStringList{dir.filePath(QStringLiteral("deck-1.png")), dir.filePath(QStringLiteral("deck-2.png")),
                           dir.filePath(QStringLiteral("deck-3.png"))}));
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("deck-3.png"))).size(), QSize(360, 270));
    EXPECT_FALSE(QFile::exists(request.output));

    request.format = RenderFormat::Svg;
    request.output = dir.filePath(QStringLiteral("deck.svg"));
    const QStringList svgs = app::renderSlides(deck.host.presentation(), request);
    ASSERT_EQ(svgs.size(), 3);
    for (const QString& path : svgs) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        QXmlStreamReader xml(&file);
        int elements = 0;
        QString root;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement) {
                if (elements++ == 0)
                    root = xml.name().toString();
            }
        }
        EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
        EXPECT_EQ(root, QStringLiteral("svg"));
        EXPECT_GT(elements, 3);
    }

    request.slide = 2;
    request.output = dir.filePath(QStringLiteral("two.svg"));
    EXPECT_EQ(app::renderSlides(deck.host.presentation(), request), QStringList{request.output});
    QFile two(request.output);
    ASSERT_TRUE(two.open(QIODevice::ReadOnly));
    EXPECT_TRUE(two.readAll().contains("<title>Second</title>"));
}

// The number of page objects of a PDF.
int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    int pages = 0;
    for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1))
        if (bytes.mid(at + 11, 1) != "s")
            ++pages;
    return pages;
}

TEST(Render, PdfHasOnePagePerSlide) {
    KnownDeck deck;
    QTemporaryDir dir;
    RenderRequest request;
    request.format = RenderFormat::Pdf;
    request.output = dir.filePath(QStringLiteral("deck.pdf"));
    EXPECT_EQ(app::renderSlides(deck.host.presentation(), request), QStringList{request.output});
    EXPECT_EQ(pdfPages(request.output), 3);

    request.slide = 3;
    request.output = dir.filePath(QStringLiteral("third.pdf"));
    app::renderSlides(deck.host.presentation(), request);
    EXPECT_EQ(pdfPages(request.output), 1);
}

TEST(Render, RefusesWhatItCannotDo) {
    KnownDeck deck;
    QTemporaryDir dir;
    RenderRequest request;
    request.output = dir.filePath(QStringLiteral("x.png"));
    auto errorOf = [&] {
        try {
            app::renderSlides(deck.host.presentation(), request);
        } catch (const app::RenderError& error) {
            return error.message();
        }
        return QStringLiteral("rendered");
    };
    request.slide = 4;
    EXPECT_TRUE(errorOf().startsWith(QStringLiteral("Cannot render slide 4 of")));
    EXPECT_TRUE(errorOf().endsWith(QStringLiteral("the presentation has 3 slides"))) << errorOf().toStdString();
    request.slide = 1;
    request.output = dir.filePath(QStringLiteral("missing/folder/x.png"));
    EXPECT_TRUE(errorOf().startsWith(QStringLiteral("Cannot write \"") + request.output)) << errorOf().toStdString();

    Host empty;
    request.output = dir.filePath(QStringLiteral("none.pdf"));
    request.format = RenderFormat::Pdf;
    request.slide = 0;
    EXPECT_THROW(app::renderSlides(empty.presentation(), request), app::RenderError);
    EXPECT_FALSE(QFile::exists(request.output));
}

} // namespace
} // namespace zov::arrange_test
