#pragma once
// Text of a file quoted in a message, so that a character nobody can see in it is named: where
// a reading stopped at a tab or a no-break space, the quote would otherwise start with what
// looks like valid CGIF.
#include <QString>
#include <QStringView>

namespace zov::cgif {

// `text` cut at `shown` characters (with "..." after it), each invisible character in it named:
// "(a tab)", "(a no-break space)", "(a byte order mark)", "(a line break)", other spaces and
// formatting characters as "(U+XXXX)".
QString ShownText(QStringView text, qsizetype shown = 40);

} // namespace zov::cgif
