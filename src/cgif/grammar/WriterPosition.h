#pragma once
// Node positions as numbers in comments. The exporter writes a node's position as a comment
// "x@y": two numbers exactly as it prints them (optional "-", digits with an optional decimal
// point, optional exponent, no blanks). Both readers take such a comment as a position, not as
// a comment node.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zov::cgif::grammar {

struct WrittenPosition {
    float X = 0;
    float Y = 0;
};

// A decimal number in plain ASCII (optional sign, digits, decimal point, exponent), rounded once
// to single precision. The locale plays no part: the decimal separator is always ".". Empty,
// infinite or malformed text gives no value.
template <typename Text>
std::optional<float> ParseSingle(const typename Text::Char* data, std::ptrdiff_t size) {
    if (size > 0 && Text::Code(data[0]) == '+')
        ++data, --size;
    if (size <= 0)
        return std::nullopt;
    // Up to seven plain digits (the usual position) are an integer below 2^24, which a float
    // holds exactly: the same value the general conversion below gives, without its cost.
    if (size <= 7) {
        std::int32_t whole = 0;
        bool digits = true;
        for (std::ptrdiff_t i = 0; i < size; ++i) {
            const unsigned c = Text::Code(data[i]);
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            whole = whole * 10 + static_cast<std::int32_t>(c - '0');
        }
        if (digits)
            return static_cast<float>(whole);
    }
    // Long numbers are rare; they are converted from a copy on the heap.
    constexpr std::ptrdiff_t LocalSize = 64;
    char local[LocalSize];
    std::string heap;
    char* buffer = local;
    if (size > LocalSize) {
        heap.resize(static_cast<std::size_t>(size));
        buffer = heap.data();
    }
    for (std::ptrdiff_t i = 0; i < size; ++i) {
        const unsigned c = Text::Code(data[i]);
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
            return std::nullopt;
        buffer[i] = static_cast<char>(c);
    }
    const char* end = buffer + size;
    float value = 0;
    const auto [stop, error] = std::from_chars(buffer, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// True when the text is a number exactly as the exporter prints one.
template <typename Text>
bool IsWrittenNumber(const typename Text::Char* data, std::ptrdiff_t size) {
    auto isDigit = [data](std::ptrdiff_t i) {
        const unsigned c = Text::Code(data[i]);
        return c >= '0' && c <= '9';
    };
    std::ptrdiff_t i = 0;
    if (i < size && Text::Code(data[i]) == '-')
        ++i;
    std::ptrdiff_t digits = 0;
    while (i < size && isDigit(i))
        ++i, ++digits;
    if (i < size && Text::Code(data[i]) == '.') {
        ++i;
        while (i < size && isDigit(i))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < size && (Text::Code(data[i]) == 'E' || Text::Code(data[i]) == 'e')) {
        ++i;
        if (i < size && (Text::Code(data[i]) == '+' || Text::Code(data[i]) == '-'))
            ++i;
        std::ptrdiff_t exponent = 0;
        while (i < size && isDigit(i))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == size;
}

// The position in a comment's text when the whole text is the exporter's "x@y" and both numbers
// convert to finite single-precision values. `actorEnd`: the text was read up to an actor's
// ">", so it also holds the exporter's closing ";" and the line break before the ">"; both are
// ignored there.
template <typename Text>
std::optional<WrittenPosition> WriterPosition(const typename Text::Char* data, std::ptrdiff_t size,
                                              bool actorEnd) {
    if (actorEnd) {
        if (size >= 2 && Text::Code(data[size - 2]) == '\r' && Text::Code(data[size - 1]) == '\n')
            size -= 2;
        if (size >= 1 && Text::Code(data[size - 1]) == ';')
            --size;
    }
    // The usual position, up to seven digits "@" up to seven digits, is converted in one pass:
    // integers below 2^24 are what the general conversion gives for them.
    std::ptrdiff_t at = 0;
    std::int32_t plainX = 0;
    while (at < size && at <= 7) {
        const unsigned c = Text::Code(data[at]);
        if (c < '0' || c > '9')
            break;
        plainX = plainX * 10 + static_cast<std::int32_t>(c - '0');
        ++at;
    }
    if (at > 0 && at <= 7 && at < size && Text::Code(data[at]) == '@' && size - at - 1 > 0 &&
        size - at - 1 <= 7) {
        std::int32_t plainY = 0;
        std::ptrdiff_t i = at + 1;
        for (; i < size; ++i) {
            const unsigned c = Text::Code(data[i]);
            if (c < '0' || c > '9')
                break;
            plainY = plainY * 10 + static_cast<std::int32_t>(c - '0');
        }
        if (i == size)
            return WrittenPosition{static_cast<float>(plainX), static_cast<float>(plainY)};
    }
    while (at < size && Text::Code(data[at]) != '@')
        ++at;
    if (at == size)
        return std::nullopt;
    const typename Text::Char* y = data + at + 1;
    const std::ptrdiff_t ySize = size - at - 1;
    if (!IsWrittenNumber<Text>(data, at) || !IsWrittenNumber<Text>(y, ySize))
        return std::nullopt;
    const std::optional<float> px = ParseSingle<Text>(data, at);
    const std::optional<float> py = ParseSingle<Text>(y, ySize);
    if (!px || !py)
        return std::nullopt;
    return WrittenPosition{*px, *py};
}

} // namespace zov::cgif::grammar
