#pragma once
// Character classes of the CGIF reader. Only the ASCII letters and digits count; every other
// character, accented letters and characters beyond Latin-1 included, belongs to no class.
#include <QChar>

namespace zov::cgif {

inline bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }
inline bool IsLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
inline bool IsLetterOrDigit(QChar c) { return IsLetter(c) || IsDigit(c); }
inline bool IsIdentifierStart(QChar c) { return IsLetter(c) || c == u'_'; }
inline bool IsIdentifierPart(QChar c) { return IsLetterOrDigit(c) || c == u'_'; }

} // namespace zov::cgif
