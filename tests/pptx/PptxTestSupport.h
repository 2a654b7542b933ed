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
// cSld name; with a `variant` its parts added or changed (tests/cases/pptx/minimal-deck.case).
// Tests change single parts of it to make the cases they need.
PartMap minimalDeck(const QString& spTreeShapes, const char* slideName = "S1", const QString& variant = {});

// Shape elements as PowerPoint writes them, for minimalDeck: every kind of shape, glued
// (tests/cases/pptx/minimal-deck.case says which).
QString richShapes();

// A deck made by steps joined by " && ", starting from minimalDeck(richShapes()):
//   slide NAME SHAPES     start again from the minimal deck with these shapes, its slide named NAME
//                         ("-": no name)
//   bytes TEXT            the file is TEXT (escapes as bytes), not a deck (a last step)
//   cut N                 the deck's archive cut to N bytes (N < 0: all but the last -N; a last step)
//   without PART          the part left out
//   set PART TEXT         the part's content is TEXT (a new part where there was none)
//   replace PART A => B   A replaced with B in the part (PART * : in every part)
QByteArray deckFromSteps(const QString& steps);

// Validates each part against the schema that describes it (PresentationML, DrawingML, package
// content types and relationships, extended properties; core properties are checked for
// well-formedness only). Returns one line per failure; empty when everything is valid.
QStringList schemaProblems(const PartMap& parts);

// Whether xmllint and the schemas (beside the project, in the shared folder) are at hand.
bool schemasAvailable();

// A presentation with two named graph slides: a title label (no-symbol marker), one shape of
// every node kind, a comment, non-ASCII text, and glued connectors with arrowheads.
host::Presentation makeGraphDeck(host::Application& app);

// One line of everything the reader keeps of a shape (tests/cases/pptx/reading.case says how):
// name, type, kind, box, fill and line; its text, font, colour, fit and wrap; a connector's ends
// and glue.
QString describeShape(const host::Shape& s);

bool sofficeAvailable();

} // namespace zov::test
