#pragma once
// The reader of ISO CGIF (the dialect of ISO/IEC 24707:2007 that other conceptual-graph tools
// write). It reads the whole text once, front to back, and lands every graph in the tables of a
// CgifReader exactly as the 2001 dialect's reader does, handing each to the CgifReader's sink:
// a nested graph the moment it closes, a top-level graph when it ends. So both dialects give the
// same slides: the same node kinds and labels, nested graphs on slides of their own, coreference
// across slides as pentagons.
//
// What it reads, beyond the ISO grammar's concepts, relations, actors, negations and contexts:
// the 2001 forms that files written for either dialect share (concepts as arguments,
// "<Actor … | …>", ";…;" comments between elements, graphs separated by "."), and the layout
// notes of LayoutNotes.h. How names are bound:
//   - a defining label "*x" names its concept; a bound label "?x" as an argument stands for the
//     concept that defines x in the innermost context that defines it: the definition nearest
//     before the argument when x is defined again and again, as 2001 files do, else the first
//     after it (the defining concept may come later in the same context);
//   - a constant as an argument ("(Agnt ?x John)") stands for the concept whose referent holds it
//     ("[Person: John]"), in this context or an enclosing one; a constant that no concept holds
//     gets a concept of its own, "[: John]", in the context of the relation;
//   - a bound label in a concept ("[Woman ?x]") binds as in the 2001 dialect (a pentagon where
//     the defining concept is on another slide).
// A nested graph with arcs, and the graph of every negation, is drawn on a slide of its own; a
// context without arcs stays on its enclosing slide, as in the 2001 dialect.
#include "cgif/iso/ReadingPosition.h"

#include <QString>

namespace zov::platform {
class TextStream;
}

namespace zov::cgif {
class CgifReader;
}

namespace zov::cgif::iso {

// Reads every graph of `stream` (ISO CGIF) into `reader`'s tables and hands each to its sink.
// True when the whole input was read; false when an error stopped it (its one message was
// shown, titled "Error"; the graphs handed on before stay) or the keep-reading check ended it
// between two graphs. The stream stays open. The lines are taken from the stream first, all of
// them; `position` is told of each line as the reading reaches it.
bool ReadIsoCgifStream(CgifReader& reader, platform::TextStream& stream, const ReadingPosition& position = {});

// The same over text already in memory.
bool ReadIsoCgifText(CgifReader& reader, QString text);

} // namespace zov::cgif::iso
