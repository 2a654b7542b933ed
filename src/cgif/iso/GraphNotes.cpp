#include "cgif/iso/GraphNotes.h"

#include "cgif/iso/NoteText.h"

namespace zov::cgif::iso {

namespace {

QString xmlText(QStringView text) {
    static const QString graph = QStringLiteral("Graph"); // the usual type, shared
    if (text == graph)
        return graph;
    QString value = text.toString();
    if (!value.contains(u'&'))
        return value;
    value.replace(QLatin1String("&quot;"), QLatin1String("\""));
    value.replace(QLatin1String("&#39;"), QLatin1String("'"));
    value.replace(QLatin1String("&#47;"), QLatin1String("/"));
    value.replace(QLatin1String("&lt;"), QLatin1String("<"));
    value.replace(QLatin1String("&gt;"), QLatin1String(">"));
    value.replace(QLatin1String("&amp;"), QLatin1String("&")); // last: "&amp;lt;" is "&lt;"
    return value;
}

// At `at`: name="text" with no '"' in the text; the text, and `at` moved past the quote.
bool ReadAttribute(QStringView comment, qsizetype& at, QStringView name, QStringView& value) {
    qsizetype i = at;
    if (!ReadNoteWord(comment, i, name))
        return false;
    // Found by hand: the values are a few characters, shorter than a search's setting up.
    qsizetype end = i;
    while (end < comment.size() && comment[end] != u'"')
        ++end;
    if (end == comment.size())
        return false;
    value = comment.mid(i, end - i);
    at = end + 1;
    return true;
}

} // namespace

// <graph, blanks, name="N", blanks, type="T", blanks, then "/>" or ">"; N not empty.
GraphNote ReadGraphNote(QStringView comment) {
    qsizetype at = 0;
    if (!ReadNoteWord(comment, at, u"<graph"))
        return GraphNote{};
    QStringView name;
    QStringView type;
    qsizetype next = SkipNoteBlanks(comment, at);
    if (next == at || !ReadAttribute(comment, next, u"name=\"", name) || name.isEmpty())
        return GraphNote{};
    at = SkipNoteBlanks(comment, next);
    if (at == next || !ReadAttribute(comment, at, u"type=\"", type))
        return GraphNote{};
    at = SkipNoteBlanks(comment, at);
    if (!ReadNoteWord(comment, at, u"/>") && !ReadNoteWord(comment, at, u">"))
        return GraphNote{};
    GraphNote note{true, xmlText(name), xmlText(type), false, 0, 0};
    // Searched from the end of the tag on: no rectangle can begin inside the name or type, whose
    // closing quotes would cut it off.
    if (NotePosition place; FindRectangle(comment, NoteNumber::WithExponent, place, at)) {
        note.x = place.x;
        note.y = place.y;
        note.hasPosition = place.converts;
    }
    return note;
}

} // namespace zov::cgif::iso
