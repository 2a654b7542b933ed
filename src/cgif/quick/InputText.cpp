#include "cgif/quick/InputText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace zov::cgif::quick {

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsStrictUtf8(const unsigned char* at, const unsigned char* end) {
    while (at < end) {
        const unsigned char lead = *at;
        if (lead < 0x80) {
            ++at;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - at < length || at[1] < low || at[1] > high)
            return false;
        for (int i = 2; i < length; ++i)
            if (at[i] < 0x80 || at[i] > 0xBF)
                return false;
        at += length;
    }
    return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number exactly as the exporter prints one: optional "-", digits with an optional point,
// an optional exponent.
bool IsWrittenNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && text[i] == '-')
        ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponent = 0;
        while (i < n && IsDigit(text[i]))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == n;
}

// Whether the reader's single-precision conversion of a written number gives a value: up to
// seven plain digits always do; longer forms must convert fully to a finite float.
bool ConvertsToSingle(std::string_view text) {
    if (text.size() <= 7 && std::all_of(text.begin(), text.end(), IsDigit))
        return true;
    float value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

} // namespace

bool DecodesAsBytes(std::string_view bytes, std::size_t& skip) {
    skip = 0;
    if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr)
        return false;
    // Plain ASCII is the usual case: test eight bytes at a time for a high bit.
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        high |= word;
    }
    for (; i < bytes.size(); ++i)
        high |= static_cast<unsigned char>(bytes[i]);
    if ((high & 0x8080808080808080ull) == 0)
        return true;
    const auto* begin = reinterpret_cast<const unsigned char*>(bytes.data());
    if (!IsStrictUtf8(begin, begin + bytes.size()))
        return false;
    if (bytes.size() >= 3 && begin[0] == 0xEF && begin[1] == 0xBB && begin[2] == 0xBF)
        skip = 3;
    return true;
}

// Up to seven digits, "@", up to seven digits: the usual position, which always converts.
bool IsPlainPosition(std::string_view text) {
    const char* at = text.data();
    const char* const end = at + text.size();
    const char* const x = at;
    while (at < end && static_cast<unsigned>(*at - '0') < 10)
        ++at;
    if (at == x || at - x > 7 || at == end || *at != '@')
        return false;
    const char* const y = ++at;
    while (at < end && static_cast<unsigned>(*at - '0') < 10)
        ++at;
    return at == end && at > y && at - y <= 7;
}

bool IsWriterPosition(std::string_view text, bool actorEnd) {
    if (actorEnd && !text.empty() && text.back() == ';')
        text.remove_suffix(1);
    if (IsPlainPosition(text))
        return true;
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos)
        return false;
    const std::string_view x = text.substr(0, at);
    const std::string_view y = text.substr(at + 1);
    return IsWrittenNumber(x) && IsWrittenNumber(y) && ConvertsToSingle(x) && ConvertsToSingle(y);
}

} // namespace zov::cgif::quick
