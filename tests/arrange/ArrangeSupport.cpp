#include "ArrangeSupport.h"

#include "cgif/import/ImportCommand.h"
#include "drawing/NodeShape.h"

#include <gtest/gtest.h>
#include <algorithm>

namespace zov::arrange_test {

host::Slide SlideDrawer::addGraphSlide(const QString& name) {
    host::Slides slides = host_.presentation().Slides();
    host::Slide slide = slides.Add(slides.Count() + 1, host::LayoutBlank);
    host_.app.ActiveWindow().View().GotoSlide(slides.Count());
    slide.SetName(name);
    host::Shape title = slide.Shapes().AddLabel(host::TextOrientationHorizontal, 0, 0, 100, 45);
    title.SetAutoShapeType(19);
    title.SetName(name + QStringLiteral("/GRAPHIDX"));
    title.TextFrame().TextRange().SetText(name + QStringLiteral(" is Graph"));
    title.TextFrame().TextRange().Font().SetName(QStringLiteral("Arial"));
    title.TextFrame().TextRange().Font().SetSize(24);
    return slide;
}

host::Shape SlideDrawer::node(int type, const QString& label, std::int32_t color, float left, float top) {
    drawing::DrawingSettings look = host_.settings;
    if (type == 106) {
        look.nodeFontName = look.commentFontName;
        look.nodeFontSize = look.commentFontSize;
    }
    return drawing::CreateNodeShape(host_.app, look, host_.ids.NewNodeId(), type, label, left, top, color);
}

host::Shape SlideDrawer::arc(const host::Shape& from, const host::Shape& to) {
    host::Shape arc = host_.app.ActiveWindow().View().Slide().Shapes().AddConnector(1, 165, 156, 249, 96);
    arc.Line().SetEndArrowheadStyle(2);
    arc.ConnectorFormat().BeginConnect(from, 1);
    arc.ConnectorFormat().EndConnect(to, 1);
    arc.RerouteConnections();
    return arc;
}

host::Slide drawRandomGraph(Host& host, const QString& name, const RandomGraphShape& shape, std::uint32_t seed) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const QStringList types = {QStringLiteral("Cat"), QStringLiteral("Person:John"), QStringLiteral("Mat"),
                               QStringLiteral("Go"), QStringLiteral("City:Boston"), QStringLiteral("Bus"),
                               QStringLiteral("Proposition"), QStringLiteral("A")};
    SlideDrawer draw(host);
    host::Slide slide = draw.addGraphSlide(name);
    std::vector<host::Shape> concepts, all;
    for (int i = 0; i < std::max(shape.concepts, 1); ++i) {
        concepts.push_back(draw.conceptNode(types[pick(static_cast<int>(types.size()))] + QString::number(i)));
        all.push_back(concepts.back());
    }
    auto link = [&](const host::Shape& middle) {
        draw.arc(concepts[static_cast<std::size_t>(pick(static_cast<int>(concepts.size())))], middle);
        draw.arc(middle, concepts[static_cast<std::size_t>(pick(static_cast<int>(concepts.size())))]);
    };
    for (int i = 0; i < shape.relations; ++i) {
        host::Shape r = draw.relation(i % 3 == 0 ? QStringLiteral("Agnt") : QStringLiteral("Attr"));
        all.push_back(r);
        link(r);
    }
    for (int i = 0; i < shape.actors; ++i) {
        host::Shape a = draw.actor(QStringLiteral("Plus"));
        all.push_back(a);
        link(a);
    }
    for (int i = 0; i < shape.extraArcs; ++i)
        draw.arc(all[static_cast<std::size_t>(pick(static_cast<int>(all.size())))],
                 all[static_cast<std::size_t>(pick(static_cast<int>(all.size())))]);
    for (int i = 0; i < shape.loneConcepts; ++i)
        draw.conceptNode(QStringLiteral("Lone") + QString::number(i));
    for (int i = 0; i < shape.comments; ++i)
        draw.comment(QStringLiteral("A remark number ") + QString::number(i));
    return slide;
}

bool importCgifFile(Host& host, const QString& path, cgif::dialect::DialectChoice dialect) {
    cgif::SlideBuilder builder(host.app, host.settings, host.messages);
    cgif::CgifReader reader(host.ids, host.messages, builder);
    return cgif::importer::ImportCgifFile(reader, path, host.messages, {}, dialect) == cgif::importer::ImportOutcome::Read;
}

namespace {

QString textOf(const host::Shape& shape) {
    return shape.HasTextFrame() ? shape.TextFrame().TextRange().Text() : QString();
}

// The 1-based slide index of the shape, or -1.
int indexOf(const host::Slide& slide, const host::Shape& shape) {
    for (int i = 1; i <= slide.Shapes().Count(); ++i)
        if (slide.Shapes().Item(i) == shape)
            return i;
    return -1;
}

bool isGraphBox(int type) { return type == 1 || type == 51 || type == 9 || type == 4 || type == 63 || type == 106; }

QRectF boxOf(const host::Shape& s) { return QRectF(s.Left(), s.Top(), s.Width(), s.Height()); }

bool overlap(const QRectF& a, const QRectF& b) {
    constexpr double tolerance = 0.01;
    return a.adjusted(tolerance, tolerance, -tolerance, -tolerance).intersects(b.adjusted(tolerance, tolerance, -tolerance, -tolerance));
}

} // namespace

std::vector<ShapeFacts> factsOf(const host::Slide& slide) {
    std::vector<ShapeFacts> facts;
    for (int i = 1; i <= slide.Shapes().Count(); ++i) {
        const host::Shape s = slide.Shapes().Item(i);
        ShapeFacts f;
        f.name = s.Name();
        f.text = textOf(s);
        f.type = s.AutoShapeType();
        f.connector = s.Connector();
        f.width = s.Width();
        f.height = s.Height();
        if (f.connector) {
            const auto glue = s.ConnectorFormat();
            if (glue.BeginConnected())
                f.beginShape = indexOf(slide, glue.BeginConnectedShape());
            if (glue.EndConnected())
                f.endShape = indexOf(slide, glue.EndConnectedShape());
        }
        facts.push_back(f);
    }
    return facts;
}

void expectArranged(const host::Slide& slide, const std::vector<ShapeFacts>& before,
                    const editor::ArrangeResult& result, const QString& context) {
    SCOPED_TRACE(context.toStdString());
    const std::vector<ShapeFacts> after = factsOf(slide);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE("shape " + std::to_string(i + 1));
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_EQ(after[i].text, before[i].text);
        EXPECT_EQ(after[i].type, before[i].type);
        EXPECT_EQ(after[i].connector, before[i].connector);
        EXPECT_EQ(after[i].beginShape, before[i].beginShape);
        EXPECT_EQ(after[i].endShape, before[i].endShape);
        if (!after[i].connector) {
            EXPECT_FLOAT_EQ(after[i].width, before[i].width);
            EXPECT_FLOAT_EQ(after[i].height, before[i].height);
        }
    }

    const host::Shapes shapes = slide.Shapes();
    const double slideW = slide.data().presentation->slideWidth;
    const double slideH = slide.data().presentation->slideHeight;
    std::vector<QRectF> boxes;
    QRectF title;
    for (int i = 1; i <= shapes.Count(); ++i) {
        const host::Shape s = shapes.Item(i);
        if (s.Connector()) {
            // Glued ends sit on a connection site of their shape.
            const auto glue = s.ConnectorFormat();
            if (glue.BeginConnected()) {
                const QPointF site = glue.BeginConnectedShape().ConnectionSitePoint(glue.BeginConnectionSite());
                EXPECT_NEAR(s.data().begin.x(), site.x(), 0.01) << "connector " << i;
                EXPECT_NEAR(s.data().begin.y(), site.y(), 0.01) << "connector " << i;
            }
            if (glue.EndConnected()) {
                const QPointF site = glue.EndConnectedShape().ConnectionSitePoint(glue.EndConnectionSite());
                EXPECT_NEAR(s.data().end.x(), site.x(), 0.01) << "connector " << i;
                EXPECT_NEAR(s.data().end.y(), site.y(), 0.01) << "connector " << i;
            }
            continue;
        }
        if (i == 1 && s.AutoShapeType() == 19) {
            title = boxOf(s);
            EXPECT_FLOAT_EQ(s.Left(), 0) << "title label";
            EXPECT_FLOAT_EQ(s.Top(), 0) << "title label";
            continue;
        }
        if (!isGraphBox(s.AutoShapeType()))
            continue;
        const QRectF box = boxOf(s);
        if (result.fits) {
            EXPECT_GE(box.left(), 0) << "shape " << i << " " << textOf(s).toStdString();
            EXPECT_GE(box.top(), 0) << "shape " << i;
            EXPECT_LE(box.right(), slideW) << "shape " << i << " " << textOf(s).toStdString();
            EXPECT_LE(box.bottom(), slideH) << "shape " << i << " " << textOf(s).toStdString();
        }
        if (!title.isNull()) {
            EXPECT_FALSE(overlap(box, title)) << "shape " << i << " overlaps the title label";
        }
        boxes.push_back(box);
    }
    int overlaps = 0;
    for (std::size_t a = 0; a < boxes.size(); ++a)
        for (std::size_t b = a + 1; b < boxes.size(); ++b)
            if (overlap(boxes[a], boxes[b]))
                ++overlaps;
    EXPECT_EQ(overlaps, 0) << "pairs of graph shapes overlapping";
}

editor::ArrangeResult arrangeAndCheck(const host::Slide& slide, const QString& context) {
    const std::vector<ShapeFacts> before = factsOf(slide);
    const editor::ArrangeResult result = editor::ArrangeSlide(slide);
    expectArranged(slide, before, result, context);
    return result;
}

} // namespace zov::arrange_test
