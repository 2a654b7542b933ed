#pragma once
// Test helpers: graph slides drawn the way the editor and the import draw them (title label,
// node shapes from CreateNodeShape, glued connectors), and a text stream that keeps what is
// written so the tests can compare exact bytes.
#include "drawing/DrawingSettings.h"
#include "drawing/GraphEncoding.h"
#include "drawing/NodeShape.h"
#include "host/Application.h"
#include "host/Presentation.h"
#include "platform/TextStream.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <vector>

namespace zov::test {

class MemoryStream : public platform::TextStream {
public:
    QString ReadLine() override { return {}; }
    bool AtEndOfStream() const override { return true; }
    void Write(const QString& text) override { text_ += text; }
    void WriteLine(const QString& text) override { text_ += text + QStringLiteral("\r\n"); }
    void Close() override { ++closed_; }

    const QString& text() const { return text_; }
    int closeCount() const { return closed_; }

private:
    QString text_;
    int closed_ = 0;
};

class GraphSlides {
public:
    GraphSlides() : presentation_(app_.Presentations().Add()) {}

    host::Application& app() { return app_; }
    host::Presentation presentation() const { return presentation_; }

    // A new last slide named `name`, shown in the window, whose first shape is the title label
    // "name is type" (no title label when `type` is null).
    host::Slide addSlide(const QString& name, const char* type = "Graph") {
        const int index = presentation_.Slides().Count() + 1;
        host::Slide slide = presentation_.Slides().Add(index, host::LayoutBlank);
        slide.SetName(name);
        app_.ActiveWindow().View().GotoSlide(index);
        if (type != nullptr) {
            host::Shape title = slide.Shapes().AddLabel(host::TextOrientationHorizontal, 0, 0, 100, 45);
            title.SetAutoShapeType(drawing::TitleLabelShapeType);
            title.SetName(name + QStringLiteral("/TITLEIDX"));
            title.TextFrame().TextRange().SetText(name + QStringLiteral(" is ") + QString::fromUtf8(type));
        }
        return slide;
    }

    host::Shape node(int type, const QString& name, const QString& label, float left = 0, float top = 0) {
        return drawing::CreateNodeShape(app_, settings_, name, type, label, left, top, 0x00FFFFFF);
    }
    // A shape of a kind the graph encoding does not know (a picture, a group, a geometry the
    // host does not model), as a file from another program brings it.
    host::Shape foreign(const QString& name, const QString& label, float left = 0, float top = 0) {
        host::Shape shape = node(drawing::ConceptShapeType, name, label, left, top);
        shape.data().kind = host::ShapeKind::Foreign;
        shape.data().autoShapeType = host::ShapeNotPrimitive;
        return shape;
    }

    // Moves a shape to the end of its slide's shape order, as the user's "bring to front" does.
    static void bringToFront(const host::Shape& shape) {
        const std::shared_ptr<host::ShapeData> data = shape.lock();
        auto& shapes = shape.Parent().data().shapes;
        std::erase(shapes, data);
        shapes.push_back(data);
    }

    // A connector on the shown slide, glued from `from` to `to` (either end may be left loose).
    host::Shape arc(const host::Shape& from, const host::Shape& to) {
        host::Shape connector = shownSlide().Shapes().AddConnector(
            host::ConnectorStraight, drawing::ArcInitialBeginX, drawing::ArcInitialBeginY, drawing::ArcInitialEndX,
            drawing::ArcInitialEndY);
        connector.Line().SetEndArrowheadStyle(drawing::ArcArrowhead);
        if (!from.IsNothing())
            connector.ConnectorFormat().BeginConnect(from, drawing::ArcGlueSite);
        if (!to.IsNothing())
            connector.ConnectorFormat().EndConnect(to, drawing::ArcGlueSite);
        return connector;
    }

    host::Slide shownSlide() { return app_.ActiveWindow().View().Slide(); }

    // Draws on the shown slide, in order: "K|NAME|TEXT|LEFT|TOP" adds a node (K: c concept,
    // p pentagon, r relation, a actor, n comment, m actor mark, f foreign; the position may be
    // left out), "FROM>TO" glues
    // an arc between nodes drawn before, named by their text ("-" leaves that end loose,
    // "title" is the title label), "^TEXT" brings a node to the front. Returns the nodes by text.
    std::map<QString, host::Shape> draw(const QStringList& items) {
        std::map<QString, host::Shape> drawn;
        const auto shape = [&](const QString& text) {
            return text == u'-' ? host::Shape() : text == QStringLiteral("title") ? shownSlide().Shapes().Item(1) : drawn.at(text);
        };
        for (const QString& item : items) {
            if (item.startsWith(u'^')) {
                bringToFront(drawn.at(item.mid(1)));
                continue;
            }
            const QStringList parts = item.split(u'|');
            if (parts.size() == 1) {
                arc(shape(parts[0].section(u'>', 0, 0)), shape(parts[0].section(u'>', 1)));
                continue;
            }
            static const std::map<QString, int> types = {{"c", drawing::ConceptShapeType},
                                                         {"p", drawing::CoreferentConceptShapeType},
                                                         {"r", drawing::RelationShapeType},
                                                         {"a", drawing::ActorShapeType},
                                                         {"n", drawing::CommentShapeType},
                                                         {"m", drawing::ActorMarkShapeType}};
            const float left = parts.value(3).toFloat(), top = parts.value(4).toFloat();
            drawn[parts[2]] = parts[0] == u'f' ? foreign(parts[1], parts[2], left, top)
                                                : node(types.at(parts[0]), parts[1], parts[2], left, top);
        }
        return drawn;
    }

    // Draws the slides a case file describes: slides separated by " || ", each "NAME" or
    // "NAME:TYPE" ("-": no title label) followed by "; "-separated items as `draw` takes them.
    void drawSlides(const QString& description) {
        for (const QString& slide : description.split(QStringLiteral(" || "))) {
            QStringList items = slide.split(QStringLiteral("; "));
            const QString head = items.takeFirst();
            const QByteArray type = head.contains(u':') ? head.section(u':', 1).toUtf8() : QByteArray("Graph");
            addSlide(head.section(u':', 0, 0), type == "-" ? nullptr : type.constData());
            draw(items);
        }
    }

private:
    host::Application app_;
    host::Presentation presentation_;
    drawing::DrawingSettings settings_;
};

} // namespace zov::test
