#pragma once
// Helpers shared by the .pptx tests: a presentation holding every graph shape, archives built
// from hand-written parts, unpacking, and schema validation with xmllint.
#include "host/Application.h"
#include "host/pptx/PptxFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace zov::test {

using PartMap = std::map<QString, QByteArray>;

// The bytes of a file; empty when it cannot be read.
QByteArray readFile(const QString& path);
// The full paths of the .pptx files in the shared corpus, by name; empty where it is absent.
QStringList corpusFiles();

// Every part of a .pptx file by name.
PartMap unzipParts(const QByteArray& pptx);
// A zip archive of the given parts, in the given order.
QByteArray zipParts(const std::vector<std::pair<QString, QByteArray>>& parts);
QByteArray zipParts(const PartMap& parts);

// The parts of a valid one-slide presentation whose slide part holds `spTreeShapes` (XML of
// p:sp / p:cxnSp elements with the prefixes a, p, r) and, when `slideName` is not null, that
// cSld name. Tests change single parts of it to make the cases they need.
PartMap minimalDeck(const QString& spTreeShapes, const char* slideName = "S1");

// Shape elements as PowerPoint writes them, for minimalDeck: a rectangle coloured by its style
// with text in two runs and an extension (id 4), a text box "G7 is Graph" (5), an oval without
// text (6), a rotated star with a gradient (7), a free-form shape (8), a group (9, holding 10),
// and a connector glued from the rectangle's site 4 to the oval's site 1 (11).
QString richShapes();

// Validates each part against the schema that describes it (PresentationML, DrawingML, package
// content types and relationships, extended properties; core properties are checked for
// well-formedness only). Returns one line per failure; empty when everything is valid.
QStringList schemaProblems(const PartMap& parts);

// Whether xmllint and the schemas (beside the project, in the shared folder) are at hand.
bool schemasAvailable();

// A presentation with two named graph slides: a title label (no-symbol marker), one shape of
// every node kind, a comment, non-ASCII text, and glued connectors with arrowheads.
host::Presentation makeGraphDeck(host::Application& app);

// The slide's shapes by name (the first with each name).
host::Shape shapeNamed(const host::Slide& slide, const QString& name);

bool sofficeAvailable();

} // namespace zov::test
