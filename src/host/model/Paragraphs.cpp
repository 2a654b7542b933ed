#include "host/model/Paragraphs.h"

namespace zov::host {

QStringList splitParagraphs(const QString& text)
{
    QStringList paragraphs;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        paragraphs.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    paragraphs.append(text.mid(start));
    return paragraphs;
}

} // namespace zov::host
