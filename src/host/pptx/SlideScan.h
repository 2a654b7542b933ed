#pragma once
// One pass over a slide part that finds what the writer splices (the p:cSld start tag, the run
// of shape elements in p:spTree, the namespace declarations in force there) and, when asked,
// reads every shape element into the model.
#include "host/pptx/ShapeReader.h"

#include <QString>
#include <utility>
#include <vector>

namespace zov::host::pptx {

struct ScannedShape {
    ParsedShape parsed;
    qsizetype begin = 0, end = 0; // the element's span in SlideScan::text
};

struct SlideScan {
    QString text;                                   // the decoded part
    std::vector<std::pair<QString, QString>> scope; // namespace declarations in force inside p:spTree
    bool hasName = false;
    QString name;                                   // p:cSld/@name
    qsizetype cSldTagBegin = -1, cSldTagEnd = -1;   // span of the p:cSld start tag
    // Where the shapes go: the span from the first shape element to the end of the last one, or
    // an empty span at the insertion point when the tree has no shapes. -1 when the part has no
    // usable shape tree (the writer then writes the slide afresh).
    qsizetype shapesBegin = -1, shapesEnd = -1;
    bool spTreeSelfClosing = false; // "<p:spTree/>": the writer has to open it
    QString spTreeQName;
    std::uint32_t maxId = 0; // largest cNvPr id, or id glue names, anywhere in the part
    std::vector<ScannedShape> shapes; // filled only when reading shapes
};

// Throws PptxError naming partName when the part is not well-formed XML or not a slide.
SlideScan scanSlide(const QByteArray& xml, const QString& partName, const TextDefaults* readShapesWith);
// The same, read only with the full XML reader (scanSlide uses a quicker one where it can; this
// is what its results must equal).
SlideScan scanSlideFully(const QByteArray& xml, const QString& partName, const TextDefaults* readShapesWith);

// A slide part cut around its shapes, so that a changed slide is put together again without
// reading it: head + cSldTag + middle + the shape elements + tail. Kept with the package for
// each slide part, valid for exactly the bytes in `source`.
struct SlidePieces {
    QByteArray source;
    QByteArray head;   // everything before the p:cSld start tag
    QString cSldTag;   // that start tag as written
    QByteArray middle; // from the end of that tag to where the shapes begin
    QByteArray tail;   // everything after the last shape
    std::vector<std::pair<QString, QString>> scope; // namespace declarations in force at the shapes
    bool hasName = false;
    QString name;
    std::uint32_t maxId = 0;
};

// The pieces of a scanned part; empty (no source) when it has no usable p:cSld and p:spTree.
SlidePieces piecesOf(const SlideScan& scan, const QByteArray& source);

} // namespace zov::host::pptx
