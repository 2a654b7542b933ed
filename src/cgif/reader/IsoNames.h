#pragma once
// The characters of a name in ISO CGIF, for its reader and its writer alike: a letter of any
// script (beyond the first plane too, as a surrogate pair) or "_" first, then letters, digits,
// "_", "-" and combining marks (a letter written as a base and its accent).
#include <QChar>
#include <QStringView>

namespace zov::cgif {

// The character at `at`: a surrogate pair as the one character it stands for, else the unit.
inline char32_t CodePointAt(QStringView text, qsizetype at) {
    const char16_t unit = text[at].unicode();
    if (QChar::isHighSurrogate(unit) && at + 1 < text.size() && QChar::isLowSurrogate(text[at + 1].unicode()))
        return QChar::surrogateToUcs4(unit, text[at + 1].unicode());
    return unit;
}
inline qsizetype UnitsOf(char32_t c) { return c > 0xFFFF ? 2 : 1; }

inline bool StartsIsoName(char32_t c) { return QChar::isLetter(c) || c == U'_'; }
inline bool ContinuesIsoName(char32_t c) {
    return QChar::isLetterOrNumber(c) || c == U'_' || c == U'-' || QChar::isMark(c);
}

} // namespace zov::cgif
