#include "platform/TextEncoding.h"

#include "memory/LargeMemory.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace zov::platform {

namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves undefined map to the
// control character of the same number, as Windows itself converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The length of the valid UTF-8 sequence of two or more bytes at `p`, or 0 (a lone byte, an
// overlong form, a surrogate, a code point past U+10FFFF, or a sequence cut short).
qsizetype MultiByteSequenceAt(const unsigned char* p, const unsigned char* end)
{
    const unsigned lead = p[0];
    qsizetype length = 0;
    unsigned low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - p < length || p[1] < low || p[1] > high)
        return 0;
    for (qsizetype i = 2; i < length; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return length;
}

// True when bytes that are not all valid UTF-8 are still UTF-8 text with a few bytes gone wrong
// (one changed by another program, a file cut in the middle of a character): more of its
// characters beyond ASCII are valid UTF-8 sequences than there are bytes that fit none. Text
// written in code page 1252 has next to no valid sequence (one would need a letter such as
// "Ã" or "ß" followed by a sign such as "©" or "°").
bool MostlyUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    qsizetype valid = 0, stray = 0;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
        } else if (const qsizetype length = MultiByteSequenceAt(p, end); length > 0) {
            ++valid;
            p += length;
        } else {
            ++stray;
            ++p;
        }
    }
    return valid > stray;
}

// UTF-16 saved without a byte order mark: its ASCII characters (CGIF's brackets, blanks and
// punctuation, which every line has, whatever the script of its names) have a zero high byte,
// which text in an 8-bit encoding never has, while low bytes are zero only for the rare
// character U+xx00. Looked at over the first 256 characters: the first is ASCII, at least a
// quarter have a zero high byte and hardly any a zero low byte.
bool LooksLikeUtf16(QByteArrayView bytes, bool littleEndian)
{
    const qsizetype pairs = std::min<qsizetype>(bytes.size() / 2, 256);
    if (pairs < 2 || bytes.size() % 2 != 0)
        return false;
    const int high = littleEndian ? 1 : 0;
    const auto at = [&](qsizetype pair, int half) { return static_cast<unsigned char>(bytes[2 * pair + half]); };
    if (at(0, high) != 0 || at(0, 1 - high) == 0 || at(0, 1 - high) >= 0x80)
        return false;
    qsizetype zeroHigh = 0, zeroLow = 0;
    for (qsizetype i = 0; i < pairs; ++i) {
        zeroHigh += at(i, high) == 0 ? 1 : 0;
        zeroLow += at(i, 1 - high) == 0 ? 1 : 0;
    }
    return 4 * zeroHigh >= pairs && 16 * zeroLow <= pairs;
}

// UTF-32 (with or without its mark): every four bytes are a character up to U+10FFFF and no
// surrogate, which UTF-16 text almost never makes (two ASCII characters in UTF-16 are a number
// far beyond that); looked at over the first 256 characters, the first an ASCII one.
bool LooksLikeUtf32(QByteArrayView bytes, bool littleEndian)
{
    const qsizetype units = std::min<qsizetype>(bytes.size() / 4, 256);
    if (units < 1 || bytes.size() % 4 != 0)
        return false;
    const auto unit = [&](qsizetype i) {
        std::uint32_t value = 0;
        for (int b = 0; b < 4; ++b)
            value |= std::uint32_t(static_cast<unsigned char>(bytes[4 * i + (littleEndian ? b : 3 - b)])) << (8 * b);
        return value;
    };
    const std::uint32_t first = unit(0) == 0xFEFF && units > 1 ? unit(1) : unit(0);
    if (first == 0 || first >= 0x80)
        return false;
    for (qsizetype i = 0; i < units; ++i)
        if (unit(i) > 0x10FFFF || (unit(i) >= 0xD800 && unit(i) <= 0xDFFF))
            return false;
    return true;
}

} // namespace

bool DecodedWhole(TextEncoding encoding) { return encoding != TextEncoding::Utf8 && encoding != TextEncoding::Windows1252; }

bool IsUtf8(QByteArrayView bytes)
{
    // Plain ASCII, the usual case, is tested eight bytes at a time before the full test.
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ull)
            return bytes.isValidUtf8();
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return bytes.isValidUtf8();
    return true;
}

TextEncoding EncodingOf(QByteArrayView bytes, qsizetype& markBytes)
{
    markBytes = 0;
    for (const bool littleEndian : {true, false}) {
        if (LooksLikeUtf32(bytes, littleEndian)) {
            const char* mark = littleEndian ? "\xFF\xFE\x00\x00" : "\x00\x00\xFE\xFF";
            markBytes = bytes.startsWith(QByteArrayView(mark, 4)) ? 4 : 0;
            return littleEndian ? TextEncoding::Utf32LittleEndian : TextEncoding::Utf32BigEndian;
        }
    }
    // A mark with an odd number of bytes after it is UTF-16 cut short by a byte (its last byte
    // a damaged character) when the rest looks like UTF-16; else the mark is text too.
    if (bytes.size() >= 2) {
        const auto first = static_cast<unsigned char>(bytes[0]), second = static_cast<unsigned char>(bytes[1]);
        const auto marked = [&](bool littleEndian) {
            return bytes.size() % 2 == 0 || LooksLikeUtf16(bytes.sliced(2, bytes.size() - 3), littleEndian);
        };
        if (first == 0xFF && second == 0xFE && marked(true)) {
            markBytes = 2;
            return TextEncoding::Utf16LittleEndian;
        }
        if (first == 0xFE && second == 0xFF && marked(false)) {
            markBytes = 2;
            return TextEncoding::Utf16BigEndian;
        }
    }
    if (LooksLikeUtf16(bytes, true))
        return TextEncoding::Utf16LittleEndian;
    if (LooksLikeUtf16(bytes, false))
        return TextEncoding::Utf16BigEndian;
    if (!IsUtf8(bytes) && !MostlyUtf8(bytes))
        return TextEncoding::Windows1252;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        markBytes = 3;
    return TextEncoding::Utf8;
}

void DecodeCp1252(QByteArrayView bytes, QChar* out)
{
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : char16_t(b));
    }
}

QString DecodeTextBytes(QByteArrayView bytes)
{
    qsizetype mark = 0;
    const TextEncoding encoding = EncodingOf(bytes, mark);
    bytes = bytes.sliced(mark);
    if (DecodedWhole(encoding)) {
        const QStringDecoder::Encoding wide = encoding == TextEncoding::Utf16LittleEndian ? QStringDecoder::Utf16LE
                                              : encoding == TextEncoding::Utf16BigEndian  ? QStringDecoder::Utf16BE
                                              : encoding == TextEncoding::Utf32LittleEndian ? QStringDecoder::Utf32LE
                                                                                            : QStringDecoder::Utf32BE;
        return QStringDecoder(wide, KeepMarks).decode(bytes);
    }
    // Never more UTF-16 units than bytes. A large file's text asks for 2 MB pages: it is
    // written once, straight through, and a fault per 4 KB page would cost as much as decoding.
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* begin = text.data();
    memory::AdviseLargePages(begin, static_cast<std::size_t>(bytes.size()) * sizeof(QChar));
    if (encoding == TextEncoding::Windows1252) {
        DecodeCp1252(bytes, begin);
        return text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, KeepMarks);
    text.truncate(utf8.appendToBuffer(begin, bytes) - begin);
    return text;
}

} // namespace zov::platform
