#pragma once
// Shapes on the clipboard: the desktop's Cut, Copy, Paste and Duplicate carry the chosen shapes
// of a slide, with the arcs between them, in a private format of this program (MIME type
// ShapesMimeType), so that they paste within a slide, onto another slide, or into the window
// of another running ZOVEdit.
//
//   const ShapeSet copied = CollectShapes(canvas.selection());
//   QMimeData* data = ShapesToMime(copied);        // for QClipboard
//   ...
//   if (auto set = ShapesFromMime(*clipboard->mimeData()))
//       PasteShapes(*set, slideInView, newNodeId); // the copies, glued as the originals were
#include "host/Slide.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QMimeData;

namespace zov::app {

inline const QString ShapesMimeType = QStringLiteral("application/x-zovedit-shapes");

// Copies of shape records, each connector end glued to another record of the set given by its
// index (-1: loose).
struct ShapeSet {
    struct Glue {
        int begin = -1, beginSite = 0;
        int end = -1, endSite = 0;
    };
    std::vector<host::ShapeData> shapes; // slide order, back to front
    std::vector<Glue> glue;              // one per shape; only connectors use it
    bool empty() const { return shapes.empty(); }
};

// The chosen shapes of one slide as a set, in slide order: every chosen shape except pictures
// and other shapes this program does not draw; every connector glued at both ends to chosen
// shapes, chosen or not; a chosen connector only when none of its glued ends leaves the set
// (an arc is never copied half glued).
ShapeSet CollectShapes(const std::vector<host::Shape>& chosen);

QByteArray SerializeShapes(const ShapeSet& set);
// Nothing when the bytes are not a shape set this program wrote.
std::optional<ShapeSet> DeserializeShapes(const QByteArray& bytes);

// Mime data with the set in the private format and the shapes' texts as plain text.
QMimeData* ShapesToMime(const ShapeSet& set);
std::optional<ShapeSet> ShapesFromMime(const QMimeData& data);

// Adds copies of the set's shapes on top of `slide` and glues the copied connectors to the
// copied shapes as the originals were. The copies keep their place, unless shapes of the slide
// already stand there (pasting onto the slide copied from, or pasting again): then they move
// 12 points right and down, as often as needed. A node shape's id (the part of its name after
// "/", eight capital letters) is replaced by `newNodeId()`, its coreference label kept.
// Returns the copies in slide order.
std::vector<host::Shape> PasteShapes(const ShapeSet& set, host::Slide slide, const std::function<QString()>& newNodeId);

// True for a name part of the form of node ids: eight letters A to Z.
bool IsNodeId(const QString& text);

} // namespace zov::app
