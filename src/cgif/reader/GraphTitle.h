#pragma once
// A graph title "type*name" split at its first "*". Without a "*" the name is whatever the
// palette's text box holds and the type is "Graph". Only blanks are trimmed, never tabs.
#include <QString>

namespace zov::cgif {

struct GraphTitle {
    QString Name;
    QString Type;
};

GraphTitle SplitGraphTitle(const QString& title, const QString& paletteText);

// Removes leading and trailing blanks (code 32) only.
QString TrimBlanks(const QString& text);

} // namespace zov::cgif
