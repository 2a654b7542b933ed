#include "cgif/reader/PositionText.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <string>

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

// A decimal number in plain ASCII (optional sign, digits, decimal point, exponent), rounded once
// to single precision. The locale plays no part: the decimal separator is always ".".
std::optional<float> ParseSingle(QStringView text) {
    if (!text.isEmpty() && text.front() == u'+')
        text = text.mid(1);
    if (text.isEmpty())
        return std::nullopt;
    // Up to seven plain digits (the usual position) are an integer below 2^24, which a float
    // holds exactly: the same value the general conversion below gives, without its cost.
    if (text.size() <= 7) {
        std::int32_t whole = 0;
        bool digits = true;
        for (const QChar c : text) {
            if (!IsDigitChar(c)) {
                digits = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return static_cast<float>(whole);
    }
    // Long numbers are rare; they are converted from a copy on the heap.
    constexpr qsizetype LocalSize = 64;
    char local[LocalSize];
    std::string heap;
    char* buffer = local;
    if (text.size() > LocalSize) {
        heap.resize(static_cast<std::size_t>(text.size()));
        buffer = heap.data();
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            return std::nullopt;
        buffer[i] = static_cast<char>(c);
    }
    const char* end = buffer + text.size();
    float value = 0;
    const auto [stop, error] = std::from_chars(buffer, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}
} // namespace

std::optional<float> ToSingle(const QString& text) {
    QStringView view(text);
    while (!view.isEmpty() && view.front().isSpace())
        view = view.mid(1);
    while (!view.isEmpty() && view.back().isSpace())
        view.chop(1);
    return ParseSingle(view);
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
    const std::optional<float> px = ParseSingle(x);
    const std::optional<float> py = ParseSingle(y);
    if (!px || !py)
        return std::nullopt;
    return PositionValue{*px, *py};
}

} // namespace zov::cgif
