#include "cgif/reader/GraphTitle.h"

namespace zov::cgif {

namespace {
QStringView TrimmedView(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}
} // namespace

QString TrimBlanks(const QString& text) {
    const QStringView trimmed = TrimmedView(text);
    return trimmed.size() == text.size() ? text : trimmed.toString();
}

GraphTitle SplitGraphTitle(const QString& title, const QString& paletteText) {
    const qsizetype star = title.indexOf(u'*');
    if (star < 0)
        return {TrimBlanks(paletteText), QStringLiteral("Graph")};
    const QStringView whole(title);
    return {TrimmedView(whole.mid(star + 1)).toString(), TrimmedView(whole.left(star)).toString()};
}

} // namespace zov::cgif
