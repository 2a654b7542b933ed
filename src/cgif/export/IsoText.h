#pragma once
// Text forms of ISO CGIF: names as the dialect takes them, comments, and the notes in comments
// that carry what the dialect has no syntax for (node positions, graph names and types).
#include <QString>

namespace zov::cgif::exporter {

// A name or referent as ISO CGIF writes it: an identifier (a letter or "_", then letters,
// digits, "_" and "-"), a numeral, a 'quoted string', a "quoted name" and the referent forms
// both dialects share (@every, #123, {a, b} without blanks) stay as they are; any other text is
// written as a quoted name, with "\" and '"' escaped by a "\".
QString IsoName(const QString& text);
// A concept's referent: as IsoName, and several such names separated by single blanks
// ("John Mary Imad") stay as they are too.
QString IsoReferent(const QString& text);
// A type label: an identifier stays as it is, any other text becomes a quoted name.
QString IsoTypeName(const QString& text);
// A comment "/* text */"; a "*/" inside the text is written "* /" so the comment ends where it should.
QString IsoComment(const QString& text);

// The node kinds a layout note names.
enum class NoteKind { Concept, Relation, Actor };
// Where a node stands on its slide (its left and top), as the leading comment of the node, in
// the form CharGer leaves: /* <concept><layout><rectangle x="LEFT" y="TOP"/></layout></concept> */
// ("relation", "actor" for the other kinds).
QString LayoutNote(NoteKind kind, float left, float top);
// The slide a graph is drawn on, as the first element of the graph:
// /* <graph name="NAME" type="TYPE"/> */ (XML escapes in the two values). A nested graph's note
// also says where the graph's pentagon stands on the slide of the graph that holds it:
// /* <graph name="NAME" type="TYPE"><layout><rectangle .../></layout></graph> */
QString GraphNote(const QString& name, const QString& type);
QString GraphNote(const QString& name, const QString& type, float left, float top);

} // namespace zov::cgif::exporter
