#include "cgif/reader/GraphTitle.h"

namespace zov::cgif {

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

GraphTitle SplitGraphTitle(const QString& title, const QString& paletteText) {
    const qsizetype star = title.indexOf(u'*');
    if (star < 0)
        return {TrimBlanks(paletteText), QStringLiteral("Graph")};
    return {TrimBlanks(title.mid(star + 1)), TrimBlanks(title.left(star))};
}

} // namespace zov::cgif
