#pragma once
// The data behind the host's handles. The public classes (Shape, Slide, Presentation, ...) are
// thin handles onto these records; the .pptx reader and writer fill and read them directly.
// Everything here is plain data: behaviour lives in the handle classes and in the geometry code.
#include "host/model/SlideNames.h"

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace zov::host {

struct SlideData;
struct PresentationData;
struct ShapeData;
struct WindowData;
class TextMeasurer;

enum class ShapeKind {
    AutoShape, // p:sp with a preset geometry we model
    TextBox,   // p:sp made by AddLabel (txBox), possibly re-typed to the no-symbol marker
    Connector, // p:cxnSp
    Foreign,   // anything else on the slide: pictures, groups, tables, unknown geometries
};

// One glued end of a connector: the shape and the 1-based connection site.
struct GlueEnd {
    std::weak_ptr<ShapeData> shape;
    int site = 0;
    bool isGlued() const { return site > 0 && !shape.expired(); }
};

struct ShapeData {
    SlideData* slide = nullptr; // owner; cleared when the shape is deleted
    ShapeKind kind = ShapeKind::AutoShape;
    int autoShapeType = 1;  // AutoShapeType as the object model reports it
    QString preset;         // preset geometry name ("rect", "ellipse", ...), kept for unknown ones
    QString name;

    // Geometry in points from the slide's top-left corner.
    float left = 0, top = 0, width = 0, height = 0;
    float rotation = 0;     // degrees clockwise; read from files, never set by this program
    // Mirrored left to right / top to bottom within the box (before the rotation); read from
    // files, never set by this program. Connectors carry theirs in their end points instead.
    bool flipH = false, flipV = false;

    // Fill and line. Colours are 0x00BBGGRR.
    bool fillVisible = false;
    bool fillSolid = false;
    std::uint32_t fillRgb = 0xFFFFFF;
    bool lineVisible = true;
    std::uint32_t lineRgb = 0;
    float lineWeight = 0.75f;
    int beginArrowhead = 1; // ArrowheadNone
    int endArrowhead = 1;

    // Text frame.
    bool hasTextFrame = true;
    QStringList paragraphs;  // at least one (possibly empty) paragraph when there is text
    QString fontName = QStringLiteral("Arial");
    float fontSize = 18;
    // The text's colour (0x00BBGGRR) when the shape names one: its first run's, else its list
    // style's, else its shape style's font colour. Unset: drawn in the default colour (black).
    bool textColourSet = false;
    std::uint32_t textRgb = 0;
    int autoSize = 0;        // AutoSizeMode
    bool wordWrap = true;
    // Text frame margins in points (OOXML defaults: 0.1 in left/right, 0.05 in top/bottom).
    float marginLeft = 7.2f, marginRight = 7.2f, marginTop = 3.6f, marginBottom = 3.6f;

    // Connector end points (points) and glue.
    QPointF begin, end;
    GlueEnd beginGlue, endGlue;
    // On a shape: the connectors glued to it, so that moving it touches only those. The list may
    // hold more than that (a connector since unglued, glued elsewhere, deleted, or listed twice):
    // users check each entry's glue, and glueConnectorEnd drops the stale entries now and then.
    // Every connector glued to the shape is in it; glue is only set through glueConnectorEnd.
    std::vector<std::weak_ptr<ShapeData>> gluedConnectors;
    std::size_t gluedConnectorsTidied = 0; // list length after the last tidying

    // Persistence: the shape's id in its slide part and its original XML element when it was
    // read from a file. A shape whose `modified` is false is written back byte for byte.
    std::uint32_t fileId = 0;
    QByteArray sourceXml;
    // After a save `sourceXml` is a view into the slide part it was written in, not a copy:
    // this holds that part, so that the view stays valid as long as the record (or a copy).
    QByteArray sourceXmlOwner;
    bool modified = true;
    // Moves on with every write to the record (Touch.h), so that a copy taken at the same
    // version holds the same data: the undo history keeps one copy of a record for all the
    // states in which it did not change.
    std::uint64_t version = 0;

    QString text() const { return paragraphs.join(QStringLiteral("\r\n")); }
};

// Shared ownership lets a lookup by name hand out a handle without searching the slide list.
struct SlideData : std::enable_shared_from_this<SlideData> {
    SlideData() = default;
    SlideData(const SlideData&) = default;
    SlideData(SlideData&&) = default;
    SlideData& operator=(const SlideData&) = default;
    SlideData& operator=(SlideData&&) = default;
    // A shape that outlives its slide (someone still holds it) must not point at a dead slide:
    // its handles then report it as deleted.
    ~SlideData()
    {
        for (const auto& s : shapes)
            if (s && s->slide == this)
                s->slide = nullptr;
    }

    PresentationData* presentation = nullptr;
    std::uint32_t slideId = 0; // p:sldId/@id, stable for the life of the presentation
    QString name;              // empty = no stored name
    std::vector<std::shared_ptr<ShapeData>> shapes; // back to front (creation order)

    // Persistence: part name, original XML of the slide part and of its relationships.
    QString partName;
    QByteArray sourceXml;
    QByteArray relsXml;
    bool modified = true;
    std::uint64_t version = 0; // as ShapeData::version; a write to one of its shapes moves it too
    // The package that `partName` and `relsXml` belong to (the one read, or the one last saved),
    // so that a slide brought back after a save that dropped it (undo) finds its pictures, notes
    // and other related parts again. Owned by the .pptx layer.
    std::shared_ptr<void> sourcePackage;
};

struct PresentationData {
    float slideWidth = 720, slideHeight = 540;
    std::vector<std::shared_ptr<SlideData>> slides;
    SlideNameIndex slideNames; // kept in step by the slide list; dropped when it is replaced whole
    // The highest slide id handed out so far (0: not known yet, taken from the slides when first
    // needed). It never goes down, so a slide that undo brings back never shares its id.
    std::uint32_t highestSlideId = 0;
    QString fullName; // path of the file it was opened from or saved to; empty when new
    bool saved = true;
    // Bumped by every change made through the handles, so that views and the undo history can
    // tell that the document changed without being told what.
    std::uint64_t revision = 0;
    // The document window that shows this presentation (a text range's Select sets its selection).
    std::weak_ptr<WindowData> window;
    // Formatting that Shape::SetShapesDefaultProperties made the default for shapes added next
    // (fill, line and font); none until it is first called.
    std::shared_ptr<const ShapeData> shapeDefaults;
    // Font metrics used by auto-size, made on first use and kept for the presentation's life.
    std::shared_ptr<TextMeasurer> textMeasurer;

    // Persistence: every part of the package read, by part name, for parts this model does not
    // rewrite (masters, layouts, themes, media, notes, ...). Owned by the .pptx layer.
    std::shared_ptr<void> package;
};

} // namespace zov::host
