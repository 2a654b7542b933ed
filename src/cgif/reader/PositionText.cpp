#include "cgif/reader/PositionText.h"

#include <cmath>

namespace zov::cgif {

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

std::optional<PositionValue> WriterPosition(QString text, QChar terminator) {
    while (!text.isEmpty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.chop(1);
    if (terminator == u'>' && text.endsWith(u';'))
        text.chop(1);
    const qsizetype at = text.indexOf(u'@');
    if (at < 0 || text.indexOf(u'@', at + 1) >= 0)
        return std::nullopt;
    const std::optional<float> x = ToSingle(text.left(at));
    const std::optional<float> y = ToSingle(text.mid(at + 1));
    if (!x || !y)
        return std::nullopt;
    return PositionValue{*x, *y};
}

} // namespace zov::cgif
