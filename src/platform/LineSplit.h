#pragma once
// How a text is cut into lines: CR LF, LF and a lone CR each end one.
#include <QStringView>

namespace zov::platform {

// The line of `text` that starts at `pos`, without its end; `pos` moves past the line end (to
// the text's size after the last line).
inline QStringView TakeLine(QStringView text, qsizetype& pos)
{
    const qsizetype n = text.size();
    const QChar* data = text.data();
    const qsizetype start = pos;
    qsizetype end = start;
    for (; end < n; ++end) {
        const char16_t c = data[end].unicode();
        if (c <= u'\r' && (c == u'\r' || c == u'\n'))
            break;
    }
    const QStringView line(data + start, end - start);
    if (end < n && data[end] == u'\r' && end + 1 < n && data[end + 1] == u'\n')
        ++end;
    pos = end < n ? end + 1 : n;
    return line;
}

} // namespace zov::platform
