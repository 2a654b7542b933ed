#include "cgif/reader/PositionText.h"

#include <cmath>

namespace zov::cgif {

namespace {
bool IsDigitChar(QChar c) { return c >= u'0' && c <= u'9'; }

// True when `text` is a number exactly as the exporter prints one.
bool IsWrittenNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && text[i] == u'-')
        ++i;
    qsizetype digits = 0;
    while (i < n && IsDigitChar(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && IsDigitChar(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        qsizetype exponent = 0;
        while (i < n && IsDigitChar(text[i]))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == n;
}
} // namespace

std::optional<float> ToSingle(const QString& text) {
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

PositionValue PositionFromTitle(const QString& title) {
    const qsizetype at = title.indexOf(u'@');
    if (title.isEmpty() || at < 0)
        return {};
    const std::optional<float> x = ToSingle(title.left(at));
    const std::optional<float> y = ToSingle(title.mid(at + 1));
    if (!y)
        return {};
    return {x.value_or(0.0f), *y};
}

std::optional<PositionValue> WriterPosition(const QString& text, QChar terminator) {
    QStringView body(text);
    if (terminator == u'>') {
        if (body.endsWith(u"\r\n"))
            body.chop(2);
        if (body.endsWith(u';'))
            body.chop(1);
    }
    const qsizetype at = body.indexOf(u'@');
    if (at < 0)
        return std::nullopt;
    const QStringView x = body.left(at);
    const QStringView y = body.mid(at + 1);
    if (!IsWrittenNumber(x) || !IsWrittenNumber(y))
        return std::nullopt;
    const std::optional<float> px = ToSingle(x.toString());
    const std::optional<float> py = ToSingle(y.toString());
    if (!px || !py)
        return std::nullopt;
    return PositionValue{*px, *py};
}

} // namespace zov::cgif
