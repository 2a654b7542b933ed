#pragma once
// Whether text written in the 2001 dialect reads back as the graphs it was written from. A graph
// read from ISO CGIF may hold what the 2001 dialect has no syntax for (a name without quotes such
// as Boston, a signed or decimal number): written as it stands, the text is either taken for ISO
// CGIF by an import that detects the dialect (which then reads the 2001 layout notes as comments)
// or refused by the 2001 reader. The export tells the user rather than leave such a file to be
// found out later.
#include <QString>
#include <optional>

namespace zov::cgif::exporter {

// Why a text would not read back whole, and whether writing the same slides as ISO CGIF would
// keep them (it does for labels the 2001 dialect has no syntax for, not for slides in an order
// that puts a coreference before its definition).
struct ReadBackFailure {
    QString reason;
    bool isoKeepsThem = true;
    std::optional<QString> stop; // the first message the 2001 reader shows for the text, if any
    // A label referred to before any definition: whether the text defines it further on.
    bool definedLater = false;
};

// Why `text` would not read back whole through an import that detects the dialect; nothing when
// it would. The reading draws nothing and takes no ids from the session's sequence.
std::optional<ReadBackFailure> ReadBackProblem(const QString& text);

// The same for text written in ISO CGIF, read back by the ISO reader: a message it shows, or a
// label it leaves unbound (a pentagon whose label no concept defines). Writing the other dialect
// keeps neither.
std::optional<ReadBackFailure> IsoReadBackProblem(const QString& text);

} // namespace zov::cgif::exporter
