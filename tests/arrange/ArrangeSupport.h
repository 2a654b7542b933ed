#pragma once
// Helpers for the arrange tests: drawing graph slides through the host, importing CGIF the way
// the Import command does, recording what a slide holds before arranging, and checking what
// must hold after it.
#include "cgif/dialect/Dialect.h"
#include "cgif/import/GraphBuilder.h"
#include "cgif/reader/CgifReader.h"
#include "drawing/DrawingSettings.h"
#include "drawing/NodeId.h"
#include "editor/arrange/Arrange.h"
#include "host/Application.h"
#include "platform/fake/FakeMessageBoxes.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <random>
#include <vector>

namespace zov::arrange_test {

// A host with one presentation in its active window.
struct Host {
    Host() { app.Presentations().Add(); }
    host::Presentation presentation() const { return app.ActivePresentation(); }
    host::Application app;
    drawing::DrawingSettings settings;
    platform::FakeMessageBoxes messages;
    drawing::NodeIdGenerator ids{11};
};

// Draws graph slides shape by shape, the way the editor's commands draw them.
class SlideDrawer {
public:
    explicit SlideDrawer(Host& host) : host_(host) {}

    // A new last slide named `name` with its title label, shown in the active window.
    host::Slide addGraphSlide(const QString& name);
    host::Shape conceptNode(const QString& label) { return node(1, label, host_.settings.conceptColor); }
    host::Shape relation(const QString& label) { return node(9, label, host_.settings.relationColor); }
    host::Shape actor(const QString& label) { return node(4, label, host_.settings.actorColor); }
    host::Shape comment(const QString& text) { return node(106, text, host_.settings.commentColor); }
    host::Shape node(int type, const QString& label, std::int32_t color, float left = 0, float top = 0);
    host::Shape arc(const host::Shape& from, const host::Shape& to);

private:
    Host& host_;
};

// Draws a random conceptual graph: concepts joined through relations and actors, some lone
// concepts and comments. The same seed draws the same slide.
struct RandomGraphShape {
    int concepts = 6;
    int relations = 4;
    int actors = 0;
    int loneConcepts = 0;
    int comments = 0;
    int extraArcs = 0; // arcs between random nodes, loops and repeats included
};
host::Slide drawRandomGraph(Host& host, const QString& name, const RandomGraphShape& shape, std::uint32_t seed);

// Reads a CGIF file into new slides with the slide builder, in the dialect chosen (by default
// the file's own). True when the whole file was read.
bool importCgifFile(Host& host, const QString& path,
                    cgif::dialect::DialectChoice dialect = cgif::dialect::DialectChoice::Auto);

// What arranging must not change: one record per shape, in slide order.
struct ShapeFacts {
    QString name;
    QString text;
    int type = 0;
    bool connector = false;
    float width = 0, height = 0;
    int beginShape = -1, endShape = -1; // slide index (1-based) of the glued shapes, -1 loose
};
std::vector<ShapeFacts> factsOf(const host::Slide& slide);

// Every invariant of an arranged slide, reported as gtest failures with `context` in them:
// facts unchanged, the title label at the top-left corner, no two node or comment shapes
// overlapping each other or the title, glued ends on their shapes' sites, and — when the
// arrangement reports that it fits — every graph shape inside the slide.
void expectArranged(const host::Slide& slide, const std::vector<ShapeFacts>& before,
                    const editor::ArrangeResult& result, const QString& context);

// Arranges and checks in one step; returns the result.
editor::ArrangeResult arrangeAndCheck(const host::Slide& slide, const QString& context);

} // namespace zov::arrange_test
